#pragma once

#include "core/book_storage.h"

#include <QDate>
#include <QLocale>
#include <QString>
#include <QUrl>
#include <QVector>

#include <array>

namespace velmora {

// One booking of the confirmation list, with its slot and its doctor's name.
struct ConfirmationRow
{
    int slot = 0;
    QString doctor;
    Appointment booking;
};

// Where the selection goes when the list is read again: the same booking (its book and identity, as
// identities are per book) or, when it left the list, the row of the first booking that followed it and
// is still listed, else the last row; -1 for an empty list or no selection before.
int rowKeptAfterReload(const QVector<ConfirmationRow> &before, int selected,
                       const QVector<ConfirmationRow> &after);

// The day the list starts on by default: the next day after today that is a working day. Saturday
// and Sunday count only when some doctor has hours on them (hoursOnWeekday: Monday first).
QDate nextWorkingDay(QDate today, const std::array<bool, 7> &hoursOnWeekday);
// Whether any of the doctors has hours on each weekday, Monday first.
std::array<bool, 7> weekdaysWithHours(const std::array<WeeklyTimes, kDoctorSlotCount> &hours);

// The bookings of the dates from..to of one slot's book (or every named doctor's for slot 0), sorted
// by date, time and doctor; only those still to confirm when asked. The placeholder record of an empty
// book is no booking.
bool readConfirmationList(BookStorage &storage, QDate from, QDate to, int slot,
                          const QStringList &doctorNames, bool toConfirmOnly, QVector<ConfirmationRow> *rows,
                          QString *error);

// The numbers a phones field holds, read conservatively: a mobile number of Brazil (area code and
// nine digits starting with 9; the clinic's area code when none was typed) as 55 followed by eleven
// digits, ready for WhatsApp; any other number (a landline, a foreign one) as typed, to be called;
// text that reads as no number at all is left out.
struct PhoneNumbers
{
    QStringList mobiles;
    QStringList others;
};
PhoneNumbers phoneNumbers(const QString &phones, const QString &clinicAreaCode);

// The address that opens WhatsApp on a chat with the number, the message typed in.
QUrl whatsAppLink(const QString &mobile, const QString &message);

// What a message may name, each by a placeholder in braces.
struct MessageFacts
{
    QString fullName;
    QDate date;
    QString time;
    QString doctor;
    QString clinic;
};
// The template with its placeholders filled, in the locale's language; an unknown one stays as typed.
QString filledMessage(const QString &messageTemplate, const MessageFacts &facts, const QLocale &locale);
// The placeholders of the template that are none of the known ones, as typed ("{nmoe}").
QStringList unknownPlaceholders(const QString &messageTemplate);
// The known placeholders, for the settings window to show.
QString knownPlaceholders();
QString defaultMessageTemplate();
// WhatsApp takes a message of a few thousand characters; a longer one is cut or refused.
constexpr int kMessageLimit = 4000;

// The desk's own settings for the confirmations, kept in the data folder's velmora.ini.
struct ConfirmationSettings
{
    QString messageTemplate;
    QString areaCode;
    QString clinic;
};
ConfirmationSettings readConfirmationSettings(const QString &iniPath);
bool saveConfirmationSettings(const QString &iniPath, const ConfirmationSettings &settings);

// A field of a spreadsheet file separated by ';', quoted when it must be; a text a spreadsheet would
// take for a formula is made plain text.
QString csvField(const QString &text);
// The list for a spreadsheet: UTF-8 with its mark, ';' separated, a header; dates as dd/MM/yyyy in
// Portuguese and ISO otherwise.
QByteArray confirmationCsv(const QVector<ConfirmationRow> &rows, const QLocale &locale);
// The bytes written to path whole, or the file left as it was.
bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error);
// How the program writes a date in its lists, files and date fields: dd/MM/yyyy in Portuguese, ISO
// otherwise.
QString writtenDateFormat(const QLocale &locale);
// A date as every list of the program shows it, one way per language: its weekday, then as dates
// are written in files ("ter 14/03/2023", "Tue 2023-03-14").
QString listedDate(QDate date, const QLocale &locale);
// The list as printed: its headings, then one line per booking, columns as wide as their texts.
QStringList confirmationLines(const QVector<ConfirmationRow> &rows, const QLocale &locale);

} // namespace velmora
