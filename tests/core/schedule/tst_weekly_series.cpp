// The dates of a weekly series, and what the series window refuses.
#include "core/schedule/weekly_series.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

namespace {

// The sessions found by walking the calendar a day at a time: the model the series is checked against.
QVector<SeriesDate> walkedDates(const SeriesRule &rule)
{
    const QDate firstMonday = rule.start.addDays(1 - rule.start.dayOfWeek());
    QVector<SeriesDate> dates;
    for (QDate date = rule.start;; date = date.addDays(1)) {
        if (rule.sessions == 0 && date > rule.until)
            return dates;
        if ((firstMonday.daysTo(date) / 7) % rule.everyWeeks != 0)
            continue;
        for (const SeriesDay &day : rule.days)
            if (day.weekday == date.dayOfWeek())
                dates.append({date, day.time});
        if (dates.size() >= (rule.sessions > 0 ? rule.sessions : kMaxSeriesSessions + 1))
            return dates.mid(0, rule.sessions > 0 ? rule.sessions : kMaxSeriesSessions + 1);
    }
}

QString listed(const QVector<SeriesDate> &dates)
{
    QStringList days;
    for (const SeriesDate &date : dates)
        days << date.date.toString(Qt::ISODate) + QLatin1Char(' ') + date.time;
    return days.join(QLatin1Char(','));
}

} // namespace

class WeeklySeriesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Random rules over month, year and leap-day boundaries give the days a calendar walk gives.
    void theDatesAreThoseOfACalendarWalk()
    {
        QRandomGenerator random(20261208);
        for (int run = 0; run < 500; ++run) {
            SeriesRule rule;
            rule.start = QDate(2023, 1, 1).addDays(random.bounded(8 * 365));
            rule.everyWeeks = 1 + random.bounded(kMaxSeriesWeekInterval);
            for (int day = 1; day <= 7; ++day)
                if (random.bounded(3) == 0)
                    rule.days << SeriesDay{day,
                                           QStringLiteral("%1:30").arg(7 + day, 2, 10, QLatin1Char('0'))};
            if (rule.days.isEmpty())
                rule.days << SeriesDay{1 + random.bounded(7), QStringLiteral("08:00")};
            if (random.bounded(2) == 0)
                rule.sessions = 1 + random.bounded(kMaxSeriesSessions);
            else
                rule.until = rule.start.addDays(random.bounded(900));
            const QString walked = listed(walkedDates(rule));
            QVERIFY2(listed(seriesDates(rule)) == walked,
                     qPrintable(QStringLiteral("from %1 every %2 weeks")
                                    .arg(rule.start.toString(Qt::ISODate))
                                    .arg(rule.everyWeeks)));
            // A series past the limit is refused, never cut short without a word.
            QCOMPARE(seriesRefusal(rule).isEmpty(),
                     !walked.isEmpty() && walkedDates(rule).size() <= kMaxSeriesSessions);
        }
    }

    void badSeriesAreRefused_data()
    {
        QTest::addColumn<int>("sessions");
        QTest::addColumn<int>("untilDays"); // after the start, when sessions is 0
        QTest::addColumn<QString>("time");
        QTest::addColumn<bool>("weekday");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("ten sessions") << 10 << 0 << "08:00" << true << "";
        QTest::newRow("a hundred") << 100 << 0 << "8:00" << true << "";
        QTest::newRow("no sessions") << -1 << 0 << "08:00" << true << "A series has 1 to 100 sessions.";
        QTest::newRow("a hundred and one")
            << 101 << 0 << "08:00" << true << "A series has 1 to 100 sessions.";
        QTest::newRow("end before the start")
            << 0 << -1 << "08:00" << true << "The series ends before it starts.";
        QTest::newRow("no weekday") << 10 << 0 << "08:00" << false << "Choose at least one weekday.";
        QTest::newRow("not a time") << 10 << 0 << "8h" << true
                                    << "\"8h\" is not a time: type it as HH:MM, for example 08:00.";
        QTest::newRow("past the hour")
            << 10 << 0 << "24:10" << true << "\"24:10\" is not a time: type it as HH:MM, for example 08:00.";
        QTest::newRow("two years of weeks")
            << 0 << 730 << "08:00" << true << "A series has 1 to 100 sessions: choose an earlier end.";
    }
    void badSeriesAreRefused()
    {
        QFETCH(int, sessions);
        QFETCH(int, untilDays);
        QFETCH(QString, time);
        QFETCH(bool, weekday);
        SeriesRule rule;
        rule.start = QDate(2027, 3, 2);
        rule.sessions = sessions;
        rule.until = rule.start.addDays(untilDays);
        if (weekday)
            rule.days << SeriesDay{2, time};
        QTEST(seriesRefusal(rule), "refusal");
    }
};

QTEST_GUILESS_MAIN(WeeklySeriesTest)
#include "tst_weekly_series.moc"
