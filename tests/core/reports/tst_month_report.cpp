// The month's figures as printed and charted: columns that never run together or cut a text, and the
// plans' pie with its smaller slices grouped.
#include "core/reports/month_report.h"
#include "core/schedule/squeeze_ins.h"
#include "core/text/printout.h"
#include "support/memory_storage.h"

#include <QTest>

using namespace velmora;

class MonthReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A period's figures on the books in memory: the slots the weekly hours offer, the bookings by status
    // and the plans' spellings taken as one; a read no longer wanted ends unread.
    void figuresOfAPeriod()
    {
        testing::MemoryBooks books;
        // Mondays 08:00, 08:30, 09:00
        books.setMondayDoctor(1, QStringLiteral("Ana"), QStringLiteral("30"), QStringLiteral("0800"),
                              QStringLiteral("0900"));
        testing::MemoryStorage storage(books);
        const QDate monday(2027, 3, 1);
        QString error;
        for (const char *plan : {"Unimed", "UNIMED", "Bradesco"}) {
            Appointment booking;
            booking.date = monday;
            booking.hora = QStringLiteral("08:00");
            booking.nome = QStringLiteral("Patient");
            booking.convenio = QString::fromLatin1(plan);
            QCOMPARE(storage.add(1, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        QCOMPARE(storage.setStatus(1, books.books[1].at(0), BookingStatus::Cancelled, &error),
                 WriteOutcome::Done);
        MonthReport report;
        QVERIFY(readMonthReport(storage, monday, monday.addDays(13), 0, &report, &error));
        QCOMPARE(report.doctors.size(), 1);
        QCOMPARE(report.doctors.at(0).offered, 6);
        QCOMPARE(report.doctors.at(0).booked, 3);
        QCOMPARE(report.doctors.at(0).byStatus[static_cast<size_t>(BookingStatus::Cancelled)], 1);
        QCOMPARE(report.doctors.at(0).squeezedIn, 1); // the third at 08:00; the cancelled first holds none
        QCOMPARE(report.doctors.at(0).occupancy(), 2.0 / 6);
        QCOMPARE(report.plans.size(), 2);
        QCOMPARE(report.plans.at(0).bookings, 2);
        // The day closed after its bookings were made: they held their slots, and stay no squeeze-ins.
        books.calendar << CalendarEntry{
            CalendarEntry::Kind::Closure, 1, monday, monday, {}, {}, {}, "Férias", false, {}, {}, {}};
        QVERIFY(readMonthReport(storage, monday, monday.addDays(13), 0, &report, &error));
        QCOMPARE(report.doctors.at(0).squeezedIn, 1);
        QVERIFY(!readMonthReport(storage, monday, monday.addYears(3), 0, &report, &error,
                                 [](int) { return false; }));
        QVERIFY(error.isEmpty());
    }

    // Squeeze-ins: a booking between the slots, or past the first at a slot's time; a cancelled one
    // holds no slot, a placeholder without a name is none.
    void squeezeInsOfADay_data()
    {
        QTest::addColumn<QStringList>("bookings"); // "HH:MM name [cancelled]", in the order added
        QTest::addColumn<QString>("squeezedIn");   // one mark per booking: '+' a squeeze-in
        QTest::newRow("on the slots") << QStringList{"08:00 A", "08:30 B"} << "..";
        QTest::newRow("between them") << QStringList{"08:00 A", "08:15 B", "09:30 C"} << ".++";
        QTest::newRow("a second at a slot") << QStringList{"08:00 A", "08:00 B", "08:00 C"} << ".++";
        QTest::newRow("after a cancelled one")
            << QStringList{"08:00 A cancelled", "08:00 B", "08:00 C"} << "..+";
        QTest::newRow("no name") << QStringList{"08:00 A", "08:00"} << "..";
    }
    void squeezeInsOfADay()
    {
        QFETCH(QStringList, bookings);
        QFETCH(QString, squeezedIn);
        QVector<Appointment> day;
        for (const QString &typed : std::as_const(bookings)) {
            Appointment booking;
            booking.hora = typed.section(' ', 0, 0);
            booking.nome = typed.section(' ', 1, 1);
            if (typed.endsWith("cancelled"))
                booking.status = BookingStatus::Cancelled;
            day << booking;
        }
        QString marks;
        for (const bool squeezed : squeezeIns({"08:00", "08:30", "09:00"}, day))
            marks += squeezed ? '+' : '.';
        QCOMPARE(marks, squeezedIn);
        QVERIFY(wouldSqueezeIn({"08:00", "08:30", "09:00"}, day, "08:45"));
        QVERIFY(!wouldSqueezeIn({"08:00", "08:30", "09:00"}, day, "09:00"));
    }

    void printedColumnsHoldTheirTexts()
    {
        const QStringList lines = tableLines(
            {"Profissional", "Oferecidos", "Marcadas"},
            {{"Dra. Maria Aparecida da Conceição Souza", "1200", "1"}, {"Ana", "7", "12345678901"}});
        QCOMPARE(lines.value(0),
                 QStringLiteral("Profissional                             Oferecidos  Marcadas"));
        QCOMPARE(lines.value(1), QString(64, QLatin1Char('-')));
        QCOMPARE(lines.value(2), QStringLiteral("Dra. Maria Aparecida da Conceição Souza  1200        1"));
        QCOMPARE(lines.value(3),
                 QStringLiteral("Ana                                      7           12345678901"));
    }

    void fileNamesKeepTheirAccents()
    {
        QCOMPARE(printDocumentName(QStringLiteral("Resumo do mês: Conceição/2"), QDate(2026, 12, 1)),
                 QStringLiteral("Velmora_Resumo_do_mês_Conceição_2_2026-12-01"));
    }

    void smallerPlansGrouped_data()
    {
        QTest::addColumn<int>("plans");
        QTest::addColumn<QStringList>("captions");
        QTest::addColumn<int>("othersBookings");
        QTest::newRow("fewer than shown") << 3 << QStringList{"P1", "P2", "P3"} << 0;
        QTest::newRow("as many as shown") << 4 << QStringList{"P1", "P2", "P3", "P4"} << 0;
        QTest::newRow("more: the rest as one")
            << 6 << QStringList{"P1", "P2", "P3", "others (3 plan(s))"} << 3 + 2 + 1;
    }
    void smallerPlansGrouped()
    {
        QFETCH(int, plans);
        QFETCH(QStringList, captions);
        QFETCH(int, othersBookings);
        QVector<PlanFigures> figures;
        for (int i = 1; i <= plans; ++i)
            figures << PlanFigures{QStringLiteral("P%1").arg(i), plans + 1 - i, 0};
        const QVector<PlanSlice> slices = planSlices(figures, 4);
        QStringList shown;
        int total = 0;
        for (const PlanSlice &slice : slices) {
            shown << slice.caption;
            total += slice.bookings;
        }
        QCOMPARE(shown, captions);
        QCOMPARE(total, plans * (plans + 1) / 2);
        if (othersBookings > 0)
            QCOMPARE(slices.last().bookings, othersBookings);
    }
};

QTEST_GUILESS_MAIN(MonthReportTest)
#include "tst_month_report.moc"
