#include "transfer/server_copy.h"

#include "core/model/patient.h"
#include "core/reception/waiting_list.h"
#include "core/schedule/clinic_calendar.h"
#include "core/storage/stored_bookings.h"
#include "files/database.h"
#include "files/sqlite_storage.h"
#include "schema/slot_files.h"
#include "server/server_connection.h"
#include "server/server_storage.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QFile>

#include <map>

namespace velmora {

namespace {

// A copy reads and writes whole books: its statements get far more time than a desk's.
constexpr int kCopyTimeLimitMs = 600000;

// What a storage holds, told through a fill: per book the bookings and a fingerprint of every field
// (a text without value told from the empty one), its statuses and history; the settings record's
// fingerprint. Passed on to another fill when one is given.
class Fingerprints : public StorageFill
{
public:
    explicit Fingerprints(StorageFill *passOn = nullptr) : passOn_(passOn) {}

    struct Book
    {
        qint64 bookings = 0;     // every record, the empty book's placeholder too
        qint64 appointments = 0; // what the receptionist calls one
        QByteArray print;
    };
    std::map<int, Book> books;
    QByteArray settings;
    QVector<CalendarEntry> calendar;
    QVector<WaitingEntry> waiting;
    SqueezeLimits limits;
    QVector<Patient> patients;

    bool startBook(int slot, QString *error) override
    {
        endBook();
        slot_ = slot;
        books[slot] = {};
        return !passOn_ || passOn_->startBook(slot, error);
    }
    bool append(const Appointment &booking, QString *error) override
    {
        ++books[slot_].bookings;
        if (booking.date != placeholderDate() || !booking.nome.trimmed().isEmpty())
            ++books[slot_].appointments;
        add(QByteArray::number(booking.id));
        add(booking.date.isValid() ? booking.date.toString(Qt::ISODate) : QString());
        for (const QString *text :
             {&booking.hora, &booking.nome, &booking.convenio, &booking.telefone, &booking.obs})
            add(*text);
        add(QByteArray::number(static_cast<int>(booking.status)));
        return !passOn_ || passOn_->append(booking, error);
    }
    bool appendHistory(qint64 id, const HistoryEntry &entry, QString *error) override
    {
        add(QByteArray::number(id));
        add(entry.at.toString(Qt::ISODateWithMs));
        for (const QString *text : {&entry.computer, &entry.person, &entry.action, &entry.details})
            add(*text);
        return !passOn_ || passOn_->appendHistory(id, entry, error);
    }
    void dropBook() override
    {
        books.erase(slot_);
        slot_ = 0;
        hash_.reset();
        if (passOn_)
            passOn_->dropBook();
    }
    bool writeSettings(const SettingsRecord &record, QString *error) override
    {
        endBook();
        for (const SlotRecord &slot : record) {
            for (const std::optional<QString> *field : {&slot.name, &slot.interval, &slot.link})
                add(field->value_or(QString()));
            for (const std::optional<QString> &time : slot.weeklyTimes)
                add(time.value_or(QString()));
        }
        settings = hash_.result();
        hash_.reset();
        return !passOn_ || passOn_->writeSettings(record, error);
    }
    bool writeCalendar(const QVector<CalendarEntry> &entries, QString *error) override
    {
        calendar = entries;
        return !passOn_ || passOn_->writeCalendar(entries, error);
    }
    bool writeReceptionLists(const QVector<WaitingEntry> &entries, const SqueezeLimits &perDay,
                             QString *error) override
    {
        waiting = entries;
        limits = perDay;
        return !passOn_ || passOn_->writeReceptionLists(entries, perDay, error);
    }
    bool writePatients(const QVector<Patient> &records, QString *error) override
    {
        patients = records;
        return !passOn_ || passOn_->writePatients(records, error);
    }
    bool appendPatientLinks(const QVector<BookingLink> &links, QString *error) override
    {
        // Part of the book's fingerprint: a link lost on the way is a copy that differs.
        for (const BookingLink &link : links)
            add(QByteArray::number(link.booking) + ' ' + QByteArray::number(link.patient));
        return !passOn_ || passOn_->appendPatientLinks(links, error);
    }
    bool finish(QString *error) override
    {
        endBook();
        return !passOn_ || passOn_->finish(error);
    }

private:
    void add(const QString &text) { add(text.isNull() ? QByteArray("\x01") : "\x02" + text.toUtf8()); }
    void add(const QByteArray &bytes)
    {
        const qint64 size = bytes.size();
        hash_.addData(QByteArrayView(reinterpret_cast<const char *>(&size), sizeof size));
        hash_.addData(bytes);
    }
    void endBook()
    {
        if (slot_ != 0)
            books[slot_].print = hash_.result();
        hash_.reset();
        slot_ = 0;
    }

    StorageFill *passOn_;
    QCryptographicHash hash_{QCryptographicHash::Sha256};
    int slot_ = 0;
};

QString bookName(int slot)
{
    return QString::fromLatin1(doctorSlot(slot).appointmentFile);
}

} // namespace

bool copyBooks(BookStorage &from, BookStorage &to, QStringList *lines, QString *error)
{
    // The holds are a desk's work in progress, not the books: the copy says what it leaves.
    QVector<HeldBooking> held;
    QString unread;
    const int heldCount = from.readHeld(&held, &unread) ? static_cast<int>(held.size()) : 0;
    if (heldCount > 0)
        *lines << QCoreApplication::translate("Storage",
                                              "%n appointment(s) held to be moved are copied where they "
                                              "stand, no longer held: hold them again after the copy to move "
                                              "them.",
                                              nullptr, heldCount);
    std::unique_ptr<StorageFill> fill = to.fill(error);
    if (!fill)
        return false;
    Fingerprints poured(fill.get());
    if (!from.pourInto(poured, error) || !poured.finish(error))
        return false;
    // Every row read back from where it went and compared with what was read from its source.
    Fingerprints stored;
    if (!to.pourInto(stored, error))
        return false;
    for (const auto &[slot, book] : poured.books) {
        const Fingerprints::Book &copied = stored.books[slot];
        if (copied.bookings != book.bookings || copied.print != book.print) {
            *error = QCoreApplication::translate("Storage", "\"%1\" differs from its source after the copy")
                         .arg(bookName(slot));
            return false;
        }
        const int copiedCount = static_cast<int>(book.appointments);
        *lines << QCoreApplication::translate("Storage", "%1: %n appointment(s) copied, every row checked",
                                              nullptr, copiedCount)
                      .arg(bookName(slot));
    }
    const auto signedAlike = [](const QVector<CalendarEntry> &a, const QVector<CalendarEntry> &b) {
        return a == b && std::equal(a.cbegin(), a.cend(), b.cbegin(),
                                    [](const CalendarEntry &x, const CalendarEntry &y) {
                                        return x.changedBy == y.changedBy && x.changedAt == y.changedAt;
                                    });
    };
    if (stored.settings != poured.settings || !signedAlike(stored.calendar, poured.calendar) ||
        stored.waiting != poured.waiting || stored.limits != poured.limits ||
        stored.patients != poured.patients) {
        *error = QCoreApplication::translate("Storage",
                                             "the settings record differs from its source after the copy");
        return false;
    }
    for (const char *name : {kMainSettingsFile, kExtraSettingsFile})
        *lines << QCoreApplication::translate("Storage", "%1: the settings record copied and checked")
                      .arg(QLatin1String(name));
    return true;
}

CopyReport copyToServer(const QDir &folder, const QString &url)
{
    CopyReport report;
    const FolderCheck check = checkFolder(folder);
    if (!check.missing.isEmpty() || !check.problems.isEmpty()) {
        report.lines << QCoreApplication::translate("Storage", "The folder's files cannot be copied: %1")
                            .arg((check.problems + check.missing).join(QStringLiteral("; ")));
        return report;
    }
    ServerStorage server(url, kCopyTimeLimitMs);
    QString error;
    bool foreign = false;
    if (!server.prepare(&error, &foreign)) {
        report.lines << (foreign
                             ? QCoreApplication::translate(
                                   "Storage",
                                   "the database is not empty; the files are copied only into an empty one") +
                                   QStringLiteral(" (%1)").arg(error)
                             : error);
        return report;
    }
    SqliteStorage files(folder);
    QStringList lines;
    // In one transaction: a copy that fails leaves the server's books as they were.
    if (!copyBooks(files, server, &lines, &error)) {
        report.lines << QCoreApplication::translate("Storage", "Nothing was copied to %1: %2")
                            .arg(shownServer(url), error);
        return report;
    }
    report.done = true;
    report.lines = lines;
    report.lines
        << QCoreApplication::translate("Storage", "Copied to %1 in one transaction.").arg(shownServer(url));
    return report;
}

CopyReport copyFromServer(const QString &url, const QDir &folder)
{
    CopyReport report;
    QStringList present;
    for (const QString &name : allFileNames())
        if (QFile::exists(folder.filePath(name)))
            present << name;
    if (!present.isEmpty()) {
        report.lines
            << QCoreApplication::translate(
                   "Storage",
                   "The folder already holds %1; the books are written only into a folder without them.")
                   .arg(present.join(QStringLiteral(", ")));
        return report;
    }
    ServerStorage server(url, kCopyTimeLimitMs);
    QString error;
    if (!server.prepare(&error)) {
        report.lines << error;
        return report;
    }
    // Every book read from the same moment of the server, while desks may go on booking, and the files
    // built aside and put in place only when complete: a copy killed half-way leaves no books that a
    // window would open as if they were the clinic's.
    SqliteStorage files(folder);
    QStringList lines;
    if (!copyBooks(server, files, &lines, &error)) {
        for (const QString &name : allFileNames())
            QFile::remove(folder.filePath(name));
        report.lines << QCoreApplication::translate("Storage", "Nothing was written from %1: %2")
                            .arg(shownServer(url), error);
        return report;
    }
    report.done = true;
    report.lines = lines;
    report.lines << QCoreApplication::translate("Storage", "Written from %1.").arg(shownServer(url));
    return report;
}

} // namespace velmora
