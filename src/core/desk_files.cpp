#include "core/desk_files.h"

#include <QFile>

#include <sys/stat.h>

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

} // namespace velmora
