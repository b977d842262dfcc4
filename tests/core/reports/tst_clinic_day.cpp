// The clinic's day against each doctor's day list built the usual way, for random weekly hours, slot
// lengths and bookings: every row of every list is on the board at its time, in its state, and the
// lines for a terminal say the same, in the list's order.
#include "core/reception/clinic_day.h"
#include "core/reports/board_printout.h"
#include "core/schedule/doctor_settings.h"
#include "support/memory_storage.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

class ClinicDayTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theBoardShowsEachDoctorsDayList_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 20; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void theBoardShowsEachDoctorsDayList()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        testing::MemoryBooks books;
        testing::MemoryStorage storage(books);
        const QDate monday(2027, 3, 1);
        const QStringList lengths{"10", "15", "20", "30"};
        const int doctors = random.bounded(1, kDoctorSlotCount + 1);
        for (int slot = 1; slot <= doctors; ++slot) {
            books.doctors[slot - 1] = {QStringLiteral("Doctor %1").arg(slot), lengths.at(random.bounded(4)),
                                       "0"};
            WeeklyTimes &hours = books.hours[slot - 1];
            hours.fill(QStringLiteral("    "));
            if (random.bounded(4) != 0) { // some doctors do not work on Mondays
                const int start = 7 + random.bounded(4);
                hours[weeklyTimePosition(0, 1)] = QStringLiteral("%100").arg(start, 2, 10, QLatin1Char('0'));
                hours[weeklyTimePosition(0, 2)] =
                    QStringLiteral("%1").arg((start + random.bounded(1, 5)) * 100, 4, 10, QLatin1Char('0'));
            }
            for (int n = random.bounded(8); n > 0; --n) {
                Appointment booking;
                booking.date = monday;
                booking.hora = QStringLiteral("%1:%2")
                                   .arg(7 + random.bounded(8), 2, 10, QLatin1Char('0'))
                                   .arg(random.bounded(4) * 15, 2, 10, QLatin1Char('0'));
                booking.nome = QStringLiteral("Patient %1").arg(random.bounded(3)); // some read alike
                QString error;
                storage.add(slot, booking, 0, &error);
            }
        }
        const ClinicDay day = readClinicDay(storage, monday);
        QCOMPARE(day.columns.size(), doctors);
        QStringList expectedLines;
        for (int c = 0; c < day.columns.size(); ++c) {
            const int slot = c + 1;
            QVector<Appointment> bookings;
            QString error;
            QVERIFY(storage.readDay(slot, monday, &bookings, &error));
            const DoctorSettings settings = doctorSettingsOf(books.doctors[slot - 1], books.hours[slot - 1]);
            const QStringList rows = dayRows(settings, monday, bookings);
            const QVector<int> shown = rowBookings(rows, bookings);
            if (rows.isEmpty())
                expectedLines << QStringLiteral("\t%1\tDoctor %1\tno-hours").arg(slot);
            for (int r = 0; r < rows.size(); ++r) {
                const int time = static_cast<int>(day.times.indexOf(timeOfRow(rows.at(r))));
                QVERIFY(time >= 0);
                const BoardCell cell = boardCell(day, time, c);
                if (shown.at(r) < 0) {
                    expectedLines
                        << QStringLiteral("%1\t%2\tDoctor %2\tfree").arg(timeOfRow(rows.at(r))).arg(slot);
                    QVERIFY(cell.state == CellState::Free || cell.state == CellState::Booked);
                    continue;
                }
                const Appointment &booked = bookings.at(shown.at(r));
                expectedLines << QStringLiteral("%1\t%2\tDoctor %2\tbooked\t%3\t\t\tto-confirm")
                                     .arg(timeOfRow(rows.at(r)))
                                     .arg(slot)
                                     .arg(booked.nome);
                QCOMPARE(cell.state, CellState::Booked);
                QVERIFY(std::any_of(cell.bookings.cbegin(), cell.bookings.cend(),
                                    [&booked](const Appointment &b) { return b.id == booked.id; }));
            }
            // Times the doctor lists nothing at are outside the hours, or all of a day without any.
            for (int t = 0; t < day.times.size(); ++t)
                if (std::none_of(rows.cbegin(), rows.cend(),
                                 [&](const QString &row) { return timeOfRow(row) == day.times.at(t); }))
                    QCOMPARE(boardCell(day, t, c).state, freeSlotRows(settings, monday).isEmpty()
                                                             ? CellState::NoHours
                                                             : CellState::OutsideHours);
        }
        QCOMPARE(clinicDayLines(day), expectedLines);
    }

    // A meeting closes part of one doctor's day: at those times, which the other doctor lists, her cells
    // say closed and why; none of them is free.
    void aClosedTimeIsNeverFree()
    {
        testing::MemoryBooks books;
        testing::MemoryStorage storage(books);
        books.setMondayDoctor(1, QStringLiteral("Ana"), QStringLiteral("30"), QStringLiteral("0800"),
                              QStringLiteral("1000"));
        books.setMondayDoctor(2, QStringLiteral("Bruno"), QStringLiteral("30"), QStringLiteral("0800"),
                              QStringLiteral("1000"));
        CalendarEntry meeting;
        meeting.slot = 1;
        meeting.from = QDate(2027, 3, 1);
        meeting.start = QStringLiteral("0900");
        meeting.end = QStringLiteral("1000");
        meeting.reason = QStringLiteral("Meeting");
        books.calendar = {meeting};
        const ClinicDay day = readClinicDay(storage, QDate(2027, 3, 1));
        QCOMPARE(day.times, (QStringList{"08:00", "08:30", "09:00", "09:30", "10:00"}));
        for (int time : {2, 3}) {
            QCOMPARE(boardCell(day, time, 0).state, CellState::Closed);
            QCOMPARE(boardCell(day, time, 0).reason, QStringLiteral("Meeting 09:00-10:00"));
            QCOMPARE(boardCell(day, time, 1).state, CellState::Free);
        }
        QCOMPARE(boardCell(day, 4, 0).state, CellState::Free);
        QCOMPARE(clinicDayLines(day).filter(QStringLiteral("\t1\tAna\tfree")).size(), 3);
    }

    // The board's printout gives every patient of a shared time whole, on lines of their own.
    void aSharedTimeIsPrintedWhole()
    {
        testing::MemoryBooks books;
        testing::MemoryStorage storage(books);
        books.setMondayDoctor(1, QStringLiteral("Ana"), QStringLiteral("30"), QStringLiteral("0800"),
                              QStringLiteral("0900"));
        QString error;
        for (const char *nome : {"Paciente B1 de Souza", "Paciente B2 Maria Aparecida Conceição"}) {
            Appointment booking;
            booking.date = QDate(2027, 3, 1);
            booking.hora = QStringLiteral("08:00");
            booking.nome = QString::fromUtf8(nome);
            QCOMPARE(storage.add(1, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        const QString printed =
            boardPrintout(readClinicDay(storage, QDate(2027, 3, 1)), false).rows.join('\n');
        const QString words = printed.simplified();
        for (const char *part : {"Paciente B1 de", "Souza", "Paciente B2 Maria", "Aparecida", "Conceição"})
            QVERIFY2(words.contains(QString::fromUtf8(part)), qPrintable(printed));
    }
};

QTEST_GUILESS_MAIN(ClinicDayTest)
#include "tst_clinic_day.moc"
