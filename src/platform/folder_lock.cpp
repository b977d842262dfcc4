#include "platform/folder_lock.h"

#include "files/database.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLocale>
#include <QSysInfo>

namespace velmora {

FolderLock::FolderLock(const QDir &folder)
    : folder_(folder), lock_(folder.filePath(QString::fromLatin1(kFileName)))
{
    // A lock left by a program of this computer that crashed names a process that is gone.
    lock_.setStaleLockTime(0);
}

FolderLock::Claim FolderLock::claim()
{
    if (!QFileInfo(folder_.path()).isDir())
        return Claim::NotAFolder;
    const QString path = folder_.filePath(QString::fromLatin1(kFileName));
    // Checked before it is read: reading a pipe would wait for ever.
    if ((QFileInfo::exists(path) || isLink(path)) && (isLink(path) || !isRegularFile(path)))
        return Claim::NotAFile;
    if (lock_.tryLock(0))
        return Claim::Claimed;
    if (lock_.error() != QLockFile::LockFailedError)
        return Claim::CannotWrite;
    qint64 pid = 0;
    QString host;
    QString application;
    if (!lock_.getLockInfo(&pid, &host, &application) || host.isEmpty() ||
        host == QSysInfo::machineHostName())
        return Claim::HeldHere;
    const QDateTime since = QFileInfo(path).lastModified();
    holder_ = QCoreApplication::translate("StartUp", "the computer \"%1\", since %2")
                  .arg(host, QLocale().toString(since, QLocale::ShortFormat));
    if (since.secsTo(QDateTime::currentDateTime()) < kAbandonedLockHours * 3600)
        return Claim::HeldElsewhere;
    return takeOver();
}

FolderLock::Claim FolderLock::takeOver()
{
    lock_.removeStaleLockFile();
    return lock_.tryLock(0) ? Claim::Claimed : Claim::CannotWrite;
}

QString FolderLock::refusal(Claim claim) const
{
    const QString folder = QDir::toNativeSeparators(folder_.absolutePath());
    switch (claim) {
    case Claim::Claimed:
        break;
    case Claim::HeldHere:
        return QCoreApplication::translate("StartUp",
                                           "Velmora is already open on this folder. Use the window "
                                           "that is open, or close it first.\n\nFolder: %1")
            .arg(folder);
    case Claim::HeldElsewhere:
        return QCoreApplication::translate("StartUp", "Velmora is open on this folder at %1. Close it there "
                                                      "first.\n\nFolder: %2")
            .arg(holder_, folder);
    case Claim::NotAFile:
        return QCoreApplication::translate("StartUp",
                                           "\"%1\" in the folder is not a file (a folder, a link or a "
                                           "pipe), so Velmora cannot claim the folder. Remove it and "
                                           "start again.\n\nFolder: %2")
            .arg(QLatin1String(kFileName), folder);
    case Claim::NotAFolder:
        return QCoreApplication::translate("StartUp", "The data folder \"%1\" is not a folder.").arg(folder);
    case Claim::CannotWrite:
        return QCoreApplication::translate("StartUp", "Velmora cannot claim this folder for itself (its lock "
                                                      "file cannot be written), so it does not open the "
                                                      "files.\n\nFolder: %1")
            .arg(folder);
    }
    return {};
}

QString FolderLock::takeOverQuestion() const
{
    return QCoreApplication::translate(
               "StartUp", "Velmora is open on this folder at %1, or was left so there by a crash or a "
                          "power cut.\n\nTake the folder over? Only if Velmora is closed on that "
                          "computer: two programs working on the same files can lose bookings.")
        .arg(holder_);
}

} // namespace velmora
