// The appointment book as the receptionist works it, without a window, on real files.
#include "core/desk/session_views.h"
#include "core/reception/booking_history.h"
#include "core/schedule/weekly_series.h"
#include "core/text/date_steps.h"
#include "core/text/written_dates.h"
#include "support/counting_storage.h"
#include "support/memory_storage.h"
#include "support/open_book.h"

#include <QSignalSpy>

using namespace velmora;
using velmora::testing::Book;
using velmora::testing::firstRowStartingWith;
using velmora::testing::WriteLock;

namespace {

const QDate kMonday(2027, 3, 1);

QString said(const Outcome &outcome)
{
    return velmora::testing::said(outcome);
}

} // namespace

class AppointmentBookTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A squeeze-in (between the slots, or at a taken one) past the doctor's daily limit is asked about;
    // within it, or with no limit set, it is not; it is marked in the list once booked.
    void aSqueezeInPastTheLimitIsAsked_data()
    {
        QTest::addColumn<int>("limit"); // -1: none set
        QTest::addColumn<QString>("hora");
        QTest::addColumn<bool>("asked");
        QTest::newRow("no limit set") << -1 << "08:15" << false;
        QTest::newRow("none allowed, between") << 0 << "08:15" << true;
        QTest::newRow("none allowed, at a taken slot") << 0 << "08:00" << true;
        QTest::newRow("none allowed, a free slot") << 0 << "08:30" << false;
        QTest::newRow("one allowed, the first") << 1 << "08:15" << false;
    }
    void aSqueezeInPastTheLimitIsAsked()
    {
        QFETCH(int, limit);
        QFETCH(QString, hora);
        QFETCH(bool, asked);
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        if (limit >= 0)
            books.squeezeLimits[0] = limit;
        testing::MemoryStorage storage(books);
        AppointmentBook book(storage, QDate(2027, 3, 1));
        book.readDoctorNames();
        Book::expectNothingSaid(book.chooseDoctor(1));
        book.entry().type(TimeField, "08:00");
        book.entry().type(NameField, "First");
        Book::expectNothingSaid(book.add());
        book.entry().type(TimeField, hora);
        book.entry().type(NameField, "Second");
        QCOMPARE(!book.checkAdd().squeezeInQuestion.isEmpty(), asked);
        Book::expectNothingSaid(book.add());
        const int row = firstRowStartingWith(book.dayList().rows(), hora + "  Second");
        QCOMPARE(book.dayList().squeezedInAt(row), hora != "08:30");
    }

    // "Tuesdays and Thursdays at 8:00, ten sessions": the holiday skipped and the taken Thursday at
    // the day's next free time, booked in one action; the fifth removed alone; the rest of the series
    // moved to 10:00 in one answer, the sessions before it left where they are.
    void aWeeklySeriesIsBookedAndChangedAsOne()
    {
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        for (const int day : {1, 3})
            for (const auto &[index, time] : {std::pair{1, "0800"}, std::pair{2, "1200"}})
                books.hours[0][weeklyTimePosition(day, index)] = QString::fromLatin1(time);
        const QDate today(2027, 10, 25);
        const QDate start = today.addDays(1); // a Tuesday; All Souls' Day, 2 November, another
        testing::MemoryStorage storage(books);
        AppointmentBook book(storage, start);
        book.readDoctorNames();
        Book::expectNothingSaid(book.chooseDoctor(1));
        // The date shown and the first row starting so selected, as a click does.
        const auto selectAt = [&](QDate date, const QString &start) {
            book.goTo({1, date, {}, {}});
            const int row = firstRowStartingWith(book.dayList().rows(), start);
            QVERIFY(row >= 0);
            book.selectRow(row);
        };
        const auto addAt = [&](QDate date, const char *time, const char *name) {
            selectAt(date, time);
            book.entry().type(NameField, name);
            Book::expectNothingSaid(book.add());
        };
        addAt(QDate(2027, 11, 4), "08:00", "Other Patient");
        selectAt(start, "08:00");
        book.entry().type(NameField, "Series Patient");

        QVector<SeriesOccurrence> sessions;
        QString message;
        QVERIFY2(book.planSeries({start, 1, {{2, "08:00"}, {4, "8:00"}}, 10, {}}, today, &sessions, &message),
                 qPrintable(message));
        QStringList inTheWay;
        for (const SeriesOccurrence &session : std::as_const(sessions))
            if (session.obstacle != SeriesObstacle::None)
                inTheWay << session.wanted.date.toString(Qt::ISODate) + QLatin1Char(' ') +
                                obstacleText(session.obstacle) + QLatin1Char(' ') + session.nextFree;
        QCOMPARE(inTheWay, (QStringList{"2027-11-02 Closed ", "2027-11-04 Taken 08:30"}));
        QCOMPARE(sessions.at(3).choice, SeriesChoice::Skip);
        sessions[3].choice = SeriesChoice::NextFree;
        QVERIFY(book.bookSeries(sessions).done);
        const auto placesOf = [&] {
            QVector<Appointment> series;
            QString error;
            storage.readSeries(1, books.books[1].last().series.series, &series, &error);
            QStringList places;
            for (const Appointment &one : std::as_const(series))
                places << QStringLiteral("%1 %2 %3")
                              .arg(sessionText(one.series), one.date.toString("dd/MM"), one.hora);
            return places;
        };
        QCOMPARE(placesOf(), (QStringList{"1/9 26/10 08:00", "2/9 28/10 08:00", "3/9 04/11 08:30",
                                          "4/9 09/11 08:00", "5/9 11/11 08:00", "6/9 16/11 08:00",
                                          "7/9 18/11 08:00", "8/9 23/11 08:00", "9/9 25/11 08:00"}));
        selectAt(QDate(2027, 11, 4), "08:30  Series Patient");
        QCOMPARE(book.selectedSeries().number, 3);
        QCOMPARE(book.dayList().data(book.dayList().index(book.selectedRow()), Qt::ToolTipRole).toString(),
                 QStringLiteral("Session 3/9 of a weekly series"));

        selectAt(QDate(2027, 11, 11), "08:00  Series Patient");
        QVERIFY(book.remove(SeriesScope::ThisOne).done);
        selectAt(QDate(2027, 11, 16), "08:00  Series Patient");
        Book::expectNothingSaid(book.holdSelected());
        book.entry().type(TimeField, "10:00");
        QVERIFY(book.placeHeld(0, SeriesScope::ThisAndFollowing, today).done);
        QCOMPARE(placesOf(),
                 (QStringList{"1/9 26/10 08:00", "2/9 28/10 08:00", "3/9 04/11 08:30", "4/9 09/11 08:00",
                              "6/9 16/11 10:00", "7/9 18/11 10:00", "8/9 23/11 10:00", "9/9 25/11 10:00"}));
        QVERIFY(book.held().isEmpty());
        // Sessions 7 to 9 a week earlier: 7 and 9 find free places, 8 would land on 6, which stays.
        const QStringList before = placesOf();
        selectAt(QDate(2027, 11, 18), "10:00  Series Patient");
        Book::expectNothingSaid(book.holdSelected());
        Book::expectNothingSaid(book.stepDate(DateStep::MinusWeek, today));
        book.selectRow(-1);
        book.entry().type(TimeField, "10:00");
        const Outcome refused = book.placeHeld(0, SeriesScope::ThisAndFollowing, today);
        QVERIFY2(!refused.done && said(refused).contains("would not fit"), qPrintable(said(refused)));
        QCOMPARE(placesOf(), before);
    }

    // "Can I come next Monday instead?": held at one desk (listed held there and at another desk),
    // then placed at another doctor's free 14:00 in a second action. What stands in the way is said,
    // and nothing is changed.
    void aBookingMovesInTwoActions_data()
    {
        QTest::addColumn<QString>("inTheWay");
        QTest::addColumn<QString>("said");
        QTest::newRow("nothing") << ""
                                 << "";
        QTest::newRow("a taken time") << "taken"
                                      << "14:00 is taken";
        QTest::newRow("not a time") << "25:99"
                                    << "\"25:99\" is not a time";
        QTest::newRow("a closed time") << "closed"
                                       << "closes 14:00";
        QTest::newRow("moved at another desk") << "moved"
                                               << "no longer stored as it was held";
    }
    void aBookingMovesInTwoActions()
    {
        QFETCH(QString, inTheWay);
        QFETCH(QString, said);
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        books.setMondayDoctor(2, "Bruno", "30", "1300", "1700");
        const QDate monday(2027, 3, 1);
        const QDate next = monday.addDays(7);
        if (inTheWay == "closed")
            books.calendar << CalendarEntry{CalendarEntry::Kind::Closure,
                                            2,
                                            next,
                                            next,
                                            "1400",
                                            "1500",
                                            {},
                                            "Congress",
                                            false,
                                            {},
                                            {},
                                            {}};
        testing::MemoryStorage frontStorage(books), phoneStorage(books);
        AppointmentBook front(frontStorage, monday), phone(phoneStorage, monday);
        for (AppointmentBook *book : {&front, &phone})
            book->readDoctorNames();
        Book::expectNothingSaid(front.chooseDoctor(1));
        Book::expectNothingSaid(phone.chooseDoctor(1));
        front.selectRow(firstRowStartingWith(front.dayList().rows(), "09:00"));
        front.entry().type(NameField, "Paula Souza");
        Book::expectNothingSaid(front.add());
        const int row = firstRowStartingWith(front.dayList().rows(), "09:00  Paula");
        front.selectRow(row);
        const quint64 readsBefore = front.heldReads();
        Book::expectNothingSaid(front.holdSelected());
        QVERIFY(front.dayList().heldAt(row));
        // A reading of the list begun beside the window before the hold, answering after it.
        front.takeHeld({}, readsBefore);
        QCOMPARE(front.held().size(), 1);
        QTRY_COMPARE(phone.held().size(), 1);
        QVERIFY(phone.dayList().heldAt(firstRowStartingWith(phone.dayList().rows(), "09:00  Paula")));

        Book::expectNothingSaid(front.chooseDoctor(2));
        Book::expectNothingSaid(front.stepDate(DateStep::PlusWeek, monday));
        if (inTheWay == "taken") {
            front.selectRow(firstRowStartingWith(front.dayList().rows(), "14:00"));
            front.entry().type(NameField, "Already There");
            Book::expectNothingSaid(front.add());
            front.selectRow(firstRowStartingWith(front.dayList().rows(), "14:00  Already"));
        } else if (inTheWay == "moved") {
            Book::expectNothingSaid(phone.chooseDoctor(2));
            Book::expectNothingSaid(phone.stepDate(DateStep::PlusWeek, monday));
            phone.selectRow(firstRowStartingWith(phone.dayList().rows(), "15:00"));
            Book::expectNothingSaid(phone.placeHeld(0));
        } else if (!inTheWay.isEmpty()) { // typed: a closed time lists no free row
            front.selectRow(-1);
            front.entry().type(TimeField, inTheWay == "closed" ? "14:00" : inTheWay);
        }
        if (inTheWay.isEmpty() || inTheWay == "moved")
            front.selectRow(firstRowStartingWith(front.dayList().rows(), "14:00"));
        const Outcome placed = front.placeHeld(0);
        QCOMPARE(placed.done, said.isEmpty());
        QVERIFY2(testing::said(placed).contains(said), qPrintable(testing::said(placed)));
        QVector<Appointment> nextDay;
        QString error;
        QVERIFY(frontStorage.readDay(2, next, &nextDay, &error));
        QStringList there;
        for (const Appointment &booking : std::as_const(nextDay))
            there << booking.hora + " " + booking.nome;
        if (said.isEmpty()) {
            QCOMPARE(there, QStringList{"14:00 Paula Souza"});
            QVERIFY(front.dayList().rows().at(front.selectedRow()).startsWith("14:00  Paula Souza"));
            QVERIFY(front.held().isEmpty());
            QTRY_VERIFY(phone.held().isEmpty());
            QCOMPARE(books.books[1].size(), 1); // the placeholder alone
        } else if (inTheWay == "moved") {
            QCOMPARE(there, QStringList{"15:00 Paula Souza"});
        } else {
            QCOMPARE(front.held().size(), 1);
            QCOMPARE(there, inTheWay == "taken" ? QStringList{"14:00 Already There"} : QStringList{});
        }
    }

    // A held booking changed here is listed as changed and placed at once; a time typed short is the
    // time it means, taken or free.
    void aHeldBookingFollowsItsChangeAndTypedTimesMeanTheirTime()
    {
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        testing::MemoryStorage storage(books);
        AppointmentBook book(storage, kMonday);
        book.readDoctorNames();
        Book::expectNothingSaid(book.chooseDoctor(1));
        for (const char *const hora : {"08:00", "09:00"}) {
            book.selectRow(firstRowStartingWith(book.dayList().rows(), hora));
            book.entry().type(NameField, hora == QLatin1String("08:00") ? "First" : "Mover");
            Book::expectNothingSaid(book.add());
        }
        book.selectRow(firstRowStartingWith(book.dayList().rows(), "09:00  Mover"));
        Book::expectNothingSaid(book.holdSelected());
        book.entry().type(NameField, "Renamed");
        Book::expectNothingSaid(book.change());
        QCOMPARE(book.held().value(0).booking.nome.trimmed(), QStringLiteral("Renamed"));
        book.selectRow(-1);
        book.entry().type(TimeField, "8:00");
        const Outcome refused = book.placeHeld(0);
        QVERIFY2(!refused.done && said(refused).contains("is taken"), qPrintable(said(refused)));
        book.entry().type(TimeField, "8:30");
        Book::expectNothingSaid(book.placeHeld(0));
        QStringList stored;
        for (const Appointment &booking : std::as_const(books.books[1]))
            if (!booking.nome.isEmpty()) // not the empty book's placeholder
                stored << booking.hora + " " + booking.nome.trimmed();
        QCOMPARE(stored, (QStringList{"08:00 First", "08:30 Renamed"}));
    }

    // Place it here asks what an Add asks: a squeeze-in past the daily limit; a closed time is placed
    // only once the receptionist accepted it.
    void placingAsksWhatAnAddAsks()
    {
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        books.squeezeLimits[0] = 0;
        books.calendar << CalendarEntry{CalendarEntry::Kind::Closure,
                                        1,
                                        kMonday,
                                        kMonday,
                                        "1000",
                                        "1100",
                                        {},
                                        "Meeting",
                                        false,
                                        {},
                                        {},
                                        {}};
        testing::MemoryStorage storage(books);
        AppointmentBook book(storage, kMonday);
        book.readDoctorNames();
        Book::expectNothingSaid(book.chooseDoctor(1));
        book.selectRow(firstRowStartingWith(book.dayList().rows(), "08:00"));
        book.entry().type(NameField, "Mover");
        Book::expectNothingSaid(book.add());
        book.selectRow(firstRowStartingWith(book.dayList().rows(), "08:00  Mover"));
        Book::expectNothingSaid(book.holdSelected());
        book.selectRow(-1);
        for (const auto &[typed, asked] : {std::pair{"08:15", true}, std::pair{"8:30", false}}) {
            book.entry().type(TimeField, typed);
            QCOMPARE(!book.checkPlace(SeriesScope::ThisOne).squeezeInQuestion.isEmpty(), asked);
        }
        book.entry().type(TimeField, "10:00");
        QVERIFY(!book.checkPlace(SeriesScope::ThisOne).closedReason.isEmpty());
        QVERIFY(!book.placeHeld(0).done);
        Book::expectNothingSaid(book.placeHeld(0, SeriesScope::ThisOne, kMonday, true));
        QVERIFY(firstRowStartingWith(book.dayList().rows(), "10:00  Mover") >= 0);
    }

    void choosingADoctorListsTheDay()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:10", "Off Grid");
        book.files.addAppointment(1, kMonday, "08:30", "First");
        book.files.addAppointment(1, kMonday, "08:30", "Second");
        book.files.addAppointment(1, kMonday.addDays(1), "08:00", "Tomorrow");
        AppointmentBook &ana = book.open(1);
        QCOMPARE(ana.activeSlot(), 1);
        const QStringList rows = book.rows();
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows.at(0), QStringLiteral("08:00"));
        QVERIFY(rows.at(1).startsWith(QStringLiteral("08:10  Off Grid")));
        QCOMPARE(rows.at(2), QStringLiteral("08:15"));
        QVERIFY(rows.at(3).startsWith(QStringLiteral("08:30  First")));
        QVERIFY(rows.at(4).startsWith(QStringLiteral("08:30  Second")));
        QCOMPARE(rows.at(5), QStringLiteral("08:45"));

        // An empty table gets one placeholder record, once.
        Book::expectNothingSaid(ana.chooseDoctor(2));
        QCOMPARE(book.files.appointments(2), QStringList{"2100-12-31|<null>|<null>|<null>|<null>|<null>"});
        Book::expectNothingSaid(ana.chooseDoctor(2));
        QCOMPARE(book.files.appointments(2).size(), 1);
    }

    void slotsSixAndSevenReadTheirOwnFiles()
    {
        Book book;
        book.files.setDoctor(6, "Six", "20", {"0800", "0900"});
        book.files.setDoctor(7, "Seven", "30", {"1000", "1100"}, 3);
        book.files.addAppointment(6, kMonday, "08:20", "In bdm11");
        AppointmentBook &six = book.open(6);
        QCOMPARE(book.rows().size(), 4);
        QVERIFY(book.rows().at(1).startsWith(QStringLiteral("08:20  In bdm11")));
        Book::expectNothingSaid(six.chooseDoctor(7));
        QCOMPARE(book.rows(), (QStringList{"10:00", "10:30", "11:00"}));
        QCOMPARE(six.doctorSettings().linkedSlot, qint16(3));
        QCOMPARE(book.files.appointments(7).size(), 1); // the placeholder went to bdm12.mdb
    }

    void unusableDoctorFileIsReported()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.morningDoctor(2, "Broken");
        AppointmentBook &ana = book.open(1);
        book.files.write("bdm2.mdb", "garbage that is no database");
        const QString message = said(ana.chooseDoctor(2));
        QVERIFY2(
            message.startsWith(QStringLiteral("The appointment book of \"Broken\" could not be opened")) &&
                message.contains("bdm2.mdb"),
            qPrintable(message));
        QCOMPARE(ana.activeSlot(), 0);
        QVERIFY(book.rows().isEmpty());
        QCOMPARE(book.files.fingerprint("bdm2.mdb"),
                 QCryptographicHash::hash("garbage that is no database", QCryptographicHash::Sha256));
        // With no doctor chosen the date steps refuse and the date stays.
        for (const DateStep step : {DateStep::PlusDay, DateStep::MinusMonth, DateStep::Today}) {
            QCOMPARE(said(ana.stepDate(step, kMonday)), QStringLiteral("Please choose professional first"));
            QCOMPARE(ana.currentDate(), kMonday);
        }
    }

    void dateStepsMoveTheList()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.setSetting("bdm6.mdb", "p1_ter2", "0830"); // Tuesdays end earlier
        book.files.addAppointment(1, kMonday.addDays(1), "08:15", "Tuesday");
        AppointmentBook &ana = book.open(1);
        QCOMPARE(book.rows().size(), 5);
        // A step lists the new day in one change of the list.
        QSignalSpy resets(&ana.dayList(), &QAbstractItemModel::modelReset);
        Book::expectNothingSaid(ana.stepDate(DateStep::PlusDay, kMonday));
        QCOMPARE(resets.count(), 1);
        QCOMPARE(ana.currentDate(), kMonday.addDays(1));
        QCOMPARE(longDate(ana.currentDate()),
                 QLocale::system().toString(kMonday.addDays(1), QLocale::LongFormat));
        QCOMPARE(book.rows().size(), 3);
        QVERIFY(book.rows().at(1).startsWith(QStringLiteral("08:15  Tuesday")));
        ana.stepDate(DateStep::PlusMonth, kMonday);
        QCOMPARE(ana.currentDate(), QDate(2027, 4, 2));
        // TODAY goes to the clock's day, which may have passed midnight since the start.
        Book::expectNothingSaid(ana.stepDate(DateStep::Today, kMonday.addDays(1)));
        QCOMPARE(ana.currentDate(), kMonday.addDays(1));
    }

    void lastCalendarDayStaysPut()
    {
        Book book(QDate(9999, 12, 31));
        book.morningDoctor(1, "Ana");
        AppointmentBook &ana = book.open(1);
        Book::expectNothingSaid(ana.stepDate(DateStep::PlusDay, book.today));
        Book::expectNothingSaid(ana.stepDate(DateStep::PlusMonth, book.today));
        QCOMPARE(ana.currentDate(), QDate(9999, 12, 31));
    }

    void bookingOnAFreeRow()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        AppointmentBook &ana = book.open(1);
        ana.selectRow(book.rows().indexOf(QStringLiteral("08:30")));
        QCOMPARE(ana.entry().text(TimeField), QStringLiteral("08:30"));
        QVERIFY(!ana.entry().buttons().remove);
        book.type(NameField, "maria DA silva");
        QCOMPARE(ana.entry().text(NameField), QStringLiteral("Maria da Silva"));
        book.type(PlanField, "unimed");
        book.type(PhonesField, "555 1234");
        book.type(NotesField, "first visit");
        const Outcome added = ana.add();
        Book::expectNothingSaid(added);
        QCOMPARE(book.files.appointments(1).last(),
                 QStringLiteral("2027-03-01|08:30|Maria da Silva|Unimed|555 1234|first visit"));
        QVERIFY(!book.rows().contains(QStringLiteral("08:30")));
        QCOMPARE(added.rowToShow, 2);
        QVERIFY(book.rows().at(2).startsWith(QStringLiteral("08:30  Maria da Silva")));
        QCOMPARE(book.rows().at(2).size(), 103);
        QCOMPARE(ana.entry().current().hora, QStringLiteral("08:30"));
        QCOMPARE(ana.selectedRow(), -1);
    }

    // Names typed and booked at once (an access key leaves the focus in the field) are capitalised.
    void addCapitalisesWithoutLeavingTheField()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        AppointmentBook &ana = book.open(1);
        ana.entry().type(TimeField, "08:00");
        ana.entry().type(NameField, "AYŞE İPEKÇİ");
        ana.entry().type(PlanField, "sul AMÉRICA SUS");
        Book::expectNothingSaid(ana.add());
        QCOMPARE(book.files.appointments(1).last(),
                 QStringLiteral("2027-03-01|08:00|Ayşe İpekçi|Sul AMÉRICA SUS||"));
    }

    void bookingChecksAndOffGridTimes()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        AppointmentBook &ana = book.open();
        QCOMPARE(said(ana.add()), QStringLiteral("Please choose professional first"));
        Book::expectNothingSaid(ana.chooseDoctor(1));
        book.type(TimeField, "   ");
        QCOMPARE(said(ana.add()), QStringLiteral("Choose schedule belows or type one time"));
        book.type(TimeField, "8:10");
        book.type(NameField, "  ");
        QCOMPARE(said(ana.add()), QStringLiteral("Field Name cannot be empty"));
        QCOMPARE(book.files.appointments(1).size(), 1); // only the placeholder

        // A hand-typed time is stored as typed and stands at its sorted place; free rows stay.
        book.type(NameField, "Late Typed");
        Book::expectNothingSaid(ana.add());
        QCOMPARE(book.files.appointments(1).last(), QStringLiteral("2027-03-01|8:10|Late Typed|||"));
        QCOMPARE(book.rows().size(), 6);
        QVERIFY(book.rows().last().startsWith(QStringLiteral("8:10   Late Typed")));
        // Booking a time already booked stores a second record beside the first.
        Book::expectNothingSaid(ana.add());
        QCOMPARE(book.files.appointments(1).size(), 3);
        QCOMPARE(book.rows().size(), 7);
    }

    void linkedCopies_data()
    {
        QTest::addColumn<int>("link");
        QTest::addColumn<int>("copies");
        QTest::newRow("linked to slot 3") << 3 << 1;
        QTest::newRow("linked to itself") << 1 << 0;
        QTest::newRow("no link") << 0 << 0;
        QTest::newRow("link past the ten slots") << 11 << 0;
    }

    void linkedCopies()
    {
        QFETCH(int, link);
        QFETCH(int, copies);
        Book book;
        book.morningDoctor(1, "Ana", "15", link);
        AppointmentBook &ana = book.open(1);
        ana.selectRow(0);
        book.type(NameField, "Linked Patient");
        Book::expectNothingSaid(ana.add());
        QCOMPARE(book.files.appointments(1).size(), 2); // placeholder and booking
        const QStringList copied = book.files.appointments(3);
        QCOMPARE(copied.size(), copies);
        if (copies)
            QCOMPARE(copied.first(), QStringLiteral("2027-03-01|08:00|Linked Patient|||"));
        // The next booking still goes to the doctor's own file.
        ana.selectRow(book.rows().indexOf(QStringLiteral("08:15")));
        book.type(NameField, "Own Again");
        Book::expectNothingSaid(ana.add());
        QVERIFY(book.files.appointments(1).last().contains(QStringLiteral("Own Again")));
    }

    // A linked book that cannot take the copy leaves the booking stored for its own doctor, and the
    // message names the linked doctor, the file and the reason.
    void linkedBookThatCannotTakeTheCopy()
    {
        Book book;
        book.morningDoctor(1, "Ana", "15", 4);
        book.morningDoctor(4, "Dora");
        AppointmentBook &ana = book.open(1);
        WriteLock lock(book.files.path("bdm4.mdb"));
        ana.selectRow(0);
        book.type(NameField, "Kept Anyway");
        const Outcome outcome = ana.add();
        QVERIFY(outcome.done);
        QCOMPARE(said(outcome),
                 QStringLiteral("The appointment was stored, but it could not be copied to the linked "
                                "doctor's book (\"Dora\"): \"bdm4.mdb\" could not be written: "
                                "database is locked."));
        QVERIFY(book.files.appointments(1).last().contains(QStringLiteral("Kept Anyway")));
        QVERIFY(book.rows().at(outcome.rowToShow).startsWith(QStringLiteral("08:00  Kept Anyway")));
    }

    void changeFindsTheSelectedBooking()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:15", "Old Name", "Plan");
        AppointmentBook &ana = book.open(1);
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Old Name")));
        QCOMPARE(ana.entry().text(NameField), QStringLiteral("Old Name"));
        QCOMPARE(ana.entry().text(PlanField), QStringLiteral("Plan"));
        QVERIFY(ana.entry().buttons().change);
        QVERIFY(ana.entry().buttons().remove);
        book.type(TimeField, "08:45");
        book.type(NameField, "New Name");
        QVERIFY(!ana.entry().buttons().remove);
        Book::expectNothingSaid(ana.change());
        // What was not edited is stored as it was; an edited field as a new booking stores it.
        QCOMPARE(book.files.appointments(1).last(),
                 QStringLiteral("2027-03-01|08:45|%1|Plan||").arg(fitted("New Name", 35)));
        // The old time is free again and the new one is taken.
        QVERIFY(book.rows().contains(QStringLiteral("08:15")));
        QVERIFY(!book.rows().contains(QStringLiteral("08:45")));
        QCOMPARE(ana.entry().text(TimeField), QString());
        QVERIFY(!ana.entry().buttons().change);
        QVERIFY(!ana.entry().buttons().remove);

        // A Change from a free row has nothing to change, and says so.
        ana.selectRow(book.rows().indexOf(QStringLiteral("08:00")));
        book.type(NameField, "Nobody");
        QVERIFY(!ana.entry().buttons().change);
        QCOMPARE(said(ana.change()),
                 QStringLiteral("No appointment is selected: choose one in the list first."));
        QCOMPARE(book.files.appointments(1).size(), 1);
    }

    // Another program stored tabs and line breaks: the row shows blanks in their place, columns
    // aligned, and the booking is still the one changed or removed.
    void storedControlCharacters()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:15", "Maria\tJose", "Plan", "555", "line\nbreak");
        book.files.addAppointment(1, kMonday, "08:15", "Maria Jose", "Plan", "555", "line break");
        book.files.addAppointment(1, kMonday, "08:30", "Two\r\nLines");
        AppointmentBook &ana = book.open(1);
        const QString shown = BookingRecord::of("08:15", "Maria Jose", "Plan", "555", "line break").row();
        QCOMPARE(book.rows().count(shown), 2);
        const std::optional<Printout> printed = dayPrintout(ana);
        for (const QString &row : printed->rows)
            QVERIFY2(blankControlCharacters(row) == row, qPrintable(row));

        // The second of the two rows that read alike is the second booking, as stored.
        ana.selectRow(book.rows().lastIndexOf(shown));
        QCOMPARE(ana.entry().text(NameField), QStringLiteral("Maria Jose"));
        Book::expectNothingSaid(ana.remove());
        QCOMPARE(book.files.appointments(1).size(), 2);
        QVERIFY(book.files.appointments(1).contains("2027-03-01|08:15|Maria\tJose|Plan|555|line\nbreak"));

        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Maria Jose")));
        book.type(PhonesField, "556");
        Book::expectNothingSaid(ana.change());
        QVERIFY(book.files.appointments(1).contains(
            QStringLiteral("2027-03-01|08:15|Maria\tJose|Plan|%1|line\nbreak").arg(fitted("556", 20))));
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:30  Two  Lines")));
        Book::expectNothingSaid(ana.remove());
        QCOMPARE(book.files.appointments(1).size(), 1);
    }

    // Texts longer than their columns (kept by an import) are shown whole in the fields; a Change of
    // another field stores them exactly, and the history names only what changed.
    void aChangeKeepsWhatWasNotEdited()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        const QString notes =
            QStringLiteral("Alergia a penicilina; trazer exames de 2025; retorno em 30 dias");
        const QString name = QStringLiteral("Maria Aparecida da Conceição dos Santos Lima");
        book.files.addAppointment(1, kMonday, "08:15", name, "Unimed", "3198784-7898", notes);
        AppointmentBook &ana = book.open(1);
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Maria")));
        QCOMPARE(ana.entry().text(NotesField), notes);
        QCOMPARE(ana.entry().text(NameField), name);
        book.type(PhonesField, "31987847898");
        Book::expectNothingSaid(ana.change());
        QCOMPARE(
            book.files.appointments(1).last(),
            QStringLiteral("2027-03-01|08:15|%1|Unimed|%2|%3").arg(name, fitted("31987847898", 20), notes));
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Maria")));
        QString whyNot;
        const BookingHistory history = readBookingHistory(*book.storage, *selectedBooking(ana, &whyNot));
        QVERIFY(history.read);
        QCOMPARE(history.entries.last().details, QStringLiteral("telefone: 3198784-7898 \u2192 31987847898"));
        // The long name still names the booking for a Remove.
        Book::expectNothingSaid(ana.remove());
        QCOMPARE(book.files.appointments(1).size(), 0);
    }

    void removeDeletesTheFirstOfTwo()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:30", "Twin", "first");
        book.files.addAppointment(1, kMonday, "08:30", "Twin", "second");
        AppointmentBook &ana = book.open(1);
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:30  Twin")));
        Book::expectNothingSaid(ana.remove());
        QCOMPARE(book.files.appointments(1), QStringList{"2027-03-01|08:30|Twin|second||"});
        QCOMPARE(book.rowStartingWith(QStringLiteral("08:30  Twin")), 2);
        QVERIFY(!book.rows().contains(QStringLiteral("08:30")));

        // After the name was edited nothing matches: that is said, nothing is deleted and the row stays.
        ana.selectRow(2);
        book.type(NameField, "Someone Else");
        QVERIFY(!ana.entry().buttons().remove);
        QVERIFY(said(ana.remove()).contains(QStringLiteral("Nothing was removed")));
        QCOMPARE(book.files.appointments(1).size(), 1);
        QCOMPARE(book.rowStartingWith(QStringLiteral("08:30  Twin")), 2);
    }

    void buttonsFollowSelectionsAndEdits()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:15", "Booked");
        book.files.addAppointment(1, kMonday, "08:30", "");
        AppointmentBook &ana = book.open(1);
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        QVERIFY(ana.entry().buttons().change && ana.entry().buttons().remove);
        // One character withdraws Remove; deleting it again does not bring it back.
        ana.entry().type(PhonesField, "9");
        QVERIFY(!ana.entry().buttons().remove);
        QVERIFY(ana.entry().buttons().change);
        ana.entry().type(PhonesField, "");
        QVERIFY(!ana.entry().buttons().remove);

        // A booking row with a blank name offers neither Change nor Remove.
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:30  ")));
        QCOMPARE(ana.entry().text(TimeField), QStringLiteral("08:30"));
        QCOMPARE(ana.entry().text(NameField), QString());
        QVERIFY(!ana.entry().buttons().remove);
        QVERIFY(ana.entry().buttons().add);

        // A date step leaves no row selected but the fields as they were; Change then says why it
        // cannot, instead of doing nothing.
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        ana.stepDate(DateStep::PlusDay, kMonday);
        ana.stepDate(DateStep::MinusDay, kMonday);
        QCOMPARE(ana.selectedRow(), -1);
        QCOMPARE(ana.entry().text(NameField), QStringLiteral("Booked"));
        book.type(NameField, "Renamed");
        QCOMPARE(said(ana.change()),
                 QStringLiteral("No appointment is selected: choose one in the list first."));
        QCOMPARE(said(ana.remove()),
                 QStringLiteral("No appointment is selected: choose one in the list first."));
        // Selecting nothing, a free row after a booking, or leaving the doctor withdraws both.
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        ana.selectRow(-1);
        QVERIFY(!ana.entry().buttons().change && !ana.entry().buttons().remove);
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        ana.selectRow(book.rows().indexOf(QStringLiteral("08:00")));
        QVERIFY(!ana.entry().buttons().change && !ana.entry().buttons().remove);
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Booked")));
        ana.chooseDoctor(0);
        QVERIFY(!ana.entry().buttons().change && !ana.entry().buttons().remove);
        QVERIFY(book.files.appointments(1).contains(QStringLiteral("2027-03-01|08:15|Booked|||")));
    }

    // Another program holds the doctor's file locked: every change fails after the wait, says so,
    // the list shows what is stored and a failed Change keeps what was typed.
    void lockedFileFailuresAreSaid()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:15", "Stored");
        AppointmentBook &ana = book.open(1);
        const QStringList before = book.rows();
        std::optional<WriteLock> lock(std::in_place, book.files.path("bdm1.mdb"));

        ana.selectRow(book.rows().indexOf(QStringLiteral("08:30")));
        book.type(NameField, "Not Stored");
        QVERIFY(said(ana.add()).contains(QStringLiteral("could not be stored")));
        QCOMPARE(book.rows(), before);

        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Stored")));
        book.type(NameField, "Renamed");
        QVERIFY(said(ana.change()).contains(QStringLiteral("could not be changed")));
        QCOMPARE(book.rows(), before);
        QCOMPARE(ana.entry().text(NameField), QStringLiteral("Renamed"));
        // The booking stays selected with the edits: Change is simply pressed again.
        QCOMPARE(ana.selectedRow(), book.rowStartingWith(QStringLiteral("08:15  Stored")));
        QVERIFY(ana.entry().buttons().change);

        lock.reset();
        Book::expectNothingSaid(ana.change());
        QVERIFY(book.files.appointments(1).last().contains(QStringLiteral("Renamed")));

        lock.emplace(book.files.path("bdm1.mdb"));
        ana.selectRow(book.rowStartingWith(QStringLiteral("08:15  Renamed")));
        QVERIFY(said(ana.remove()).contains(QStringLiteral("could not be removed")));
        QVERIFY(ana.entry().buttons().remove);
    }

    // The file is damaged while the doctor is chosen: the booking is refused and the list, which can
    // no longer be read, is left empty rather than showing free times that may be booked.
    void damagedFileEmptiesTheList()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        AppointmentBook &ana = book.open(1);
        book.files.write("bdm1.mdb", QByteArray(4096, 'x'));
        ana.selectRow(0);
        book.type(NameField, "Lost");
        const QString message = said(ana.add());
        QVERIFY2(message.contains(QStringLiteral("could not be stored")) && message.contains("\"bdm1.mdb\""),
                 qPrintable(message));
        QVERIFY(book.rows().isEmpty());
        QCOMPARE(book.files.fingerprint("bdm1.mdb"),
                 QCryptographicHash::hash(QByteArray(4096, 'x'), QCryptographicHash::Sha256));
        QVERIFY(said(ana.stepDate(DateStep::PlusDay, kMonday)).contains(QStringLiteral("could not be read")));
        QVERIFY(book.rows().isEmpty());
    }

    // Another desk saved the settings: the doctor list, the chosen doctor's slot length and hours and
    // the clinic's calendar follow in three reads, the day listed again from its bookings as last read.
    void settingsSavedElsewhereCostThreeReads()
    {
        Book book;
        book.morningDoctor(1, "Ana");
        book.files.addAppointment(1, kMonday, "08:15", "Booked");
        book.open();
        velmora::testing::CountingStorage counting(*book.storage);
        AppointmentBook ana(counting, kMonday);
        ana.readDoctorNames();
        Book::expectNothingSaid(ana.chooseDoctor(1));
        ana.selectRow(velmora::testing::firstRowStartingWith(ana.dayList().rows(), "08:15  Booked"));
        book.files.setSetting("bdm6.mdb", "interv1", "30");
        book.files.setSetting("bdm6.mdb", "prof1", "Ana Maria");
        counting.calls = 0;
        ana.storedElsewhere(StoredElsewhere{});
        QCOMPARE(counting.calls, 3);
        QCOMPARE(ana.doctorNames().value(0), QStringLiteral("Ana Maria"));
        QCOMPARE(ana.dayList().rows().size(), 4); // 08:00, the booking at 08:15, 08:30 and 09:00
        QCOMPARE(ana.selectedRow(),
                 velmora::testing::firstRowStartingWith(ana.dayList().rows(), "08:15  Booked"));
    }

    void printoutOfTheDay()
    {
        Book book;
        book.morningDoctor(1, "Ana Souza");
        AppointmentBook &ana = book.open();
        QVERIFY(!dayPrintout(ana));
        Book::expectNothingSaid(ana.chooseDoctor(1));
        const std::optional<Printout> page = dayPrintout(ana);
        QVERIFY(page);
        QCOMPARE(page->header, QStringLiteral("Ana Souza - ") + longDate(ana.currentDate()));
        QCOMPARE(page->documentName, QStringLiteral("Velmora_Ana_Souza_2027-03-01"));
        QCOMPARE(page->rows, book.rows());
    }
};

QTEST_GUILESS_MAIN(AppointmentBookTest)
#include "tst_appointment_book.moc"
