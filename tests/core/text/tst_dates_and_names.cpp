#include "core/text/date_steps.h"
#include "core/text/name_rules.h"
#include "core/text/text_rules.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::DateStep)

class DatesAndNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dateSteps_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<DateStep>("step");
        QTest::addColumn<QDate>("to");

        QTest::newRow("+day into March") << QDate(2027, 2, 28) << DateStep::PlusDay << QDate(2027, 3, 1);
        QTest::newRow("+day leap February") << QDate(2028, 2, 28) << DateStep::PlusDay << QDate(2028, 2, 29);
        QTest::newRow("-day across a year") << QDate(2027, 1, 1) << DateStep::MinusDay << QDate(2026, 12, 31);
        QTest::newRow("+week across a year")
            << QDate(2027, 12, 29) << DateStep::PlusWeek << QDate(2028, 1, 5);
        QTest::newRow("-week across a month")
            << QDate(2027, 3, 3) << DateStep::MinusWeek << QDate(2027, 2, 24);
        QTest::newRow("+month mid-month") << QDate(2027, 1, 15) << DateStep::PlusMonth << QDate(2027, 2, 15);
        QTest::newRow("+month from 31 January")
            << QDate(2027, 1, 31) << DateStep::PlusMonth << QDate(2027, 3, 3);
        QTest::newRow("+month from 31 January, leap")
            << QDate(2028, 1, 31) << DateStep::PlusMonth << QDate(2028, 3, 2);
        QTest::newRow("+month from 30 January")
            << QDate(2027, 1, 30) << DateStep::PlusMonth << QDate(2027, 3, 2);
        QTest::newRow("+month from 31 March")
            << QDate(2027, 3, 31) << DateStep::PlusMonth << QDate(2027, 5, 1);
        QTest::newRow("+month from 29 February")
            << QDate(2028, 2, 29) << DateStep::PlusMonth << QDate(2028, 3, 29);
        QTest::newRow("-month mid-month") << QDate(2027, 3, 15) << DateStep::MinusMonth << QDate(2027, 2, 15);
        QTest::newRow("-month across a year")
            << QDate(2027, 1, 15) << DateStep::MinusMonth << QDate(2026, 12, 15);
        QTest::newRow("-month from 31 March")
            << QDate(2027, 3, 31) << DateStep::MinusMonth << QDate(2027, 3, 3);
        QTest::newRow("-month from 31 March, leap")
            << QDate(2028, 3, 31) << DateStep::MinusMonth << QDate(2028, 3, 2);
        QTest::newRow("-month from 31 May")
            << QDate(2027, 5, 31) << DateStep::MinusMonth << QDate(2027, 5, 1);
        QTest::newRow("-month from 31 December")
            << QDate(2027, 12, 31) << DateStep::MinusMonth << QDate(2027, 12, 1);
        QTest::newRow("-month century not leap")
            << QDate(2100, 3, 31) << DateStep::MinusMonth << QDate(2100, 3, 3);
        QTest::newRow("-month century leap")
            << QDate(2000, 3, 31) << DateStep::MinusMonth << QDate(2000, 3, 2);
        QTest::newRow("today") << QDate(2031, 7, 4) << DateStep::Today << QDate(2027, 3, 1);
    }

    void dateSteps()
    {
        QFETCH(QDate, from);
        QFETCH(DateStep, step);
        QFETCH(QDate, to);
        const std::optional<QDate> next = steppedDate(from, step, QDate(2027, 3, 1));
        QVERIFY(next.has_value());
        QCOMPARE(*next, to);
    }

    void calendarEndsChangeNothing_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<DateStep>("step");
        QTest::newRow("+day on 31 December 9999") << QDate(9999, 12, 31) << DateStep::PlusDay;
        QTest::newRow("+week in late 9999") << QDate(9999, 12, 28) << DateStep::PlusWeek;
        QTest::newRow("+month in December 9999") << QDate(9999, 12, 1) << DateStep::PlusMonth;
        QTest::newRow("-day on 1 January 100") << QDate(100, 1, 1) << DateStep::MinusDay;
        QTest::newRow("-month in January 100") << QDate(100, 1, 20) << DateStep::MinusMonth;
    }

    void calendarEndsChangeNothing()
    {
        QFETCH(QDate, from);
        QFETCH(DateStep, step);
        QVERIFY(!steppedDate(from, step, QDate(2027, 3, 1)).has_value());
    }

    void daysInMonth()
    {
        QCOMPARE(days_in_month(QDate(2027, 2, 10)), qint16(28));
        QCOMPARE(days_in_month(QDate(2028, 2, 10)), qint16(29));
        QCOMPARE(days_in_month(QDate(1900, 2, 1)), qint16(28));
        QCOMPARE(days_in_month(QDate(2000, 2, 1)), qint16(29));
        QCOMPARE(days_in_month(QDate(2027, 4, 30)), qint16(30));
        QCOMPARE(days_in_month(QDate(9999, 12, 31)), qint16(31));
    }

    void capitalizeName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("capitalised");
        QTest::newRow("particle in the middle") << "maria DA silva"
                                                << "Maria da Silva";
        QTest::newRow("blanks around") << "  joao  "
                                       << "Joao";
        QTest::newRow("run of blanks kept") << "ana  maria"
                                            << "Ana  Maria";
        QTest::newRow("particle first") << "de souza"
                                        << "de Souza";
        QTest::newRow("single letter particle") << "E"
                                                << "e";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("only blanks") << "   "
                                     << "";
        QTest::newRow("hyphen is no separator") << "ana-maria"
                                                << "Ana-maria";
        QTest::newRow("elided particle") << "MARIA D'ÁVILA"
                                         << "Maria d'Ávila";
        QTest::newRow("elided particle, typographic apostrophe") << "d\u2019oliveira"
                                                                 << "d\u2019Oliveira";
        QTest::newRow("other apostrophe") << "o'neil"
                                          << "O'neil";
        QTest::newRow("accents beyond ASCII") << "joão DA conceição"
                                              << "João da Conceição";
        QTest::newRow("accented capital") << "ÉLODIE émile"
                                          << "Élodie Émile";
        QTest::newRow("all particles") << "DOS das Do a"
                                       << "dos das do a";
        QTest::newRow("emoji word") << "\U0001F600 ana"
                                    << "\U0001F600 Ana";
        QTest::newRow("tab is part of a word") << "ana\tmaria"
                                               << "Ana\tmaria";
        QTest::newRow("dotted capital I keeps the length") << "AYŞE İPEKÇİ İNCEİŞLİ DİLİGÜZELGİLİ"
                                                           << "Ayşe İpekçi İnceişli Diligüzelgili";
    }

    void capitalizeName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, capitalised);
        QCOMPARE(capitalize_name(typed), capitalised);
        QCOMPARE(characterCount(capitalize_name(typed)), characterCount(trimBlanks(typed)));
    }

    void capitalizePlan_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("acronym") << "SUS"
                                 << "SUS";
        QTest::newRow("capital inside") << "SulAmérica"
                                        << "SulAmérica";
        QTest::newRow("lower case raised") << " unimed  saúde "
                                           << "Unimed  Saúde";
        QTest::newRow("particle") << "porto de saúde"
                                  << "Porto de Saúde";
    }

    void capitalizePlan()
    {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QCOMPARE(capitalize_plan(typed), kept);
    }

    // A field limited to 5 characters: what an edit (before -> after) leaves in it.
    void limitedEdits_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("kept"); // "<refused>" when the field keeps what it had
        QTest::newRow("keystroke at the start of a full field") << "08:00"
                                                                << "108:00"
                                                                << "<refused>";
        QTest::newRow("keystroke at the end of a full field") << "08:00"
                                                              << "08:001"
                                                              << "<refused>";
        QTest::newRow("keystroke with room") << "08:0"
                                             << "08:00"
                                             << "08:00";
        QTest::newRow("typing over a selection") << "08:00"
                                                 << "9"
                                                 << "9";
        QTest::newRow("paste takes what fits") << "ab"
                                               << "aXYZWVb"
                                               << "aXYZb";
        QTest::newRow("paste into a full field") << "abcde"
                                                 << "abXYcde"
                                                 << "<refused>";
        QTest::newRow("deleting is always allowed") << "abcdefgh"
                                                    << "abcdefg"
                                                    << "abcdefg";
        QTest::newRow("loaded long text, key refused") << "abcdefgh"
                                                       << "abcdefghi"
                                                       << "<refused>";
        QTest::newRow("emoji counts once") << "abcd"
                                           << "abcd\U0001F600"
                                           << "abcd\U0001F600";
        QTest::newRow("emoji never halved") << "abcd"
                                            << "abcd\U0001F600\U0001F601"
                                            << "abcd\U0001F600";
        QTest::newRow("pasted line break and NUL")
            << "" << QStringLiteral("a\nb\0c") << QStringLiteral("a b c");
        QTest::newRow("pasted tab and line separator") << "" << QStringLiteral("a\tb\u2028") << "a b ";
    }

    void limitedEdits()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, kept);
        const LimitedEdit edit = limitedEdit(before, after, 5);
        QCOMPARE(edit.accepted ? edit.text : QStringLiteral("<refused>"), kept);
    }
};

QTEST_GUILESS_MAIN(DatesAndNames)
#include "tst_dates_and_names.moc"
