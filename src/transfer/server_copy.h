#pragma once

#include "core/storage/book_storage.h"

#include <QDir>
#include <QStringList>

namespace velmora {

// What a copy between a folder's twelve files and a server did, a line for each book and one for the
// settings record, with the rows copied and checked.
struct CopyReport
{
    bool done = false;
    QStringList lines;
};

// Everything one engine holds copied into another whose books hold no bookings, through the fill of
// the target (all made visible together), then read back from the target and compared with what was
// read from the source, book by book; lines says what was copied.
bool copyBooks(BookStorage &from, BookStorage &to, QStringList *lines, QString *error);

// Copies the folder's books and settings record onto a server holding no bookings, in one
// transaction, and checks every row.
CopyReport copyToServer(const QDir &folder, const QString &url);

// Writes the server's books and settings record into the twelve files of a folder that holds none of
// them yet, from one snapshot of the server, and checks every row; on failure no file is left.
CopyReport copyFromServer(const QString &url, const QDir &folder);

} // namespace velmora
