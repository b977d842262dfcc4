#include "schema/waiting_sql.h"

#include "core/reception/waiting_list.h"
#include "schema/book_schema.h"

#include <QDateTime>

namespace velmora {

QString waitingListTable()
{
    return QStringLiteral("waiting_list");
}

QString waitingTableStatement(Dialect dialect, const QString &table)
{
    return QStringLiteral(
               "CREATE TABLE IF NOT EXISTS %1 (id %2 PRIMARY KEY, nome %3 NOT NULL, telefone %3, convenio "
               "%3, slot integer NOT NULL, date_from %3, date_to %3, period %3 NOT NULL, obs %3, added_at "
               "%3 NOT NULL, added_by %3, state %3 NOT NULL, left_at %3)")
        .arg(table, dialect == Dialect::Files ? QStringLiteral("INTEGER") : QStringLiteral("bigserial"),
             dialect == Dialect::Files ? QStringLiteral("TEXT") : QStringLiteral("text"));
}

QString waitingColumns()
{
    return QStringLiteral("nome, telefone, convenio, slot, date_from, date_to, period, obs, added_at, "
                          "added_by, state, left_at");
}

QVariantList waitingValues(const WaitingEntry &entry)
{
    const auto date = [](QDate day) {
        return day.isValid() ? QVariant(storedDate(day)) : QVariant(QString());
    };
    const auto when = [](const QDateTime &at) {
        return at.isValid() ? QVariant(at.toUTC().toString(Qt::ISODateWithMs)) : QVariant(QString());
    };
    return {entry.name,
            entry.phone,
            entry.plan,
            entry.slot,
            date(entry.from),
            date(entry.to),
            periodKey(entry.period),
            entry.notes,
            when(entry.addedAt),
            entry.addedBy,
            stateKey(entry.state),
            when(entry.leftAt)};
}

WaitingEntry waitingEntryOf(const QSqlQuery &query)
{
    WaitingEntry entry;
    entry.id = query.value(0).toLongLong();
    entry.name = query.value(1).toString();
    entry.phone = query.value(2).toString();
    entry.plan = query.value(3).toString();
    entry.slot = query.value(4).toInt();
    entry.from = QDate::fromString(query.value(5).toString().left(10), Qt::ISODate);
    entry.to = QDate::fromString(query.value(6).toString().left(10), Qt::ISODate);
    entry.period = periodFromKey(query.value(7).toString());
    entry.notes = query.value(8).toString();
    entry.addedAt = QDateTime::fromString(query.value(9).toString(), Qt::ISODateWithMs);
    entry.addedBy = query.value(10).toString();
    entry.state = stateFromKey(query.value(11).toString());
    entry.leftAt = QDateTime::fromString(query.value(12).toString(), Qt::ISODateWithMs);
    return entry;
}

QString squeezeLimitsTable()
{
    return QStringLiteral("squeeze_limits");
}

QString squeezeLimitsStatement(Dialect dialect, const QString &table)
{
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (slot %2 PRIMARY KEY, per_day %2 NOT NULL)")
        .arg(table, dialect == Dialect::Files ? QStringLiteral("INTEGER") : QStringLiteral("integer"));
}

QString leaveWaitingStatement(const QString &table)
{
    return QStringLiteral("UPDATE %1 SET state = ?, left_at = ? WHERE id = ? AND state = 'waiting'")
        .arg(table);
}

} // namespace velmora
