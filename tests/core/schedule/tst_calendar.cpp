#include "core/schedule/calendar_setup.h"
#include "core/schedule/clinic_calendar.h"
#include "core/schedule/day_list_rules.h"
#include "core/schedule/holidays.h"
#include "support/memory_storage.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

namespace {

// Weekly hours of one period every day, start..end as "HHMM".
DoctorSettings everyDay(const QString &start, const QString &end, const QString &slotLength)
{
    DoctorSettings settings;
    settings.slotLength = slotLength;
    settings.slot = 1;
    for (int day = 0; day < 7; ++day) {
        settings.weeklyTimes[weeklyTimePosition(day, 1)] = start;
        settings.weeklyTimes[weeklyTimePosition(day, 2)] = end;
    }
    return settings;
}

QString hhmm(int minutes)
{
    return QStringLiteral("%1%2")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

Q_DECLARE_METATYPE(velmora::CalendarEntry)

class CalendarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Easter Sundays as the almanacs list them; Good Friday two days before, a national holiday.
    void goodFridays_data()
    {
        QTest::addColumn<QDate>("easter");
        const char *sundays[] = {
            "2000-04-23", "2001-04-15", "2002-03-31", "2003-04-20", "2004-04-11", "2005-03-27", "2006-04-16",
            "2007-04-08", "2008-03-23", "2009-04-12", "2010-04-04", "2011-04-24", "2012-04-08", "2013-03-31",
            "2014-04-20", "2015-04-05", "2016-03-27", "2017-04-16", "2018-04-01", "2019-04-21", "2020-04-12",
            "2021-04-04", "2022-04-17", "2023-04-09", "2024-03-31", "2025-04-20", "2026-04-05", "2027-03-28",
            "2028-04-16", "2029-04-01", "2030-04-21", "2031-04-13", "2032-03-28", "2033-04-17", "2034-04-09",
            "2035-03-25", "2036-04-13", "2037-04-05", "2038-04-25", "2039-04-10", "2040-04-01"};
        for (const char *sunday : sundays)
            QTest::newRow(sunday) << QDate::fromString(QLatin1String(sunday), Qt::ISODate);
    }
    void goodFridays()
    {
        QFETCH(QDate, easter);
        QCOMPARE(easterSunday(easter.year()), easter);
        const QVector<Holiday> year = holidaysOf(easter.year());
        QVERIFY(std::any_of(year.begin(), year.end(), [&easter](const Holiday &day) {
            return day.date == easter.addDays(-2) && day.name == QStringLiteral("Good Friday") &&
                   !day.optional;
        }));
        QVERIFY(holidayOn(easter.addDays(-2)));            // in 2000 it fell on Tiradentes
        QVERIFY(holidayOn(easter.addDays(-47))->optional); // Carnival Tuesday
        QVERIFY(!holidayOn(easter.addDays(-1)));
    }

    void fixedHolidays_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<bool>("national");
        QTest::newRow("New Year") << QDate(2031, 1, 1) << true;
        QTest::newRow("Tiradentes") << QDate(2031, 4, 21) << true;
        QTest::newRow("Labour") << QDate(2031, 5, 1) << true;
        QTest::newRow("Independence") << QDate(2031, 9, 7) << true;
        QTest::newRow("Aparecida") << QDate(2031, 10, 12) << true;
        QTest::newRow("All Souls") << QDate(2031, 11, 2) << true;
        QTest::newRow("Republic") << QDate(2031, 11, 15) << true;
        QTest::newRow("Christmas") << QDate(2031, 12, 25) << true;
        QTest::newRow("20 November 2023, before it was national") << QDate(2023, 11, 20) << false;
        QTest::newRow("20 November 2024") << QDate(2024, 11, 20) << true;
        QTest::newRow("Christmas Eve") << QDate(2031, 12, 24) << false;
    }
    void fixedHolidays()
    {
        QFETCH(QDate, date);
        QFETCH(bool, national);
        DoctorSettings settings = everyDay("0800", "0900", "30");
        QCOMPARE(freeSlotRows(settings, date).isEmpty(), national);
        QCOMPARE(dayPlan(settings, date).reasons().startsWith(QStringLiteral("Holiday: ")), national);
    }

    // Random hours, closures of the clinic and the doctor, other doctors' closures and extra days, against
    // the plain rule for each slot: a time is free when the day's hours (the extra day's, if any) list it
    // and no closure of the clinic or this doctor on that date holds it.
    void closuresAndExtraDaysAgainstAPlainRule()
    {
        QRandomGenerator random(20261208);
        const QDate first(2027, 6, 7); // no holiday in the fortnight
        for (int round = 0; round < 200; ++round) {
            const int start = 6 * 60 + 15 * random.bounded(12);
            const QString length =
                QStringLiteral("%1").arg(5 * (1 + random.bounded(6)), 2, 10, QLatin1Char('0'));
            DoctorSettings settings =
                everyDay(hhmm(start), hhmm(start + 30 * (1 + random.bounded(16))), length);
            QVector<CalendarEntry> entries;
            for (int i = random.bounded(5); i > 0; --i) {
                CalendarEntry entry;
                entry.slot = static_cast<int>(random.bounded(3)); // the clinic, this doctor or another
                entry.from = first.addDays(random.bounded(14));
                entry.to = entry.from.addDays(random.bounded(3));
                if (random.bounded(2)) {
                    const int from = 5 * 60 + 5 * random.bounded(150);
                    entry.start = hhmm(from);
                    entry.end = hhmm(from + 5 * (1 + random.bounded(40)));
                }
                if (random.bounded(4) == 0) {
                    entry.kind = CalendarEntry::Kind::ExtraDay;
                    entry.slot = 1;
                    entry.to = QDate();
                    entry.hours = QStringList{"1300", "1400"};
                }
                entry.reason = QStringLiteral("why %1").arg(i);
                entries << entry;
            }
            settings.calendar = std::make_shared<const ClinicCalendar>(entries);
            for (QDate date = first; date < first.addDays(14); date = date.addDays(1)) {
                QStringList hours{settings.weeklyTimes[weeklyTimePosition(date.dayOfWeek() - 1, 1)],
                                  settings.weeklyTimes[weeklyTimePosition(date.dayOfWeek() - 1, 2)]};
                for (const CalendarEntry &entry : std::as_const(entries))
                    if (entry.kind == CalendarEntry::Kind::ExtraDay && entry.from == date)
                        hours = entry.hours;
                QStringList expected;
                for (const QString &row : periodRows(hours.at(0), hours.at(1), settings.slotLength)) {
                    const QString time = row.left(5).remove(QLatin1Char(':'));
                    bool closed = false;
                    for (const CalendarEntry &entry : std::as_const(entries))
                        closed =
                            closed || (entry.kind == CalendarEntry::Kind::Closure && entry.slot != 2 &&
                                       date >= entry.from && date <= entry.to &&
                                       (entry.start.isEmpty() || (time >= entry.start && time < entry.end)));
                    if (!closed)
                        expected << row;
                }
                QCOMPARE(freeSlotRows(settings, date), expected);
            }
        }
    }

    void hoursAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("hours");
        QTest::addColumn<bool>("read");
        QTest::newRow("whole day") << "" << QStringList{} << true;
        QTest::newRow("an afternoon") << "13:00-18:00" << QStringList{"1300", "1800"} << true;
        QTest::newRow("two periods, blanks and a short hour")
            << " 8:00 - 12:00  14:00-18:00" << QStringList{"0800", "1200", "1400", "1800"} << true;
        QTest::newRow("no colons") << "0800-1200" << QStringList{"0800", "1200"} << true;
        QTest::newRow("words") << "after lunch" << QStringList{} << false;
    }
    void hoursAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, hours);
        QFETCH(bool, read);
        const std::optional<QStringList> got = hoursFromText(typed);
        QCOMPARE(got.has_value(), read);
        if (read)
            QCOMPARE(*got, hours);
    }

    void refusals_data()
    {
        QTest::addColumn<CalendarEntry>("entry");
        QTest::addColumn<QString>("refusal");
        CalendarEntry closure;
        closure.from = QDate(2027, 7, 1);
        closure.to = QDate(2027, 7, 2);
        QTest::newRow("a fine closure") << closure << QString();
        CalendarEntry backwards = closure;
        backwards.to = QDate(2027, 6, 30);
        QTest::newRow("ends before it starts") << backwards << QStringLiteral("must end on or after");
        CalendarEntry decade = closure;
        decade.to = QDate(2037, 7, 1);
        QTest::newRow("ten years") << decade << QStringLiteral("at most a year");
        CalendarEntry late = closure;
        late.start = QStringLiteral("2300");
        late.end = QStringLiteral("2430");
        QTest::newRow("past midnight") << late << QStringLiteral("from 00:00 to 24:00");
        CalendarEntry overlapping;
        overlapping.kind = CalendarEntry::Kind::ExtraDay;
        overlapping.slot = 3;
        overlapping.from = QDate(2027, 7, 3); // the Saturday already set below
        overlapping.hours = QStringList{"1400", "1800"};
        QTest::newRow("a second extra Saturday") << overlapping << QStringLiteral("already has an extra day");
    }
    void refusals()
    {
        QFETCH(CalendarEntry, entry);
        QFETCH(QString, refusal);
        CalendarEntry saturday;
        saturday.kind = CalendarEntry::Kind::ExtraDay;
        saturday.slot = 3;
        saturday.from = QDate(2027, 7, 3);
        saturday.hours = QStringList{"0800", "1200"};
        const QString said = calendarRefusal(entry, {saturday});
        QVERIFY2(refusal.isEmpty() ? said.isEmpty() : said.contains(refusal), qPrintable(said));
    }

    // The calendar window's work, on the books in memory: a vacation over a booking is told and kept, a
    // second desk's entry saved meanwhile stays, a change replaces its entry and is checked like an Add,
    // and removing the vacation takes the booking off the list to reschedule.
    // The count to reschedule knows the country's holidays with no entry of the clinic's own.
    void theCountToRescheduleKnowsTheCountrysHolidays()
    {
        testing::MemoryBooks books;
        books.doctors[0] = {QStringLiteral("Ana"), QStringLiteral("30"), QStringLiteral("0")};
        testing::MemoryStorage storage(books);
        QString error;
        for (const QDate date : {QDate(2027, 3, 25), QDate(2027, 3, 26)}) { // Thursday; Good Friday
            Appointment booked;
            booked.date = date;
            booked.hora = QStringLiteral("09:00");
            booked.nome = QStringLiteral("Maria");
            QCOMPARE(storage.add(1, booked, 0, &error).outcome, AddOutcome::Stored);
        }
        QCOMPARE(countToReschedule(storage, QDate(2027, 3, 1)), std::optional<int>(1));
    }

    void setUpByTheWindow()
    {
        testing::MemoryBooks books;
        books.doctors[0] = {QStringLiteral("Ana"), QStringLiteral("30"), QStringLiteral("0")};
        testing::MemoryStorage storage(books);
        QString error;
        Appointment booked;
        booked.date = QDate(2027, 7, 6);
        booked.hora = QStringLiteral("09:00");
        booked.nome = QStringLiteral("Maria");
        QCOMPARE(storage.add(1, booked, 0, &error).outcome, AddOutcome::Stored);
        CalendarSetup setup(storage);
        QVERIFY(setup.read(&error));
        CalendarEntry vacation;
        vacation.slot = 1;
        vacation.from = QDate(2027, 7, 5);
        vacation.to = QDate(2027, 7, 9);
        vacation.reason = QStringLiteral("Férias");
        QVector<FoundBooking> under;
        QVERIFY(setup.bookingsUnder(vacation, &under, &error));
        QCOMPARE(under.size(), 1);
        CalendarEntry cityHoliday; // asked about as a closure is
        cityHoliday.kind = CalendarEntry::Kind::Holiday;
        cityHoliday.from = booked.date;
        cityHoliday.reason = QStringLiteral("Aniversário da cidade");
        QVERIFY(setup.bookingsUnder(cityHoliday, &under, &error));
        QCOMPARE(under.size(), 1);
        QVERIFY(setup.add(vacation, QStringLiteral("maria (desk 1)"), QDateTime(), &error));
        CalendarEntry saturday;
        saturday.kind = CalendarEntry::Kind::ExtraDay;
        saturday.slot = 1;
        saturday.from = QDate(2027, 7, 10);
        saturday.hours = QStringList{"0800", "1200"};
        CalendarSetup otherDesk(storage);
        QVERIFY(otherDesk.read(&error) &&
                otherDesk.add(saturday, QStringLiteral("joao (desk 2)"), QDateTime(), &error));
        QVERIFY(!setup.add(saturday, {}, {}, &error)); // the second desk's Saturday is there
        QVERIFY(error.contains(QStringLiteral("already has an extra day")));
        CalendarEntry shorter = vacation;
        shorter.to = QDate(2027, 7, 7);
        QVERIFY(setup.change(setup.listed().at(0), shorter, QStringLiteral("maria (desk 1)"), QDateTime(),
                             &error));
        QCOMPARE(setup.listed().size(), 2);
        QCOMPARE(setup.listed().at(0).to, QDate(2027, 7, 7));
        QVERIFY(readBookingsToReschedule(storage, QDate(2027, 7, 1), &under, &error));
        QCOMPARE(under.size(), 1);
        QVERIFY(setup.remove(setup.listed().at(0), &error));
        QVERIFY(readBookingsToReschedule(storage, QDate(2027, 7, 1), &under, &error) && under.isEmpty());
        QVector<Appointment> day; // and the booking was never touched
        QVERIFY(storage.readDay(1, booked.date, &day, &error));
        QCOMPARE(day.size(), 1);
    }

    // The year from a terminal: holidays and optional days in date order, an optional day the clinic
    // closes on listed again as a closure, the clinic's own entries in their places.
    void theYearsLines()
    {
        CalendarEntry carnival;
        carnival.kind = CalendarEntry::Kind::OptionalClosed;
        carnival.reason = QStringLiteral("carnival");
        CalendarEntry congress;
        congress.slot = 4;
        congress.from = QDate(2027, 5, 13);
        congress.start = QStringLiteral("1300");
        congress.end = QStringLiteral("1800");
        congress.reason = QStringLiteral("Congresso");
        const QStringList lines = calendarLines(ClinicCalendar({congress, carnival}), 2027);
        QCOMPARE(lines.first(), QStringLiteral("2027-01-01\t2027-01-01\tclinic\tholiday\tNew Year's Day\t"));
        QVERIFY(
            lines.contains(QStringLiteral("2027-02-08\t2027-02-08\tclinic\toptional\tCarnival Monday\t")));
        QVERIFY(lines.contains(QStringLiteral("2027-02-08\t2027-02-08\tclinic\tclosure\tCarnival Monday\t")));
        QVERIFY(lines.contains(QStringLiteral("2027-05-13\t2027-05-13\t4\tclosure\tCongresso\t13:00-18:00")));
        QVERIFY(std::is_sorted(lines.begin(), lines.end(),
                               [](const QString &a, const QString &b) { return a.left(10) < b.left(10); }));
        QCOMPARE(lines.filter(QStringLiteral("\tholiday\t")).size(), 10); // 20 November among them
    }
};

QTEST_GUILESS_MAIN(CalendarTest)
#include "tst_calendar.moc"
