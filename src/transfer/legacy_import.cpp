#include "transfer/legacy_import.h"

#include "transfer/legacy_reader.h"

#include "core/desk/desk_settings.h"
#include "files/database.h"
#include "files/sqlite_storage.h"
#include "schema/settings_fields.h"
#include "schema/slot_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QVector>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <future>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace velmora {

namespace {

const char *const kLegacyFolder = "legacy";
const char *const kReportFile = "import-report.txt";
QString appointmentTable()
{
    return QStringLiteral("dados");
}

// Whether two files hold the same bytes, compared piece by piece.
bool sameBytes(const QString &one, const QString &other)
{
    QFile a(one);
    QFile b(other);
    if (!a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly) || a.size() != b.size())
        return false;
    constexpr qint64 kPiece = 1 << 20;
    while (!a.atEnd()) {
        const QByteArray piece = a.read(kPiece);
        if (piece.isEmpty() || piece != b.read(kPiece))
            return false;
    }
    return true;
}

// The original copied, synced and compared byte for byte into legacy/, under its own name or, when
// a different file already has that name there, under the next free one. Returns where it is kept.
bool keepOriginal(const QDir &folder, const QString &fileName, QString *kept, QString *reason)
{
    if (isLink(folder.filePath(QString::fromLatin1(kLegacyFolder)))) {
        *reason = QCoreApplication::translate("Import", "\"%1\" is a link; the originals are kept only in a "
                                                        "folder of the data folder's own")
                      .arg(QLatin1String(kLegacyFolder));
        return false;
    }
    if (!folder.mkpath(QString::fromLatin1(kLegacyFolder))) {
        *reason = QCoreApplication::translate("Import", "the folder \"%1\" cannot be made")
                      .arg(QLatin1String(kLegacyFolder));
        return false;
    }
    const QDir legacy(folder.filePath(QString::fromLatin1(kLegacyFolder)));
    const QString original = folder.filePath(fileName);
    for (int copy = 1;; ++copy) {
        const QString candidate =
            legacy.filePath(copy == 1 ? fileName : QStringLiteral("%1.%2").arg(fileName).arg(copy));
        if (QFileInfo::exists(candidate)) {
            if (sameBytes(candidate, original)) {
                *kept = candidate;
                return true;
            }
            continue; // another file of that name: never overwritten
        }
        const QString partial = candidate + QStringLiteral(".part");
        QFile::remove(partial);
        if (!QFile::copy(original, partial) || !syncPath(partial) || !sameBytes(partial, original) ||
            !QFile::rename(partial, candidate) || !syncPath(legacy.path())) {
            QFile::remove(partial);
            *reason = QCoreApplication::translate("Import", "the original could not be kept in \"%1\"")
                          .arg(QLatin1String(kLegacyFolder));
            return false;
        }
        *kept = candidate;
        return true;
    }
}

// The slot whose book the file is.
int slotOfFile(const QString &fileName)
{
    for (const DoctorSlot &slot : kDoctorSlots)
        if (fileName == QLatin1String(slot.appointmentFile))
            return slot.slot;
    return 0;
}

// A text of the reader's as the program's: its escapes undone, whatever kind the old column was.
QString textOf(QByteArrayView value, std::string &plain)
{
    if (!value.contains('\\'))
        return QString::fromUtf8(value);
    unescapeInto(value, plain);
    return QString::fromUtf8(plain.data(), static_cast<qsizetype>(plain.size()));
}

// The file's appointments read and appended, row by row, to the slot's book in the fill.
bool importAppointments(ReaderRun &run, const QString &fileName, StorageFill &fill,
                        const std::function<bool(QString *)> &originalKept, const ImportProgress &progress,
                        ImportReport &report, QString *reason, bool *cancelled)
{
    if (!fill.startBook(slotOfFile(fileName), reason))
        return false;
    const QStringList fields = fileFields(FileKind::Appointments).texts;
    QVector<int> columnOf(fields.size(), -1);
    qint64 rows = 0;
    qint64 rowsInAll = 0;
    qint64 withTime = 0;
    QString failure;
    TableRead read;
    read.waiting = [&] { return !progress || progress(fileName, rows, rowsInAll); };
    read.onHeaderRows = [&](qint64 counted) {
        rowsInAll = counted;
        return !progress || progress(fileName, 0, rowsInAll);
    };
    QStringList missing; // what the program needs and the old table lacks
    read.onColumns = [&](const QVector<ReaderColumn> &columns) {
        for (const char *needed : {"data", "hora", "nome"}) {
            if (columns.isEmpty())
                break; // a table that could not be read at all is said as such
            const bool found =
                std::any_of(columns.cbegin(), columns.cend(), [needed](const ReaderColumn &column) {
                    return column.name.toLower() == QLatin1String(needed);
                });
            if (!found)
                missing << QStringLiteral("\"%1\"").arg(QLatin1String(needed));
        }
        for (int i = 0; i < columns.size(); ++i) {
            const int field = static_cast<int>(fields.indexOf(columns.at(i).name.toLower()));
            if (field >= 0)
                columnOf[field] = i;
            else
                report.ignoredFields << QStringLiteral("%1: %2").arg(fileName, columns.at(i).name);
        }
    };
    QString Appointment::*const texts[] = {&Appointment::hora, &Appointment::nome, &Appointment::convenio,
                                           &Appointment::telefone, &Appointment::obs};
    std::vector<QByteArrayView> values;
    std::string plain;
    read.onRawRow = [&](QByteArrayView line) {
        if (!missing.isEmpty())
            return false;
        values.clear();
        for (qsizetype from = 0;;) {
            const qsizetype tab = line.indexOf('\t', from);
            values.push_back(line.sliced(from, (tab < 0 ? line.size() : tab) - from));
            if (tab < 0)
                break;
            from = tab + 1;
        }
        Appointment booking;
        for (int field = 0; field < fields.size(); ++field) {
            const size_t column = static_cast<size_t>(columnOf[field]);
            if (columnOf[field] < 0 || column >= values.size() || values[column] == QByteArrayView("\\N") ||
                values[column].isEmpty())
                continue; // no value
            const QByteArrayView rest = values[column].sliced(1);
            if (field == 0) {
                // The date, whatever the old column held: a Jet date is days since 1899-12-30.
                unescapeInto(rest, plain);
                double days = 0;
                if (!numberOf(QByteArrayView(plain.data(), static_cast<qsizetype>(plain.size())), &days))
                    days = 0;
                bool timeOfDay = false;
                booking.date = jetDate(days, &timeOfDay);
                withTime += timeOfDay ? 1 : 0;
            } else {
                booking.*texts[field - 1] = textOf(rest, plain);
            }
        }
        if (!fill.append(booking, &failure))
            return false;
        ++rows;
        return !progress || rows % 500 != 0 || progress(fileName, rows, rowsInAll);
    };
    const bool readWhole = run.readNext(read, reason, cancelled);
    if (!missing.isEmpty() && (readWhole || *cancelled)) {
        // Its bookings would never show again without their date, time or name: not imported.
        *cancelled = false;
        *reason = QCoreApplication::translate("Import", "its table has no field %1, which the program needs")
                      .arg(missing.join(QStringLiteral(", ")));
        return false;
    }
    if (!readWhole) {
        if (!failure.isEmpty()) {
            *cancelled = false;
            *reason = failure;
        }
        return false;
    }
    // Imported only once its original is kept.
    if (!originalKept(reason))
        return false;
    report.appointments += rows;
    report.rowsWithTimeOfDay += withTime;
    report.textsCut += read.cut;
    return true;
}

// The file's settings record written into the fill: every field of that file, as a new record holds
// it where the old one has no such field or no record at all.
bool importSettings(ReaderRun &run, const QString &fileName, StorageFill &fill,
                    const ImportProgress &progress, ImportReport &report, QString *reason, bool *cancelled)
{
    const SettingsFile file =
        kindOfFile(fileName) == FileKind::MainSettings ? SettingsFile::Main : SettingsFile::Extra;
    QVector<ReaderColumn> columns;
    QVariantList first;
    bool hasRecord = false;
    TableRead read;
    read.onColumns = [&](const QVector<ReaderColumn> &found) { columns = found; };
    read.waiting = [&] { return !progress || progress(fileName, 0, 1); };
    read.onRow = [&](const QVariantList &row) {
        if (!hasRecord)
            first = row;
        hasRecord = true;
        return true;
    };
    if (!run.readNext(read, reason, cancelled))
        return false;
    SettingsRecord record;
    for (const RecordField &field : recordFields())
        if (field.file == file)
            field.in(record) = field.number ? QStringLiteral("0") : QStringLiteral("");
    if (!hasRecord)
        report.notes << QCoreApplication::translate(
                            "Import", "%1 held no settings record; it was imported as a new file holds them.")
                            .arg(fileName);
    for (int i = 0; hasRecord && i < columns.size(); ++i) {
        const RecordField *field = recordField(columns.at(i).name.toLower());
        // The older program's clinic name, which the confirmation messages use.
        if (!field && columns.at(i).name.toLower() == QLatin1String("clinica") &&
            !first.value(i).toString().trimmed().isEmpty()) {
            report.clinicName = first.value(i).toString().trimmed();
            continue;
        }
        if (!field || field->file != file) {
            report.ignoredFields << QStringLiteral("%1: %2").arg(fileName, columns.at(i).name);
            continue;
        }
        const QVariant value = first.value(i);
        // Every reader needs a name, slot length and link; a weekly time without value stays so.
        if (value.isValid())
            field->in(record) = field->number ? QString::number(value.toLongLong()) : value.toString();
        else if (!field->part)
            field->in(record) = QString();
    }
    return fill.writeSettings(record, reason);
}

// The clinic's name the old settings held, for the confirmation messages of this desk, unless one is
// set already; said either way.
void takeClinicName(const QDir &folder, ImportReport &report)
{
    const QString ini = folder.filePath(QStringLiteral("velmora.ini"));
    ConfirmationSettings settings = readConfirmationSettings(ini);
    if (!settings.clinic.trimmed().isEmpty()) {
        if (settings.clinic.trimmed() != report.clinicName)
            report.notes << QCoreApplication::translate(
                                "Import", "The older program names the clinic \"%1\"; the name already set, "
                                          "\"%2\", was kept for the confirmation messages.")
                                .arg(report.clinicName, settings.clinic.trimmed());
        return;
    }
    settings.clinic = report.clinicName;
    if (saveConfirmationSettings(ini, settings))
        report.notes << QCoreApplication::translate(
                            "Import", "The clinic's name, \"%1\", was taken for the confirmation messages.")
                            .arg(report.clinicName);
}

// Each import's report added, dated, to the ones before; never written through a link.
void writeReport(const QDir &folder, const ImportReport &report)
{
    if (isLink(folder.filePath(QString::fromLatin1(kLegacyFolder))))
        return;
    const QByteArray path = QFile::encodeName(folder.filePath(
        QStringLiteral("%1/%2").arg(QLatin1String(kLegacyFolder), QLatin1String(kReportFile))));
    const int handle = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (handle < 0)
        return;
    const QByteArray text = "== " + QDateTime::currentDateTime().toString(Qt::ISODate).toUtf8() + '\n' +
                            report.text().toUtf8() + "\n\n";
    const bool written = ::write(handle, text.constData(), static_cast<size_t>(text.size())) == text.size();
    Q_UNUSED(written) // the report is the terminal's or the window's; this copy is for later reading
    ::close(handle);
}

} // namespace

bool isLegacyFile(const QString &path)
{
    if (!isRegularFile(path))
        return false; // a pipe would hold the read for ever
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(0x15);
    if (header.size() < 0x15 || !header.startsWith(QByteArray("\x00\x01\x00\x00", 4)))
        return false;
    const QByteArray kind = header.mid(4, 15);
    return kind == "Standard Jet DB" || kind == "Standard ACE DB";
}

QStringList legacyFiles(const QDir &folder)
{
    QStringList found;
    for (const QString &fileName : allFileNames())
        if (isLegacyFile(folder.filePath(fileName)))
            found << fileName;
    return found;
}

LegacySurvey surveyLegacyFiles(const QDir &folder, const QString &readerPath)
{
    LegacySurvey survey;
    survey.files = legacyFiles(folder);
    for (const QString &fileName : std::as_const(survey.files)) {
        const QString path = folder.filePath(fileName);
        if (kindOfFile(fileName) == FileKind::Appointments) {
            survey.appointments += headerRows(readerPath, path, appointmentTable());
        } else if (kindOfFile(fileName) == FileKind::MainSettings) {
            QVector<ReaderColumn> columns;
            QVariantList first;
            TableRead read;
            read.onColumns = [&](const QVector<ReaderColumn> &found) { columns = found; };
            read.onRow = [&](const QVariantList &row) {
                if (first.isEmpty())
                    first = row;
                return true;
            };
            QString reason;
            bool cancelled = false;
            readTable(readerPath, path, QStringLiteral("profs"), read, &reason, &cancelled);
            for (const DoctorSlot &slot : kDoctorSlots)
                for (int i = 0; i < columns.size(); ++i)
                    if (columns.at(i).name.toLower() == QLatin1String(slot.nameField) &&
                        !first.value(i).toString().trimmed().isEmpty())
                        ++survey.doctors;
        }
    }
    return survey;
}

QString ImportReport::text() const
{
    // Counts for the texts' plural forms.
    const int fileCount = static_cast<int>(imported.size());
    const int cut = static_cast<int>(textsCut);
    const int dated = static_cast<int>(rowsWithTimeOfDay);
    const int appointmentCount = static_cast<int>(appointments);
    QStringList lines;
    lines << QCoreApplication::translate("Import", "Imported: %n file(s) of the older program, with %1.", "",
                                         fileCount)
                 .arg(QCoreApplication::translate("Import", "%n appointment(s)", "", appointmentCount));
    if (!notImported.isEmpty())
        lines << QCoreApplication::translate("Import", "Not imported, left as they are:") << notImported;
    if (cancelled)
        lines << QCoreApplication::translate(
            "Import", "The import was cancelled; the files not yet finished were left as they are.");
    if (textsCut > 0)
        lines << QCoreApplication::translate("Import",
                                             "Texts longer than the reader can read (1 MiB), cut "
                                             "there: %n.",
                                             "", cut);
    if (rowsWithTimeOfDay > 0)
        lines << QCoreApplication::translate(
            "Import",
            "Appointments dated with a time of day: %n; the date was kept, the time of day left out.", "",
            dated);
    if (!ignoredFields.isEmpty())
        lines << QCoreApplication::translate("Import", "Fields the program does not use, left out: %1.")
                     .arg(ignoredFields.join(QStringLiteral(", ")));
    lines << notes;
    lines << QCoreApplication::translate("Import", "The originals are kept unchanged in the folder \"%1\".")
                 .arg(QLatin1String(kLegacyFolder));
    return lines.join(QLatin1Char('\n'));
}

ImportReport importLegacyFiles(const QDir &folder, BookStorage &target, const QString &readerPath,
                               const ImportProgress &progress)
{
    ImportReport report;
    const QStringList files = legacyFiles(folder);
    QString why;
    std::unique_ptr<StorageFill> fill = files.isEmpty() ? nullptr : target.fill(&why);
    // One reader for all the files, at work on the next while the one before is stored; the folder is
    // the import's alone meanwhile.
    QVector<ReaderTable> tables;
    for (const QString &fileName : files)
        tables.append({folder.filePath(fileName), kindOfFile(fileName) == FileKind::Appointments
                                                      ? appointmentTable()
                                                      : QStringLiteral("profs")});
    ReaderRun run(readerPath, tables);
    // The originals kept one after another beside the import, each awaited before its file is read.
    struct Kept
    {
        bool ok = false;
        QString reason;
    };
    std::vector<std::promise<Kept>> keeping(static_cast<size_t>(files.size()));
    std::vector<std::future<Kept>> kept;
    for (std::promise<Kept> &promise : keeping)
        kept.push_back(promise.get_future());
    std::atomic<bool> stopKeeping{false};
    std::thread keeper([&] {
        for (qsizetype i = 0; i < files.size(); ++i) {
            Kept result;
            QString where;
            result.ok = !stopKeeping && fill && keepOriginal(folder, files.at(i), &where, &result.reason);
            keeping[static_cast<size_t>(i)].set_value(result);
        }
    });
    for (const QString &fileName : files) {
        std::future<Kept> &original = kept[static_cast<size_t>(&fileName - files.data())];
        // Awaited once the file is read, so that the reading does not wait for the copying.
        const auto originalKept = [&original](QString *reason) {
            const Kept result = original.get();
            *reason = result.reason;
            return result.ok;
        };
        if (!fill) {
            report.notImported << QStringLiteral("%1: %2").arg(fileName, why);
            continue;
        }
        if (progress && !progress(fileName, 0, 0)) {
            report.cancelled = true;
            break;
        }
        QString reason;
        bool cancelled = false;
        const bool appointments = kindOfFile(fileName) == FileKind::Appointments;
        if (!appointments && !originalKept(&reason)) {
            TableRead passed; // its table passed over
            QString ignored;
            run.readNext(passed, &ignored, &cancelled);
            report.notImported << QStringLiteral("%1: %2").arg(fileName, reason);
            continue;
        }
        const bool read = appointments
                              ? importAppointments(run, fileName, *fill, originalKept, progress, report,
                                                   &reason, &cancelled)
                              : importSettings(run, fileName, *fill, progress, report, &reason, &cancelled);
        if (read) {
            report.imported << fileName;
            continue;
        }
        if (appointments)
            fill->dropBook(); // the file stays as it is
        if (cancelled) {
            report.cancelled = true;
            break;
        }
        report.notImported << QStringLiteral("%1: %2").arg(fileName, reason);
    }
    stopKeeping = true;
    keeper.join();
    // A name of the twelve taken by something that is no file (a pipe, a folder) cannot be read, and
    // the program will not open it either: said as a file not imported.
    if (!files.isEmpty())
        for (const QString &fileName : allFileNames())
            if (QFileInfo(folder.filePath(fileName)).exists() && !isRegularFile(folder.filePath(fileName)))
                report.notImported << QCoreApplication::translate(
                                          "Import",
                                          "%1: not a file (a pipe, a folder or a device); left as it is")
                                          .arg(fileName);
    // What was read whole is put in place together: a crash before leaves every original there.
    if (fill && !report.imported.isEmpty() && !fill->finish(&why)) {
        for (const QString &fileName : std::as_const(report.imported))
            report.notImported << QStringLiteral("%1: %2").arg(fileName, why);
        report.imported.clear();
        report.appointments = 0;
    }
    if (!report.clinicName.isEmpty() && !report.imported.isEmpty())
        takeClinicName(folder, report);
    // Onto a server, the originals leave the folder, kept in "legacy", so that they are not offered again.
    for (const QString &fileName : std::as_const(report.imported))
        if (isLegacyFile(folder.filePath(fileName)))
            QFile::remove(folder.filePath(fileName));
    if (!files.isEmpty())
        writeReport(folder, report);
    return report;
}

ImportReport importLegacyFiles(const QDir &folder, const QString &readerPath, const ImportProgress &progress)
{
    SqliteStorage files(folder);
    return importLegacyFiles(folder, files, readerPath, progress);
}

} // namespace velmora
