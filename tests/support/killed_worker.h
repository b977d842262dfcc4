#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

#include <csignal>
#include <optional>

namespace velmora::testing {

// The storage worker (STORAGE_WORKER) started with the arguments and killed outright once it has
// reported that many lines, in the middle of what it does next; everything it wrote. None when it
// could not be started or ended by itself first.
inline std::optional<QByteArray> killedAfter(const QStringList &arguments, int reports)
{
    QProcess process;
    process.start(QStringLiteral(STORAGE_WORKER), arguments);
    if (!process.waitForStarted())
        return std::nullopt;
    QByteArray output;
    while (output.count('\n') < reports && process.state() == QProcess::Running) {
        process.waitForReadyRead(10000);
        output += process.readAllStandardOutput();
    }
    if (process.state() != QProcess::Running)
        return std::nullopt;
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    if (!process.waitForFinished(10000))
        return std::nullopt;
    return output + process.readAllStandardOutput();
}

// The lines a killed worker wrote whole: the last piece may be cut short.
inline QStringList completeLines(const QByteArray &output)
{
    QStringList lines = QString::fromUtf8(output).split(QLatin1Char('\n'));
    lines.removeLast();
    return lines;
}

} // namespace velmora::testing
