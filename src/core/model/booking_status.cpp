#include "core/model/booking_status.h"

#include "core/model/appointment.h"
#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QHash>
#include <QLocale>
#include <QSysInfo>

#include <array>

#ifdef Q_OS_UNIX
#include <pwd.h>
#include <unistd.h>
#endif

namespace velmora {

namespace {

struct StatusNames
{
    BookingStatus status;
    const char *key;
    const char *caption;
    const char *mark;
};

const std::array<StatusNames, kBookingStatusCount> kStatuses{{
    {BookingStatus::ToConfirm, "to-confirm", QT_TRANSLATE_NOOP("BookingStatus", "To confirm"), ""},
    {BookingStatus::Confirmed, "confirmed", QT_TRANSLATE_NOOP("BookingStatus", "Confirmed"), "\u2713"},
    {BookingStatus::NotReached, "not-reached", QT_TRANSLATE_NOOP("BookingStatus", "Not reached"), "?"},
    {BookingStatus::Cancelled, "cancelled", QT_TRANSLATE_NOOP("BookingStatus", "Cancelled by the patient"),
     "\u2717"},
    {BookingStatus::Arrived, "arrived", QT_TRANSLATE_NOOP("BookingStatus", "Arrived"), "\u25cf"},
    {BookingStatus::Missed, "missed", QT_TRANSLATE_NOOP("BookingStatus", "Missed"), "!"},
}};

const StatusNames &namesOf(BookingStatus status)
{
    return kStatuses[static_cast<size_t>(status)];
}

// The fields of a booking as the history names them, with their captions.
struct FieldName
{
    const char *key;
    const char *caption;
    QString (*value)(const Appointment &);
};

const std::array<FieldName, 6> kFields{{
    {"data", QT_TRANSLATE_NOOP("BookingStatus", "Date"),
     [](const Appointment &b) { return b.date.toString(Qt::ISODate); }},
    {"hora", QT_TRANSLATE_NOOP("BookingStatus", "Time"), [](const Appointment &b) { return b.hora; }},
    {"nome", QT_TRANSLATE_NOOP("BookingStatus", "Name"), [](const Appointment &b) { return b.nome; }},
    {"convenio", QT_TRANSLATE_NOOP("BookingStatus", "Health plan"),
     [](const Appointment &b) { return b.convenio; }},
    {"telefone", QT_TRANSLATE_NOOP("BookingStatus", "Phones"),
     [](const Appointment &b) { return b.telefone; }},
    {"obs", QT_TRANSLATE_NOOP("BookingStatus", "Notes"), [](const Appointment &b) { return b.obs; }},
}};

const QString kArrow = QStringLiteral(" \u2192 ");

// A value on one line: a line break inside a field would read as the next field.
QString oneLine(QString value)
{
    return value.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
}

// A value of the field key as the user reads it: a status in the user's words, a date as the language
// writes it, anything else (a note that reads "confirmed" too) as stored.
QString shownValue(const QString &key, const QString &value)
{
    if (key == QLatin1String("status"))
        if (const std::optional<BookingStatus> status = statusFromKey(value))
            return statusCaption(*status);
    if (key == QLatin1String("data"))
        if (const QDate date = QDate::fromString(value, Qt::ISODate); date.isValid())
            return QLocale().toString(date, QLocale::ShortFormat);
    return value;
}

} // namespace

QString statusKey(BookingStatus status)
{
    return QLatin1String(namesOf(status).key);
}

std::optional<BookingStatus> statusFromKey(const QString &key)
{
    for (const StatusNames &names : kStatuses)
        if (key == QLatin1String(names.key))
            return names.status;
    return std::nullopt;
}

BookingStatus statusFromNumber(int number)
{
    return number >= 0 && number < kBookingStatusCount ? static_cast<BookingStatus>(number)
                                                       : BookingStatus::ToConfirm;
}

QString statusCaption(BookingStatus status)
{
    return QCoreApplication::translate("BookingStatus", namesOf(status).caption);
}

QString statusMark(BookingStatus status)
{
    return QString::fromUtf8(namesOf(status).mark);
}

Desk thisDesk()
{
    QString person;
#ifdef Q_OS_UNIX
    // The account itself: the environment may name none (a service) or another.
    if (const passwd *account = getpwuid(geteuid()))
        person = QString::fromLocal8Bit(account->pw_name);
#endif
    if (person.isEmpty())
        person = qEnvironmentVariable("USERNAME", qEnvironmentVariable("USER"));
    return {QSysInfo::machineHostName(), person};
}

QString takenMeanwhile(const QString &time, const QString &name)
{
    return QCoreApplication::translate("Storage", "%1 was booked meanwhile, for %2: choose another time")
        .arg(meantTime(time), trimBlanks(name));
}

QString addedDetails(const Appointment &booking)
{
    QStringList lines;
    for (const FieldName &field : kFields)
        lines << QLatin1String(field.key) + QStringLiteral(": ") + oneLine(field.value(booking));
    return lines.join(QLatin1Char('\n'));
}

QString changedDetails(const Appointment &before, const Appointment &after)
{
    QStringList lines;
    // The blanks the book pads a field with are no change: only what the user sees as changed is listed.
    for (const FieldName &field : kFields) {
        const QString was = trimBlanks(field.value(before));
        const QString now = trimBlanks(field.value(after));
        if (was != now)
            lines << QLatin1String(field.key) + QStringLiteral(": ") + oneLine(was) + kArrow + oneLine(now);
    }
    return lines.join(QLatin1Char('\n'));
}

QString statusDetails(BookingStatus before, BookingStatus after)
{
    return QStringLiteral("status: ") + statusKey(before) + kArrow + statusKey(after);
}

bool historyBelongsTo(const QVector<HistoryEntry> &entries, const Appointment &booking)
{
    if (entries.isEmpty() || entries.first().action != QLatin1String("added"))
        return true;
    QHash<QString, QString> told; // field key to its value as the entries tell it
    for (const HistoryEntry &entry : entries) {
        if (entry.action != QLatin1String("added") && entry.action != QLatin1String("changed") &&
            entry.action != QLatin1String("moved"))
            continue;
        for (const QString &line : entry.details.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            const QString key = line.section(QStringLiteral(": "), 0, 0);
            const QString value = line.section(QStringLiteral(": "), 1);
            told[key] = entry.action == QLatin1String("added") ? value : value.section(kArrow, 1);
        }
    }
    const auto matches = [&told](const char *key, const QString &stored) {
        const auto it = told.constFind(QLatin1String(key));
        return it == told.cend() || trimBlanks(*it) == trimBlanks(oneLine(stored));
    };
    return matches("data", booking.date.toString(Qt::ISODate)) && matches("hora", booking.hora) &&
           matches("nome", booking.nome);
}

QString movedDetails(const Appointment &before, int fromSlot, int toSlot, QDate date, const QString &time)
{
    QStringList lines{QStringLiteral("data: ") + before.date.toString(Qt::ISODate) + kArrow +
                      date.toString(Qt::ISODate)};
    if (trimBlanks(before.hora) != trimBlanks(time))
        lines << QStringLiteral("hora: ") + oneLine(trimBlanks(before.hora)) + kArrow +
                     oneLine(trimBlanks(time));
    if (fromSlot != toSlot)
        lines << QStringLiteral("doctor: %1").arg(fromSlot) + kArrow + QString::number(toSlot);
    return lines.join(QLatin1Char('\n'));
}

QString describedEntry(const HistoryEntry &entry)
{
    static const std::array<std::pair<const char *, const char *>, 6> actions{{
        {"added", QT_TRANSLATE_NOOP("BookingStatus", "Booked")},
        {"changed", QT_TRANSLATE_NOOP("BookingStatus", "Changed")},
        {"removed", QT_TRANSLATE_NOOP("BookingStatus", "Removed")},
        {"status", QT_TRANSLATE_NOOP("BookingStatus", "Status set")},
        {"moved", QT_TRANSLATE_NOOP("BookingStatus", "Moved")},
        {"waiting", QT_TRANSLATE_NOOP("BookingStatus", "Booked from the waiting list")},
    }};
    QString action = entry.action;
    for (const auto &[key, caption] : actions)
        if (entry.action == QLatin1String(key))
            action = QCoreApplication::translate("BookingStatus", caption);
    QStringList lines;
    const QLocale locale;
    lines << QCoreApplication::translate("BookingStatus", "%1 \u2013 %2 by %3 (computer %4)")
                 .arg(locale.toString(entry.at.toLocalTime(), QLocale::ShortFormat), action, entry.person,
                      entry.computer);
    for (const QString &line : entry.details.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString key = line.section(QStringLiteral(": "), 0, 0);
        QString caption = key;
        if (key == QLatin1String("status"))
            caption = QCoreApplication::translate("BookingStatus", "Status");
        if (key == QLatin1String("doctor"))
            caption = QCoreApplication::translate("BookingStatus", "Doctor's book");
        for (const FieldName &field : kFields)
            if (key == QLatin1String(field.key))
                caption = QCoreApplication::translate("BookingStatus", field.caption);
        const QString values = line.section(QStringLiteral(": "), 1);
        QStringList parts = values.split(kArrow);
        for (QString &part : parts)
            part = shownValue(key, part);
        lines << QStringLiteral("    ") + caption + QStringLiteral(": ") + parts.join(kArrow);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace velmora
