#pragma once

#include "schema/booking_sql.h"

#include <QSqlQuery>

namespace velmora {

struct WaitingEntry;

// The tables kept beside the settings record for the reception's own lists.

// The waiting list's table in the settings file, and on a server in its public schema.
QString waitingListTable();
// The waiting list's table, in each dialect: one row per entry, its state kept when it leaves the list.
QString waitingTableStatement(Dialect dialect, const QString &table);
// "nome, telefone, ..., left_at": every column but the identity, in the order of waitingValues().
QString waitingColumns();
QVariantList waitingValues(const WaitingEntry &entry);
// The entry of a row selected as "id, <waitingColumns()>".
WaitingEntry waitingEntryOf(const QSqlQuery &query);
// The squeeze-ins each doctor takes a day: one row per slot that has a limit (slot, per_day).
QString squeezeLimitsTable();
QString squeezeLimitsStatement(Dialect dialect, const QString &table);

// Sets the entry's state, when it is still waiting (values: state, left at, identity).
QString leaveWaitingStatement(const QString &table);

} // namespace velmora
