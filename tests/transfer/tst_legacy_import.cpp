// The older program's files brought over: every row and field against the fixtures' expected
// content, damaged files left alone, and an import killed at any moment.
#include "core/desk/appointment_book.h"
#include "core/desk/desk_settings.h"
#include "files/sqlite_storage.h"
#include "support/test_files.h"
#include "transfer/legacy_import.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <sys/stat.h>

using namespace velmora;
using velmora::testing::TestFiles;

namespace {

const QString kFixtures = QStringLiteral(VELMORA_FIXTURES);
const QString kReader = QStringLiteral(VELMORA_JET_READER);
const QString kNull = QStringLiteral("<null>");

// A set of the fixtures copied into a folder of its own, writable as a clinic's folder is.
QString copySet(const QTemporaryDir &dir, const QString &set)
{
    const QDir source(kFixtures + QLatin1Char('/') + set);
    for (const QString &name : source.entryList({"*.mdb"}, QDir::Files)) {
        QFile::copy(source.filePath(name), QDir(dir.path()).filePath(name));
        QFile::setPermissions(QDir(dir.path()).filePath(name), QFile::ReadOwner | QFile::WriteOwner);
    }
    return dir.path();
}

// The expected CSV: RFC 4180, a text always quoted, no value an empty unquoted field. The rows'
// fields in the program's order when fields are given, in the file's own order otherwise.
QList<QStringList> expectedRows(const QString &path, const QStringList &fields = {})
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no %s", qPrintable(path));
    const QString text = QString::fromUtf8(file.readAll());
    QList<QStringList> rows;
    QStringList row;
    QString field;
    bool quoted = false;
    bool inQuotes = false;
    const auto endField = [&] {
        row << (quoted || !field.isEmpty() ? field : kNull);
        field.clear();
        quoted = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes) {
            if (c == QLatin1Char('"') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                field += c;
                ++i;
            } else if (c == QLatin1Char('"')) {
                inQuotes = false;
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = quoted = true;
        } else if (c == QLatin1Char(',')) {
            endField();
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            endField();
            rows << row;
            row.clear();
            ++i;
        } else {
            field += c;
        }
    }
    const QStringList header = rows.takeFirst();
    if (fields.isEmpty())
        return rows;
    for (QStringList &line : rows) {
        QStringList ordered;
        for (const QString &field : fields)
            ordered << line.value(header.indexOf(field), kNull);
        line = ordered;
    }
    return rows;
}

QStringList expectedLine(const QStringList &row)
{
    QStringList line = row;
    line[0] = line[0] == kNull ? kNull : line[0].left(10); // the time of day is left out
    return line;
}

QJsonObject summaryOf(const QString &set, const QString &fileName)
{
    QFile file(kFixtures + QStringLiteral("/%1/expected/summary.json").arg(set));
    file.open(QIODevice::ReadOnly);
    for (const QJsonValue entry : QJsonDocument::fromJson(file.readAll()).object().value("files").toArray())
        if (entry.toObject().value("file").toString() == fileName)
            return entry.toObject();
    return {};
}

QByteArray fingerprint(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// Every stored row of an imported book, in the order stored, as "data|hora|...".
QList<QStringList> storedRows(const TestFiles &files, const QString &fileName)
{
    QList<QStringList> rows;
    for (const QSqlRecord &record :
         files.exec(fileName, "SELECT data, hora, nome, convenio, telefone, obs FROM dados ORDER BY rowid")) {
        QStringList row;
        for (int i = 0; i < record.count(); ++i)
            row << (record.isNull(i) ? kNull : record.value(i).toString());
        rows << row;
    }
    return rows;
}

// Rows of each date in the order given, leaving out those the reader lists elsewhere (rows an edit
// moved, which it gives at their new place).
QMap<QString, QList<QStringList>> byDate(const QList<QStringList> &rows, const QSet<QStringList> &movedRows)
{
    QMap<QString, QList<QStringList>> dates;
    for (const QStringList &row : rows)
        if (!movedRows.contains(row))
            dates[row.at(0)] << row;
    return dates;
}

} // namespace

class LegacyImportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(QFileInfo::exists(kFixtures + "/clinic-a/bdm1.mdb"), qPrintable(kFixtures));
        QVERIFY(QFileInfo::exists(kReader));
    }

    void importsAClinic_data()
    {
        QTest::addColumn<QString>("set");
        QTest::addColumn<int>("doctors");
        QTest::addColumn<int>("appointments");
        QTest::addColumn<int>("withTimeOfDay");
        QTest::newRow("clinic-a") << "clinic-a" << 7 << 74838 << 1;
        QTest::newRow("clinic-b: another layout, a field missing, one extra") << "clinic-b" << 3 << 448 << 0;
    }

    void importsAClinic()
    {
        QFETCH(QString, set);
        QFETCH(int, doctors);
        QFETCH(int, appointments);
        QFETCH(int, withTimeOfDay);
        QTemporaryDir dir;
        const QDir folder(copySet(dir, set));
        const LegacySurvey survey = surveyLegacyFiles(folder, kReader);
        QCOMPARE(survey.files.size(), 12);
        QCOMPARE(survey.doctors, doctors);
        QCOMPARE(survey.appointments, appointments);

        const ImportReport report = importLegacyFiles(folder, kReader);
        QCOMPARE(report.notImported, QStringList{});
        QCOMPARE(report.imported.size(), 12);
        QCOMPARE(report.appointments, appointments);
        QCOMPARE(report.rowsWithTimeOfDay, withTimeOfDay);
        QVERIFY(QFile::exists(folder.filePath("legacy/import-report.txt")));
        TestFiles files(folder.path());
        QCOMPARE(prepareFiles(folder), QStringList{}); // every file the program's own now
        QCOMPARE(legacyFiles(folder), QStringList{});  // a second start finds nothing to import

        for (const QString &name : allFileNames()) {
            QCOMPARE(fingerprint(folder.filePath("legacy/" + name)),
                     fingerprint(kFixtures + "/" + set + "/" + name));
            const QString base = name.section('.', 0, 0);
            if (kindOfFile(name) != FileKind::Appointments)
                continue;
            QList<QStringList> expected;
            for (const QStringList &row :
                 expectedRows(kFixtures + QStringLiteral("/%1/expected/%2.dados.csv").arg(set, base),
                              fileFields(FileKind::Appointments).texts))
                expected << expectedLine(row);
            const QList<QStringList> stored = storedRows(files, name);
            QList<QStringList> sortedExpected = expected, sortedStored = stored;
            std::sort(sortedExpected.begin(), sortedExpected.end());
            std::sort(sortedStored.begin(), sortedStored.end());
            QVERIFY2(sortedStored == sortedExpected, qPrintable(name));
            QSet<QStringList> moved;
            for (const QJsonValue row : summaryOf(set, name).value("rows_moved_by_an_edit").toArray())
                moved << expected.at(row.toInt() - 1);
            QVERIFY2(byDate(stored, moved) == byDate(expected, moved), qPrintable(name));
        }

        // Settings by field name, in any order; what the old file lacks holds what a new file holds.
        const QList<QStringList> settings =
            expectedRows(kFixtures + QStringLiteral("/%1/expected/bdm6.profs.csv").arg(set));
        const QSqlRecord stored = files.exec("bdm6.mdb", "SELECT * FROM profs").value(0);
        QCOMPARE(stored.value("prof2").toString(), settings.at(0).at(1));
        QCOMPARE(stored.value("p2_dom4").toString(), QString());
        QVERIFY(!stored.value("p2_dom4").isNull());
        QVERIFY(!stored.contains("clinica"));
        // The old settings' clinic name goes to the confirmation messages, and that is said.
        QVERIFY(!report.ignoredFields.contains("bdm6.mdb: clinica"));
        QCOMPARE(readConfirmationSettings(folder.filePath("velmora.ini")).clinic,
                 set == "clinic-b" ? QStringLiteral("Clínica Santa Luzia") : QString());
        QCOMPARE(report.text().contains("Clínica Santa Luzia"), set == "clinic-b");
        for (const QString &field : {QStringLiteral("junta1"), QStringLiteral("interv5")})
            QVERIFY2(!stored.value(field).isNull(), qPrintable(field));
    }

    // The imported books at work: slots 6 and 7 read their files, and slot 2's link copies into 7.
    void importedBooksAtWork()
    {
        QTemporaryDir dir;
        const QDir folder(copySet(dir, "clinic-a"));
        QCOMPARE(importLegacyFiles(folder, kReader).imported.size(), 12);
        SqliteStorage storage(folder);
        AppointmentBook book(storage, QDate(2023, 4, 27)); // a Thursday
        QCOMPARE(book.readDoctorNames().names.value(6), QStringLiteral("Dr. Antônio Loureiro"));
        QVERIFY(book.chooseDoctor(6).messages.isEmpty());
        QCOMPARE(book.dayList().rows().first().left(5), QStringLiteral("07:00"));
        QVERIFY(book.chooseDoctor(7).messages.isEmpty());
        QCOMPARE(book.dayList().rows().first().left(5), QStringLiteral("08:00"));
        QVERIFY(book.chooseDoctor(2).messages.isEmpty());
        QCOMPARE(book.doctorSettings().linkedSlot, qint16(7));
        book.entry().type(TimeField, "19:55");
        book.entry().type(NameField, "After The Import");
        QVERIFY(book.add().messages.isEmpty());
        TestFiles files(folder.path());
        QVERIFY(files.appointments(7).last().contains("After The Import"));
    }

    // A damaged file is not imported, is said with the reason and stays byte for byte; the other
    // eleven are imported.
    void damagedFiles_data()
    {
        QTest::addColumn<QString>("damaged");
        QTest::addColumn<QString>("reason");
        QTest::newRow("cut in half") << "truncated-half/bdm3.mdb"
                                     << "2389 of its 5433 rows";
        QTest::newRow("a page zeroed") << "zeroed-page/bdm11.mdb"
                                       << "11864 of its 11911 rows";
        QTest::newRow("random pages") << "random-pages/bdm4.mdb"
                                      << "cannot be read";
        QTest::newRow("the reader fails") << "reader-fails/bdm1.mdb"
                                          << "cannot be read";
        QTest::newRow("the reader hangs") << "reader-hangs/bdm1.mdb"
                                          << "the reader gave no answer within";
    }

    void damagedFiles()
    {
        QFETCH(QString, damaged);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QDir folder(copySet(dir, "clinic-a"));
        const QString name = damaged.section('/', 1);
        QFile::remove(folder.filePath(name));
        QFile::copy(kFixtures + "/broken/" + damaged, folder.filePath(name));
        // The progress is told at least every second, also while the reader hangs: the window stays
        // responsive and hears Cancel.
        QElapsedTimer sinceTold;
        qint64 longest = 0;
        sinceTold.start();
        const ImportReport report = importLegacyFiles(folder, kReader, [&](const QString &, qint64, qint64) {
            longest = std::max(longest, sinceTold.restart());
            return true;
        });
        QVERIFY2(longest < 1000, qPrintable(QString::number(longest)));
        QCOMPARE(report.imported.size(), 11);
        QCOMPARE(report.notImported.size(), 1);
        QVERIFY2(report.notImported.first().startsWith(name + ": ") &&
                     report.notImported.first().contains(reason),
                 qPrintable(report.notImported.first()));
        QVERIFY(report.text().contains(report.notImported.first()));
        QCOMPARE(fingerprint(folder.filePath(name)), fingerprint(kFixtures + "/broken/" + damaged));
        QCOMPARE(legacyFiles(folder), QStringList{name});
    }

    // A pipe under one of the twelve names is named as not imported, and the import says it failed.
    void aPipeAmongTheOldFilesIsNamed()
    {
        QTemporaryDir dir;
        const QDir folder(copySet(dir, "clinic-a"));
        QFile::remove(folder.filePath("bdm1.mdb"));
        QCOMPARE(::mkfifo(QFile::encodeName(folder.filePath("bdm1.mdb")).constData(), 0600), 0);
        const ImportReport report = importLegacyFiles(folder, kReader);
        QCOMPARE(report.imported.size(), 11);
        QCOMPARE(report.notImported.size(), 1);
        QVERIFY2(report.notImported.first().startsWith("bdm1.mdb: not a file"),
                 qPrintable(report.notImported.first()));
    }

    void oneOldFileAmongTheProgramsOwn()
    {
        TestFiles files;
        files.prepareCopies();
        files.addAppointment(1, QDate(2027, 3, 1), "08:00", "Already Here");
        QFile::remove(files.path("bdm15.mdb"));
        QFile::copy(kFixtures + "/clinic-a/bdm15.mdb", files.path("bdm15.mdb"));
        QCOMPARE(legacyFiles(files.folder()), QStringList{"bdm15.mdb"});
        // A different file already kept under that name is never written over.
        QVERIFY(files.folder().mkpath("legacy"));
        files.write("legacy/bdm15.mdb", "kept from an earlier move");
        const ImportReport report = importLegacyFiles(files.folder(), kReader);
        QCOMPARE(report.imported, QStringList{"bdm15.mdb"});
        QCOMPARE(files.fingerprint("legacy/bdm15.mdb"),
                 QCryptographicHash::hash("kept from an earlier move", QCryptographicHash::Sha256));
        QCOMPARE(files.fingerprint("legacy/bdm15.mdb.2"), fingerprint(kFixtures + "/clinic-a/bdm15.mdb"));
        QCOMPARE(files.appointments(10).size(), 1825);
        QCOMPARE(files.appointments(1).size(), 1);
    }

    // What the reader gives is checked: a table without a field the program needs is not imported
    // (named with the field), and texts the reader cut are counted. The reader's output is scripted.
    void readerOutputChecked_data()
    {
        QTest::addColumn<QString>("output");
        QTest::addColumn<bool>("imported");
        QTest::addColumn<QString>("said");
        QTest::newRow("no data field")
            << "C hora text\nC nome text\nR S08:00\tSAna\nE 1 1 0" << false
            << "bdm1.mdb: its table has no field \"data\", which the program needs";
        QTest::newRow("a memo cut")
            << "C data date\nC hora text\nC nome text\nR D46000\tS08:00\tSAna\nE 1 1 1" << true
            << "Texts longer than the reader can read (1 MiB), cut there: 1.";
    }
    void readerOutputChecked()
    {
        QFETCH(QString, output);
        QFETCH(bool, imported);
        QFETCH(QString, said);
        TestFiles files;
        files.prepareCopies();
        QFile::remove(files.path("bdm1.mdb"));
        QFile::copy(kFixtures + "/clinic-a/bdm1.mdb", files.path("bdm1.mdb"));
        QTemporaryDir scripts;
        const QString reader = scripts.filePath("reader");
        TestFiles(scripts.path())
            .write("reader", ("#!/bin/sh\n[ \"$1\" = --count ] && { echo 'N 1'; exit 0; }\n"
                              "printf '%s\\n' \"" +
                              output + "\"\n")
                                 .toUtf8());
        QFile::setPermissions(reader, QFile::ReadOwner | QFile::ExeOwner);
        const ImportReport report = importLegacyFiles(files.folder(), reader);
        QCOMPARE(report.imported.size(), imported ? 1 : 0);
        QVERIFY2(report.text().contains(said), qPrintable(report.text()));
    }

    // Links in the data folder lead elsewhere: the originals never go through a link "legacy", and the
    // report never overwrites what its link points to; each import's report is added to the file.
    void linksAreNotFollowedAndReportsAdded()
    {
        TestFiles files;
        files.prepareCopies();
        QTemporaryDir elsewhere;
        TestFiles outside(elsewhere.path());
        outside.write("passwd", "root:x:0:0");
        QFile::remove(files.path("bdm15.mdb"));
        QFile::copy(kFixtures + "/clinic-a/bdm15.mdb", files.path("bdm15.mdb"));
        QVERIFY(QFile::link(elsewhere.path(), files.path("legacy")));
        ImportReport report = importLegacyFiles(files.folder(), kReader);
        QVERIFY(report.imported.isEmpty());
        QVERIFY2(report.text().contains("is a link"), qPrintable(report.text()));
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::Files), QStringList{"passwd"});

        QFile::remove(files.path("legacy"));
        QVERIFY(files.folder().mkpath("legacy"));
        QVERIFY(QFile::link(outside.path("passwd"), files.path("legacy/import-report.txt")));
        QCOMPARE(importLegacyFiles(files.folder(), kReader).imported, QStringList{"bdm15.mdb"});
        QCOMPARE(outside.fingerprint("passwd"),
                 QCryptographicHash::hash("root:x:0:0", QCryptographicHash::Sha256));

        QFile::remove(files.path("legacy/import-report.txt"));
        for (const QString &name : {QStringLiteral("bdm14.mdb"), QStringLiteral("bdm13.mdb")}) {
            QFile::remove(files.path(name));
            QFile::copy(kFixtures + "/clinic-a/" + name, files.path(name));
            QCOMPARE(importLegacyFiles(files.folder(), kReader).imported, QStringList{name});
        }
        QFile written(files.path("legacy/import-report.txt"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count("\n== "), 1); // two reports, each under its date
    }

    // Killed at random moments: under each name either the untouched old file or the complete new
    // one with the original kept; never a half file, never the original lost. The next run finishes.
    void killedAtRandomMoments()
    {
        // The moments are drawn within the time a whole import takes on this machine and build.
        qint64 wholeImportMs = 0;
        {
            QTemporaryDir dir;
            QProcess import;
            QElapsedTimer took;
            took.start();
            import.start(QStringLiteral(STORAGE_WORKER), {"import", copySet(dir, "clinic-a"), kReader});
            QVERIFY(import.waitForFinished(120000));
            wholeImportMs = took.elapsed();
        }
        QRandomGenerator random(20261207);
        int killed = 0;
        int midFile = 0;
        for (int kill = 0; kill < 20; ++kill) {
            QTemporaryDir dir;
            const QDir folder(copySet(dir, "clinic-a"));
            QProcess import;
            import.start(QStringLiteral(STORAGE_WORKER), {"import", folder.path(), kReader});
            QVERIFY(import.waitForStarted());
            if (!import.waitForFinished(
                    random.bounded(5, std::max(10, static_cast<int>(wholeImportMs * 9 / 10))))) {
                ::kill(static_cast<pid_t>(import.processId()), SIGKILL);
                QVERIFY(import.waitForFinished(10000));
                ++killed;
            }
            midFile += folder.entryList({"*.import"}, QDir::Files).isEmpty() ? 0 : 1;
            for (const QString &name : allFileNames()) {
                const QString original = kFixtures + "/clinic-a/" + name;
                if (fingerprint(folder.filePath(name)) == fingerprint(original))
                    continue;
                QString problem;
                QVERIFY2(checkFile(folder.filePath(name), kindOfFile(name), &problem),
                         qPrintable(name + ": " + problem));
                QCOMPARE(fingerprint(folder.filePath("legacy/" + name)), fingerprint(original));
            }
            if (kill + 1 < 20)
                continue;
            // The next start offers the import again and it finishes what was left.
            const ImportReport rest = importLegacyFiles(folder, kReader);
            QCOMPARE(rest.notImported, QStringList{});
            QCOMPARE(legacyFiles(folder), QStringList{});
            QCOMPARE(prepareFiles(folder), QStringList{});
            TestFiles files(folder.path());
            qint64 rows = 0;
            for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
                rows += files.appointments(slot).size();
            QCOMPARE(rows, 74838);
            QCOMPARE(QDir(folder.filePath("legacy")).entryList({"*.mdb.*"}, QDir::Files), QStringList{});
        }
        QVERIFY2(killed >= 10 && midFile > 0, "too few kills landed during the import");
        qInfo("import runs: 20, killed: %d, in the middle of a file: %d", killed, midFile);
    }
};

QTEST_GUILESS_MAIN(LegacyImportTest)
#include "tst_legacy_import.moc"
