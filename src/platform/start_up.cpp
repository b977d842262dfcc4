#include "platform/start_up.h"
#include "core/patients/patient_bookings.h"
#include "core/patients/patient_matching.h"
#include "core/patients/patient_records.h"
#include "core/patients/patient_rules.h"

#include "core/reception/clinic_day.h"
#include "core/schedule/clinic_calendar.h"
#include "core/storage/stored_bookings.h"

#include "core/safekeeping/activity_log.h"

#include "core/reports/month_report.h"
#include "core/safekeeping/desk_files.h"
#include "core/search/patient_query.h"
#include "core/storage/storage_vocabulary.h"
#include "core/text/text_rules.h"
#include "server/server_schema.h"

#include "files/backups.h"
#include "files/database.h"
#include "files/sqlite_storage.h"
#include "server/server_backup.h"
#include "server/server_storage.h"
#include "transfer/legacy_import.h"
#include "transfer/server_copy.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

#include <algorithm>

namespace velmora {

namespace {

int printed(const CopyReport &report, QTextStream &out)
{
    for (const QString &line : report.lines)
        qCInfo(logTransfer).noquote() << line;
    for (const QString &line : report.lines)
        out << line << '\n';
    out.flush();
    return report.done ? 0 : 1;
}

// How long a statement of an import onto a server may take: it sends hundreds of rows at a time.
constexpr int kImportTimeLimitMs = 60000;

// The older program's files imported into the books the folder uses: its own files, or the server
// that keeps the clinic's books, straight onto it in one transaction.
ImportReport importIntoBooks(const QDir &folder, const QString &server, const QString &readerPath,
                             const ImportProgress &progress = {})
{
    if (server.isEmpty())
        return importLegacyFiles(folder, readerPath, progress);
    ServerStorage books(server, kImportTimeLimitMs);
    ImportReport report = importLegacyFiles(folder, books, readerPath, progress);
    if (!report.imported.isEmpty())
        report.notes << QCoreApplication::translate("StartUp", "The books went straight onto the server %1.")
                            .arg(shownServer(server));
    return report;
}

} // namespace

void LoggedMessages::inform(QWidget *parent, const QString &text)
{
    qCInfo(logStart).noquote() << "told:" << text;
    shown_.inform(parent, text);
}

bool LoggedMessages::ask(QWidget *parent, const QString &text)
{
    const bool yes = shown_.ask(parent, text);
    qCInfo(logStart).noquote() << "asked:" << text << "answer:" << (yes ? "yes" : "no");
    return yes;
}

bool LoggedMessages::ask(QWidget *parent, const QString &text, const QString &yes, const QString &no,
                         Default answer)
{
    const bool said = shown_.ask(parent, text, yes, no, answer);
    qCInfo(logStart).noquote() << "asked:" << text << "answer:" << (said ? yes : no);
    return said;
}

QString VelmoraApp::defaultReaderPath()
{
    // Beside the program in a build folder; in the private folder of the installed program otherwise.
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/velmora-jet-reader");
    if (QFileInfo::exists(beside))
        return beside;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../libexec/velmora/velmora-jet-reader");
}

VelmoraApp::VelmoraApp(const Platform &platform, const QDir &folder, const QString &readerPath,
                       const QString &server)
    : platform_(platform), startMessages_(platform.messages), folder_(folder), readerPath_(readerPath),
      server_(server.isEmpty() ? serverInSettings(folder) : server), lock_(folder)
{
}

bool VelmoraApp::start()
{
    qCInfo(logStart).noquote() << "Velmora" << QCoreApplication::applicationVersion() << "starts on"
                               << (server_.isEmpty() ? QDir::toNativeSeparators(folder_.absolutePath())
                                                     : shownServer(server_));
    FolderLock::Claim claim = lock_.claim();
    if (claim == FolderLock::Claim::HeldElsewhere &&
        startMessages_.ask(
            nullptr, lock_.takeOverQuestion(), QCoreApplication::translate("StartUp", "Take it over"),
            QCoreApplication::translate("StartUp", "Do not open"), MessageService::Default::No))
        claim = lock_.takeOver();
    if (claim != FolderLock::Claim::Claimed) {
        startMessages_.inform(nullptr, lock_.refusal(claim));
        return false;
    }
    QStringList problems;
    if (!server_.isEmpty()) {
        if (!connectServer())
            return false;
    } else {
        problems = openFolder();
    }
    // The windows' reads run beside, over a connection of their own.
    reads_ = std::make_unique<BackgroundReads>(
        [folder = folder_, server = server_]() -> std::unique_ptr<BookStorage> {
            if (!server.isEmpty())
                return std::make_unique<ServerStorage>(server);
            return std::make_unique<SqliteStorage>(folder, kLockWaitMs, FileAccess::ReadBeside);
        });
    book_ = std::make_unique<AppointmentBook>(*storage_, platform_.clock.today());
    windows_ = std::make_unique<BookWindows>(platform_, *book_, *storage_, *reads_, folder_, problems);
    sayWhenUnencrypted();
    return true;
}

void VelmoraApp::sayWhenUnencrypted()
{
    SecuredAddress address;
    QString refused;
    if (server_.isEmpty() || !securedAddress(server_, &address, &refused) || address.verified)
        return;
    // Allowed (a server on this computer, or the clinic's word in velmora.ini), but never unsaid.
    qCWarning(logStart).noquote() << "the connection to" << shownServer(server_)
                                  << "is not encrypted and verified, as the address asks";
    QWidget &main = windows_->main();
    main.setWindowTitle(main.windowTitle() + QStringLiteral(" \u2013 ") +
                        QCoreApplication::translate("StartUp", "connection to the server not encrypted"));
}

QStringList VelmoraApp::openFolder()
{
    const QString restoreFinished = finishInterruptedRestore(folder_);
    if (!restoreFinished.isEmpty())
        startMessages_.inform(nullptr, restoreFinished);
    offerImport();
    const QStringList problems = prepareFolder();
    // Beside the window: first the search indexes of books another tool wrote (a search meanwhile reads
    // those books whole, which finds the same), then the day's copy of the books, once a day, read a few
    // pages at a time, so that the window's writes go on meanwhile.
    backup_.reset(QThread::create([folder = folder_, today = platform_.clock.today(), this] {
        SqliteStorage(folder).bringSearchUpToDate(
            [](qint64, qint64) { return !QThread::currentThread()->isInterruptionRequested(); });
        QString problem;
        if (backUpDay(folder, today, &problem)) {
            qCInfo(logBackup) << "the day's copy of the books is in backups";
            return;
        }
        QMetaObject::invokeMethod(
            &backupSaid_,
            [this, problem] {
                startMessages_.inform(&windows_->main(),
                                      QCoreApplication::translate("StartUp",
                                                                  "Today's backup of the books could not be "
                                                                  "made: %1.\n\nThe program works on; the "
                                                                  "next start tries again.")
                                          .arg(problem));
            },
            Qt::QueuedConnection);
    }));
    backup_->start();
    auto files = std::make_unique<SqliteStorage>(folder_);
    storage_ = std::move(files);
    return problems;
}

bool VelmoraApp::connectServer()
{
    // A clinic moving from the older program straight to a server: its files are imported, then copied.
    offerImport();
    // The books are the server's: no file of the folder is checked, created or backed up.
    auto storage = std::make_unique<ServerStorage>(server_);
    QString error;
    bool foreign = false;
    if (!storage->prepare(&error, &foreign)) {
        if (foreign) {
            startMessages_.inform(nullptr, QCoreApplication::translate(
                                               "StartUp", "Velmora does not use this server's database: "
                                                          "%1.\n\nNothing was changed on the server.")
                                               .arg(error));
            return false;
        }
        startMessages_.inform(
            nullptr, QCoreApplication::translate("StartUp",
                                                 "The books cannot be reached now: %1.\n\nThe window opens; "
                                                 "each action tries the server again.")
                         .arg(error));
    }
    storage_ = std::move(storage);
    // The day's copy of the server's books, by the first desk of the day, beside the window.
    serverBackup_ = std::make_unique<ServerBackup>(server_, folder_, platform_.clock.today());
    QObject::connect(serverBackup_.get(), &ServerBackup::finished, serverBackup_.get(),
                     [this](bool, const QString &problem) {
                         if (!problem.isEmpty())
                             startMessages_.inform(windows_ ? &windows_->main() : nullptr,
                                                   QCoreApplication::translate(
                                                       "StartUp",
                                                       "Today's backup of the server's books could not be "
                                                       "made: %1.\n\nThe program works on; the next start "
                                                       "tries again.")
                                                       .arg(problem));
                     });
    QTimer::singleShot(0, serverBackup_.get(), [this] { serverBackup_->start(); });
    return true;
}

void VelmoraApp::offerImport()
{
    if (legacyFiles(folder_).isEmpty())
        return;
    const LegacySurvey survey = surveyLegacyFiles(folder_, readerPath_);
    const QLocale locale;
    const int files = static_cast<int>(survey.files.size());
    const int appointments = static_cast<int>(survey.appointments);
    const QString question =
        QCoreApplication::translate(
            "StartUp",
            "%n file(s) of the older program: %1 and the settings of %2. Import them? "
            "The originals are kept unchanged in the folder legacy.",
            "", files)
            .arg(QCoreApplication::translate("StartUp", "%n appointment(s)", "", appointments),
                 QCoreApplication::translate("StartUp", "%n doctor(s)", "", survey.doctors));
    // Not now: everything stays as it is, and the files are said to be unusable, as any foreign file.
    if (!startMessages_.ask(nullptr, question, QCoreApplication::translate("StartUp", "Import"),
                            QCoreApplication::translate("StartUp", "Not now")))
        return;
    const ImportReport report = importIntoBooks(
        folder_, server_, readerPath_, [this, &locale](const QString &fileName, qint64 done, qint64 all) {
            const int percent = all > 0 ? static_cast<int>(std::min<qint64>(100, done * 100 / all)) : 0;
            return platform_.progress.show(
                nullptr,
                QCoreApplication::translate("StartUp", "Importing %1: %2 of %3 rows")
                    .arg(fileName, locale.toString(done), locale.toString(all)),
                percent);
        });
    platform_.progress.close();
    startMessages_.inform(nullptr, report.text());
}

int importFromCommandLine(const QDir &folder, const QString &readerPath, QTextStream &out,
                          const QString &server)
{
    // Never while a window or another import works on the folder.
    FolderLock lock(folder);
    const FolderLock::Claim claim = lock.claim();
    if (claim != FolderLock::Claim::Claimed) {
        out << lock.refusal(claim) << '\n';
        return 1;
    }
    if (legacyFiles(folder).isEmpty()) {
        out << QCoreApplication::translate("StartUp", "No files of the older program in %1.")
                   .arg(QDir::toNativeSeparators(folder.absolutePath()))
            << '\n';
        return 2;
    }
    const ImportReport report =
        importIntoBooks(folder, server.isEmpty() ? serverInSettings(folder) : server, readerPath);
    qCInfo(logTransfer).noquote() << report.text();
    out << report.text() << '\n';
    return report.notImported.isEmpty() && !report.cancelled ? 0 : 1;
}

int restoreFromCommandLine(const QDir &folder, const QString &day, QTextStream &out, const QString &server)
{
    const QString url = server.isEmpty() ? serverInSettings(folder) : server;
    if (!url.isEmpty()) {
        // The day's dump of this desk's folder, or one named by its path (made at another desk).
        const QString file =
            day.endsWith(QLatin1String(".dump"))
                ? day
                : folder.filePath(QStringLiteral("backups/") +
                                  ServerBackup::fileName(QDate::fromString(day, Qt::ISODate)));
        QString report;
        QString error;
        if (!restoreServerBackup(url, file, &report, &error)) {
            out << QCoreApplication::translate("StartUp", "The backup was not put back: %1.").arg(error)
                << '\n';
            return QFile::exists(file) ? 1 : 2;
        }
        out << report << '\n';
        return 0;
    }
    FolderLock lock(folder);
    const FolderLock::Claim claim = lock.claim();
    if (claim != FolderLock::Claim::Claimed) {
        out << lock.refusal(claim) << '\n';
        return claim == FolderLock::Claim::NotAFolder ? 2 : 1;
    }
    const QString restoreFinished = finishInterruptedRestore(folder);
    if (!restoreFinished.isEmpty())
        out << restoreFinished << '\n';
    QString report;
    QString error;
    if (!restoreBackup(folder, QDate::fromString(day, Qt::ISODate), &report, &error)) {
        out << QCoreApplication::translate("StartUp", "The backup was not put back: %1.").arg(error) << '\n';
        return backupDays(folder).contains(QDate::fromString(day, Qt::ISODate)) ? 1 : 2;
    }
    out << report << '\n';
    return 0;
}

QStringList VelmoraApp::prepareFolder()
{
    const FolderCheck check = checkFolder(folder_);
    QStringList problems = check.problems;
    if (check.missing.isEmpty())
        return problems;
    // Made without asking only on a first start; a file missing among the others is more likely
    // moved or lost than never made, and an empty one would hide that.
    const bool create =
        check.firstStart ||
        startMessages_.ask(nullptr,
                           QCoreApplication::translate("StartUp",
                                                       "These files are missing from the folder %1:\n\n%2\n\n"
                                                       "Create them empty? The doctors or appointments they "
                                                       "held will not be in them. Answer No to look for them "
                                                       "first; the program works without them meanwhile.")
                               .arg(QDir::toNativeSeparators(folder_.absolutePath()),
                                    check.missing.join(QStringLiteral(", "))),
                           QCoreApplication::translate("StartUp", "Yes, create them empty"),
                           QCoreApplication::translate("StartUp", "No"), MessageService::Default::No);
    if (create)
        return problems + createFiles(folder_, check.missing);
    for (const QString &fileName : check.missing)
        problems
            << QCoreApplication::translate("StartUp", "\"%1\" is missing; it was not created.").arg(fileName);
    return problems;
}

// The books a terminal task reads: the server named, or the folder's files when they are all there
// (nothing is made in a folder without them); none, with why on err.
std::unique_ptr<BookStorage> booksToRead(const QDir &folder, const QString &server, QTextStream &err)
{
    const QString url = server.isEmpty() ? serverInSettings(folder) : server;
    QString error;
    if (!url.isEmpty()) {
        auto onServer = std::make_unique<ServerStorage>(url);
        onServer->onlyRead();
        if (onServer->prepare(&error))
            return onServer;
        err << error << '\n';
        return nullptr;
    }
    const FolderCheck check = checkFolder(folder, FileAccess::ReadOnly);
    if (check.missing.isEmpty() && check.problems.isEmpty())
        return std::make_unique<SqliteStorage>(folder, kLockWaitMs, FileAccess::ReadOnly);
    err << QCoreApplication::translate("StartUp", "The books of %1 cannot be read: %2")
               .arg(QDir::toNativeSeparators(folder.absolutePath()),
                    (check.problems + check.missing).join(QStringLiteral("; ")))
        << '\n';
    // A folder with none of them is most likely not the data folder at all.
    if (check.missing.size() == static_cast<qsizetype>(allFileNames().size()))
        err << QCoreApplication::translate("StartUp",
                                           "None of the books is in %1: run it in the data folder, or name "
                                           "the folder with --data-folder DIR.")
                   .arg(QDir::toNativeSeparators(folder.absolutePath()))
            << '\n';
    return nullptr;
}

namespace {

// Why the report may not be written at path, or nothing: never over one of the program's own files,
// a folder, a link or (unless forced) any file that is there.
QString refusedReportFile(const QDir &folder, const QString &path, bool force)
{
    const QFileInfo target(path);
    const QString name = target.fileName();
    const bool programs = QFileInfo(target.absolutePath()).canonicalFilePath() ==
                              QFileInfo(folder.absolutePath()).canonicalFilePath() &&
                          (allFileNames().contains(name) || name.startsWith(QLatin1String("velmora.")) ||
                           name.startsWith(QLatin1String("bdm")));
    if (target.isSymLink())
        return QCoreApplication::translate("StartUp",
                                           "%1 is a link; the report is written only to a file of its "
                                           "own name")
            .arg(path);
    if (target.exists() && !target.isFile())
        return QCoreApplication::translate("StartUp", "%1 is not a file").arg(path);
    if (programs && target.exists())
        return QCoreApplication::translate("StartUp", "%1 is one of the program's own files").arg(path);
    if (target.exists() && !force)
        return QCoreApplication::translate("StartUp", "%1 is there already; give another name, or --force to "
                                                      "write over it")
            .arg(path);
    return {};
}

} // namespace

int reportFromCommandLine(const QDir &folder, const QString &server, QDate from, QDate to,
                          const QString &csvFile, QTextStream &out, QTextStream &err, bool force)
{
    if (!csvFile.isEmpty()) {
        const QString refused = refusedReportFile(folder, csvFile, force);
        if (!refused.isEmpty()) {
            err << QCoreApplication::translate("StartUp", "The report was not written: %1.").arg(refused)
                << '\n';
            return 2;
        }
    }
    const std::unique_ptr<BookStorage> storage = booksToRead(folder, server, err);
    if (!storage)
        return 2;
    MonthReport report;
    QString error;
    if (!readMonthReport(*storage, from, to, 0, &report, &error)) {
        err << error << '\n';
        return 2;
    }
    const QByteArray csv = monthReportCsv(report, QLocale());
    if (csvFile.isEmpty()) {
        out << QString::fromUtf8(csv.mid(3)); // a terminal needs no byte order mark
        return 0;
    }
    if (!saveWholeFile(csvFile, csv, &error)) {
        err << QCoreApplication::translate("StartUp", "%1 could not be written: %2").arg(csvFile, error)
            << '\n';
        return 2;
    }
    out << QCoreApplication::translate("StartUp", "The report was written to %1.").arg(csvFile) << '\n';
    return 0;
}

int patientFromCommandLine(const QDir &folder, const QString &server, const QString &text, QDate today,
                           QTextStream &out, QTextStream &err)
{
    if (patientTyped(text).kind == PatientTyped::Kind::TooShort) {
        err << QCoreApplication::translate("StartUp", "Type at least two letters of a name, four digits of a "
                                                      "phone or a CPF, or a birth date written DD/MM/YYYY.")
            << '\n';
        return 2;
    }
    const std::unique_ptr<BookStorage> storage = booksToRead(folder, server, err);
    if (!storage)
        return 2;
    PatientRecords records(*storage, today);
    QString error;
    AllDoctorFields doctors;
    if (!records.read(&error) || !storage->readDoctors(&doctors, &error)) {
        err << error << '\n';
        return 2;
    }
    const auto line = [&out](const QStringList &fields) {
        QStringList shown;
        for (const QString &field : fields) // one tab a field, as --find prints
            shown << trimBlanks(blankControlCharacters(field));
        out << shown.join(QLatin1Char('\t')) << '\n';
    };
    const QVector<Patient> found = records.suggestions(text, static_cast<int>(records.patients().size()));
    for (const Patient &patient : found) {
        QVector<FoundBooking> bookings;
        if (!storage->readPatientBookings(patient.id, &bookings, &error)) {
            err << error << '\n';
            return 2;
        }
        sortFound(bookings, today);
        const HealthCard card = patient.cards.value(patient.cards.size() - 1);
        line({QStringLiteral("patient"), QString::number(patient.id), patient.fullName, patient.socialName,
              patient.cpf.isEmpty() ? QString() : shownCpf(patient.cpf),
              patient.birthDate.isValid() ? storedDate(patient.birthDate) : QString(),
              bookingDetailsOf(patient).phones,
              QStringList{card.plan, card.number}.join(QLatin1Char(' ')).trimmed(),
              card.validUntil.isValid() ? storedDate(card.validUntil) : QString(),
              QString::number(std::count_if(bookings.cbegin(), bookings.cend(), [](const FoundBooking &each) {
                  return each.booking.status == BookingStatus::Missed;
              }))});
        for (const FoundBooking &each : std::as_const(bookings))
            line({QStringLiteral("appointment"), storedDate(each.booking.date), each.booking.hora,
                  QString::number(each.slot),
                  doctors[static_cast<size_t>(each.slot - 1)].name.value_or(QString()), each.booking.nome,
                  each.booking.convenio, each.booking.telefone, statusKey(each.booking.status)});
    }
    return found.isEmpty() ? 1 : 0;
}

int findFromCommandLine(const QDir &folder, const QString &server, const QString &text, QDate today,
                        QTextStream &out, QTextStream &err)
{
    const PatientQuery query = patientQuery(text);
    if (query.kind == PatientQuery::Kind::TooShort) {
        err << QCoreApplication::translate(
                   "StartUp", "Type at least three letters of a name, or four digits of a phone.")
            << '\n';
        return 2;
    }
    const std::unique_ptr<BookStorage> storage = booksToRead(folder, server, err);
    if (!storage)
        return 2;
    QString error;
    QVector<FoundBooking> found;
    AllDoctorFields doctors;
    if (!storage->findBookings(query, &found, &error) || !storage->readDoctors(&doctors, &error)) {
        err << error << '\n';
        return 2;
    }
    sortFound(found, today);
    for (const FoundBooking &each : std::as_const(found)) {
        const Appointment &booking = each.booking;
        const QStringList fields = {storedDate(booking.date),
                                    booking.hora,
                                    QString::number(each.slot),
                                    doctors[static_cast<size_t>(each.slot - 1)].name.value_or(QString()),
                                    booking.nome,
                                    booking.convenio,
                                    booking.telefone};
        QStringList shown;
        for (const QString &field : fields) // one line a booking, one tab a field, trimmed as --day prints
            shown << trimBlanks(blankControlCharacters(field));
        out << shown.join(QLatin1Char('\t')) << '\n';
    }
    return found.isEmpty() ? 1 : 0;
}

namespace {

// Said on err when some of the clinic's calendar cannot be read: what is printed takes its days as open.
bool calendarReadWhole(BookStorage &storage, QTextStream &err)
{
    QVector<CalendarEntry> entries;
    QString error;
    if (!storage.readCalendar(&entries, &error)) {
        err << error << '\n';
        return false;
    }
    for (const CalendarEntry &entry : std::as_const(entries))
        if (!entry.unreadable.isEmpty())
            err << QCoreApplication::translate(
                       "StartUp", "An entry of the clinic's calendar cannot be read, and its days "
                                  "are taken as open: %1")
                       .arg(entry.unreadable)
                << '\n';
    return std::none_of(entries.cbegin(), entries.cend(),
                        [](const CalendarEntry &entry) { return !entry.unreadable.isEmpty(); });
}

} // namespace

int dayFromCommandLine(const QDir &folder, const QString &server, QDate date, int doctor, QTextStream &out,
                       QTextStream &err)
{
    const std::unique_ptr<BookStorage> storage = booksToRead(folder, server, err);
    if (!storage)
        return 2;
    const bool calendarWhole = calendarReadWhole(*storage, err);
    const ClinicDay day = readClinicDay(*storage, date, doctor);
    bool everyBookRead = true;
    for (const BoardColumn &column : day.columns)
        if (!column.read) {
            err << column.error << '\n';
            everyBookRead = false;
        }
    for (const QString &line : clinicDayLines(day))
        out << line << '\n';
    return calendarWhole && everyBookRead ? 0 : 2;
}

int calendarFromCommandLine(const QDir &folder, const QString &server, int year, QTextStream &out,
                            QTextStream &err)
{
    const std::unique_ptr<BookStorage> storage = booksToRead(folder, server, err);
    if (!storage)
        return 2;
    QString error;
    const std::shared_ptr<const ClinicCalendar> calendar = readClinicCalendar(*storage, &error);
    if (!calendar) {
        err << error << '\n';
        return 2;
    }
    const bool calendarWhole = calendarReadWhole(*storage, err);
    for (const QString &line : calendarLines(*calendar, year))
        out << line << '\n';
    return calendarWhole ? 0 : 2;
}

int serverSetupFromCommandLine(const QString &url, QTextStream &out, QTextStream &err)
{
    QString error;
    if (url.isEmpty()) {
        err << QCoreApplication::translate("StartUp",
                                           "Name the server: velmora --server-setup "
                                           "postgresql://OWNER@HOST/DATABASE, or put it in velmora.ini.")
            << '\n';
        return 2;
    }
    // The rights it needs checked first: a setup that cannot finish changes nothing.
    {
        ServerConnection owner(QStringLiteral("Setup"), url);
        if (!owner.ensureOpen(&error)) {
            err << error << '\n';
            return 1;
        }
        if (!mayMakeBooksAndDesks(owner.database(), &error)) {
            err << owner.named(explainedRefusal(error)) << '\n';
            return 1;
        }
    }
    ServerStorage books(url);
    if (!books.prepare(&error)) {
        err << error << '\n';
        return 1;
    }
    ServerConnection owner(QStringLiteral("Setup"), url);
    QStringList lines;
    if (!owner.ensureOpen(&error)) {
        err << error << '\n';
        return 1;
    }
    if (!setUpDeskRole(owner.database(), &lines, &error)) {
        err << owner.named(explainedRefusal(error)) << '\n';
        return 1;
    }
    for (const QString &line : std::as_const(lines))
        out << line << '\n';
    return 0;
}

int copyToServerFromCommandLine(const QDir &folder, const QString &url, QTextStream &out)
{
    return printed(copyToServer(folder, url), out);
}

int copyFromServerFromCommandLine(const QString &url, const QDir &folder, QTextStream &out)
{
    return printed(copyFromServer(url, folder), out);
}

} // namespace velmora
