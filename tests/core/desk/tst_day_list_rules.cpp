#include "core/desk/day_list_procedures.h"
#include "core/model/appointment.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

namespace {

DoctorSettings mondayDoctor(const QString &slotLength, const QStringList &mondayTimes)
{
    DoctorSettings settings;
    settings.slotLength = fitted(slotLength, 2);
    for (int i = 0; i < mondayTimes.size(); ++i)
        settings.weeklyTimes[i] = fitted(mondayTimes.at(i), 4);
    return settings;
}

const QDate kMonday(2027, 3, 1);

Appointment booking(const QString &hora, const QString &nome)
{
    Appointment appointment;
    appointment.date = kMonday;
    appointment.hora = hora;
    appointment.nome = nome;
    return appointment;
}

} // namespace

class DayListRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A booking's row made at once reads exactly as the record's columns joined.
    void aRowMadeAtOnceReadsAsItsColumns_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("notes");
        QTest::newRow("short") << "Ana"
                               << "";
        QTest::newRow("line breaks") << "Two\r\nLines"
                                     << "a\tb\u2028c";
        QTest::newRow("longer than the columns")
            << QString(50, QLatin1Char('n')) << QString(30, QLatin1Char('o'));
        QTest::newRow("emoji") << QString::fromUtf8("Jo\xF0\x9F\x98\x80o")
                               << QString::fromUtf8(QByteArray(25, 'x') + "\xF0\x9F\x98\x80");
    }
    void aRowMadeAtOnceReadsAsItsColumns()
    {
        QFETCH(QString, name);
        QFETCH(QString, notes);
        Appointment booking;
        booking.hora = QStringLiteral("08:15");
        booking.nome = name;
        booking.convenio = QStringLiteral("Unimed");
        booking.obs = notes;
        QCOMPARE(shownRow(booking), shownRecord(booking).row());
    }

    void periodRule_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("slotLength");
        QTest::addColumn<QStringList>("rows");

        QTest::newRow("20 minutes, end on the grid")
            << "0800"
            << "0900"
            << "20" << QStringList{"08:00", "08:20", "08:40", "09:00"};
        QTest::newRow("30 minutes from a quarter") << "0845"
                                                   << "1000"
                                                   << "30" << QStringList{"08:45", "09:15", "09:45"};
        QTest::newRow("end off the grid") << "0800"
                                          << "0910"
                                          << "30" << QStringList{"08:00", "08:30", "09:00"};
        QTest::newRow("start equals end") << "0800"
                                          << "0800"
                                          << "15" << QStringList{"08:00"};
        QTest::newRow("blank end lists the start") << "0800"
                                                   << "    "
                                                   << "15" << QStringList{"08:00"};
        QTest::newRow("end before start") << "1000"
                                          << "0900"
                                          << "15" << QStringList{"10:00"};
        QTest::newRow("blank start lists nothing") << "    "
                                                   << "1200"
                                                   << "15" << QStringList{};
        QTest::newRow("hours do not wrap") << "2330"
                                           << "2400"
                                           << "15" << QStringList{"23:30", "23:45", "24:00"};
        QTest::newRow("slot length with a trailing blank") << "0800"
                                                           << "0810"
                                                           << "5 " << QStringList{"08:00", "08:05", "08:10"};
        QTest::newRow("zero slot length ends at the start") << "0800"
                                                            << "1800"
                                                            << "0 " << QStringList{"08:00"};
        QTest::newRow("blank slot length ends at the start") << "0800"
                                                             << "1800"
                                                             << "  " << QStringList{"08:00"};
        QTest::newRow("letters as slot length") << "0800"
                                                << "1800"
                                                << "xx" << QStringList{"08:00"};
        QTest::newRow("negative slot length") << "0800"
                                              << "1800"
                                              << "-5" << QStringList{"08:00"};
        QTest::newRow("75 minutes roll over the hour")
            << "0830"
            << "1215"
            << "75" << QStringList{"08:30", "09:45", "11:00", "12:15"};
        QTest::newRow("99 minutes, the field's longest") << "0800"
                                                         << "1130"
                                                         << "99" << QStringList{"08:00", "09:39", "11:18"};
    }

    void periodRule()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, slotLength);
        QFETCH(QStringList, rows);
        QCOMPARE(periodRows(start, end, slotLength), rows);
    }

    void periodRuleEndsOnNonsense_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("slotLength");
        QTest::newRow("one minute to a huge end") << "0000"
                                                  << "99999999"
                                                  << "1";
        QTest::newRow("minutes past 59") << "0899"
                                         << "9999"
                                         << "99";
        QTest::newRow("letters") << "ab:c"
                                 << "zzzz"
                                 << "15";
        QTest::newRow("negative start") << "-800"
                                        << "9999"
                                        << "15";
    }

    void periodRuleEndsOnNonsense()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, slotLength);
        const QStringList rows = periodRows(start, end, slotLength);
        QVERIFY(!rows.isEmpty());
        QVERIFY(rows.size() <= 24 * 60 + 1);
    }

    void fullDayHasBothPeriods()
    {
        const DoctorSettings doctor = mondayDoctor("15", {"0800", "1200", "1400", "1800"});
        DayListModel list;
        list_free_slots(list, doctor, kMonday);
        QCOMPARE(list.rowCount(), 34);
        QCOMPARE(list.rows().first(), QStringLiteral("08:00"));
        QVERIFY(list.rows().contains(QStringLiteral("12:00")));
        QVERIFY(!list.rows().contains(QStringLiteral("12:15")));
        QCOMPARE(list.rows().last(), QStringLiteral("18:00"));
    }

    void weekdayPicksItsTimes()
    {
        DoctorSettings doctor;
        doctor.slotLength = QStringLiteral("30");
        doctor.weeklyTimes[weeklyTimePosition(5, 1)] = QStringLiteral("0900"); // Saturday
        doctor.weeklyTimes[weeklyTimePosition(5, 2)] = QStringLiteral("0930");
        doctor.weeklyTimes[weeklyTimePosition(6, 1)] = QStringLiteral("1000"); // Sunday
        doctor.weeklyTimes[weeklyTimePosition(6, 2)] = QStringLiteral("1000");
        QCOMPARE(freeSlotRows(doctor, QDate(2027, 3, 6)), (QStringList{"09:00", "09:30"}));
        QCOMPARE(freeSlotRows(doctor, QDate(2027, 3, 7)), QStringList{"10:00"});
        QCOMPARE(freeSlotRows(doctor, kMonday), QStringList{});
    }

    void overlappingPeriodsListTwiceInOrder()
    {
        const DoctorSettings doctor = mondayDoctor("30", {"1000", "1100", "0900", "1000"});
        DayListModel list;
        list_free_slots(list, doctor, kMonday);
        QCOMPARE(list.rows(), (QStringList{"09:00", "09:30", "10:00", "10:00", "10:30", "11:00"}));
    }

    void bookingRowFormat()
    {
        const BookingRecord record =
            BookingRecord::of("08:15", "Maria da Silva", "Unimed", "555-1234", "first visit");
        const QString row = record.row();
        QCOMPARE(row.size(), 103);
        QCOMPARE(row.mid(0, 7), QStringLiteral("08:15  "));
        QCOMPARE(row.mid(7, 35).trimmed(), QStringLiteral("Maria da Silva"));
        QCOMPARE(row.mid(44, 15).trimmed(), QStringLiteral("Unimed"));
        QCOMPARE(row.mid(61, 20).trimmed(), QStringLiteral("555-1234"));
        QCOMPARE(row.mid(83, 20).trimmed(), QStringLiteral("first visit"));
    }

    void rowsCountCharactersNotUnits()
    {
        const QString accented = QStringLiteral("Conceição");
        QCOMPARE(characterCount(accented), 9);
        const QString emoji = QStringLiteral("Ana \U0001F600 Lima");
        QCOMPARE(characterCount(emoji), 10);
        const BookingRecord record = BookingRecord::of("09:00", emoji, accented, "", "");
        QCOMPARE(characterCount(record.row()), 103);
        const BookingRecord back = BookingRecord::fromRow(record.row());
        QCOMPARE(trimBlanks(back.nome), emoji);
        QCOMPARE(trimBlanks(back.convenio), accented);
        // Cutting at the width never splits the emoji's two halves.
        const QString cut =
            fitted(QString(34, QLatin1Char('x')) + QStringLiteral("\U0001F600\U0001F600"), 35);
        QCOMPARE(characterCount(cut), 35);
        QVERIFY(cut.endsWith(QStringLiteral("\U0001F600")));
    }

    void rowColumnsAreReadAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("hora");
        QTest::addColumn<QString>("nome");
        QTest::addColumn<QString>("obs");
        QTest::newRow("free row") << "08:00"
                                  << "08:00"
                                  << ""
                                  << "";
        QTest::newRow("booking row") << BookingRecord::of("09:00", "Ana", "Plan", "123", "note").row()
                                     << "09:00"
                                     << "Ana"
                                     << "note";
        QTest::newRow("full name column")
            << BookingRecord::of("09:00", QString(35, QLatin1Char('N')), "", "", "z").row() << "09:00"
            << QString(35, QLatin1Char('N')) << "z";
        QTest::newRow("empty row") << ""
                                   << ""
                                   << ""
                                   << "";
    }

    void rowColumnsAreReadAtTheirPlaces()
    {
        QFETCH(QString, row);
        QFETCH(QString, hora);
        QFETCH(QString, nome);
        QFETCH(QString, obs);
        const BookingRecord record = BookingRecord::fromRow(row);
        QCOMPARE(trimBlanks(record.hora), hora);
        QCOMPARE(trimBlanks(record.nome), nome);
        QCOMPARE(trimBlanks(record.obs), obs);
        QCOMPARE(record.nome.size(), 35);
    }

    void mergeReplacesFreeRows()
    {
        const DoctorSettings doctor = mondayDoctor("15", {"0800", "0900"});
        DayListModel list;
        BookingRecord current;
        list_free_slots(list, doctor, kMonday);
        const QVector<Appointment> bookings = {booking("08:15", "Ana"), booking("08:10", "Off Grid"),
                                               booking("08:30", "First"), booking("08:30", "Second")};
        merge_bookings(list, current, bookings);
        const QStringList rows = list.rows();
        QCOMPARE(dayRows(doctor, kMonday, bookings), rows); // the day listed in one go
        QVERIFY(!rows.contains(QStringLiteral("08:15")));
        QVERIFY(!rows.contains(QStringLiteral("08:30")));
        QCOMPARE(rows.size(), 7); // five free rows, two replaced, two more stand beside them
        // The booking at 08:10 stands between the free rows 08:00 and 08:15's booking.
        QCOMPARE(rows.at(0), QStringLiteral("08:00"));
        QVERIFY(rows.at(1).startsWith(QStringLiteral("08:10  Off Grid")));
        QVERIFY(rows.at(2).startsWith(QStringLiteral("08:15  Ana")));
        QVERIFY(rows.at(3).startsWith(QStringLiteral("08:30  First")));
        QVERIFY(rows.at(4).startsWith(QStringLiteral("08:30  Second")));
        QCOMPARE(trimBlanks(current.nome), QStringLiteral("Second")); // the last booking merged
    }

    void mergeEdgeRows()
    {
        const DoctorSettings doctor = mondayDoctor("60", {"0800", "1900"});
        DayListModel list;
        BookingRecord current;
        list_free_slots(list, doctor, kMonday);
        Appointment placeholder;
        placeholder.date = kMonday;
        Appointment noPlan = booking("09:00", "Nulls");
        merge_bookings(list, current,
                       {placeholder, booking("", "Blank Time"), booking("8:00", "Short"), noPlan});
        const QStringList rows = list.rows();
        // The all-blank record drops its own row again at once.
        QVERIFY(
            std::none_of(rows.begin(), rows.end(), [](const QString &r) { return trimBlanks(r).isEmpty(); }));
        QVERIFY(rows.first().contains(QStringLiteral("Blank Time")));
        QVERIFY(rows.last().startsWith(QStringLiteral("8:00 ")));
        const auto nulls =
            std::find_if(rows.begin(), rows.end(), [](const QString &r) { return r.contains("Nulls"); });
        QCOMPARE(nulls->size(), 103);
    }

    // The merge in one pass gives the rows that adding and dropping one booking at a time gives,
    // also for blank bookings that drop each other, repeated times and names differing in case.
    void mergeInOnePassMatchesOneAtATime()
    {
        const DoctorSettings doctor = mondayDoctor("15", {"0800", "0900", "0845", "0930"});
        QRandomGenerator random(7);
        const QStringList times = {"08:00", "08:15", "08:45", "8:00", "", " 08:15", "09:30", "08:00 "};
        const QStringList names = {"", "ana", "Ana", "ANA", "bob", "", "  "};
        QVector<BookingRecord> bookings;
        DayListModel oneAtATime;
        list_free_slots(oneAtATime, doctor, kMonday);
        const QStringList free = oneAtATime.rows();
        for (int i = 0; i < 400; ++i) {
            bookings << BookingRecord::of(times.at(random.bounded(times.size())),
                                          names.at(random.bounded(names.size())), "", "", "");
            oneAtATime.add(bookings.last().row());
            drop_free_slot(oneAtATime, bookings.last());
            QCOMPARE(mergedDayRows(free, bookings), oneAtATime.rows());
        }
    }

    void listSortsWithoutCase()
    {
        DayListModel list;
        list.add(QStringLiteral("09:00  bob"));
        list.add(QStringLiteral("09:00  Anna"));
        list.add(QStringLiteral("09:00  carl"));
        list.add(QStringLiteral("09:00"));
        QCOMPARE(list.rows(), (QStringList{"09:00", "09:00  Anna", "09:00  bob", "09:00  carl"}));
        BookingRecord current = BookingRecord::of("09:00", "", "", "", "");
        QCOMPARE(drop_free_slot(list, current), 0);
        QCOMPARE(drop_free_slot(list, current), -1);
    }

    void numericValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("whole");
        QTest::newRow("digits") << "0800" << qint64(800);
        QTest::newRow("leading blanks") << "   3" << qint64(3);
        QTest::newRow("trailing letters") << "12ab" << qint64(12);
        QTest::newRow("empty") << "" << qint64(0);
        QTest::newRow("letters") << "abc" << qint64(0);
        QTest::newRow("half to even down") << "2.5" << qint64(2);
        QTest::newRow("half to even up") << "3.5" << qint64(4);
        QTest::newRow("negative") << "-7" << qint64(-7);
        QTest::newRow("huge") << "99999999999999999999999" << qint64(1000000000);
    }

    void numericValues()
    {
        QFETCH(QString, text);
        QFETCH(qint64, whole);
        QCOMPARE(wholeValue(text), whole);
    }

    void linkedSlotStaysIn16Bits()
    {
        QCOMPARE(linkedSlotValue(QStringLiteral("3")), qint16(3));
        QCOMPARE(linkedSlotValue(QStringLiteral("11")), qint16(11));
        QCOMPARE(linkedSlotValue(QString()), qint16(0));
        QCOMPARE(linkedSlotValue(QStringLiteral("70000")), qint16(0));
    }

    void weeklyTimePositions() { QCOMPARE(weeklyTimePosition(1, 2), 5); }
};

QTEST_GUILESS_MAIN(DayListRules)
#include "core/model/appointment.h"
#include "tst_day_list_rules.moc"
