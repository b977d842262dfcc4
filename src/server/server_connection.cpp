#include "server/server_connection.h"
#include "core/safekeeping/activity_log.h"
#include "core/safekeeping/desk_files.h"

#include "schema/book_schema.h"
#include "server/libpq_library.h"
#include "server/server_deadline.h"

#include <QCoreApplication>
#include <QLocale>
#include <QSettings>
#include <QSqlDriver>
#include <QSqlError>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <atomic>

namespace velmora {

namespace {
std::atomic<bool> unencryptedAllowed{false};
} // namespace

void allowUnencryptedServer(bool allowed)
{
    unencryptedAllowed = allowed;
}

bool unencryptedServerAllowed()
{
    return unencryptedAllowed;
}

QString serverInSettings(const QDir &folder)
{
    // Only a file of that name is read: a pipe there would hold the program for ever.
    const QString ini = folder.filePath(QStringLiteral("velmora.ini"));
    const QSettings settings(deskFileAt(ini) == DeskFile::File ? ini : QString(), QSettings::IniFormat);
    const QString allowed = settings.value(QStringLiteral("server/allow_unencrypted")).toString().trimmed();
    if (allowed.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0 ||
        allowed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        allowUnencryptedServer(true);
    QString url = settings.value(QStringLiteral("server/url")).toString().trimmed();
    const QString rootCertificate =
        settings.value(QStringLiteral("server/root_certificate")).toString().trimmed();
    if (url.isEmpty() || rootCertificate.isEmpty())
        return url;
    // The clinic's root certificate named beside the address: added to it as libpq reads it.
    if (url.contains(QLatin1String("://")))
        return url + (url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
               QStringLiteral("sslrootcert=") + QString::fromLatin1(QUrl::toPercentEncoding(rootCertificate));
    return url + QStringLiteral(" sslrootcert='%1'")
                     .arg(QString(rootCertificate).replace(QLatin1Char('\''), QLatin1String("\\'")));
}

QString explainedRefusal(const QString &reason)
{
    struct Cause
    {
        const char *said;
        const char *meaning;
    };
    static const Cause causes[] = {
        {"server does not support SSL",
         QT_TRANSLATE_NOOP("Storage",
                           "the server offers no encrypted connection; the clinic's IT person must turn on "
                           "ssl on the server as the README shows")},
        {"root certificate file",
         QT_TRANSLATE_NOOP("Storage",
                           "the clinic's root certificate is not on this computer; copy it to "
                           "~/.postgresql/root.crt or name it in velmora.ini (root_certificate=)")},
        {"does not match host name",
         QT_TRANSLATE_NOOP("Storage", "the server's certificate is made out to another name than the address "
                                      "used; use the name the certificate gives")},
        {"certificate has expired",
         QT_TRANSLATE_NOOP("Storage",
                           "the server's certificate has expired; the clinic's IT person must renew it")},
        {"certificate verify failed",
         QT_TRANSLATE_NOOP("Storage",
                           "the server's certificate could not be verified against the clinic's root "
                           "certificate (signed by another, or expired): it may not be the clinic's server")},
        {"no encryption",
         QT_TRANSLATE_NOOP("Storage",
                           "the server accepts only encrypted connections; take sslmode=disable out of "
                           "the address")},
        {"lock timeout",
         QT_TRANSLATE_NOOP("Storage",
                           "another connection holds the book (a desk in the middle of a change, or a tool "
                           "working on the server); try again in a moment, and if it lasts, the clinic's IT "
                           "person finds the holder in pg_stat_activity")},
        {"permission denied",
         QT_TRANSLATE_NOOP("Storage",
                           "your login lacks the right to this; the clinic's IT person gives a desk's "
                           "rights with velmora --server-setup")},
        {"Connection refused",
         QT_TRANSLATE_NOOP("Storage",
                           "nothing answers at that address and port: the server is not running, or "
                           "does not listen there (listen_addresses and port in postgresql.conf, "
                           "as the README shows)")},
        {"no pg_hba.conf entry",
         QT_TRANSLATE_NOOP("Storage", "the server does not let this computer in: the clinic's IT person adds "
                                      "its network to pg_hba.conf in a hostssl line, as the README shows")},
        {"password authentication failed",
         QT_TRANSLATE_NOOP("Storage", "the login or its password is wrong")},
        {"could not translate host name",
         QT_TRANSLATE_NOOP("Storage", "this computer does not know the server's name: check the address")},
        {"FATAL:  role \"",
         QT_TRANSLATE_NOOP("Storage", "the server has no such login: the clinic's IT person adds the person "
                                      "as velmora --server-setup printed")},
        {"FATAL:  database \"",
         QT_TRANSLATE_NOOP(
             "Storage", "the server has no database of that name: check the name at the end of the address")},
    };
    for (const Cause &cause : causes)
        if (reason.contains(QLatin1String(cause.said), Qt::CaseInsensitive)) {
            // libpq's own advice, on the lines after its reason, is left out for the program's.
            const QString said = reason.section(QLatin1Char('\n'), 0, 0).trimmed();
            return QCoreApplication::translate("Storage", cause.meaning) + QStringLiteral(" (") + said +
                   QLatin1Char(')');
        }
    return reason;
}

namespace {

// libpq's own reading of a connection string or URI, in every form it accepts; null when it cannot
// be read, or when libpq cannot be loaded (then with the loader's reason in libraryProblem).
using ParsedAddress = std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)>;
ParsedAddress parsedAddress(const QString &url, QString *libraryProblem = nullptr)
{
    const Libpq *pq = libpq(libraryProblem);
    if (!pq)
        return {nullptr, [](PQconninfoOption *) {}};
    // libpq's complaint about an unreadable address quotes the text, which may hold a password: it
    // is never passed on.
    char *problem = nullptr;
    ParsedAddress parsed(pq->conninfoParse(url.toUtf8().constData(), &problem), pq->conninfoFree);
    pq->freemem(problem);
    return parsed;
}

} // namespace

QString shownServer(const QString &url)
{
    const ParsedAddress parsed = parsedAddress(url);
    if (!parsed)
        return QCoreApplication::translate("Storage", "(an address that cannot be read)");
    QHash<QByteArray, QString> values;
    for (const PQconninfoOption *option = parsed.get(); option->keyword; ++option)
        if (option->val)
            values.insert(option->keyword, QString::fromUtf8(option->val));
    // Each host with its port, as libpq pairs them: host:port[,host:port...]/database.
    const QStringList hosts = values.value("host", values.value("hostaddr")).split(QLatin1Char(','));
    const QStringList ports = values.value("port").split(QLatin1Char(','));
    QStringList shown;
    for (qsizetype i = 0; i < hosts.size(); ++i) {
        const QString host = hosts.at(i).isEmpty() ? QStringLiteral("localhost") : hosts.at(i);
        const QString port = ports.size() == 1 ? ports.first() : ports.value(i);
        shown << (port.isEmpty() ? host : host + QLatin1Char(':') + port);
    }
    const QString database = values.value("dbname");
    return shown.join(QLatin1Char(',')) + (database.isEmpty() ? QString() : QLatin1Char('/') + database);
}

namespace {

// A server on this machine: a socket folder, or the loopback addresses.
bool onThisComputer(const QString &hosts)
{
    for (const QString &host : hosts.split(QLatin1Char(','))) {
        const QString name = host.trimmed();
        if (!(name.isEmpty() || name.startsWith(QLatin1Char('/')) || name == QLatin1String("localhost") ||
              name.startsWith(QLatin1String("127.")) || name == QLatin1String("::1")))
            return false;
    }
    return true;
}

QString quotedValue(const QString &value)
{
    return QStringLiteral("'%1'").arg(QString(value)
                                          .replace(QLatin1Char('\\'), QLatin1String("\\\\"))
                                          .replace(QLatin1Char('\''), QLatin1String("\\'")));
}

} // namespace

bool securedAddress(const QString &url, SecuredAddress *address, QString *error)
{
    QString libraryProblem;
    const ParsedAddress parsed = parsedAddress(url, &libraryProblem);
    if (!parsed) {
        *error = libraryProblem.isEmpty()
                     ? QCoreApplication::translate("Storage", "the server's address cannot be read")
                     : QCoreApplication::translate("Storage", "PostgreSQL's client library cannot be loaded "
                                                              "(%1)")
                           .arg(libraryProblem);
        return false;
    }
    address->keywords.clear();
    QString mode;
    QString hosts;
    for (const PQconninfoOption *option = parsed.get(); option->keyword; ++option) {
        if (!option->val)
            continue;
        const QByteArray keyword(option->keyword);
        if (keyword == "sslmode")
            mode = QString::fromUtf8(option->val);
        else
            address->keywords.append({keyword, QString::fromUtf8(option->val)});
        if (keyword == "host" || keyword == "hostaddr")
            hosts += QLatin1Char(',') + QString::fromUtf8(option->val);
    }
    if (mode.isEmpty())
        mode = QStringLiteral("verify-full");
    address->verified = mode == QLatin1String("verify-full") || mode == QLatin1String("verify-ca");
    if (!address->verified && !onThisComputer(hosts.mid(1)) && !unencryptedServerAllowed()) {
        *error = QCoreApplication::translate(
                     "Storage", "the address asks for a connection that is not encrypted and verified "
                                "(sslmode=%1), which is refused for a server on another computer: the "
                                "clinic's IT person turns on encryption on the server as the README shows")
                     .arg(mode);
        return false;
    }
    address->keywords.append({QByteArrayLiteral("sslmode"), mode});
    return true;
}

bool pointAtServer(QSqlDatabase &db, const QString &url, const QStringList &options, QString *error)
{
    // Qt passes its fields to libpq as keywords, where a URI is not read: libpq takes it apart here,
    // and the encryption is always written out.
    SecuredAddress address;
    if (!securedAddress(url, &address, error))
        return false;
    QStringList rest;
    for (const auto &[keyword, value] : std::as_const(address.keywords)) {
        if (keyword == "dbname")
            db.setDatabaseName(value);
        else if (keyword == "user")
            db.setUserName(value);
        else if (keyword == "password")
            db.setPassword(value);
        else // host and port too: several hosts, each with its port, are libpq's to try in turn
            rest << QString::fromLatin1(keyword) + QLatin1Char('=') + quotedValue(value);
    }
    db.setConnectOptions((rest + options).join(QLatin1Char(';')));
    return true;
}

QString toolConnectionString(const QString &url, QString *password, QString *error)
{
    SecuredAddress address;
    if (!securedAddress(url, &address, error))
        return {};
    QStringList pairs;
    for (const auto &[keyword, value] : std::as_const(address.keywords)) {
        if (keyword == "password")
            *password = value;
        else
            pairs << QString::fromLatin1(keyword) + QLatin1Char('=') + quotedValue(value);
    }
    return pairs.join(QLatin1Char(' '));
}

QString deskApplicationName()
{
    // "Velmora@" and the computer's name, which the server's history shows beside the address it
    // sees: printable ASCII, as the server keeps it, within its 63 bytes.
    QString name;
    for (const QChar c : QSysInfo::machineHostName())
        if (c.unicode() > 32 && c.unicode() < 127 && c != QLatin1Char('\'') && c != QLatin1Char('\\') &&
            c != QLatin1Char(';'))
            name += c;
    return (QStringLiteral("Velmora@") + name).left(63);
}

ServerConnection::ServerConnection(const QString &role, const QString &url, int timeLimitMs)
    : url_(url), timeLimitMs_(timeLimitMs)
{
    static std::atomic<int> counter{0};
    connectionName_ = QStringLiteral("%1#server%2").arg(role).arg(++counter);
}

ServerConnection::~ServerConnection()
{
    close();
}

QSqlDatabase ServerConnection::database() const
{
    if (!QSqlDatabase::contains(connectionName_))
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName_);
    return QSqlDatabase::database(connectionName_, false);
}

QString ServerConnection::named(const QString &reason) const
{
    return QCoreApplication::translate("Storage", "the server %1: %2").arg(shownServer(url_), reason);
}

bool ServerConnection::ensureOpen(QString *error)
{
    if (isOpen() && !connectionLost())
        return true;
    close(); // a connection the server ended meanwhile, as on its restart, is replaced
    if (failedThisTurn_) {
        *error = lastFailure_;
        return false;
    }
    QSqlDatabase db = database();
    if (!db.isValid()) {
        *error =
            named(QCoreApplication::translate("Storage", "the PostgreSQL driver of Qt is not installed"));
        return false;
    }
    // Time limits on connecting and on an unanswered network; keepalives notice a network gone quiet.
    const QString seconds = QString::number(std::clamp(timeLimitMs_ / 1000, 2, 60));
    QString problem;
    if (!pointAtServer(
            db, url_,
            {QStringLiteral("connect_timeout=") + seconds, QStringLiteral("keepalives=1"),
             QStringLiteral("keepalives_idle=") + seconds, QStringLiteral("keepalives_interval=1"),
             QStringLiteral("keepalives_count=3"), QStringLiteral("tcp_user_timeout=%1").arg(timeLimitMs_),
             QStringLiteral("application_name=") + deskApplicationName(),
             onlyRead_ ? QStringLiteral("options='-c default_transaction_read_only=on'") : QString()},
            &problem)) {
        *error = named(problem);
        return false;
    }
    if (!db.open()) {
        *error = named(explainedRefusal(reasonOf(db.lastError())));
        db.close();
        markUnreachable(*error);
        return false;
    }
    if (sinceFailure_.isValid())
        qCInfo(logServer).noquote() << "reached again:" << shownServer(url_);
    sinceFailure_.invalidate();
    QSqlQuery limits(db);
    // The server cancels a statement of its own a little before the desk gives up on a silent server,
    // and a wait for a lock a little before that, so that a book held by another connection is told
    // apart from a slow server.
    if (!execute(limits,
                 QStringLiteral("SET statement_timeout = %1; SET lock_timeout = %2")
                     .arg(timeLimitMs_ * 3 / 4)
                     .arg(timeLimitMs_ * 2 / 3),
                 error)) {
        close();
        return false;
    }
    reconnected_ = true;
    return true;
}

bool ServerConnection::isOpen() const
{
    return QSqlDatabase::contains(connectionName_) && database().isOpen();
}

bool ServerConnection::failedWithin(int ms, QString *error) const
{
    if (!sinceFailure_.isValid() || sinceFailure_.elapsed() >= ms)
        return false;
    *error = lastFailure_;
    return true;
}

bool ServerConnection::takeReconnected()
{
    return std::exchange(reconnected_, false);
}

QSqlQuery *ServerConnection::prepared(const QString &statement, QString *error)
{
    auto found = prepared_.find(statement);
    if (found == prepared_.end()) {
        QSqlQuery query(database());
        query.setForwardOnly(true);
        if (!answeredInTime([&query, &statement] { return query.prepare(statement); }, query, error))
            return nullptr;
        found = prepared_.insert(statement, query);
    }
    found->finish();
    return &*found;
}

bool ServerConnection::execute(QSqlQuery &query, QString *error)
{
    return answeredInTime([&query] { return query.exec(); }, query, error);
}

bool ServerConnection::execute(QSqlQuery &query, const QString &statement, QString *error)
{
    return answeredInTime([&query, &statement] { return query.exec(statement); }, query, error);
}

QSqlQuery *ServerConnection::run(const QString &statement, const QVariantList &values, QString *error)
{
    QSqlQuery *query = prepared(statement, error);
    if (!query)
        return nullptr;
    for (const QVariant &value : values)
        query->addBindValue(value);
    return execute(*query, error) ? query : nullptr;
}

bool ServerConnection::withinLimit(const std::function<bool()> &ask, bool *answered, QString *error)
{
    bool late = false;
    {
        const ServerDeadline deadline(handle(), timeLimitMs_);
        *answered = ask();
        late = deadline.expired();
    }
    if (*answered || !late)
        return true;
    dropAsSilent(error);
    return false;
}

bool ServerConnection::answeredInTime(const std::function<bool()> &ask, const QSqlQuery &query,
                                      QString *error)
{
    bool answered = false;
    if (!withinLimit(ask, &answered, error))
        return false;
    if (!answered)
        *error = failure(query.lastError());
    return answered;
}

void ServerConnection::dropAsSilent(QString *error)
{
    *error = named(QCoreApplication::translate("Storage", "it did not answer within %1 seconds")
                       .arg(QLocale().toString(timeLimitMs_ / 1000.0)));
    close();
    markUnreachable(*error);
}

PGconn *ServerConnection::handle() const
{
    const QSqlDatabase db = database();
    if (!db.isOpen())
        return nullptr;
    const QVariant handle = db.driver()->handle();
    // Named by the driver's declaration or by the compiler, depending on how Qt registered it.
    if (!handle.isValid() ||
        (qstrcmp(handle.typeName(), "PGconn*") != 0 && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

bool ServerConnection::connectionLost() const
{
    PGconn *connection = handle();
    if (connection == nullptr)
        return true;
    // Reads what already arrived without waiting (libpq's socket never blocks): a server that ended
    // the connection has left its goodbye and the end of the stream there.
    // The second read meets the end of the stream when the first took the goodbye.
    const Libpq *pq = libpq();
    if (!pq)
        return true;
    for (int read = 0; read < 2 && pq->status(connection) == CONNECTION_OK; ++read)
        pq->consumeInput(connection);
    return pq->status(connection) != CONNECTION_OK;
}

QString olderServerSetUp()
{
    return QCoreApplication::translate(
        "Storage", "the server was set up by an older release: the clinic's IT person must run velmora "
                   "--server-setup again");
}

QString ServerConnection::failure(const QSqlError &error)
{
    // A table or function of this release missing: the server's set-up is older than the desk.
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("42P01") || code == QLatin1String("42883")) {
        qCWarning(logServer).noquote() << "older set-up:" << reasonOf(error);
        return named(olderServerSetUp());
    }
    const QString reason = named(explainedRefusal(reasonOf(error)));
    dropIfLost(reason);
    return reason;
}

void ServerConnection::dropIfLost(const QString &reason)
{
    if (!connectionLost())
        return;
    close();
    markUnreachable(reason);
}

void ServerConnection::markUnreachable(const QString &reason)
{
    if (!sinceFailure_.isValid())
        qCWarning(logServer).noquote() << "lost:" << reason;
    lastFailure_ = reason;
    sinceFailure_.start();
    // The rest of the user's action (reading the list again, say) fails at once instead of waiting
    // for the server once more; the next action, after the event loop turned, tries again.
    QCoreApplication *application = QCoreApplication::instance();
    if (!application || QThread::currentThread() != application->thread())
        return;
    failedThisTurn_ = true;
    QTimer::singleShot(0, application, [this, alive = std::weak_ptr<bool>(alive_)] {
        if (alive.lock())
            failedThisTurn_ = false;
    });
}

void ServerConnection::close()
{
    // The connection goes with its driver before the statements prepared on it: with the driver gone
    // they ask nothing more of a server that may be gone too.
    const QHash<QString, QSqlQuery> prepared = std::exchange(prepared_, {});
    if (QSqlDatabase::contains(connectionName_))
        QSqlDatabase::removeDatabase(connectionName_);
}

} // namespace velmora
