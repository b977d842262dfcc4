// Finding a patient and the first free slots, without a window: the rules, and the first free slots
// against the day list stepped through day by day.
#include "core/desk/appointment_book.h"
#include "core/schedule/day_list_rules.h"
#include "core/schedule/first_free.h"
#include "core/search/patient_query.h"
#include "core/storage/storage_vocabulary.h"
#include "core/text/date_steps.h"
#include "support/memory_storage.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;
using velmora::testing::MemoryBooks;
using velmora::testing::MemoryStorage;

class FindingTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void whatIsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        using Kind = PatientQuery::Kind;
        QTest::newRow("accents and case") << "CONCEIÇÃO" << int(Kind::Name) << "conceicao";
        QTest::newRow("runs of blanks") << "  joão   da " << int(Kind::Name) << "joao da";
        QTest::newRow("decomposed accent") << QStringLiteral("Jose\u0301") << int(Kind::Name) << "jose";
        QTest::newRow("two letters") << "Jo" << int(Kind::TooShort) << "";
        QTest::newRow("a phone, its area code apart") << "(11) 9999-0000" << int(Kind::Phone) << "99990000";
        QTest::newRow("country and area code apart")
            << "+55 31 98784-7898" << int(Kind::Phone) << "987847898";
        QTest::newRow("dots and plus") << "+55 11.9999" << int(Kind::Phone) << "55119999";
        QTest::newRow("three digits") << "99-9" << int(Kind::TooShort) << "";
        QTest::newRow("letters and digits") << "Ana 2" << int(Kind::Name) << "ana 2";
    }
    void whatIsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(int, kind);
        QFETCH(QString, text);
        const PatientQuery query = patientQuery(typed);
        QCOMPARE(int(query.kind), kind);
        QCOMPARE(query.text, text);
    }

    void matchesAndOrder()
    {
        const QDate today(2027, 3, 10);
        QVector<FoundBooking> found;
        const auto add = [&found](int slot, QDate date, const char *hora, const char *nome,
                                  const char *phones) {
            Appointment booking;
            booking.date = date;
            booking.hora = QString::fromUtf8(hora);
            booking.nome = QString::fromUtf8(nome);
            booking.telefone = QString::fromUtf8(phones);
            found.append({slot, booking});
        };
        add(2, today.addDays(-1), "09:00", "Conceiçao Lima", "9999-0000");
        add(1, today.addDays(3), "08:00", "Maria CONCEIÇÃO", "");
        add(3, today, "10:00", "conceição", "(11) 99990000");
        add(1, today.addDays(-30), "08:00", "Concepción", "");
        QVector<FoundBooking> matched;
        for (const FoundBooking &each : std::as_const(found))
            if (matchesQuery(patientQuery("conceicao"), each.booking))
                matched << each;
        sortFound(matched, today);
        QStringList order;
        for (const FoundBooking &each : std::as_const(matched))
            order << each.booking.nome;
        QCOMPARE(order, (QStringList{"conceição", "Maria CONCEIÇÃO", "Conceiçao Lima"}));
        QVERIFY(matchesQuery(patientQuery("99990000"), found.at(0).booking));
        QVERIFY(matchesQuery(patientQuery("99990000"), found.at(2).booking));
        QVERIFY(!matchesQuery(patientQuery("99990000"), found.at(1).booking));
    }

    // A number typed with its area code finds it stored without, or after the same area code, but not
    // after another one; the other numbers of the field are told apart.
    void phonesWithAndWithoutTheirAreaCode_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("found");
        QTest::newRow("stored without") << "(31) 98784-7898"
                                        << "98784-7898" << true;
        QTest::newRow("stored with the same") << "(31) 98784-7898"
                                              << "31 987847898" << true;
        QTest::newRow("stored with the country code") << "31987847898"
                                                      << "+55 (31) 98784-7898" << true;
        QTest::newRow("typed with the country code") << "+55 31 98784-7898"
                                                     << "98784-7898" << true;
        QTest::newRow("stored with another") << "(31) 98784-7898"
                                             << "(21) 98784-7898" << false;
        QTest::newRow("the second of two") << "(31) 3333-4444"
                                           << "(11) 99999-0000 / 3333-4444" << true;
        QTest::newRow("after another's digits") << "(31) 3333-4444"
                                                << "(11) 99999-0000 / (21) 3333-4444" << false;
        QTest::newRow("typed without") << "98784-7898"
                                       << "(21) 98784-7898" << true;
    }
    void phonesWithAndWithoutTheirAreaCode()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Appointment booking;
        booking.telefone = stored;
        QTEST(matchesQuery(patientQuery(typed), booking), "found");
    }

    // Random weeks of bookings: the first free slots are the first free rows the day list shows, stepping
    // a day at a time.
    void firstFreeSlotsAsTheDayListShows()
    {
        const QDate monday(2027, 3, 1);
        MemoryBooks books;
        MemoryStorage storage(books);
        AllDoctorChanges doctors;
        doctors[0] = {QStringLiteral("Ana"), 0, QStringLiteral("30")};
        QString error;
        QVERIFY(storage.saveDoctors(doctors, &error));
        WeeklyTimes hours;
        for (int day : {0, 2, 4}) { // Monday, Wednesday, Friday mornings
            hours[weeklyTimePosition(day, 1)] = QStringLiteral("0800");
            hours[weeklyTimePosition(day, 2)] = QStringLiteral("0930");
        }
        QVERIFY(storage.saveWeeklyTimes(1, hours, &error));
        QRandomGenerator random(20271);
        const QStringList times = {"08:00", "08:30", "09:00", "09:30", "08:15"};
        for (int day = 0; day < 60; ++day)
            for (int i = random.bounded(6); i > 0; --i) {
                Appointment booking;
                booking.date = monday.addDays(day);
                booking.hora = times.at(random.bounded(times.size()));
                booking.nome = QStringLiteral("P%1").arg(i);
                storage.add(1, booking, 0, &error);
            }

        AppointmentBook book(storage, monday);
        book.readDoctorNames();
        QVERIFY(book.chooseDoctor(1).messages.isEmpty());
        QVector<FirstFree> stepped;
        while (stepped.size() < 10 && book.currentDate() < monday.addDays(60)) {
            for (const QString &row : book.dayList().rows())
                if (row.size() <= BookingRecord::kHoraWidth) {
                    stepped << FirstFree{book.currentDate(), row};
                    break;
                }
            book.stepDate(DateStep::PlusDay, monday);
        }
        const auto readDay = [&storage](QDate date, QVector<Appointment> *day) {
            return storage.readDay(1, date, day, nullptr);
        };
        const QVector<FirstFree> first = firstFreeSlots(book.doctorSettings(), monday, readDay);
        QCOMPARE(first.size(), stepped.size());
        for (int i = 0; i < first.size(); ++i) {
            QCOMPARE(first.at(i).date, stepped.at(i).date);
            QCOMPARE(first.at(i).time, stepped.at(i).time);
        }
        // Started today, the times already past are not offered: late at night, today's are gone.
        const QVector<FirstFree> tonight =
            firstFreeSlots(book.doctorSettings(), monday, readDay, 10, QTime(23, 0));
        QVERIFY(tonight.value(0).date > monday);
        QCOMPARE(tonight.value(0).date, first.value(first.value(0).date == monday ? 1 : 0).date);
        // No hours at all: nothing, after a year, read without a day.
        QCOMPARE(firstFreeSlots(DoctorSettings{}, monday, [](QDate, QVector<Appointment> *) { return false; })
                     .size(),
                 0);
    }
};

QTEST_GUILESS_MAIN(FindingTest)
#include "tst_patient_query.moc"
