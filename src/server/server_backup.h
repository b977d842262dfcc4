#pragma once

#include "server/server_connection.h"

#include <QDate>
#include <QDir>
#include <QObject>
#include <QProcess>

#include <memory>

namespace velmora {

// The server's books copied once a day by the first desk that starts that day: pg_dump's custom format
// into the data folder's backups/ as server-YYYY-MM-DD.dump, the last 30 kept. The desks agree through
// the server (a lock while one copies, a record of the day's copy); the copy runs as a process of its
// own beside the window, and ends with finished().
class ServerBackup : public QObject
{
    Q_OBJECT

public:
    // pgDump: the program to run; found on the system when empty.
    ServerBackup(const QString &url, const QDir &folder, QDate today, const QString &pgDump = {},
                 QObject *parent = nullptr);
    ~ServerBackup() override;

    // Returns at once; finished() follows.
    void start();

    static QString fileName(QDate day);
    // pg_dump or pg_restore of the system, or empty.
    static QString findTool(const QString &name);

Q_SIGNALS:
    // made: today's copy was made by this desk. problem: why none could be made, empty when none was
    // due (another desk made it or is making it).
    void finished(bool made, const QString &problem);

private:
    void copied(int exitCode, QProcess::ExitStatus status);
    void end(bool made, const QString &problem);

    QString url_;
    QDir folder_;
    QDate today_;
    QString pgDump_;
    ServerConnection connection_;
    std::unique_ptr<QProcess> process_;
};

// A backup put back into an empty database of the server, in one transaction; report says what was
// done. False with why otherwise (a database that is not empty is never touched).
bool restoreServerBackup(const QString &url, const QString &backupFile, QString *report, QString *error);

} // namespace velmora
