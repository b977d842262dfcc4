#include "core/confirmation.h"

#include "core/activity_log.h"
#include "core/booking_status.h"
#include "core/desk_files.h"
#include "core/printout.h"
#include "core/text_rules.h"

#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>

namespace velmora {

namespace {

bool isAreaCode(QStringView digits)
{
    return digits.size() == 2 && digits.at(0) != QLatin1Char('0') && digits.at(1) != QLatin1Char('0');
}

enum class Kind
{
    None,
    Mobile,
    Other
};

// A run of digits read as one number of Brazil (or, after a '+', of any country); mobile gets the
// number as WhatsApp wants it.
Kind classify(QString digits, bool plus, const QString &areaCode, QString *mobile)
{
    if (plus && !digits.startsWith(QLatin1String("55")))
        return digits.size() >= 8 && digits.size() <= 15 ? Kind::Other : Kind::None;
    if ((plus || digits.size() == 12 || digits.size() == 13) && digits.startsWith(QLatin1String("55")))
        digits = digits.mid(2);
    else if (digits.startsWith(QLatin1Char('0')))
        // The long-distance prefix, with or without a carrier's two digits.
        digits = digits.size() == 11 || digits.size() == 12   ? digits.mid(1)
                 : digits.size() == 13 || digits.size() == 14 ? digits.mid(3)
                                                              : QString();
    if (digits.size() == 11 && isAreaCode(QStringView(digits).left(2)) && digits.at(2) == QLatin1Char('9')) {
        *mobile = QStringLiteral("55") + digits;
        return Kind::Mobile;
    }
    if (digits.size() == 10 && isAreaCode(QStringView(digits).left(2)))
        return Kind::Other;
    if (digits.size() == 9 && digits.at(0) == QLatin1Char('9')) {
        if (!isAreaCode(areaCode))
            return Kind::Other; // a mobile, but of which area is not known: to be called
        *mobile = QStringLiteral("55") + areaCode + digits;
        return Kind::Mobile;
    }
    return digits.size() == 8 ? Kind::Other : Kind::None;
}

struct Placeholder
{
    const char *english;
    const char *portuguese;
};

const std::array<Placeholder, 7> kPlaceholders{{
    {"first_name", "primeiro_nome"},
    {"name", "nome"},
    {"date", "data"},
    {"weekday", "dia_da_semana"},
    {"time", "hora"},
    {"doctor", "medico"},
    {"clinic", "clinica"},
}};

const QRegularExpression &placeholderPattern()
{
    static const QRegularExpression pattern(QStringLiteral("\\{([^{}\\s]*)\\}"));
    return pattern;
}

int placeholderIndex(const QString &name)
{
    for (size_t i = 0; i < kPlaceholders.size(); ++i)
        if (name == QLatin1String(kPlaceholders[i].english) ||
            name == QLatin1String(kPlaceholders[i].portuguese))
            return static_cast<int>(i);
    return -1;
}

bool portuguese(const QLocale &locale)
{
    return locale.language() == QLocale::Portuguese;
}

QString shownDate(QDate date, const QLocale &locale)
{
    return date.toString(writtenDateFormat(locale));
}

} // namespace

std::array<bool, 7> weekdaysWithHours(const std::array<WeeklyTimes, kDoctorSlotCount> &hours)
{
    std::array<bool, 7> any{};
    for (const WeeklyTimes &times : hours)
        for (int day = 0; day < 7; ++day)
            any[static_cast<size_t>(day)] =
                any[static_cast<size_t>(day)] || !trimBlanks(times[weeklyTimePosition(day, 1)]).isEmpty();
    return any;
}

int rowKeptAfterReload(const QVector<ConfirmationRow> &before, int selected,
                       const QVector<ConfirmationRow> &after)
{
    if (after.isEmpty())
        return -1;
    if (selected < 0 || selected >= before.size())
        return 0;
    const auto positionOf = [&after](const ConfirmationRow &row) {
        for (int i = 0; i < after.size(); ++i)
            if (after.at(i).slot == row.slot && after.at(i).booking.id == row.booking.id)
                return i;
        return -1;
    };
    for (int i = selected; i < before.size(); ++i)
        if (const int position = positionOf(before.at(i)); position >= 0)
            return position;
    return static_cast<int>(after.size()) - 1;
}

QDate nextWorkingDay(QDate today, const std::array<bool, 7> &hoursOnWeekday)
{
    QDate day = today.addDays(1);
    for (int i = 0; i < 7; ++i, day = day.addDays(1)) {
        const int weekday = day.dayOfWeek();
        if (weekday < Qt::Saturday || hoursOnWeekday[static_cast<size_t>(weekday - 1)])
            return day;
    }
    return today.addDays(1);
}

bool readConfirmationList(BookStorage &storage, QDate from, QDate to, int slot,
                          const QStringList &doctorNames, bool toConfirmOnly, QVector<ConfirmationRow> *rows,
                          QString *error)
{
    rows->clear();
    for (int doctor = 1; doctor <= kDoctorSlotCount; ++doctor) {
        const QString name = trimBlanks(doctorNames.value(doctor - 1));
        if ((slot != 0 && doctor != slot) || (slot == 0 && name.isEmpty()))
            continue;
        QVector<Appointment> day;
        for (QDate date = from; date <= to; date = date.addDays(1)) {
            if (!storage.readDay(doctor, date, &day, error))
                return false;
            for (const Appointment &booking : std::as_const(day))
                if (!toConfirmOnly || booking.status == BookingStatus::ToConfirm)
                    rows->append({doctor, name, booking});
        }
    }
    std::stable_sort(rows->begin(), rows->end(), [](const ConfirmationRow &a, const ConfirmationRow &b) {
        if (a.booking.date != b.booking.date)
            return a.booking.date < b.booking.date;
        const QString timeA = trimBlanks(a.booking.hora);
        const QString timeB = trimBlanks(b.booking.hora);
        return timeA != timeB ? timeA < timeB : a.slot < b.slot;
    });
    return true;
}

PhoneNumbers phoneNumbers(const QString &phones, const QString &clinicAreaCode)
{
    PhoneNumbers numbers;
    const QString areaCode = clinicAreaCode.trimmed();
    // Letters and marks such as '/' or ',' part numbers; blanks may be inside one number or between two.
    static const QRegularExpression pieces(QStringLiteral("[+(0-9][0-9 ().\\-]*"));
    for (auto piece = pieces.globalMatch(phones); piece.hasNext();) {
        const QString text = piece.next().captured(0);
        const bool plus = text.startsWith(QLatin1Char('+'));
        QStringList groups = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        // From each group on, the longest run of groups that reads as one number.
        for (int first = 0; first < groups.size();) {
            int taken = 0;
            Kind kind = Kind::None;
            QString mobile;
            QString digits;
            for (int last = first; last < groups.size(); ++last) {
                const qsizetype before = digits.size();
                for (const QChar c : std::as_const(groups[last]))
                    if (c.isDigit())
                        digits += c;
                if (digits.size() == before)
                    continue; // a bracket alone adds nothing to a number
                QString candidate;
                const Kind read = classify(digits, plus && first == 0, areaCode, &candidate);
                if (read != Kind::None) {
                    kind = read;
                    mobile = candidate;
                    taken = last - first + 1;
                }
            }
            if (kind == Kind::None) {
                ++first;
                continue;
            }
            const QString typed = groups.mid(first, taken).join(QLatin1Char(' '));
            if (kind == Kind::Mobile && !numbers.mobiles.contains(mobile))
                numbers.mobiles << mobile;
            else if (kind == Kind::Other)
                numbers.others << typed;
            first += taken;
        }
    }
    return numbers;
}

QUrl whatsAppLink(const QString &mobile, const QString &message)
{
    return QUrl::fromEncoded(
        "https://wa.me/" + mobile.toLatin1() + "?text=" + QUrl::toPercentEncoding(message), QUrl::StrictMode);
}

QString filledMessage(const QString &messageTemplate, const MessageFacts &facts, const QLocale &locale)
{
    const QString fullName = trimBlanks(facts.fullName);
    const std::array<QString, kPlaceholders.size()> values{
        fullName.section(QLatin1Char(' '), 0, 0),
        fullName,
        portuguese(locale) ? locale.toString(facts.date, QStringLiteral("d 'de' MMMM 'de' yyyy"))
                           : locale.toString(facts.date, QStringLiteral("MMMM d, yyyy")),
        locale.dayName(facts.date.dayOfWeek()),
        trimBlanks(facts.time),
        trimBlanks(facts.doctor),
        facts.clinic.trimmed(),
    };
    QString filled;
    qsizetype from = 0;
    for (auto match = placeholderPattern().globalMatch(messageTemplate); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        filled += QStringView(messageTemplate).mid(from, found.capturedStart() - from);
        const int known = placeholderIndex(found.captured(1));
        filled += known < 0 ? found.captured(0) : values[static_cast<size_t>(known)];
        from = found.capturedEnd();
    }
    filled += QStringView(messageTemplate).mid(from);
    return filled.trimmed();
}

QStringList unknownPlaceholders(const QString &messageTemplate)
{
    QStringList unknown;
    for (auto match = placeholderPattern().globalMatch(messageTemplate); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        if (placeholderIndex(found.captured(1)) < 0 && !unknown.contains(found.captured(0)))
            unknown << found.captured(0);
    }
    return unknown;
}

QString knownPlaceholders()
{
    QStringList names;
    for (const Placeholder &placeholder : kPlaceholders)
        names << QStringLiteral("{%1}").arg(
            QLatin1String(portuguese(QLocale()) ? placeholder.portuguese : placeholder.english));
    return names.join(QStringLiteral(" "));
}

QString defaultMessageTemplate()
{
    return QCoreApplication::translate(
        "Confirmation",
        "Hello, {first_name}! This is a reminder of your appointment with {doctor} on {weekday}, "
        "{date}, at {time}. Please reply YES to confirm, or tell us if you cannot come.\n{clinic}");
}

ConfirmationSettings readConfirmationSettings(const QString &iniPath)
{
    // Only a file of that name is read: a pipe there would hold the program for ever.
    const QSettings ini(deskFileAt(iniPath) == DeskFile::File ? iniPath : QString(), QSettings::IniFormat);
    ConfirmationSettings settings;
    settings.messageTemplate =
        ini.value(QStringLiteral("confirmation/message"), defaultMessageTemplate()).toString();
    settings.areaCode = ini.value(QStringLiteral("confirmation/area_code")).toString();
    settings.clinic = ini.value(QStringLiteral("confirmation/clinic")).toString();
    return settings;
}

bool saveConfirmationSettings(const QString &iniPath, const ConfirmationSettings &settings)
{
    // Written only as a file of the folder's own: a link there is replaced by the file (what it led
    // to is left as it is); a pipe or folder is refused.
    switch (deskFileAt(iniPath)) {
    case DeskFile::Link:
        qCWarning(logStart, "%s was a link; it is replaced by a file of the desk's own",
                  qUtf8Printable(iniPath));
        if (!QFile::remove(iniPath))
            return false;
        break;
    case DeskFile::Other:
        return false;
    case DeskFile::Missing:
    case DeskFile::File:
        break;
    }
    QSettings ini(iniPath, QSettings::IniFormat);
    ini.setValue(QStringLiteral("confirmation/message"), settings.messageTemplate);
    ini.setValue(QStringLiteral("confirmation/area_code"), settings.areaCode.trimmed());
    ini.setValue(QStringLiteral("confirmation/clinic"), settings.clinic.trimmed());
    ini.sync();
    return ini.status() == QSettings::NoError;
}

QString csvField(const QString &text)
{
    QString field = text;
    // A spreadsheet runs a cell starting with any of these as a formula, "+1+1" and "-2+3" included;
    // the quote in front makes it text and leaves a phone readable.
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (!field.isEmpty() && formulaStarts.contains(field.front()))
        field.prepend(QLatin1Char('\''));
    if (field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"')) ||
        field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r')))
        field = QLatin1Char('"') + field.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    return field;
}

QByteArray confirmationCsv(const QVector<ConfirmationRow> &rows, const QLocale &locale)
{
    const auto line = [](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << csvField(field);
        return quoted.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    QString text = line({QCoreApplication::translate("Confirmation", "Date"),
                         QCoreApplication::translate("Confirmation", "Time"),
                         QCoreApplication::translate("Confirmation", "Doctor"),
                         QCoreApplication::translate("Confirmation", "Patient"),
                         QCoreApplication::translate("Confirmation", "Phones"),
                         QCoreApplication::translate("Confirmation", "Health plan"),
                         QCoreApplication::translate("Confirmation", "Status")});
    for (const ConfirmationRow &row : rows)
        text += line({shownDate(row.booking.date, locale), trimBlanks(row.booking.hora), row.doctor,
                      trimBlanks(row.booking.nome), trimBlanks(row.booking.telefone),
                      trimBlanks(row.booking.convenio), statusCaption(row.booking.status)});
    return "\xEF\xBB\xBF" + text.toUtf8();
}

bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // Never through a link (a save would write its target) or into a pipe (it would wait for ever).
    const DeskFile there = deskFileAt(path);
    if (there == DeskFile::Link || there == DeskFile::Other) {
        *error = QCoreApplication::translate("Storage", "\"%1\" is not a file").arg(path);
        return false;
    }
    // The patients' names and phones: the user's alone.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
        file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

QStringList confirmationLines(const QVector<ConfirmationRow> &rows, const QLocale &locale)
{
    const auto said = [](const char *text) { return QCoreApplication::translate("Confirmation", text); };
    QVector<QStringList> cells;
    for (const ConfirmationRow &row : rows)
        cells << QStringList{
            listedDate(row.booking.date, locale),
            trimBlanks(row.booking.hora),
            trimBlanks(row.doctor),
            trimBlanks(blankControlCharacters(row.booking.nome)),
            trimBlanks(blankControlCharacters(row.booking.telefone)),
            (statusMark(row.booking.status) + QLatin1Char(' ') + statusCaption(row.booking.status))
                .trimmed()};
    return tableLines({said(QT_TRANSLATE_NOOP("Confirmation", "Date")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Time")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Doctor")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Patient")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Phones")),
                       said(QT_TRANSLATE_NOOP("Confirmation", "Status"))},
                      cells);
}

QString writtenDateFormat(const QLocale &locale)
{
    return portuguese(locale) ? QStringLiteral("dd/MM/yyyy") : QStringLiteral("yyyy-MM-dd");
}

QString listedDate(QDate date, const QLocale &locale)
{
    return locale.toString(date, QStringLiteral("ddd ")) + shownDate(date, locale);
}

} // namespace velmora
