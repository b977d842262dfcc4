#pragma once

#include "core/storage/book_storage.h"

#include <QSqlQuery>
#include <QVariantList>

#include <vector>

namespace velmora {

class ServerStorage;

// Whole books and the settings record written onto a server in one transaction, each book in a
// savepoint of its own so that one can be dropped; rows sent a few hundred to a statement. The other
// desks hear of it once it is committed.
class ServerFill : public StorageFill
{
public:
    // Begun on a server found ready; failed() says why not.
    explicit ServerFill(ServerStorage &storage);
    ~ServerFill() override;
    ServerFill(const ServerFill &) = delete;
    ServerFill &operator=(const ServerFill &) = delete;

    bool begun(QString *error) const;

    // The operations every engine implements.
#include "core/storage/fill_operations.inc"

private:
    // The statement run within the transaction; none when the connection was lost meanwhile, as a
    // connection made afresh would not be in it.
    QSqlQuery *run(const QString &statement, const QVariantList &values, QString *error);
    bool stillOpen(QString *error);
    // A statement that cannot be prepared (a savepoint's), run as it is.
    bool command(const QString &statement, QString *error);
    bool flush(QString *error);
    bool endBook(QString *error);
    // The identities the table gives next, past those written with theirs.
    bool identitiesGoOnPast(const QString &table, QString *error);

    ServerStorage &storage_;
    bool open_ = false;
    QString beginFailure_;
    int slot_ = 0;                               // the book being filled
    std::vector<std::pair<int, qint64>> filled_; // each book filled, with the bookings appended
    std::vector<Appointment> rows_;              // not yet sent
    std::vector<std::pair<qint64, HistoryEntry>> history_;
};

} // namespace velmora
