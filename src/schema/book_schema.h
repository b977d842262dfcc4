#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QSqlError;

namespace velmora {

// The books as every engine keeps them: twelve books named after the older program's files, ten of
// appointments (table "dados") and two of settings (table "profs"), with their fields.

// What a book must hold to be used: the appointment table, or the settings table of either file.
enum class FileKind
{
    Appointments,
    MainSettings,
    ExtraSettings
};

FileKind kindOfFile(const QString &fileName);

// The twelve file names, appointment files first.
QStringList allFileNames();

// "dados" or "profs".
QString tableOf(FileKind kind);

// The fields a book of that kind must have, in lower case.
const QStringList &requiredColumns(FileKind kind);

// The fields of a kind of file: the texts (names, slot lengths, weekly times, appointment fields) and
// the numbers (links).
struct FileFields
{
    QStringList texts;
    QStringList numbers;
};
FileFields fileFields(FileKind kind);

// The appointment table's fields with their type, "data TEXT, hora TEXT, ...", for either engine.
QString bookingColumnDefinitions();

// The statements that make a book of that kind in a file, with its one settings record.
QStringList fileCreateStatements(FileKind kind);

// The engine's reason for a failed statement, in one line.
QString reasonOf(const QSqlError &error);

// Dates are stored as ISO text so that the index orders them.
QString storedDate(QDate date);
// The same written into out, kStoredDateLength characters without an end, for the years 1 to 9999;
// false for any other.
constexpr int kStoredDateLength = 10;
bool writeStoredDate(QDate date, char *out);

} // namespace velmora
