#include "schema/calendar_text.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace velmora {

namespace {

constexpr std::array<std::pair<CalendarEntry::Kind, const char *>, 5> kKinds{{
    {CalendarEntry::Kind::Closure, "closure"},
    {CalendarEntry::Kind::ExtraDay, "extra"},
    {CalendarEntry::Kind::Holiday, "holiday"},
    {CalendarEntry::Kind::Opening, "opening"},
    {CalendarEntry::Kind::OptionalClosed, "optional-closed"},
}};

} // namespace

QString calendarText(const QVector<CalendarEntry> &entries)
{
    QJsonArray array;
    for (const CalendarEntry &entry : entries) {
        QJsonObject object;
        for (const auto &[kind, name] : kKinds)
            if (kind == entry.kind)
                object[QStringLiteral("kind")] = QLatin1String(name);
        object[QStringLiteral("slot")] = entry.slot;
        object[QStringLiteral("from")] = entry.from.toString(Qt::ISODate);
        object[QStringLiteral("to")] = entry.to.toString(Qt::ISODate);
        object[QStringLiteral("start")] = entry.start;
        object[QStringLiteral("end")] = entry.end;
        object[QStringLiteral("hours")] = QJsonArray::fromStringList(entry.hours);
        object[QStringLiteral("reason")] = entry.reason;
        object[QStringLiteral("yearly")] = entry.yearly;
        object[QStringLiteral("changedBy")] = entry.changedBy;
        object[QStringLiteral("changedAt")] = entry.changedAt.toUTC().toString(Qt::ISODateWithMs);
        array.append(object);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

bool calendarFromText(const QString &text, QVector<CalendarEntry> *entries)
{
    entries->clear();
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isArray())
        return false;
    for (const QJsonValue &value : document.array()) {
        const QJsonObject object = value.toObject();
        CalendarEntry entry;
        bool known = false;
        for (const auto &[kind, name] : kKinds)
            if (object.value(QStringLiteral("kind")).toString() == QLatin1String(name)) {
                entry.kind = kind;
                known = true;
            }
        if (!known)
            continue;
        entry.slot = object.value(QStringLiteral("slot")).toInt();
        entry.from = QDate::fromString(object.value(QStringLiteral("from")).toString(), Qt::ISODate);
        entry.to = QDate::fromString(object.value(QStringLiteral("to")).toString(), Qt::ISODate);
        entry.start = object.value(QStringLiteral("start")).toString();
        entry.end = object.value(QStringLiteral("end")).toString();
        for (const QJsonValue &hour : object.value(QStringLiteral("hours")).toArray())
            entry.hours << hour.toString();
        entry.reason = object.value(QStringLiteral("reason")).toString();
        entry.yearly = object.value(QStringLiteral("yearly")).toBool();
        entry.changedBy = object.value(QStringLiteral("changedBy")).toString();
        entry.changedAt =
            QDateTime::fromString(object.value(QStringLiteral("changedAt")).toString(), Qt::ISODateWithMs);
        entries->append(entry);
    }
    return true;
}

} // namespace velmora
