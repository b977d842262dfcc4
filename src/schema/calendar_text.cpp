#include "schema/calendar_text.h"

#include "core/schedule/clinic_calendar.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <optional>

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
        if (!entry.unreadable.isEmpty()) {
            // Kept as it was read; a text that was no JSON at all is kept as the text it was.
            const QJsonDocument kept =
                QJsonDocument::fromJson(QByteArray("[") + entry.unreadable.toUtf8() + "]");
            array.append(kept.isArray() && kept.array().size() == 1 ? kept.array().first()
                                                                    : QJsonValue(entry.unreadable));
            continue;
        }
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

namespace {

// The entry the object holds, read exactly: every field of its kind and type, a date as written by
// calendarText or none; nothing when any is not.
std::optional<CalendarEntry> entryOf(const QJsonObject &object)
{
    CalendarEntry entry;
    const auto kind = std::find_if(kKinds.cbegin(), kKinds.cend(), [&](const auto &known) {
        return object.value(QStringLiteral("kind")) == QLatin1String(known.second);
    });
    if (kind == kKinds.cend())
        return std::nullopt;
    entry.kind = kind->first;
    bool exact = true;
    const auto text = [&](const char *key) {
        const QJsonValue value = object.value(QLatin1String(key));
        exact = exact && (value.isUndefined() || value.isString());
        return value.toString();
    };
    const auto date = [&](const char *key) {
        const QString written = text(key);
        const QDate read = QDate::fromString(written, Qt::ISODate);
        exact = exact && (written.isEmpty() || (read.isValid() && read.toString(Qt::ISODate) == written));
        return read;
    };
    const QJsonValue slot = object.value(QStringLiteral("slot"));
    exact = slot.isUndefined() ||
            (slot.isDouble() && slot.toDouble() == slot.toInt() && slot.toInt() >= 0 && slot.toInt() <= 10);
    entry.slot = slot.toInt();
    entry.from = date("from");
    entry.to = date("to");
    entry.start = text("start");
    entry.end = text("end");
    const QJsonValue hours = object.value(QStringLiteral("hours"));
    exact = exact && (hours.isUndefined() || hours.isArray());
    for (const QJsonValue &hour : hours.toArray()) {
        exact = exact && hour.isString();
        entry.hours << hour.toString();
    }
    entry.reason = text("reason");
    const QJsonValue yearly = object.value(QStringLiteral("yearly"));
    exact = exact && (yearly.isUndefined() || yearly.isBool());
    entry.yearly = yearly.toBool();
    entry.changedBy = text("changedBy");
    const QString at = text("changedAt");
    entry.changedAt = QDateTime::fromString(at, Qt::ISODateWithMs);
    exact = exact && (at.isEmpty() || entry.changedAt.isValid());
    // A dated kind needs its first day.
    exact = exact && (entry.kind == CalendarEntry::Kind::OptionalClosed || entry.from.isValid());
    return exact ? std::optional<CalendarEntry>(entry) : std::nullopt;
}

} // namespace

bool calendarFromText(const QString &text, QVector<CalendarEntry> *entries)
{
    entries->clear();
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8(), &parsed);
    if (parsed.error != QJsonParseError::NoError || !document.isArray()) {
        CalendarEntry whole;
        whole.unreadable = text;
        entries->append(whole);
        return false;
    }
    for (const QJsonValue &value : document.array()) {
        const std::optional<CalendarEntry> entry =
            value.isObject() ? entryOf(value.toObject()) : std::optional<CalendarEntry>();
        if (entry) {
            entries->append(*entry);
            continue;
        }
        CalendarEntry kept;
        kept.unreadable = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact));
        kept.unreadable = kept.unreadable.mid(1, kept.unreadable.size() - 2); // the element, not its array
        entries->append(kept);
    }
    return true;
}

} // namespace velmora
