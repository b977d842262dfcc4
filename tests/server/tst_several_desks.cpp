// Desks booking into one server at once, one of them killed half-way; the server stopped and started
// again under a desk at work.
#include "core/desk/appointment_book.h"
#include "server/server_connection.h"
#include "server/server_storage.h"
#include "server/server_watch.h"
#include "support/killed_worker.h"
#include "support/open_book.h"
#include "support/plain_server.h"
#include "support/test_server.h"
#include "support/two_desks.h"
#include "transfer/server_copy.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <csignal>
#include <memory>

using namespace velmora;
using namespace velmora::testing;

namespace {

const QDate kDay(2027, 3, 1);

std::unique_ptr<QProcess> startDesk(const QString &url, const QString &name, int count)
{
    auto worker = std::make_unique<QProcess>();
    worker->start(QStringLiteral(STORAGE_WORKER),
                  {"desk", url, QStringLiteral("%1:%2").arg(name).arg(count)});
    return worker;
}

// The names of doctor slot's bookings on the day, each as many times as it is stored.
QStringList namesIn(TestDatabase &database, const QString &book)
{
    QStringList names =
        database.exec(QStringLiteral("SELECT trim(nome) FROM %1.dados WHERE data = '2027-03-01'").arg(book));
    names.sort();
    return names;
}

} // namespace

class SeveralDesks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (testServer().isEmpty())
            QFAIL("VELMORA_TEST_SERVER names no server: run the tests through scripts/test.sh");
    }

    void tenDesksBookAtOnce()
    {
        TestDatabase database;
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        std::vector<std::unique_ptr<QProcess>> desks;
        QStringList expected;
        for (int desk = 0; desk < 10; ++desk) {
            desks.push_back(startDesk(database.url(), QStringLiteral("desk%1").arg(desk), 200));
            for (int i = 0; i < 200; ++i)
                expected << QStringLiteral("desk%1_%2").arg(desk).arg(i);
        }
        for (auto &desk : desks) {
            QVERIFY(desk->waitForFinished(120000));
            QVERIFY2(desk->exitCode() == 0, desk->readAllStandardOutput().right(300).constData());
        }
        expected.sort();
        QCOMPARE(namesIn(database, "bdm1"), expected);
        QCOMPARE(namesIn(database, "bdm3"), expected);
    }

    void aDeskKilledMidBookingLeavesNoHalfBooking()
    {
        TestDatabase database;
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        for (int round = 0; round < 3; ++round) {
            auto desk = startDesk(database.url(), QStringLiteral("round%1").arg(round), 0);
            QStringList reported;
            while (reported.size() < 50 + 20 * round) {
                QVERIFY(desk->waitForReadyRead(10000));
                while (desk->canReadLine())
                    reported << QString::fromUtf8(desk->readLine()).trimmed();
            }
            ::kill(static_cast<pid_t>(desk->processId()), SIGKILL);
            QVERIFY(desk->waitForFinished(10000));
            reported += QString::fromUtf8(desk->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            // Both books read in one statement, so from one moment: the server may still be finishing
            // the killed desk's last booking.
            const QString round_ = QStringLiteral("round%1_%").arg(round);
            const QStringList books = database.exec(
                QStringLiteral(
                    "SELECT coalesce(string_agg(trim(nome), ',' ORDER BY nome), '') FROM bdm1.dados "
                    "WHERE nome LIKE '%1' UNION ALL SELECT coalesce(string_agg(trim(nome), ',' ORDER "
                    "BY nome), '') FROM bdm3.dados WHERE nome LIKE '%1'")
                    .arg(round_));
            const QStringList own = books.value(0).split(',', Qt::SkipEmptyParts);
            // Every reported booking is stored with its copy; at most the one under way when killed is
            // stored without having been reported, and then with its copy too.
            for (const QString &name : std::as_const(reported))
                QVERIFY2(own.count(name) == 1, qPrintable(name));
            QVERIFY(own.size() - reported.size() <= 1);
            QCOMPARE(books.value(1), books.value(0));
        }
    }

    // A desk moving bookings from one doctor's book to another's is killed at random moments: each
    // booking is in exactly one of the two books, and every move it reported is in the second.
    void killedWhileMoving()
    {
        TestDatabase database;
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        QSet<QString> added, moved;
        for (int run = 0; run < 6; ++run) {
            const std::optional<QByteArray> output =
                killedAfter({"move", database.url(), QString::number(run)}, 4 + 3 * run);
            QVERIFY(output);
            for (const QString &line : completeLines(*output))
                (line.startsWith('M') ? moved : added) << line.mid(2);
            // Both books read in one statement, so from one moment.
            const QStringList books = database.exec(QStringLiteral(
                "SELECT coalesce(string_agg(trim(nome), ','), '') FROM bdm1.dados WHERE nome LIKE 'M%' UNION "
                "ALL "
                "SELECT coalesce(string_agg(trim(nome), ','), '') FROM bdm2.dados WHERE nome LIKE 'M%'"));
            const QStringList first = books.value(0).split(',', Qt::SkipEmptyParts);
            const QStringList second = books.value(1).split(',', Qt::SkipEmptyParts);
            for (const QString &name : std::as_const(added))
                QVERIFY2(first.count(name) + second.count(name) == 1, qPrintable(name));
            for (const QString &name : std::as_const(moved))
                QVERIFY2(second.count(name) == 1, qPrintable(name));
        }
    }

    // Killed while booking weekly series with their linked copies: each series is whole or absent in
    // both books, and each one reported is whole.
    void killedWhileBookingSeries()
    {
        TestDatabase database;
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        QSet<QString> reported;
        for (int run = 0; run < 4; ++run) {
            const std::optional<QByteArray> output =
                killedAfter({"series", database.url(), QString::number(run)}, 2 + 2 * run);
            QVERIFY(output);
            for (const QString &line : completeLines(*output))
                reported << line;
            // Both books counted in one statement, so from one moment.
            const QStringList books =
                database.exec(QStringLiteral("SELECT coalesce(string_agg(n, ',' ORDER BY n), '') FROM "
                                             "(SELECT trim(nome) || ' ' || count(*) n "
                                             "FROM bdm1.dados WHERE nome LIKE 'S%' GROUP BY nome) a UNION "
                                             "ALL SELECT coalesce(string_agg(n, "
                                             "',' ORDER BY n), '') FROM (SELECT trim(nome) || ' ' || "
                                             "count(*) n FROM bdm3.dados WHERE nome "
                                             "LIKE 'S%' GROUP BY nome) b"));
            QCOMPARE(books.value(1), books.value(0));
            const QStringList own = books.value(0).split(',', Qt::SkipEmptyParts);
            for (const QString &series : own)
                QVERIFY2(series.endsWith(QLatin1String(" 20")), qPrintable(series));
            for (const QString &name : std::as_const(reported))
                QVERIFY2(own.contains(name + QLatin1String(" 20")), qPrintable(name));
        }
    }

    // Two desks adding closures to the clinic's calendar at the same moment: every one either said it
    // saved is stored, on the folder's files and on the server.
    void twoDesksSavingTheCalendarLoseNothing_data()
    {
        QTest::addColumn<QString>("engine");
        QTest::newRow("files") << QStringLiteral("files");
        QTest::newRow("server") << QStringLiteral("server");
    }
    void twoDesksSavingTheCalendarLoseNothing()
    {
        QFETCH(QString, engine);
        SharedBooks books(engine);
        const auto reader = books.desk(); // the books set up before the desks start
        const QString where =
            engine == QLatin1String("server") ? books.database().url() : books.files().folder().path();
        QProcess first, second;
        first.start(QStringLiteral(STORAGE_WORKER), {"calendar", where, "1"});
        second.start(QStringLiteral(STORAGE_WORKER), {"calendar", where, "2"});
        QSet<QString> said;
        for (QProcess *desk : {&first, &second}) {
            QVERIFY(desk->waitForFinished(60000));
            const QStringList lines =
                QString::fromUtf8(desk->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
            QCOMPARE(desk->exitCode(), 0);
            said += QSet<QString>(lines.cbegin(), lines.cend());
        }
        QVector<CalendarEntry> stored;
        QString error;
        QVERIFY2(reader->readCalendar(&stored, &error), qPrintable(error));
        QSet<QString> reasons;
        for (const CalendarEntry &entry : std::as_const(stored))
            reasons << entry.reason;
        QCOMPARE(said.size(), 40);
        QCOMPARE(reasons, said);
    }

    // Two desks placing bookings on the same twenty free times at the same moment: each time holds one
    // booking, the other desk's refused and left where it was, on the folder's files and on the server.
    void twoDesksPlacingOnOneTimeBookItOnce_data() { twoDesksSavingTheCalendarLoseNothing_data(); }
    void twoDesksPlacingOnOneTimeBookItOnce()
    {
        QFETCH(QString, engine);
        SharedBooks books(engine);
        const auto reader = books.desk();
        QString error;
        QVERIFY(reader->openBook(1, &error) && reader->openBook(2, &error));
        const QString where =
            engine == QLatin1String("server") ? books.database().url() : books.files().folder().path();
        QProcess first, second;
        first.start(QStringLiteral(STORAGE_WORKER), {"place", where, "1"});
        second.start(QStringLiteral(STORAGE_WORKER), {"place", where, "2"});
        QStringList said;
        for (QProcess *desk : {&first, &second}) {
            QVERIFY(desk->waitForFinished(60000));
            QCOMPARE(desk->exitCode(), 0);
            said += QString::fromUtf8(desk->readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        }
        QVector<Appointment> placed, left;
        QVERIFY(reader->readDay(2, kDay, &placed, &error) && reader->readDay(1, kDay, &left, &error));
        QStringList times;
        for (const Appointment &booking : std::as_const(placed))
            times << booking.hora;
        times.removeDuplicates();
        QCOMPARE(placed.size(), 20);
        QCOMPARE(times.size(), 20);
        QCOMPARE(said.filter(QRegularExpression("^M ")).size(), 20);
        QCOMPARE(left.size(), said.filter(QRegularExpression("^R ")).size());
    }

    void aBookLockedOnTheServerIsGivenUpOn()
    {
        TestDatabase database;
        // The books are set up with the usual limit: only what follows is timed with the short one.
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        ServerStorage desk(database.url(), 1000);
        QString error;
        QVERIFY(desk.prepare(&error) && desk.openBook(1, &error));
        {
            // Another program holds the book locked in a transaction it does not end.
            QSqlDatabase holder =
                QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("holder"));
            QVERIFY(pointAtServer(holder, database.url(), {}, &error) && holder.open());
            QVERIFY(holder.transaction());
            QSqlQuery lock(holder);
            QVERIFY(lock.exec(QStringLiteral("LOCK TABLE bdm1.dados IN ACCESS EXCLUSIVE MODE")));

            Appointment booking;
            booking.date = kDay;
            booking.nome = QStringLiteral("Waited");
            QElapsedTimer waited;
            waited.start();
            QCOMPARE(desk.add(1, booking, 0, &error).outcome, AddOutcome::NotStored);
            QVERIFY2(waited.elapsed() < 3 * 1000, "the add waited past its limit");
            QVERIFY2(error.contains(QStringLiteral("127.0.0.1")) &&
                         error.contains(QStringLiteral("another connection holds the book")),
                     qPrintable(error));
            holder.rollback();
            holder.close();
            QCOMPARE(desk.add(1, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        QSqlDatabase::removeDatabase(QStringLiteral("holder"));
        QCOMPARE(namesIn(database, "bdm1"), QStringList{"Waited"});
    }

    // An impostor offering no encryption: no connection the program opens (a desk's, the watch on
    // other desks, the backup's) goes on in the clear, whatever PGSSLMODE says.
    void noConnectionGoesOnInTheClear()
    {
        qputenv("PGSSLMODE", "prefer");
        PlainServer impostor;
        const QString url = QStringLiteral("postgresql://velmora@127.0.0.1:%1/velmora").arg(impostor.port());
        ServerStorage desk(url, 2000);
        QString error;
        QVERIFY(!desk.prepare(&error));
        QVERIFY2(error.contains("encrypted"), qPrintable(error));
        ServerWatch watch(url, QStringLiteral("velmora"), 2000, 60000);
        watch.start();
        QTRY_VERIFY_WITH_TIMEOUT(impostor.connections() >= 2, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!watch.listening(), 5000);
        QString password;
        QVERIFY(toolConnectionString(url, &password, &error).contains("sslmode='verify-full'"));
        qunsetenv("PGSSLMODE");
        QVERIFY(!impostor.wentOnInTheClear());
    }

    // Less than a verified encryption is taken only for a server on this computer, or when the clinic
    // stated it in velmora.ini.
    void unencryptedOnlyHereOrWhenStated_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("stated");
        QTest::addColumn<bool>("taken");
        QTest::newRow("another computer")
            << "postgresql://maria@192.0.2.10/velmora?sslmode=disable" << false << false;
        QTest::newRow("another computer, stated")
            << "postgresql://maria@192.0.2.10/velmora?sslmode=disable" << true << true;
        QTest::newRow("encrypted, unverified") << "host=192.0.2.10 sslmode=require" << false << false;
        QTest::newRow("this computer")
            << "postgresql://maria@127.0.0.1/velmora?sslmode=disable" << false << true;
        QTest::newRow("a socket") << "host=/run/postgresql sslmode=disable" << false << true;
        QTest::newRow("verified, another computer")
            << "postgresql://maria@192.0.2.10/velmora" << false << true;
    }
    void unencryptedOnlyHereOrWhenStated()
    {
        QFETCH(QString, address);
        QFETCH(bool, stated);
        allowUnencryptedServer(stated);
        SecuredAddress secured;
        QString error;
        QTEST(securedAddress(address, &secured, &error), "taken");
        allowUnencryptedServer(false);
        QVERIFY2(!error.contains("sslmode=disable in the address"), qPrintable(error));
    }

    // The watch's own server process stopped while its network still answers: within the time limit
    // the desk knows it hears no other desk (and says so), and hears them again once it is back.
    void aDeskThatStoppedHearingKnowsIt()
    {
        TestDatabase database;
        // The books are set up with the usual limit: only what follows is timed with the short one.
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        ServerStorage desk(database.url(), 1000);
        QString error;
        QVERIFY(desk.prepare(&error));
        int told = 0;
        desk.watchOtherDesks([&told](const StoredElsewhere &) { ++told; });
        QTRY_VERIFY_WITH_TIMEOUT(desk.hearsOtherDesks(), 5000);
        const int watching =
            database
                .exec(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE application_name = "
                                     "'Velmora watch' AND datname = current_database()"))
                .value(0)
                .toInt();
        QVERIFY(watching > 0);
        ::kill(watching, SIGSTOP);
        QTRY_VERIFY_WITH_TIMEOUT(!desk.hearsOtherDesks(), 5000);
        ::kill(watching, SIGCONT);
        const int before = told;
        QTRY_VERIFY_WITH_TIMEOUT(desk.hearsOtherDesks(), 10000);
        QVERIFY(told > before); // everything read again: what was announced meanwhile was not heard
    }

    // A server that takes the connection and never answers, as one behind a network gone quiet.
    void aServerThatNeverAnswersIsGivenUpOn()
    {
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        const QString url =
            QStringLiteral("postgresql://velmora@127.0.0.1:%1/velmora").arg(silent.serverPort());
        ServerStorage desk(url, 2000);
        QString error;
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!desk.prepare(&error));
        QVERIFY2(waited.elapsed() < 3 * 2000, "connecting waited past its limit");
        QVERIFY2(error.contains(QStringLiteral("127.0.0.1")), qPrintable(error));
        // The doctor list, read again and again while the window is up, does not wait for it again.
        AllDoctorFields fields;
        QCoreApplication::processEvents(); // the next tick of the window's timer
        waited.restart();
        QVERIFY(!desk.readDoctors(&fields, &error, LockWait::GiveUp));
        QVERIFY2(waited.elapsed() < 1000, "the doctor list waited for the server again");

        // As in the window, with the watch on other desks trying the server in the background: the
        // doctor list read every 100 ms, and a clock ticking every 20 ms, whose longest gap is the
        // longest time the event loop was held.
        ServerStorage started(url, 1000);
        started.watchOtherDesks([](const StoredElsewhere &) {});
        QTimer doctorList;
        connect(&doctorList, &QTimer::timeout,
                [&] { QVERIFY(!started.readDoctors(&fields, &error, LockWait::GiveUp)); });
        doctorList.start(100);
        qint64 longest = 0;
        QTimer clock;
        waited.restart();
        connect(&clock, &QTimer::timeout, [&] { longest = std::max(longest, waited.restart()); });
        clock.start(20);
        QEventLoop running;
        QTimer::singleShot(3500, &running, &QEventLoop::quit);
        running.exec();
        qInfo("longest time the event loop was held, server silent: %lld ms", longest);
        QVERIFY2(longest < 1000, qPrintable(QString::number(longest))); // was about 2 s of every 2.5 s
    }

    // A server's machine hung with its network still answering: the backend stopped, the statement
    // unanswered. The desk gives up on its own side within its limit, and the next action connects
    // afresh.
    void aStoppedBackendHoldsNoDeskPastTheLimit()
    {
        TestDatabase database;
        // The books are set up with the usual limit: only what follows is timed with the short one.
        QVERIFY(ServerStorage(database.url()).prepare(nullptr));
        ServerStorage desk(database.url(), 1000);
        QString error;
        QVERIFY(desk.prepare(&error) && desk.openBook(1, &error));
        const int backend =
            database
                .exec(QStringLiteral("SELECT pid FROM pg_stat_activity WHERE application_name "
                                     "LIKE 'Velmora@%' AND datname = current_database()"))
                .value(0)
                .toInt();
        QVERIFY(backend > 0);
        QVector<Appointment> bookings;
        QElapsedTimer held;
        ::kill(backend, SIGSTOP);
        held.start();
        const bool read = desk.readDay(1, kDay, &bookings, &error);
        const qint64 longest = held.elapsed();
        ::kill(backend, SIGCONT);
        qInfo("longest time the event loop was held, backend stopped: %lld ms", longest);
        QVERIFY(!read);
        QVERIFY2(longest < 1500, qPrintable(QString::number(longest)));
        QVERIFY2(error.contains(QStringLiteral("did not answer")), qPrintable(error));
        QCoreApplication::processEvents(); // the user's next click
        QVERIFY2(desk.readDay(1, kDay, &bookings, &error), qPrintable(error));
    }

    // The copies: a database holding a table the copying role may not see is not empty; a copy from a
    // server killed while it writes leaves none of the twelve books in the folder.
    void copiesSeeEverythingAndLeaveNothingHalfMade()
    {
        TestFiles files;
        files.prepareCopies();
        files.exec("bdm1.mdb",
                   "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
                   "INSERT INTO dados (data, hora, nome) SELECT '2027-03-01', '08:00', 'P' || i FROM n");
        {
            TestDatabase database;
            const QString role = QStringLiteral("copier_%1").arg(QCoreApplication::applicationPid());
            QUrl asRole(database.url());
            const QString name = asRole.path().mid(1);
            database.exec(
                QStringLiteral("CREATE TABLE patients (id int); CREATE ROLE %1 LOGIN; GRANT CREATE ON "
                               "DATABASE %2 TO %1; GRANT CREATE ON SCHEMA public TO %1")
                    .arg(role, name));
            asRole.setUserName(role);
            const CopyReport refused = copyToServer(files.folder(), asRole.toString());
            database.exec(QStringLiteral(
                              "REVOKE CREATE ON DATABASE %2 FROM %1; REVOKE CREATE ON SCHEMA public FROM %1; "
                              "DROP ROLE %1")
                              .arg(role, name));
            QVERIFY(!refused.done);
            QVERIFY2(refused.lines.join(' ').contains("not empty"), qPrintable(refused.lines.join(' ')));
        }
        TestDatabase database;
        QVERIFY(copyToServer(files.folder(), database.url()).done);
        QTemporaryDir into;
        QProcess copy;
        copy.start(QStringLiteral(STORAGE_WORKER), {"copy-from", into.path(), database.url()});
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(into.filePath("bdm1.mdb.import")), 20000);
        ::kill(static_cast<pid_t>(copy.processId()), SIGKILL);
        QVERIFY(copy.waitForFinished(10000));
        for (const QString &name : allFileNames())
            QVERIFY2(!QFileInfo::exists(into.filePath(name)), qPrintable(name));
    }

    void theServerStoppedAndStartedUnderADesk()
    {
        TwoDesks desks(QStringLiteral("server"), {"Ana"}, 2000);
        AppointmentBook &front = desks.front;
        AppointmentBook &phone = desks.phone;
        const QString control = qEnvironmentVariable("VELMORA_TEST_SERVER_CONTROL");
        QCOMPARE(QProcess::execute(control, {"stop"}), 0);

        QElapsedTimer waited;
        waited.start();
        const Outcome away = addAt(front, "08:15", "While Away");
        QVERIFY2(waited.elapsed() < 3 * 2000, "the add waited past its limit");
        QVERIFY(!away.done);
        QVERIFY2(away.messages.value(0).contains("127.0.0.1"), qPrintable(away.messages.value(0)));
        QVERIFY(away.messages.value(0).contains("could not be stored"));

        QCOMPARE(QProcess::execute(control, {"start"}), 0);
        QCoreApplication::processEvents(); // the user's next click comes with the event loop turned
        // The next action works, without starting the desk again; the other desk, idle meanwhile, finds
        // the server again by itself (tried every two seconds) and lists what it missed.
        Book::expectNothingSaid(addAt(front, "08:30", "After"));
        QTRY_VERIFY_WITH_TIMEOUT(firstRowStartingWith(phone.dayList().rows(), "08:30  After") >= 0, 5000);
        Book::expectNothingSaid(addAt(front, "08:45", "Heard"));
        QTRY_VERIFY_WITH_TIMEOUT(firstRowStartingWith(phone.dayList().rows(), "08:45  Heard") >= 0, 1000);
        QCOMPARE(namesIn(desks.books.database(), "bdm1"), (QStringList{"After", "Heard"}));
    }
};

QTEST_GUILESS_MAIN(SeveralDesks)
#include "tst_several_desks.moc"
