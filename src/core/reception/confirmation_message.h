#pragma once

#include <QDate>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace velmora {

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
    QString session; // "3/10" for a session of a weekly series
};
// The template with its placeholders filled, in the locale's language; an unknown one stays as typed.
QString filledMessage(const QString &messageTemplate, const MessageFacts &facts, const QLocale &locale);
// The placeholders of the template that are none of the known ones, as typed ("{nmoe}").
QStringList unknownPlaceholders(const QString &messageTemplate);
// The known placeholders, for the settings window to show.
QString knownPlaceholders();
QString defaultMessageTemplate();
// The message for a booking on a day or at a time the clinic closed.
QString defaultRescheduleTemplate();
// WhatsApp takes a message of a few thousand characters; a longer one is cut or refused.
constexpr int kMessageLimit = 4000;

} // namespace velmora
