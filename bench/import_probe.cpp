// Imports the older program's files of the working directory into its own files, with the reader
// given, and ends: the import whose peak memory the benchmark reads.
#include "transfer/legacy_import.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const velmora::ImportReport report =
        velmora::importLegacyFiles(QDir(QStringLiteral(".")), QString::fromLocal8Bit(argv[1]));
    return report.notImported.isEmpty() && !report.imported.isEmpty() ? 0 : 1;
}
