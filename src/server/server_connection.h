#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <functional>
#include <memory>

struct pg_conn; // libpq's connection

namespace velmora {

// How long connecting, and each statement, may take before it gives up: the window waits no longer.
constexpr int kServerTimeLimitMs = 3000;

// The server named in the data folder's velmora.ini ([server] url=...), or the empty text for the
// folder's own files. Reading it also takes the clinic's word on unencrypted connections
// ([server] allow_unencrypted=yes), for allowUnencryptedServer.
QString serverInSettings(const QDir &folder);

// Whether the clinic stated that a server on another computer may be reached without a verified
// encrypted connection; without it only a server on this computer (loopback or socket) may be.
void allowUnencryptedServer(bool allowed);
bool unencryptedServerAllowed();

// An address as every connection of the program uses it: libpq's own reading of it, with the
// encryption decided here and written out, so that no environment variable (PGSSLMODE) can weaken it.
// Unless the address asks for less, the connection is encrypted and the server's certificate checked
// against the clinic's root certificate and the address (sslmode=verify-full); less is accepted only
// as allowUnencryptedServer says.
struct SecuredAddress
{
    QList<std::pair<QByteArray, QString>> keywords; // in libpq's order, sslmode among them
    bool verified = true;                           // encrypted with the certificate checked
};
bool securedAddress(const QString &url, SecuredAddress *address, QString *error);

// A server's refusal (of an unencrypted or unverified connection, of a right the login lacks) said in
// words with what to do, the server's own words after it; any other reason as it is.
QString explainedRefusal(const QString &reason);

// Points a QPSQL connection at the server of a libpq connection string or URI, with extra libpq
// options; false when the address cannot be read.
bool pointAtServer(QSqlDatabase &db, const QString &url, const QStringList &options, QString *error);

// The address as libpq's own tools (pg_dump, pg_restore) take it, keyword='value' pairs secured as
// every connection is, its password apart (for the tool's environment, never its arguments); empty,
// with the reason, when the address cannot be read or is refused.
QString toolConnectionString(const QString &url, QString *password, QString *error);

// The name a desk's connections give the server: the program and this computer.
QString deskApplicationName();

// The server as messages name it: host, port and database, never a password.
QString shownServer(const QString &url);

// One named connection to a PostgreSQL server, given as a libpq connection string or URI; passwords
// come from libpq's own password or service file. Opened by the first statement that needs it and
// dropped when the server is found gone, so that the next statement connects afresh.
// What a desk is told when the server lacks what this release keeps there.
QString olderServerSetUp();

class ServerConnection
{
public:
    ServerConnection(const QString &role, const QString &url, int timeLimitMs = kServerTimeLimitMs);
    ~ServerConnection();
    // Every transaction of the connection made read-only by the server, from the next connecting on.
    void onlyRead() { onlyRead_ = true; }
    ServerConnection(const ServerConnection &) = delete;
    ServerConnection &operator=(const ServerConnection &) = delete;

    bool ensureOpen(QString *error);
    bool isOpen() const;
    // Whether the server was last found out of reach less than ms ago, and why.
    bool failedWithin(int ms, QString *error) const;
    // Whether the last ensureOpen connected afresh; cleared by the call.
    bool takeReconnected();
    QSqlDatabase database() const;
    // The statement prepared once per connection and kept, or none when it cannot be prepared.
    QSqlQuery *prepared(const QString &statement, QString *error);
    // The query run, waiting for the server no longer than the time limit: a server that stays silent
    // past it is given up and the connection dropped. The reason of a failure in error.
    bool execute(QSqlQuery &query, QString *error);
    bool execute(QSqlQuery &query, const QString &statement, QString *error);
    // The statement prepared (once), given the values and run; none with the reason on failure.
    QSqlQuery *run(const QString &statement, const QVariantList &values, QString *error);
    int timeLimitMs() const { return timeLimitMs_; }
    // Runs ask, a wait on the server, giving it up at the time limit: false when it was given up (the
    // connection dropped, the reason in error), otherwise true with ask's answer in answered.
    bool withinLimit(const std::function<bool()> &ask, bool *answered, QString *error);
    // The reason of a failed statement or connection, naming the server; drops a connection that
    // the server has lost.
    QString failure(const QSqlError &error);
    // Drops the connection when the server has lost it, for the next statement to connect afresh.
    void dropIfLost(const QString &reason);
    QString named(const QString &reason) const;
    void close();
    QString url() const { return url_; }
    // libpq's own connection while open, for what Qt's driver does not offer.
    pg_conn *handle() const;

private:
    bool onlyRead_ = false;
    bool answeredInTime(const std::function<bool()> &ask, const QSqlQuery &query, QString *error);
    // After a wait given up at the time limit: the connection, whose socket was shut down, dropped.
    void dropAsSilent(QString *error);
    bool connectionLost() const;
    void markUnreachable(const QString &reason);

    QString connectionName_;
    QString url_;
    int timeLimitMs_;
    bool reconnected_ = false;
    QHash<QString, QSqlQuery> prepared_;
    QString lastFailure_; // why the server could not be reached last
    QElapsedTimer sinceFailure_;
    bool failedThisTurn_ = false; // until the event loop turns
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace velmora
