#include "files/file_fill.h"

#include "core/model/appointment.h"
#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/storage/stored_bookings.h"
#include "files/database.h"
#include "schema/booking_sql.h"
#include "schema/calendar_text.h"
#include "schema/patient_sql.h"
#include "schema/settings_fields.h"
#include "schema/slot_files.h"
#include "schema/waiting_sql.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringEncoder>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <future>

namespace velmora {

namespace {

const char *const kAsideSuffix = ".import";

// Whether the file's first bytes are SQLite's: a book of the program's own, used or damaged.
bool isSqliteFile(const QString &path)
{
    QFile file(path);
    return isRegularFile(path) && file.open(QIODevice::ReadOnly) &&
           file.read(16) == QByteArray("SQLite format 3", 16);
}

QString cannotBeReplaced(const QString &fileName, const QString &why)
{
    return QCoreApplication::translate("Storage", "\"%1\" cannot be used: %2").arg(fileName, why);
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    if (text.isNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    const QByteArray bytes = text.toUtf8();
    sqlite3_bind_text(statement, index, bytes.constData(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

void bindValue(sqlite3_stmt *statement, int index, const QVariant &value)
{
    if (value.isNull())
        sqlite3_bind_null(statement, index);
    else if (value.typeId() == QMetaType::LongLong)
        sqlite3_bind_int64(statement, index, value.toLongLong());
    else
        bindText(statement, index, value.toString());
}

// The stored rows of a book of the program's own other than the older program's placeholder.
bool countBookings(const QString &path, qint64 *bookings, QString *problem)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *count = nullptr;
    const bool ok = sqlite3_open_v2(sqliteUri(path, "ro").toUtf8().constData(), &db,
                                    SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) == SQLITE_OK &&
                    sqlite3_busy_timeout(db, kLockWaitMs) == SQLITE_OK &&
                    sqlite3_prepare_v2(db, heldBookingsQuery(QStringLiteral("dados")).toUtf8().constData(),
                                       -1, &count, nullptr) == SQLITE_OK;
    const QByteArray placeholder = storedDate(placeholderDate()).toUtf8();
    const bool counted =
        ok && sqlite3_bind_text(count, 1, placeholder.constData(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
        sqlite3_step(count) == SQLITE_ROW;
    if (counted)
        *bookings = sqlite3_column_int64(count, 0);
    else
        *problem = QString::fromUtf8(sqlite3_errmsg(db));
    sqlite3_finalize(count);
    sqlite3_close(db);
    return counted;
}

} // namespace

// The texts of one row encoded into one buffer kept from row to row, and bound from there: a book has
// hundreds of thousands of rows, each allocation saved is felt.
class RowTexts
{
public:
    // Room for the row's texts made before any is bound, as the buffer may move.
    void startRows(const Appointment *rows, size_t count)
    {
        qsizetype needed = 0;
        for (const Appointment *row = rows; row != rows + count; ++row) {
            needed += kStoredDateLength;
            for (const QString *text : {&row->hora, &row->nome, &row->convenio, &row->telefone, &row->obs})
                needed += encoder_.requiredSpace(text->size());
        }
        if (needed > static_cast<qsizetype>(buffer_.size()))
            buffer_.resize(static_cast<size_t>(needed));
        used_ = 0;
    }
    // The row's date and texts bound from index on.
    int bindRow(sqlite3_stmt *statement, int index, const Appointment &row)
    {
        bindDate(statement, index++, row.date);
        for (const QString *text : {&row.hora, &row.nome, &row.convenio, &row.telefone, &row.obs})
            bind(statement, index++, *text);
        return index;
    }
    // A date as it is stored, written straight into the buffer; none for no date.
    void bindDate(sqlite3_stmt *statement, int index, QDate date)
    {
        char *start = buffer_.data() + used_;
        if (writeStoredDate(date, start)) {
            used_ += kStoredDateLength;
            sqlite3_bind_text(statement, index, start, kStoredDateLength, SQLITE_STATIC);
        } else if (date.isValid()) {
            sqlite3_bind_text(statement, index, qPrintable(storedDate(date)), -1, SQLITE_TRANSIENT);
        } else {
            sqlite3_bind_null(statement, index);
        }
    }

    void bind(sqlite3_stmt *statement, int index, const QString &text)
    {
        if (text.isNull()) {
            sqlite3_bind_null(statement, index);
            return;
        }
        char *start = buffer_.data() + used_;
        char *end = encoder_.appendToBuffer(start, text);
        used_ += end - start;
        sqlite3_bind_text(statement, index, start, static_cast<int>(end - start), SQLITE_STATIC);
    }

private:
    QStringEncoder encoder_{QStringEncoder::Utf8};
    std::vector<char> buffer_;
    qsizetype used_ = 0;
};

FileFill::FileFill(const QDir &folder) : folder_(folder), texts_(std::make_unique<RowTexts>()) {}

FileFill::~FileFill()
{
    close();
    QString ignored;
    booksClosed(&ignored);
    for (const Built &built : built_)
        QFile::remove(built.path);
}

QString FileFill::failed(QString *error) const
{
    const QString reason = db_ ? QString::fromUtf8(sqlite3_errmsg(db_)) : QString();
    const QString fileName = built_.empty() ? QString() : built_.back().fileName;
    *error = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2").arg(fileName, reason);
    return *error;
}

bool FileFill::open(const QString &path, QString *error)
{
    // Being built, the file is nobody's: it is synced once, whole, before it is put in place, and
    // thrown away if anything stops the build.
    if (sqlite3_open_v2(sqliteUri(path, "rwc").toUtf8().constData(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI, nullptr) != SQLITE_OK ||
        !run("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN", error)) {
        failed(error);
        return false;
    }
    return true;
}

bool FileFill::run(const char *statement, QString *error)
{
    if (sqlite3_exec(db_, statement, nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    failed(error);
    return false;
}

bool FileFill::prepare(sqlite3_stmt **statement, const QString &text, QString *error)
{
    if (sqlite3_prepare_v2(db_, text.toUtf8().constData(), -1, statement, nullptr) == SQLITE_OK)
        return true;
    failed(error);
    return false;
}

bool FileFill::step(sqlite3_stmt *statement, QString *error)
{
    const bool done = sqlite3_step(statement) == SQLITE_DONE;
    sqlite3_reset(statement);
    if (!done)
        failed(error);
    return done;
}

void FileFill::close()
{
    pending_.clear();
    for (sqlite3_stmt **statement : {&insert_, &insertWithId_, &insertMany_, &status_, &series_, &history_}) {
        sqlite3_finalize(*statement);
        *statement = nullptr;
    }
    sqlite3_close(db_);
    db_ = nullptr;
    statuses_ = false;
}

bool FileFill::startBook(int slot, QString *error)
{
    if (!closeBook(error))
        return false;
    const QString fileName = QString::fromLatin1(doctorSlot(slot).appointmentFile);
    const QString path = folder_.filePath(fileName);
    if (isSqliteFile(path)) {
        QString problem;
        qint64 bookings = 0;
        if (!checkFile(path, FileKind::Appointments, &problem) || !countBookings(path, &bookings, &problem)) {
            *error = cannotBeReplaced(fileName, problem);
            return false;
        }
        if (bookings > 0) {
            *error = cannotBeReplaced(
                fileName, QCoreApplication::translate("Storage", "it already holds appointments"));
            return false;
        }
    }
    const QString aside = path + QLatin1String(kAsideSuffix);
    QFile::remove(aside); // what an interrupted fill left
    built_.push_back({fileName, aside, 0});
    // The table first; its index once the rows are in, made in one go.
    return open(aside, error) &&
           run(fileCreateStatements(FileKind::Appointments).first().toUtf8().constData(), error);
}

bool FileFill::append(const Appointment &booking, QString *error)
{
    if (!db_ || built_.back().appended < 0) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    const bool ownIdentity = booking.id != 0;
    sqlite3_stmt *&insert = ownIdentity ? insertWithId_ : insert_;
    if (!insert && !prepare(&insert,
                            QStringLiteral("INSERT INTO dados (%1%2) VALUES (%3?, ?, ?, ?, ?, ?)")
                                .arg(ownIdentity ? QStringLiteral("rowid, ") : QString(), bookingColumns(),
                                     ownIdentity ? QStringLiteral("?, ") : QString()),
                            error))
        return false;
    // Rows given no identity nor status go in by the score, in statements of many rows.
    if (!ownIdentity && booking.status == BookingStatus::ToConfirm && booking.series.series == 0) {
        pending_.push_back(booking);
        ++built_.back().appended;
        return pending_.size() < kRowsAStatement || flushPending(error);
    }
    if (!flushPending(error))
        return false;
    int index = 1;
    if (ownIdentity)
        sqlite3_bind_int64(insert, index++, booking.id);
    texts_->startRows(&booking, 1);
    texts_->bindRow(insert, index, booking);
    if (!step(insert, error))
        return false;
    ++built_.back().appended;
    const qint64 id = ownIdentity ? booking.id : sqlite3_last_insert_rowid(db_);
    if (booking.status != BookingStatus::ToConfirm) {
        if (!keepsStatuses(error) ||
            (!status_ &&
             !prepare(&status_, setStatusStatement(Dialect::Files, QStringLiteral("main")), error)))
            return false;
        sqlite3_bind_int64(status_, 1, id);
        bindText(status_, 2, booking.nome.isNull() ? QStringLiteral("") : booking.nome);
        sqlite3_bind_int(status_, 3, static_cast<int>(booking.status));
        if (!step(status_, error))
            return false;
    }
    if (booking.series.series == 0)
        return true;
    if (!keepsStatuses(error) ||
        (!series_ && !prepare(&series_, placeInSeriesStatement(QStringLiteral("main")), error)))
        return false;
    sqlite3_bind_int64(series_, 1, id);
    sqlite3_bind_int64(series_, 2, booking.series.series);
    sqlite3_bind_int(series_, 3, booking.series.number);
    sqlite3_bind_int(series_, 4, booking.series.total);
    return step(series_, error);
}

bool FileFill::flushPending(QString *error)
{
    if (pending_.empty())
        return true;
    const bool full = pending_.size() == kRowsAStatement;
    sqlite3_stmt *&insert = full ? insertMany_ : insert_;
    if (full && !insertMany_ &&
        !prepare(&insertMany_,
                 QStringLiteral("INSERT INTO dados (%1) VALUES %2")
                     .arg(bookingColumns(), QStringList(kRowsAStatement, QStringLiteral("(?, ?, ?, ?, ?, ?)"))
                                                .join(QStringLiteral(", "))),
                 error))
        return false;
    texts_->startRows(pending_.data(), pending_.size());
    int index = 1;
    for (const Appointment &row : pending_) {
        index = texts_->bindRow(insert, index, row);
        if (!full) {
            if (!step(insert, error))
                return false;
            index = 1;
        }
    }
    pending_.clear();
    return !full || step(insert, error);
}

bool FileFill::appendHistory(qint64 id, const HistoryEntry &entry, QString *error)
{
    if (!db_ || built_.back().appended < 0) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    if (!keepsStatuses(error) ||
        (!history_ && !prepare(&history_, recordHistoryStatement(QStringLiteral("main")), error)))
        return false;
    sqlite3_bind_int64(history_, 1, id);
    bindText(history_, 2, entry.at.toString(Qt::ISODateWithMs));
    int index = 3;
    for (const QString *text : {&entry.computer, &entry.person, &entry.action, &entry.details})
        bindText(history_, index++, *text);
    return step(history_, error);
}

bool FileFill::appendPatientLinks(const QVector<BookingLink> &links, QString *error)
{
    if (links.isEmpty())
        return true;
    if (!db_ || built_.back().appended < 0) {
        *error = QCoreApplication::translate("Storage", "no file is open");
        return false;
    }
    sqlite3_stmt *link = nullptr;
    bool written = keepsStatuses(error) &&
                   prepare(&link, linkPatientStatement(Dialect::Files, QStringLiteral("main")), error);
    for (const BookingLink &each : links) {
        if (!written)
            break;
        sqlite3_reset(link);
        sqlite3_bind_int64(link, 1, each.booking);
        sqlite3_bind_int64(link, 2, each.patient);
        written = step(link, error);
    }
    sqlite3_finalize(link);
    return written;
}

bool FileFill::keepsStatuses(QString *error)
{
    if (statuses_)
        return true;
    for (const QString &statement : statusTableStatements(Dialect::Files, QStringLiteral("main")))
        if (!run(statement.toUtf8().constData(), error))
            return false;
    statuses_ = true;
    return true;
}

void FileFill::dropBook()
{
    if (built_.empty() || built_.back().appended < 0)
        return;
    close();
    QFile::remove(built_.back().path);
    built_.pop_back();
}

bool FileFill::closeBook(QString *error)
{
    if (!db_)
        return true;
    if (!flushPending(error))
        return false;
    // Its index made, its rows counted and committed beside the next book's rows.
    const Built book = built_.back();
    sqlite3 *db = db_;
    db_ = nullptr;
    close();
    closing_.push_back(std::async(std::launch::async, [db, book] {
        QString problem;
        for (const QString &statement : fileCreateStatements(FileKind::Appointments).mid(1))
            if (problem.isEmpty() &&
                sqlite3_exec(db, statement.toUtf8().constData(), nullptr, nullptr, nullptr) != SQLITE_OK)
                problem = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_stmt *count = nullptr;
        qint64 rows = -1;
        if (problem.isEmpty() &&
            sqlite3_prepare_v2(db, "SELECT count(*) FROM dados", -1, &count, nullptr) == SQLITE_OK &&
            sqlite3_step(count) == SQLITE_ROW)
            rows = sqlite3_column_int64(count, 0);
        sqlite3_finalize(count);
        if (problem.isEmpty() && rows != book.appended)
            problem = QCoreApplication::translate("Storage", "it holds %1 appointments of the %2 written")
                          .arg(rows)
                          .arg(book.appended);
        if (problem.isEmpty() && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            problem = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return problem.isEmpty() ? problem
                                 : QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                                       .arg(book.fileName, problem);
    }));
    return true;
}

bool FileFill::booksClosed(QString *error)
{
    QString first;
    for (std::future<QString> &closing : closing_) {
        const QString problem = closing.get();
        if (first.isEmpty())
            first = problem;
    }
    closing_.clear();
    if (first.isEmpty())
        return true;
    *error = first;
    return false;
}

bool FileFill::writeSettings(const SettingsRecord &record, QString *error)
{
    if (!closeBook(error))
        return false;
    for (const auto &[file, fileName] :
         {std::pair{SettingsFile::Main, QString::fromLatin1(kMainSettingsFile)},
          std::pair{SettingsFile::Extra, QString::fromLatin1(kExtraSettingsFile)}}) {
        QStringList assignments;
        QVariantList values;
        for (const RecordField &field : recordFields())
            if (field.file == file && field.in(record)) {
                assignments << field.name + QStringLiteral(" = ?");
                values << storedValue(field, *field.in(record));
            }
        if (assignments.isEmpty())
            continue; // left as it is
        const FileKind kind = kindOfFile(fileName);
        const QString path = folder_.filePath(fileName);
        const QString aside = path + QLatin1String(kAsideSuffix);
        QFile::remove(aside);
        // The program's own record keeps the fields not given; any other file is replaced by a new one.
        QString problem;
        const bool own = isSqliteFile(path);
        if (own && (!checkFile(path, kind, &problem) || !QFile::copy(path, aside))) {
            *error = cannotBeReplaced(fileName, problem);
            return false;
        }
        built_.push_back({fileName, aside, -1});
        bool written = open(aside, error);
        if (!own)
            for (const QString &statement : fileCreateStatements(kind))
                written = written && run(statement.toUtf8().constData(), error);
        sqlite3_stmt *update = nullptr;
        written = written &&
                  prepare(&update,
                          QStringLiteral("UPDATE profs SET %1 WHERE rowid = (SELECT min(rowid) FROM profs)")
                              .arg(assignments.join(QStringLiteral(", "))),
                          error);
        for (int i = 0; written && i < values.size(); ++i)
            bindValue(update, i + 1, values.at(i));
        written = written && step(update, error);
        sqlite3_finalize(update);
        written = written && run("COMMIT", error);
        close();
        if (!written)
            return false;
    }
    return true;
}

bool FileFill::openMainSettings(QString *error)
{
    const auto main = std::find_if(built_.cbegin(), built_.cend(), [](const Built &built) {
        return built.fileName == QLatin1String(kMainSettingsFile);
    });
    if (main == built_.cend()) {
        *error = QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                     .arg(QLatin1String(kMainSettingsFile),
                          QCoreApplication::translate("Storage", "the settings were not written first"));
        return false;
    }
    return open(main->path, error);
}

bool FileFill::writeCalendar(const QVector<CalendarEntry> &entries, QString *error)
{
    // Into the settings file writeSettings built, before it is put in place with the books.
    if (!openMainSettings(error))
        return false;
    const QString table = QLatin1String(kCalendarTable);
    sqlite3_stmt *insert = nullptr;
    bool written = run(QStringLiteral("CREATE TABLE IF NOT EXISTS %1 (entries TEXT NOT NULL); DELETE FROM %1")
                           .arg(table)
                           .toUtf8()
                           .constData(),
                       error) &&
                   prepare(&insert, QStringLiteral("INSERT INTO %1 (entries) VALUES (?)").arg(table), error);
    if (written)
        bindValue(insert, 1, calendarText(entries));
    written = written && step(insert, error);
    sqlite3_finalize(insert);
    written = written && run("COMMIT", error);
    close();
    return written;
}

bool FileFill::writeReceptionLists(const QVector<WaitingEntry> &waiting, const SqueezeLimits &limits,
                                   QString *error)
{
    if (!openMainSettings(error))
        return false;
    const QString statements =
        waitingTableStatement(Dialect::Files, waitingListTable()) + QStringLiteral("; ") +
        squeezeLimitsStatement(Dialect::Files, squeezeLimitsTable()) +
        QStringLiteral("; DELETE FROM %1; DELETE FROM %2").arg(waitingListTable(), squeezeLimitsTable());
    bool written = run(statements.toUtf8().constData(), error);
    sqlite3_stmt *insert = nullptr;
    written =
        written && prepare(&insert,
                           QStringLiteral("INSERT INTO %1 (id, %2) VALUES (?%3)")
                               .arg(waitingListTable(), waitingColumns(), QStringLiteral(", ?").repeated(12)),
                           error);
    for (const WaitingEntry &entry : waiting) {
        if (!written)
            break;
        sqlite3_reset(insert);
        sqlite3_bind_int64(insert, 1, entry.id);
        const QVariantList values = waitingValues(entry);
        for (int i = 0; i < values.size(); ++i)
            bindValue(insert, i + 2, values.at(i).toString());
        written = step(insert, error);
    }
    sqlite3_finalize(insert);
    insert = nullptr;
    written =
        written &&
        prepare(&insert,
                QStringLiteral("INSERT INTO %1 (slot, per_day) VALUES (?, ?)").arg(squeezeLimitsTable()),
                error);
    for (int slot = 1; written && slot <= kDoctorSlotCount; ++slot)
        if (const std::optional<int> limit = limits[static_cast<size_t>(slot - 1)]) {
            sqlite3_reset(insert);
            sqlite3_bind_int(insert, 1, slot);
            sqlite3_bind_int(insert, 2, *limit);
            written = step(insert, error);
        }
    sqlite3_finalize(insert);
    written = written && run("COMMIT", error);
    close();
    return written;
}

bool FileFill::writePatients(const QVector<Patient> &patients, QString *error)
{
    if (!openMainSettings(error))
        return false;
    const QString statements = patientsTableStatement(Dialect::Files, patientsTable()) +
                               QStringLiteral("; DELETE FROM %1").arg(patientsTable());
    sqlite3_stmt *insert = nullptr;
    bool written =
        run(statements.toUtf8().constData(), error) &&
        prepare(&insert,
                QStringLiteral("INSERT INTO %1 (id, cpf, record) VALUES (?, ?, ?)").arg(patientsTable()),
                error);
    for (const Patient &patient : patients) {
        if (!written)
            break;
        sqlite3_reset(insert);
        sqlite3_bind_int64(insert, 1, patient.id);
        if (patient.cpf.isEmpty())
            sqlite3_bind_null(insert, 2);
        else
            bindValue(insert, 2, patient.cpf);
        bindValue(insert, 3, patientText(patient));
        written = step(insert, error);
    }
    sqlite3_finalize(insert);
    written = written && run("COMMIT", error);
    close();
    return written;
}

bool FileFill::finish(QString *error)
{
    if (!closeBook(error) || !booksClosed(error))
        return false;
    for (const Built &built : built_) {
        const QString path = folder_.filePath(built.fileName);
        if (!syncPath(built.path) || std::rename(QFile::encodeName(built.path).constData(),
                                                 QFile::encodeName(path).constData()) != 0) {
            *error =
                QCoreApplication::translate("Storage", "\"%1\" could not be written: %2")
                    .arg(built.fileName,
                         QCoreApplication::translate("Storage", "the finished file could not be renamed"));
            return false;
        }
    }
    built_.clear();
    if (!syncPath(folder_.path())) {
        *error = QCoreApplication::translate("Storage", "the folder could not be synced");
        return false;
    }
    return true;
}

} // namespace velmora
