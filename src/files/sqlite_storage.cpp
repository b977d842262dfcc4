#include "files/sqlite_storage.h"
#include "core/model/patient.h"
#include "core/storage/stored_bookings.h"
#include "files/direct_reads.h"

#include <QCoreApplication>

#include "core/reception/waiting_list.h"
#include "core/schedule/clinic_calendar.h"
#include "core/search/patient_query.h"
#include "core/storage/storage_vocabulary.h"
#include "files/file_fill.h"
#include "schema/booking_sql.h"
#include "schema/settings_fields.h"
#include "schema/slot_files.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>

namespace velmora {

namespace {

// A failure on the open book names its file, unless the reason already does.
template <typename Result> Result naming(const Connection &book, Result result, bool failed, QString *error)
{
    if (failed && !error->contains(QLatin1Char('"') + book.fileName() + QLatin1Char('"')))
        *error = QCoreApplication::translate("Storage", "%1 (in \"%2\")").arg(*error, book.fileName());
    return result;
}

} // namespace

SqliteStorage::SqliteStorage(const QDir &folder, int lockWaitMs, FileAccess access)
    : access_(access), folder_(folder), data1_(QStringLiteral("Data1"), folder),
      data2_(QStringLiteral("Data2"), folder), data22_(QStringLiteral("Data22"), folder),
      settings_(data2_, data22_), appointments_(data1_)
{
    // Opened by the first read that needs them: a file another program holds locked is waited for
    // once the window is on the screen, where the user sees why.
    for (Connection *connection : {&data1_, &data2_, &data22_})
        connection->setLockWait(lockWaitMs);
    data1_.pointLater(QString::fromLatin1(kDoctorSlots[0].appointmentFile));
    data2_.pointLater(QString::fromLatin1(kMainSettingsFile));
    data22_.pointLater(QString::fromLatin1(kExtraSettingsFile));
    for (const DoctorSlot &slot : kDoctorSlots) {
        searchBooks_.push_back(
            std::make_unique<Connection>(QStringLiteral("Search%1").arg(slot.slot), folder));
        searchBooks_.back()->pointLater(QString::fromLatin1(slot.appointmentFile));
    }
    indexSeen_.resize(searchBooks_.size());
    for (Connection *connection : {&data1_, &data2_, &data22_})
        connection->setAccess(access);
    for (const std::unique_ptr<Connection> &book : searchBooks_)
        book->setAccess(access);
}

void SqliteStorage::useBook(int slot)
{
    const QString fileName = QString::fromLatin1(doctorSlot(slot).appointmentFile);
    if (data1_.fileName() != fileName)
        data1_.pointLater(fileName);
}

bool SqliteStorage::openBook(int slot, QString *error)
{
    // Checked as at start, and the older program's placeholder record in a book that holds none.
    if (!data1_.pointAt(QString::fromLatin1(doctorSlot(slot).appointmentFile), error))
        return false;
    bool any = false;
    const bool ok = appointments_.hasRecords(&any, error) && (any || appointments_.addPlaceholder(error));
    return naming(data1_, ok, !ok, error);
}

bool SqliteStorage::readDay(int slot, QDate date, QVector<Appointment> *bookings, QString *error)
{
    // Reads beside the window go to each book's own connection, kept open: the clinic's day reads every
    // book in turn, and moving one connection from book to book would open each file every time.
    if (access_ == FileAccess::ReadBeside && isDoctorSlot(slot)) {
        Connection &book = *searchBooks_[static_cast<size_t>(slot - 1)];
        const bool ok = AppointmentStore(book).readDay(date, bookings, error);
        return naming(book, ok, !ok, error);
    }
    useBook(slot);
    const bool ok = appointments_.readDay(date, bookings, error);
    return naming(data1_, ok, !ok, error);
}

bool SqliteStorage::readPeriod(int slot, QDate from, QDate to, QVector<Appointment> *bookings, QString *error)
{
    useBook(slot);
    const bool ok = appointments_.readPeriod(from, to, bookings, error);
    return naming(data1_, ok, !ok, error);
}

Added SqliteStorage::add(int slot, const Appointment &booking, int linkedSlot, QString *error)
{
    useBook(slot);
    const QString linkedFile =
        isDoctorSlot(linkedSlot) ? QString::fromLatin1(doctorSlot(linkedSlot).appointmentFile) : QString();
    Added added;
    added.outcome = appointments_.add(booking, linkedFile, error);
    added.bookReplaced = data1_.takeReopened();
    return naming(data1_, added, added.outcome == AddOutcome::NotStored, error);
}

WriteOutcome SqliteStorage::update(int slot, const Appointment &stored, const Appointment &changed,
                                   QString *error)
{
    useBook(slot);
    const WriteOutcome outcome = appointments_.update(stored, changed, error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

WriteOutcome SqliteStorage::remove(int slot, const Appointment &stored, QString *error)
{
    useBook(slot);
    const WriteOutcome outcome = appointments_.remove(stored, error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

WriteOutcome SqliteStorage::setStatus(int slot, const Appointment &stored, BookingStatus status,
                                      QString *error)
{
    useBook(slot);
    const WriteOutcome outcome = appointments_.setStatus(stored, status, error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

WriteOutcome SqliteStorage::hold(int slot, const Appointment &stored, QString *error)
{
    useBook(slot);
    const WriteOutcome outcome = appointments_.hold(stored, error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

bool SqliteStorage::putBack(int slot, qint64 id, QString *error)
{
    useBook(slot);
    const bool ok = appointments_.putBack(id, error);
    return naming(data1_, ok, !ok, error);
}

bool SqliteStorage::readHeld(QVector<HeldBooking> *held, QString *error)
{
    held->clear();
    // Each book on its own connection, kept open: every desk reads them again as the books change.
    for (const DoctorSlot &slot : kDoctorSlots) {
        Connection &book = *searchBooks_[static_cast<size_t>(slot.slot - 1)];
        if (!AppointmentStore(book).readHeld(slot.slot, held, error))
            return naming(book, false, true, error);
    }
    std::stable_sort(held->begin(), held->end(),
                     [](const HeldBooking &a, const HeldBooking &b) { return a.at < b.at; });
    return true;
}

AddOutcome SqliteStorage::addSeries(int slot, const QVector<Appointment> &bookings, int linkedSlot,
                                    const QVector<bool> &squeezeIns, QVector<qint64> *ids, QString *error)
{
    useBook(slot);
    const QString linkedFile = isDoctorSlot(linkedSlot) && linkedSlot != slot
                                   ? QString::fromLatin1(doctorSlot(linkedSlot).appointmentFile)
                                   : QString();
    const AddOutcome outcome = appointments_.addSeries(bookings, linkedFile, squeezeIns, ids, error);
    return naming(data1_, outcome, outcome == AddOutcome::NotStored, error);
}

bool SqliteStorage::readSeries(int slot, qint64 series, QVector<Appointment> *bookings, QString *error)
{
    useBook(slot);
    const bool ok = appointments_.readSeries(series, bookings, error);
    return naming(data1_, ok, !ok, error);
}

bool SqliteStorage::readSeriesEnding(QDate from, QVector<FoundBooking> *bookings, QString *error)
{
    bookings->clear();
    for (const DoctorSlot &slot : kDoctorSlots) {
        Connection &book = *searchBooks_[static_cast<size_t>(slot.slot - 1)];
        QVector<Appointment> found;
        if (!AppointmentStore(book).readSeriesEnding(from, &found, error))
            return naming(book, false, true, error);
        for (const Appointment &booking : std::as_const(found))
            bookings->append({slot.slot, booking});
    }
    return true;
}

WriteOutcome SqliteStorage::writeSeries(int slot, const QVector<BookingWrite> &writes, int linkedSlot,
                                        QString *error)
{
    useBook(slot);
    const bool linked = isDoctorSlot(linkedSlot) && linkedSlot != slot;
    const WriteOutcome outcome = appointments_.writeSeries(
        writes, linked ? QString::fromLatin1(doctorSlot(linkedSlot).appointmentFile) : QString(), linkedSlot,
        error);
    return naming(data1_, outcome, outcome == WriteOutcome::Failed, error);
}

Moved SqliteStorage::move(int slot, const Appointment &stored, int toSlot, QDate date, const QString &time,
                          int linkedSlot, QString *error)
{
    useBook(slot);
    AppointmentStore::MovePlace place;
    place.fromSlot = slot;
    place.toSlot = toSlot;
    if (toSlot != slot)
        place.bookFile = QString::fromLatin1(doctorSlot(toSlot).appointmentFile);
    place.date = date;
    place.hora = time;
    if (isDoctorSlot(linkedSlot) && linkedSlot != slot) {
        place.copySlot = linkedSlot;
        place.copyFile = QString::fromLatin1(doctorSlot(linkedSlot).appointmentFile);
    }
    const Moved moved = appointments_.move(stored, place, error);
    return naming(data1_, moved, moved.outcome == WriteOutcome::Failed, error);
}

PatientSaved SqliteStorage::savePatient(const Patient &patient, qint64 *id, QString *error)
{
    return settings_.savePatient(patient, id, error);
}

bool SqliteStorage::readPatients(QVector<Patient> *patients, QString *error)
{
    return settings_.readPatients(patients, error);
}

bool SqliteStorage::linkBookings(const QVector<BookingLink> &links, QString *error)
{
    for (const DoctorSlot &slot : kDoctorSlots) {
        QVector<BookingLink> ofBook;
        for (const BookingLink &link : links)
            if (link.slot == slot.slot)
                ofBook.append(link);
        if (ofBook.isEmpty())
            continue;
        useBook(slot.slot);
        if (!appointments_.linkPatients(ofBook, error))
            return naming(data1_, false, true, error);
    }
    return true;
}

bool SqliteStorage::readBookingLinks(int slot, QVector<BookingLink> *links, QString *error)
{
    links->clear();
    Connection &book = *searchBooks_[static_cast<size_t>(slot - 1)];
    if (!AppointmentStore(book).readPatientLinks(links, error))
        return naming(book, false, true, error);
    for (BookingLink &link : *links)
        link.slot = slot;
    return true;
}

bool SqliteStorage::readPatientOf(int slot, qint64 booking, qint64 *patient, QString *error)
{
    Connection &book = *searchBooks_[static_cast<size_t>(slot - 1)];
    return AppointmentStore(book).readPatientOf(booking, patient, error) || naming(book, false, true, error);
}

bool SqliteStorage::readPatientBookings(qint64 patient, QVector<FoundBooking> *bookings, QString *error)
{
    bookings->clear();
    for (const DoctorSlot &slot : kDoctorSlots) {
        Connection &book = *searchBooks_[static_cast<size_t>(slot.slot - 1)];
        QVector<Appointment> found;
        if (!AppointmentStore(book).readPatientBookings(patient, &found, error))
            return naming(book, false, true, error);
        for (const Appointment &booking : std::as_const(found))
            bookings->append({slot.slot, booking});
    }
    return true;
}

bool SqliteStorage::readSqueezeLimits(SqueezeLimits *limits, QString *error)
{
    return settings_.readSqueezeLimits(limits, error);
}

bool SqliteStorage::saveSqueezeLimits(const SqueezeLimits &limits, QString *error)
{
    return settings_.saveSqueezeLimits(limits, error);
}

bool SqliteStorage::readWaitingList(QVector<WaitingEntry> *entries, QString *error)
{
    return settings_.readWaitingList(entries, error);
}

bool SqliteStorage::addToWaitingList(const WaitingEntry &entry, QString *error)
{
    return settings_.addToWaitingList(entry, error);
}

WriteOutcome SqliteStorage::leaveWaitingList(qint64 id, WaitingEntry::State state, QString *error)
{
    return settings_.leaveWaitingList(id, state, error);
}

AddOutcome SqliteStorage::bookFromWaitingList(int slot, qint64 id, const Appointment &booking, QString *error)
{
    useBook(slot);
    const AddOutcome outcome =
        appointments_.bookFromWaiting(booking, QString::fromLatin1(kMainSettingsFile), id, error);
    return naming(data1_, outcome, outcome == AddOutcome::NotStored, error);
}

bool SqliteStorage::readHistory(int slot, qint64 id, QVector<HistoryEntry> *history, QString *error)
{
    useBook(slot);
    const bool ok = appointments_.readHistory(id, history, error);
    return naming(data1_, ok, !ok, error);
}

bool SqliteStorage::findBookings(const PatientQuery &query, QVector<FoundBooking> *found, QString *error)
{
    found->clear();
    if (query.kind == PatientQuery::Kind::TooShort)
        return true;
    for (const DoctorSlot &slot : kDoctorSlots) {
        Connection &book = *searchBooks_[static_cast<size_t>(&slot - kDoctorSlots.data())];
        if (!book.ensureOpen(error))
            return false;
        // Through the book's index when it is complete; a book whose index cannot be made now (another
        // program holds it) is read whole, which finds the same.
        const bool indexed = searchable(static_cast<size_t>(&slot - kDoctorSlots.data()));
        // Books that never had a series have no table of their places.
        if (indexed && (findDirectly(book, indexedSearch(query, true), query, slot.slot, found) ||
                        findDirectly(book, indexedSearch(query), query, slot.slot, found)))
            continue;
        QSqlQuery rows(book.database());
        rows.setForwardOnly(true);
        if (!rows.exec(everyBookingOf(QStringLiteral("dados"), QStringLiteral("rowid")))) {
            *error = QCoreApplication::translate("Storage", "%1 (in \"%2\")")
                         .arg(reasonOf(rows.lastError()), book.fileName());
            return false;
        }
        appendFound(rows, slot.slot, query, found);
    }
    return true;
}

bool SqliteStorage::bringSearchUpToDate(const std::function<bool(qint64 done, qint64 all)> &progress)
{
    // The rows of the books whose index is to be made, for the progress; then each made.
    std::vector<Connection *> stale;
    qint64 all = 0;
    QString error;
    for (const std::unique_ptr<Connection> &book : searchBooks_) {
        if (!book->ensureOpen(&error))
            continue;
        QSqlQuery query(book->database());
        if (indexIsCurrent(*book, IndexCheck::Recount))
            continue;
        query.exec(QStringLiteral("UPDATE main.booking_search_state SET stale = 1"));
        indexSeen_[static_cast<size_t>(&book - searchBooks_.data())] = {};
        stale.push_back(book.get());
        if (query.exec(QStringLiteral("SELECT count(*) FROM main.dados")) && query.next())
            all += query.value(0).toLongLong();
    }
    qint64 done = 0;
    bool cancelled = false;
    for (Connection *book : stale) {
        const qint64 before = done;
        indexUpToDate(*book, [&](qint64 rows) {
            done = before + rows;
            cancelled = !progress(done, all);
            return !cancelled;
        });
        if (cancelled)
            return false; // the book being indexed is left as it was, to be indexed at its next search
    }
    return true;
}

bool SqliteStorage::searchable(size_t book)
{
    Connection &connection = *searchBooks_[book];
    // The file's version moves with every change another connection commits (this one's own keep the
    // index up to date, through its triggers).
    qint64 version = -1;
    if (!readNumber(connection, QStringLiteral("PRAGMA main.data_version"), &version))
        return false;
    IndexSeen &seen = indexSeen_[book];
    if (seen.opening == connection.opening() && seen.version == version)
        return true;
    connection.forgetUnmade(); // a table missing then may be there now
    const bool searchable =
        access_ == FileAccess::ReadWrite
            ? indexUpToDate(connection)
            : indexIsCurrent(connection,
                             access_ == FileAccess::ReadOnly ? IndexCheck::Recount : IndexCheck::State);
    seen = searchable ? IndexSeen{connection.opening(), version} : IndexSeen{};
    return searchable;
}

bool SqliteStorage::indexIsCurrent(Connection &book, IndexCheck check)
{
    // Every part of the index there (another tool may have dropped one), and its state up to date.
    qint64 current = 0;
    if (!readNumber(book,
                    QStringLiteral("SELECT (%1) = %2 AND (SELECT stale FROM %3) = 0")
                        .arg(searchIndexPartsQuery(QStringLiteral("main")))
                        .arg(kSearchIndexParts)
                        .arg(searchStateTable(QStringLiteral("main"))),
                    &current) ||
        !current)
        return false;
    // The state is trusted only while the index spans the same identities as the book, first and last:
    // a book another tool renumbered (dumped and loaded again) or whose index it emptied is indexed
    // again. Looked up at both ends of the two keys, never counted, whatever the book's size.
    return check == IndexCheck::State ||
           (readNumber(book,
                       QStringLiteral("SELECT (SELECT max(id) FROM main.booking_search_docsize) IS (SELECT "
                                      "max(rowid) FROM main.dados) AND (SELECT min(id) FROM "
                                      "main.booking_search_docsize) IS (SELECT min(rowid) FROM main.dados)"),
                       &current) &&
            current != 0);
}

bool SqliteStorage::indexUpToDate(Connection &book, const std::function<bool(qint64 rows)> &indexed)
{
    if (indexIsCurrent(book, IndexCheck::State))
        return true;
    QSqlDatabase db = book.database();
    QSqlQuery query(db);
    // Made, or made again after another tool wrote the book, in one transaction.
    if (!db.transaction())
        return false;
    bool ok = true;
    for (const QString &statement : searchIndexStatements(QStringLiteral("main")))
        ok = ok && query.exec(statement);
    ok = ok && query.exec(QStringLiteral("DELETE FROM main.booking_search"));
    QSqlQuery rows(db);
    rows.setForwardOnly(true);
    ok = ok && rows.exec(QStringLiteral("SELECT rowid, nome, telefone FROM main.dados"));
    ok = ok && query.prepare(
                   QStringLiteral("INSERT INTO main.booking_search (rowid, name, phones) VALUES (?, ?, ?)"));
    qint64 count = 0;
    while (ok && rows.next()) {
        query.addBindValue(rows.value(0));
        query.addBindValue(foldedName(rows.value(1).toString()));
        query.addBindValue(digitsOf(rows.value(2).toString()));
        ok = query.exec();
        if (ok && indexed && ++count % 5000 == 0)
            ok = indexed(count);
    }
    rows.finish();
    ok = ok && query.exec(QStringLiteral("UPDATE main.booking_search_state SET stale = 0, own = 0"));
    query.finish();
    if (ok && db.commit())
        return true;
    db.rollback();
    return false;
}

bool SqliteStorage::readDoctors(AllDoctorFields *fields, QString *error, LockWait wait)
{
    return wait == LockWait::Wait ? settings_.readDoctorFields(fields, error)
                                  : settings_.tryReadDoctorFields(fields, error);
}

bool SqliteStorage::readSlotLengthAndLink(int slot, DoctorFields *fields, QString *error)
{
    return settings_.readSlotLengthAndLink(slot, fields, error);
}

bool SqliteStorage::saveDoctors(const AllDoctorChanges &changes, QString *error)
{
    return settings_.saveDoctorFields(changes, error);
}

bool SqliteStorage::readWeeklyTimes(int slot, WeeklyTimes *times, QString *error)
{
    return settings_.readWeeklyTimes(slot, times, error);
}

bool SqliteStorage::readAllWeeklyTimes(AllWeeklyTimes *times, QString *error)
{
    return settings_.readAllWeeklyTimes(times, error);
}

bool SqliteStorage::readCalendar(QVector<CalendarEntry> *entries, QString *error)
{
    return settings_.readCalendar(entries, error);
}

bool SqliteStorage::saveCalendar(const QVector<CalendarEntry> &entries, QString *error)
{
    return settings_.saveCalendar(entries, error);
}

bool SqliteStorage::changeCalendar(const CalendarEdit &edit, QVector<CalendarEntry> *saved, QString *error)
{
    return settings_.changeCalendar(edit, saved, error);
}

bool SqliteStorage::saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error)
{
    return settings_.saveWeeklyTimes(slot, times, error);
}

std::unique_ptr<StorageFill> SqliteStorage::fill(QString *)
{
    return std::make_unique<FileFill>(folder_);
}

bool SqliteStorage::pourInto(StorageFill &fill, QString *error)
{
    // The folder is the caller's alone meanwhile: the files read one after another are one moment.
    for (const DoctorSlot &slot : kDoctorSlots) {
        Connection book(QStringLiteral("Pour"), folder_);
        if (!book.pointAt(QString::fromLatin1(slot.appointmentFile), error) ||
            !fill.startBook(slot.slot, error))
            return false;
        QSqlQuery query(book.database());
        query.setForwardOnly(true);
        const bool statuses =
            query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'booking_status'")) &&
            query.next();
        query.finish();
        const bool series =
            query.exec(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = 'booking_series'")) &&
            query.next();
        query.finish();
        const auto failed = [&] {
            *error = QCoreApplication::translate("Storage", "%1 (in \"%2\")")
                         .arg(reasonOf(query.lastError()), book.fileName());
            return false;
        };
        if (!query.exec(wholeBookQuery(QStringLiteral("dados"), QStringLiteral("rowid"),
                                       statuses ? statusTable(QStringLiteral("main")) : QString(),
                                       series ? seriesTable(QStringLiteral("main")) : QString())))
            return failed();
        while (query.next())
            if (!fill.append(wholeRowBooking(query, statuses), error))
                return false;
        if (!statuses)
            continue;
        if (!query.exec(wholeHistoryQuery(Dialect::Files, QStringLiteral("main"))))
            return failed();
        while (query.next())
            if (!fill.appendHistory(query.value(0).toLongLong(), historyEntryOf(query, 1), error))
                return false;
        query.finish();
        QVector<BookingLink> links;
        if (!AppointmentStore(book).readPatientLinks(&links, error) || !fill.appendPatientLinks(links, error))
            return false;
    }
    SettingsRecord record;
    for (const auto &[file, fileName] :
         {std::pair{SettingsFile::Main, QString::fromLatin1(kMainSettingsFile)},
          std::pair{SettingsFile::Extra, QString::fromLatin1(kExtraSettingsFile)}}) {
        Connection settings(QStringLiteral("Pour"), folder_);
        if (!settings.pointAt(fileName, error))
            return false;
        QSqlQuery query(settings.database());
        if (!query.exec(QStringLiteral("SELECT * FROM profs ORDER BY rowid LIMIT 1")) || !query.next()) {
            *error = QCoreApplication::translate("Storage", "%1 (in \"%2\")")
                         .arg(query.lastError().isValid()
                                  ? reasonOf(query.lastError())
                                  : QCoreApplication::translate("Storage", "there is no settings record"),
                              fileName);
            return false;
        }
        for (const RecordField &field : recordFields())
            if (field.file == file)
                field.in(record) = recordValue(query.record().value(field.name));
    }
    QVector<CalendarEntry> calendar;
    QVector<WaitingEntry> waiting;
    SqueezeLimits limits;
    QVector<Patient> patients;
    return fill.writeSettings(record, error) && settings_.readCalendar(&calendar, error) &&
           fill.writeCalendar(calendar, error) && settings_.readWaitingList(&waiting, error) &&
           settings_.readSqueezeLimits(&limits, error) && fill.writeReceptionLists(waiting, limits, error) &&
           settings_.readPatients(&patients, error) && fill.writePatients(patients, error);
}

} // namespace velmora
