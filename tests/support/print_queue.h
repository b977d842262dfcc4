#pragma once

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

namespace velmora::testing {

// The CUPS queue with its PDF back end that the test command starts; jobs land as PDF files in the
// folder named by VELMORA_PDF_OUTPUT.
class PrintQueue
{
public:
    static QString outputFolder() { return qEnvironmentVariable("VELMORA_PDF_OUTPUT"); }
    static bool available() { return !outputFolder().isEmpty(); }

    static QString run(const QString &program, const QStringList &arguments)
    {
        QProcess process;
        process.start(program, arguments);
        if (!process.waitForFinished(30000))
            qFatal("%s did not finish", qPrintable(program));
        return QString::fromUtf8(process.readAllStandardOutput());
    }

    static int jobsEverQueued()
    {
        return static_cast<int>(run("lpstat", {"-W", "all", "-o"}).split('\n', Qt::SkipEmptyParts).size());
    }

    static bool queueIsEmpty() { return run("lpstat", {"-o"}).trimmed().isEmpty(); }

    // The newest finished PDF whose name starts with the document's name, written after since.
    static QString pdfOf(const QString &documentName, const QDateTime &since)
    {
        const QFileInfoList found =
            QDir(outputFolder())
                .entryInfoList({documentName + QStringLiteral("*.pdf")}, QDir::Files, QDir::Time);
        if (found.isEmpty() || found.first().size() == 0 || found.first().lastModified() < since)
            return {};
        return found.first().filePath();
    }

    static QString text(const QString &pdf, int page = 0)
    {
        QStringList arguments{"-layout"};
        if (page > 0)
            arguments << "-f" << QString::number(page) << "-l" << QString::number(page);
        return run("pdftotext", arguments << pdf << "-");
    }
};

} // namespace velmora::testing
