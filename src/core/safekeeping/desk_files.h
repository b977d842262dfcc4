#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// What stands under a name of the desk's own files (its settings, its log): the program reads and
// writes only a regular file of that name, never through a link, and never a pipe, which would hold
// it for ever.
enum class DeskFile
{
    Missing,
    File,
    Link,
    Other // a folder, a pipe, a device
};
DeskFile deskFileAt(const QString &path);

// A file the program is about to fill with patients' data (a dump, a PDF), made empty and the user's
// alone: never through a link, never a pipe (opened without waiting); false with why otherwise.
bool makePrivateFile(const QString &path, QString *error);

// The bytes written to path whole, or the file left as it was; never through a link or into a pipe.
bool saveWholeFile(const QString &path, const QByteArray &bytes, QString *error);

} // namespace velmora
