#include "core/schedule/weekly_times.h"

#include <QTest>

using namespace velmora;

namespace {

// Boxes by name ("seg_1", "ter_3", ...) with the text typed in them; all others empty.
using Typed = QList<QPair<QString, QString>>;

int boxIndex(const QString &name)
{
    for (int day = 0; day < kWeekdayCount; ++day)
        for (int index = 1; index <= kTimesPerDay; ++index)
            if (name == QStringLiteral("%1_%2").arg(QLatin1String(kWeekdays[day].code)).arg(index))
                return weeklyTimePosition(day, index);
    qFatal("no box %s", qPrintable(name));
}

WeeklyTimes typedTimes(const Typed &typed)
{
    WeeklyTimes times;
    for (const auto &box : typed)
        times[boxIndex(box.first)] = box.second;
    return times;
}

} // namespace

class WeeklyTimesCheckTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void confirm_data()
    {
        QTest::addColumn<Typed>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focusBox");
        const QString monday = QStringLiteral("Monday with inadequate data, please corrects.");
        const QString tuesday = QStringLiteral("Tuesday with inadequate data, please corrects.");
        const QString sunday = QStringLiteral("Sunday with inadequate data, please corrects.");
        const QString bad = QStringLiteral("Types correctly");

        QTest::newRow("all empty passes") << Typed{} << ""
                                          << "";
        QTest::newRow("full day passes")
            << Typed{{"seg_1", "08:00"}, {"seg_2", "12:00"}, {"seg_3", "14:00"}, {"seg_4", "18:00"}} << ""
            << "";
        QTest::newRow("start equals end") << Typed{{"seg_1", "08:00"}, {"seg_2", "08:00"}} << monday << "";
        QTest::newRow("one minute passes") << Typed{{"seg_1", "08:00"}, {"seg_2", "08:01"}} << ""
                                           << "";
        QTest::newRow("second period at the first's end")
            << Typed{{"seg_1", "08:00"}, {"seg_2", "12:00"}, {"seg_3", "12:00"}, {"seg_4", "13:00"}} << ""
            << "";
        QTest::newRow("second period before the first's end")
            << Typed{{"seg_1", "08:00"}, {"seg_2", "12:00"}, {"seg_3", "11:59"}, {"seg_4", "13:00"}} << monday
            << "";
        QTest::newRow("only an end passes") << Typed{{"seg_2", "10:00"}} << ""
                                            << "";
        QTest::newRow("only a start fails") << Typed{{"seg_1", "08:00"}} << monday << "";
        QTest::newRow("second period start only") << Typed{{"dom_3", "08:00"}} << sunday << "";
        QTest::newRow("four characters") << Typed{{"seg_1", "8:00"}, {"seg_2", "09:00"}} << bad << "seg_1";
        QTest::newRow("other separator passes") << Typed{{"seg_1", "08h00"}, {"seg_2", "09h00"}} << ""
                                                << "";
        QTest::newRow("hours above 23") << Typed{{"seg_1", "08:00"}, {"seg_2", "25:00"}} << bad << "seg_2";
        QTest::newRow("midnight ends a period") << Typed{{"seg_1", "22:00"},
                                                         {"seg_2", "24:00"},
                                                         {
                                                             "seg_3",
                                                             "",
                                                         },
                                                         {"ter_3", "23:00"},
                                                         {"ter_4", "24:00"}}
                                                << ""
                                                << "";
        QTest::newRow("midnight starts no period")
            << Typed{{"seg_1", "24:00"}, {"seg_2", "24:00"}} << bad << "seg_1";
        QTest::newRow("past midnight") << Typed{{"seg_1", "22:00"}, {"seg_2", "24:01"}} << bad << "seg_2";
        QTest::newRow("minutes above 59") << Typed{{"seg_1", "08:00"}, {"seg_2", "09:99"}} << bad << "seg_2";
        QTest::newRow("letters") << Typed{{"ter_1", "ab:cd"}} << bad << "ter_1";
        QTest::newRow("leading blank passes") << Typed{{"seg_1", " 08:00"}, {"seg_2", "09:00 "}} << ""
                                              << "";
        QTest::newRow("blanks only are empty") << Typed{{"seg_1", "     "}} << ""
                                               << "";
        QTest::newRow("Tuesday only after Monday passes")
            << Typed{{"seg_1", "08:00"}, {"ter_1", "08:00"}} << monday << "";
        QTest::newRow("Tuesday reported")
            << Typed{{"seg_1", "08:00"}, {"seg_2", "09:00"}, {"ter_1", "09:00"}} << tuesday << "";
        QTest::newRow("format before the day's rules")
            << Typed{{"seg_1", "10:00"}, {"seg_2", "09:00"}, {"seg_4", "9:00"}} << bad << "seg_4";
        QTest::newRow("Monday rule before Tuesday format")
            << Typed{{"seg_1", "10:00"}, {"seg_2", "09:00"}, {"ter_1", "9:00"}} << monday << "";
    }

    void confirm()
    {
        QFETCH(Typed, typed);
        QFETCH(QString, message);
        QFETCH(QString, focusBox);
        const WeeklyTimesCheck check = checkWeeklyTimes(typedTimes(typed));
        QCOMPARE(check.passed, message.isEmpty());
        QCOMPARE(check.message, message);
        QCOMPARE(check.focusBox, focusBox.isEmpty() ? -1 : boxIndex(focusBox));
    }

    // What the message adds: the day, the period and what is wrong with it.
    void reasons_data()
    {
        QTest::addColumn<Typed>("typed");
        QTest::addColumn<QString>("reason");
        QTest::newRow("shape")
            << Typed{{"qua_3", " 9:00"}}
            << "Wednesday, the start of the second period: \"9:00\" is not a time. Write it "
               "as 08:00, from 00:00 to 23:59 (24:00 may end a period).";
        QTest::newRow("no end") << Typed{{"seg_3", "14:00"}}
                                << "Monday: the second period has a start (14:00) but no end.";
        QTest::newRow("end at midnight before the start")
            << Typed{{"sex_1", "10:00"}, {"sex_2", "00:00"}}
            << "Friday: the first period must end after it starts: it runs from 10:00 to 00:00.";
        QTest::newRow("periods overlap")
            << Typed{{"sab_1", "08:00"}, {"sab_2", "12:00"}, {"sab_3", "11:30"}, {"sab_4", "13:00"}}
            << "Saturday: the second period starts at 11:30, before the first "
               "ends at 12:00.";
    }

    void reasons()
    {
        QFETCH(Typed, typed);
        QFETCH(QString, reason);
        QCOMPARE(checkWeeklyTimes(typedTimes(typed)).reason, reason);
    }

    void storedValues()
    {
        const WeeklyTimesCheck check = checkWeeklyTimes(typedTimes({{"seg_1", " 08:00"},
                                                                    {"seg_2", "12:00  "},
                                                                    {"seg_3", "     "},
                                                                    {"qua_2", "10:00"},
                                                                    {"sab_1", "08h00"},
                                                                    {"sab_2", "09h30"}}));
        QVERIFY(check.passed);
        QCOMPARE(check.stored[boxIndex("seg_1")], QStringLiteral("0800"));
        QCOMPARE(check.stored[boxIndex("seg_2")], QStringLiteral("1200"));
        QCOMPARE(check.stored[boxIndex("seg_3")], QString());
        QVERIFY2(!check.stored[boxIndex("seg_3")].isNull(), "a blank time is stored as the empty text");
        QCOMPARE(check.stored[boxIndex("qua_1")], QString());
        QCOMPARE(check.stored[boxIndex("qua_2")], QStringLiteral("1000"));
        QCOMPARE(check.stored[boxIndex("sab_1")], QStringLiteral("0800"));
        QCOMPARE(check.stored[boxIndex("sab_2")], QStringLiteral("0930"));
    }

    void shownTimes()
    {
        QCOMPARE(shownTime(QStringLiteral("0800")), QStringLiteral("08:00"));
        QCOMPARE(shownTime(QStringLiteral("800")), QStringLiteral("800"));
        QCOMPARE(shownTime(QString()), QString());
        QCOMPARE(shownTime(QStringLiteral("12345")), QStringLiteral("12345"));
    }
};

QTEST_GUILESS_MAIN(WeeklyTimesCheckTest)
#include "tst_weekly_times.moc"
