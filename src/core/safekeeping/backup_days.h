#pragma once

#include <QDate>
#include <QList>

namespace velmora {

// The backups kept of the days there are, when newest was just made: the last 14 days, then the
// newest of each of the 8 weeks before, then the newest of each of the 12 months before; newest always.
QList<QDate> backupsKept(const QList<QDate> &days, QDate newest);

} // namespace velmora
