#include "transfer/legacy_import.h"

#include "files/database.h"
#include "schema/slot_files.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVector>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace velmora {

namespace {

const char *const kLegacyFolder = "legacy";
const char *const kReportFile = "import-report.txt";
// A reader still at work after this long is taken to hang on a damaged file: a few seconds, and two
// more a mebibyte of the file (the reader reads tens of mebibytes a second).
int readerTimeLimitMs(const QString &path)
{
    const qint64 mebibytes = QFileInfo(path).size() >> 20;
    return static_cast<int>(std::min<qint64>(5000 + 2000 * mebibytes, 600000));
}

// How often a reader at work is looked at, so that the window stays responsive and Cancel is heard.
constexpr int kReaderLookMs = 100;

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

QString unescaped(QStringView text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar next = text.at(++i);
            plain += next == QLatin1Char('t')   ? QLatin1Char('\t')
                     : next == QLatin1Char('n') ? QLatin1Char('\n')
                     : next == QLatin1Char('r') ? QLatin1Char('\r')
                                                : next;
        } else {
            plain += text.at(i);
        }
    }
    return plain;
}

// A value as the reader gives it: no value, a Jet date (a double), a number or a text.
QVariant valueOf(QStringView field)
{
    if (field == QLatin1String("\\N"))
        return {};
    const QChar kind = field.isEmpty() ? QChar() : field.at(0);
    const QStringView rest = field.mid(1);
    if (kind == QLatin1Char('D'))
        return rest.toDouble();
    if (kind == QLatin1Char('I')) {
        bool whole = false;
        const qlonglong number = rest.toLongLong(&whole);
        return whole ? QVariant(number) : QVariant(unescaped(rest));
    }
    return unescaped(rest);
}

struct ReaderColumn
{
    QString name; // as the old file has it
    QString kind; // date, text, number
};

// Runs the reader on one table and hands on its columns, then each row; false with the reason when
// the table could not be read whole.
class TableRead
{
public:
    std::function<void(const QVector<ReaderColumn> &)> onColumns;
    std::function<bool(const QVariantList &)> onRow; // false: stop, cancelled
    // Instead of onRow: the row's fields as the reader wrote them, tab-separated, taken apart by the
    // caller (a book of hundreds of thousands of rows is not turned into variants).
    std::function<bool(QByteArrayView)> onRawRow;
    std::function<bool()> waiting;            // while the reader is silent; false: cancelled
    std::function<bool(qint64)> onHeaderRows; // the rows the table's header counts; false: cancelled
    qint64 cut = 0;                           // texts the reader cut at its limit

    bool run(const QString &readerPath, const QString &path, const QString &table, QString *reason,
             bool *cancelled)
    {
        QProcess reader;
        reader.start(readerPath, {path, table});
        if (!reader.waitForStarted()) {
            *reason = QCoreApplication::translate(
                          "Import", "the reader of the older program's files could not be started (%1)")
                          .arg(reader.errorString());
            return false;
        }
        const int limitMs = readerTimeLimitMs(path);
        const QDeadlineTimer deadline(limitMs);
        QVector<ReaderColumn> columns;
        bool rowsBegun = false;
        qint64 read = -1;
        qint64 counted = -1;
        cut = 0;
        // What the reader wrote, taken in large pieces and split into lines here.
        QByteArray pending;
        const auto takeLine = [&](QByteArrayView line) {
            if (line.startsWith("R ")) {
                if (!rowsBegun && onColumns)
                    onColumns(columns);
                rowsBegun = true;
                if (onRawRow)
                    return onRawRow(line.sliced(2));
                QVariantList row;
                const QString text = QString::fromUtf8(line.sliced(2));
                for (const QStringView field : QStringView(text).split(QLatin1Char('\t')))
                    row << valueOf(field);
                return !onRow || onRow(row);
            }
            const QString text = QString::fromUtf8(line);
            if (text.startsWith(QLatin1String("N "))) {
                return !onHeaderRows || onHeaderRows(text.section(QLatin1Char(' '), 1, 1).toLongLong());
            } else if (text.startsWith(QLatin1String("C "))) {
                columns.append({text.section(QLatin1Char(' '), 1, 1), text.section(QLatin1Char(' '), 2, 2)});
            } else if (text.startsWith(QLatin1String("E "))) {
                read = text.section(QLatin1Char(' '), 1, 1).toLongLong();
                counted = text.section(QLatin1Char(' '), 2, 2).toLongLong();
                cut = text.section(QLatin1Char(' '), 3, 3).toLongLong();
            }
            return true;
        };
        for (;;) {
            pending += reader.readAllStandardOutput();
            qsizetype start = 0;
            for (qsizetype end = pending.indexOf('\n'); end >= 0; end = pending.indexOf('\n', start)) {
                const bool goOn = takeLine(QByteArrayView(pending.constData() + start, end - start));
                start = end + 1;
                if (!goOn) {
                    reader.kill();
                    reader.waitForFinished();
                    *cancelled = true;
                    return false;
                }
            }
            pending.remove(0, start);
            if (reader.state() == QProcess::NotRunning && reader.bytesAvailable() == 0)
                break;
            if (deadline.hasExpired()) {
                reader.kill();
                reader.waitForFinished();
                *reason = QCoreApplication::translate("Import", "the reader gave no answer within %1 seconds")
                              .arg(limitMs / 1000);
                return false;
            }
            if (!reader.waitForReadyRead(kReaderLookMs) && waiting && !waiting()) {
                reader.kill();
                reader.waitForFinished();
                *cancelled = true;
                return false;
            }
        }
        if (!rowsBegun && onColumns)
            onColumns(columns);
        if (reader.exitStatus() == QProcess::CrashExit) {
            *reason = QCoreApplication::translate(
                "Import", "the reader stopped unexpectedly on the file, which is damaged");
            return false;
        }
        if (read >= 0 && read < counted) {
            *reason = QCoreApplication::translate("Import",
                                                  "only %1 of its %2 rows could be read; the file is damaged")
                          .arg(read)
                          .arg(counted);
            return false;
        }
        if (reader.exitCode() != 0 || read < 0) {
            const QString said =
                QString::fromUtf8(reader.readAllStandardError()).trimmed().section(QLatin1Char('\n'), -1);
            *reason = QCoreApplication::translate("Import", "the file cannot be read (%1)")
                          .arg(said.isEmpty()
                                   ? QCoreApplication::translate("Import", "the reader ended with code %1")
                                         .arg(reader.exitCode())
                                   : said);
            return false;
        }
        return true;
    }
};

QString uniqueName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("import#%1").arg(++counter);
}

// A connection on the file being built, closed and removed at the end.
class BuildConnection
{
public:
    explicit BuildConnection(const QString &path) : name_(uniqueName())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        // A file being built is not in use: it is synced once, whole, before it is put in place, and
        // thrown away if anything stops the build, so it needs neither a journal nor a sync per write.
        if (db.open())
            for (const char *pragma : {"PRAGMA journal_mode = OFF", "PRAGMA synchronous = OFF"})
                QSqlQuery(db).exec(QString::fromLatin1(pragma));
    }
    ~BuildConnection()
    {
        database().close();
        QSqlDatabase::removeDatabase(name_);
    }
    QSqlDatabase database() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
};

// The calendar date of a Jet date: whole days since 1899-12-30, counted back for negative values;
// the fraction is the time of day, also for negative values.
QDate jetDate(double value, bool *timeOfDay)
{
    const double days = std::trunc(value);
    *timeOfDay = std::lround(std::fabs(value - days) * 86400.0) != 0;
    return QDate(1899, 12, 30).addDays(static_cast<qint64>(days));
}

// A value of the reader's, as bytes, with \\, \t, \n and \r written back as the characters.
void unescapeInto(QByteArrayView escaped, std::string &plain)
{
    plain.clear();
    for (qsizetype i = 0; i < escaped.size(); ++i) {
        char c = escaped.at(i);
        if (c == '\\' && i + 1 < escaped.size()) {
            c = escaped.at(++i);
            c = c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
        }
        plain += c;
    }
}

// The appointment rows written straight through SQLite, in one transaction, into the file being built:
// an old book holds hundreds of thousands of rows. Each value bound as the reader gave its kind: no
// value, a number, or a text.
class BookBuild
{
public:
    explicit BookBuild(const QString &path)
    {
        // A file being built is not in use: it is synced once, whole, before it is put in place, and
        // thrown away if anything stops the build, so it needs neither a journal nor a sync per write.
        ok_ = sqlite3_open_v2(sqliteUri(path, "rw").toUtf8().constData(), &db_,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr) == SQLITE_OK &&
              sqlite3_exec(db_, "PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", nullptr,
                           nullptr, nullptr) == SQLITE_OK &&
              sqlite3_prepare_v2(
                  db_,
                  "INSERT INTO dados (data, hora, nome, convenio, telefone, obs) VALUES (?, ?, ?, "
                  "?, ?, ?)",
                  -1, &insert_, nullptr) == SQLITE_OK;
    }
    ~BookBuild()
    {
        sqlite3_finalize(insert_);
        sqlite3_close(db_);
    }
    BookBuild(const BookBuild &) = delete;
    BookBuild &operator=(const BookBuild &) = delete;

    bool ok() const { return ok_; }
    QString error() const { return QString::fromUtf8(sqlite3_errmsg(db_)); }

    void bindNull(int field) { sqlite3_bind_null(insert_, field + 1); }
    void bindText(int field, const std::string &text)
    {
        sqlite3_bind_text(insert_, field + 1, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    void bindNumber(int field, qint64 number) { sqlite3_bind_int64(insert_, field + 1, number); }
    void bindNumber(int field, double number) { sqlite3_bind_double(insert_, field + 1, number); }
    bool insert()
    {
        const bool stored = sqlite3_step(insert_) == SQLITE_DONE;
        sqlite3_reset(insert_);
        return stored;
    }
    bool commit() { return sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK; }

private:
    sqlite3 *db_ = nullptr;
    sqlite3_stmt *insert_ = nullptr;
    bool ok_ = false;
};

// A number as the reader writes it, whole or not; false when the bytes are none.
template <typename Number> bool numberOf(QByteArrayView text, Number *number)
{
    const char *end = text.data() + text.size();
    const auto [stop, problem] = std::from_chars(text.data(), end, *number);
    return problem == std::errc() && stop == end;
}

bool buildAppointments(const QString &readerPath, const QString &source, const QString &fileName,
                       const QString &target, const ImportProgress &progress, ImportReport &report,
                       QString *reason, bool *cancelled)
{
    BookBuild build(target);
    if (!build.ok()) {
        *reason = QCoreApplication::translate("Import", "the new file could not be written (%1)")
                      .arg(build.error());
        return false;
    }
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
    std::vector<QByteArrayView> values;
    std::string text;
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
        for (int field = 0; field < fields.size(); ++field) {
            const size_t column = static_cast<size_t>(columnOf[field]);
            if (columnOf[field] < 0 || column >= values.size() || values[column] == QByteArrayView("\\N") ||
                values[column].isEmpty()) {
                build.bindNull(field);
                continue;
            }
            const char kind = values[column].at(0);
            const QByteArrayView rest = values[column].sliced(1);
            qint64 whole = 0;
            double number = 0;
            if (field == 0) {
                // The date, whatever the old column held: a Jet date is days since 1899-12-30.
                unescapeInto(rest, text);
                if (!numberOf(QByteArrayView(text.data(), static_cast<qsizetype>(text.size())), &number))
                    number = 0;
                bool timeOfDay = false;
                text = storedDate(jetDate(number, &timeOfDay)).toStdString();
                withTime += timeOfDay ? 1 : 0;
                build.bindText(field, text);
            } else if (kind == 'D' && numberOf(rest, &number)) {
                build.bindNumber(field, number);
            } else if (kind == 'I' && numberOf(rest, &whole)) {
                build.bindNumber(field, whole);
            } else {
                unescapeInto(rest, text);
                build.bindText(field, text);
            }
        }
        if (!build.insert()) {
            failure = build.error();
            return false;
        }
        ++rows;
        return !progress || rows % 500 != 0 || progress(fileName, rows, rowsInAll);
    };
    const bool readWhole = read.run(readerPath, source, appointmentTable(), reason, cancelled);
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
            *reason =
                QCoreApplication::translate("Import", "the new file could not be written (%1)").arg(failure);
        }
        return false; // the file being built is thrown away
    }
    if (!build.commit()) {
        *reason = QCoreApplication::translate("Import", "the new file could not be written (%1)")
                      .arg(build.error());
        return false;
    }
    report.appointments += rows;
    report.rowsWithTimeOfDay += withTime;
    report.textsCut += read.cut;
    return true;
}

bool buildSettings(const QString &readerPath, const QString &source, const QString &fileName,
                   const QString &target, const ImportProgress &progress, ImportReport &report,
                   QString *reason, bool *cancelled)
{
    const FileFields fields = fileFields(kindOfFile(fileName));
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
    if (!read.run(readerPath, source, QStringLiteral("profs"), reason, cancelled))
        return false;
    if (!hasRecord) {
        report.notes << QCoreApplication::translate(
                            "Import", "%1 held no settings record; it was imported as a new file holds them.")
                            .arg(fileName);
        return true;
    }
    QStringList assignments;
    QVariantList values;
    for (int i = 0; i < columns.size(); ++i) {
        const QString field = columns.at(i).name.toLower();
        const bool number = fields.numbers.contains(field);
        if (!number && !fields.texts.contains(field)) {
            report.ignoredFields << QStringLiteral("%1: %2").arg(fileName, columns.at(i).name);
            continue;
        }
        QVariant value = first.value(i);
        // Every reader needs a name, slot length and link; a weekly time without value stays so.
        const bool weeklyTime = field.contains(QLatin1Char('_'));
        if (!value.isValid() && number)
            value = 0;
        else if (!value.isValid() && !weeklyTime)
            value = QStringLiteral("");
        else if (!value.isValid())
            value = QVariant(QMetaType::fromType<QString>());
        assignments << field + QStringLiteral(" = ?");
        values << (number && value.isValid() ? QVariant(value.toLongLong()) : value);
    }
    if (assignments.isEmpty())
        return true;
    BuildConnection connection(target);
    QSqlDatabase db = connection.database();
    QSqlQuery update(db);
    // The field names come from the program's own list, checked above; the values are bound.
    update.prepare(QStringLiteral("UPDATE profs SET %1").arg(assignments.join(QStringLiteral(", "))));
    for (const QVariant &value : std::as_const(values))
        update.addBindValue(value);
    if (!update.exec()) {
        *reason = QCoreApplication::translate("Import", "the new file could not be written (%1)")
                      .arg(reasonOf(update.lastError()));
        return false;
    }
    return true;
}

// The rows the table's header counts; 0 when the reader cannot tell within its limit.
qint64 headerRows(const QString &readerPath, const QString &path, const QString &table)
{
    QProcess reader;
    reader.start(readerPath, {QStringLiteral("--count"), path, table});
    const QDeadlineTimer deadline(readerTimeLimitMs(path));
    while (!reader.waitForFinished(kReaderLookMs) && reader.state() != QProcess::NotRunning) {
        if (deadline.hasExpired()) {
            reader.kill();
            reader.waitForFinished();
            return 0;
        }
    }
    if (reader.exitStatus() != QProcess::NormalExit || reader.exitCode() != 0)
        return 0;
    return QString::fromUtf8(reader.readAllStandardOutput())
        .section(QLatin1Char(' '), 1, 1)
        .trimmed()
        .toLongLong();
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
            read.run(readerPath, path, QStringLiteral("profs"), &reason, &cancelled);
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
    QStringList lines;
    lines << QCoreApplication::translate(
                 "Import", "Imported: %n file(s) of the older program, with %1 appointments.", "", fileCount)
                 .arg(appointments);
    if (!notImported.isEmpty())
        lines << QCoreApplication::translate("Import", "Not imported, left as they are:") << notImported;
    if (cancelled)
        lines << QCoreApplication::translate(
            "Import", "The import was cancelled; the files not yet finished were left as they are.");
    if (textsCut > 0)
        lines << QCoreApplication::translate("Import",
                                             "%n texts were longer than the reader can read (1 MiB) and "
                                             "were cut there.",
                                             "", cut);
    if (rowsWithTimeOfDay > 0)
        lines << QCoreApplication::translate(
            "Import",
            "%n appointments were dated with a time of day; the date was kept, the time of day left out.", "",
            dated);
    if (!ignoredFields.isEmpty())
        lines << QCoreApplication::translate("Import", "Fields the program does not use, left out: %1.")
                     .arg(ignoredFields.join(QStringLiteral(", ")));
    lines << notes;
    lines << QCoreApplication::translate("Import", "The originals are kept unchanged in the folder \"%1\".")
                 .arg(QLatin1String(kLegacyFolder));
    return lines.join(QLatin1Char('\n'));
}

ImportReport importLegacyFiles(const QDir &folder, const QString &readerPath, const ImportProgress &progress)
{
    ImportReport report;
    const QStringList files = legacyFiles(folder);
    for (const QString &fileName : files) {
        if (report.cancelled)
            break;
        const bool appointments = kindOfFile(fileName) == FileKind::Appointments;
        const QString original = folder.filePath(fileName);
        const QString target = original + QStringLiteral(".import");
        QFile::remove(target); // what an interrupted import left
        QString kept;
        QString reason;
        bool cancelled = false;
        if (progress && !progress(fileName, 0, 0)) {
            report.cancelled = true;
            break;
        }
        bool built = keepOriginal(folder, fileName, &kept, &reason) &&
                     createEmptyFile(target, kindOfFile(fileName), &reason) &&
                     (appointments ? buildAppointments(readerPath, kept, fileName, target, progress, report,
                                                       &reason, &cancelled)
                                   : buildSettings(readerPath, kept, fileName, target, progress, report,
                                                   &reason, &cancelled));
        // In its place only when complete and on the disk: a crash before leaves the original there.
        if (built &&
            (!syncPath(target) ||
             ::rename(QFile::encodeName(target).constData(), QFile::encodeName(original).constData()) != 0 ||
             !syncPath(folder.path()))) {
            reason = QCoreApplication::translate("Import", "the new file could not be put in its place");
            built = false;
        }
        if (built) {
            report.imported << fileName;
            continue;
        }
        QFile::remove(target);
        if (cancelled) {
            report.cancelled = true;
            break;
        }
        report.notImported << QStringLiteral("%1: %2").arg(fileName, reason);
    }
    if (!files.isEmpty())
        writeReport(folder, report);
    return report;
}

} // namespace velmora
