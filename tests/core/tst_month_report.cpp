// The month's figures as printed and charted: columns that never run together or cut a text, and the
// plans' pie with its smaller slices grouped.
#include "core/month_report.h"
#include "core/printout.h"

#include <QTest>

using namespace velmora;

class MonthReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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
