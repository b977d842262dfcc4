#include "platform/log_file.h"

#include "core/safekeeping/desk_files.h"

#include <QDateTime>
#include <QFile>
#include <QMutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

constexpr qint64 kLogSize = 1024 * 1024;
constexpr int kLogsKept = 3;

QMutex logMutex;
QString logPath;
QtMessageHandler passedOn = nullptr;
LogEcho logEcho = LogEcho::PassedOn;

void rotate()
{
    QFile::remove(logPath + QStringLiteral(".%1").arg(kLogsKept));
    for (int i = kLogsKept - 1; i >= 1; --i)
        QFile::rename(logPath + QStringLiteral(".%1").arg(i), logPath + QStringLiteral(".%1").arg(i + 1));
    QFile::rename(logPath, logPath + QStringLiteral(".1"));
}

void write(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    const bool ours = qstrncmp(context.category ? context.category : "", "velmora.", 8) == 0;
    if (ours) {
        const QMutexLocker locked(&logMutex);
        QFile log(logPath);
        if (deskFileAt(logPath) == DeskFile::File && log.size() > kLogSize)
            rotate();
        // Appended only to a file of the folder's own: never through a link, never into a pipe.
        const int handle = ::open(QFile::encodeName(logPath).constData(),
                                  O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
        struct stat info;
        const bool own = handle >= 0 && ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
        if (handle >= 0 && !own)
            ::close(handle);
        if (own && log.open(handle, QIODevice::Append | QIODevice::Text, QFileDevice::AutoCloseHandle)) {
            static const char *const levels[] = {"debug", "warning", "critical", "fatal", "info"};
            const QString line = QStringLiteral("%1 %2 %3: %4\n")
                                     .arg(QDateTime::currentDateTime().toString(Qt::ISODate),
                                          QLatin1String(levels[type]), QLatin1String(context.category),
                                          QString(message).replace(QLatin1Char('\n'), QLatin1String(" / ")));
            log.write(line.toUtf8());
        }
    }
    if (passedOn && (!ours || logEcho == LogEcho::PassedOn))
        passedOn(type, context, message);
}

} // namespace

void installLogFile(const QDir &folder, LogEcho echo)
{
    {
        const QMutexLocker locked(&logMutex);
        logPath = folder.absoluteFilePath(QStringLiteral("velmora.log"));
        logEcho = echo;
    }
    passedOn = qInstallMessageHandler(write);
}

void removeLogFile()
{
    qInstallMessageHandler(passedOn);
    passedOn = nullptr;
}

} // namespace velmora
