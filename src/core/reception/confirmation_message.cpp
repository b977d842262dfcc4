#include "core/reception/confirmation_message.h"

#include "core/text/text_rules.h"

#include <QCoreApplication>
#include <QRegularExpression>

#include <array>

namespace velmora {

namespace {

struct Placeholder
{
    const char *english;
    const char *portuguese;
};

const std::array<Placeholder, 8> kPlaceholders{{
    {"first_name", "primeiro_nome"},
    {"name", "nome"},
    {"date", "data"},
    {"weekday", "dia_da_semana"},
    {"time", "hora"},
    {"doctor", "medico"},
    {"clinic", "clinica"},
    {"session", "sessao"},
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

} // namespace

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
        facts.session,
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

QString defaultRescheduleTemplate()
{
    return QCoreApplication::translate(
        "Confirmation",
        "Hello, {first_name}! We need to reschedule your appointment with {doctor} on {weekday}, {date}, at "
        "{time}: we will be closed then. Please reply with the days and times that suit you.\n{clinic}");
}

} // namespace velmora
