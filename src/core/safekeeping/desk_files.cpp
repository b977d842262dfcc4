#include "core/safekeeping/desk_files.h"

#include <QFile>
#include <QSaveFile>

#include <QCoreApplication>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

DeskFile deskFileAt(const QString &path)
{
    struct stat info;
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return DeskFile::Missing;
    if (S_ISLNK(info.st_mode))
        return DeskFile::Link;
    return S_ISREG(info.st_mode) ? DeskFile::File : DeskFile::Other;
}

bool makePrivateFile(const QString &path, QString *error)
{
    const int handle = ::open(QFile::encodeName(path).constData(),
                              O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (handle < 0) {
        *error = errno == ELOOP
                     ? QCoreApplication::translate("Storage", "\"%1\" is a link").arg(path)
                     : QStringLiteral("\"%1\": %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat info;
    const bool regular = ::fstat(handle, &info) == 0 && S_ISREG(info.st_mode);
    const bool made = regular && ::ftruncate(handle, 0) == 0 && ::fchmod(handle, 0600) == 0;
    ::close(handle);
    if (!made)
        *error = QCoreApplication::translate("Storage", "\"%1\" is not a file").arg(path);
    return made;
}

bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error)
{
    // Never through a link (a save would write its target) or into a pipe (it would wait for ever).
    const DeskFile there = deskFileAt(path);
    if (there == DeskFile::Link || there == DeskFile::Other) {
        *error = QCoreApplication::translate("Storage", "\"%1\" is not a file").arg(path);
        return false;
    }
    // The patients' names and phones: the user's alone.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) &&
        file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}

} // namespace velmora
