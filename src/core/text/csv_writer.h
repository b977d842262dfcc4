#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

namespace velmora {

// A field of a spreadsheet file separated by ';', quoted when it must be; a text a spreadsheet would
// take for a formula is made plain text.
QString csvField(const QString &text);
// A file for a spreadsheet: UTF-8 with its mark, ';' separated, the heading line first.
QByteArray csvDocument(const QStringList &heading, const QVector<QStringList> &lines);

} // namespace velmora
