#include "core/patients/patient_rules.h"

#include <QTest>

using namespace velmora;

Q_DECLARE_METATYPE(velmora::CpfAbsence)

// The numbers below were checked by hand (the CPF's weights 10..2 and 11..2, the CNS's 15..1).
class PatientRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cpf_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<CpfAbsence>("absence");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("refusal"); // a word of the refusal; empty when accepted

        QTest::newRow("typed with marks") << "529.982.247-25" << CpfAbsence::None << true << "";
        QTest::newRow("digits alone") << "11144477735" << CpfAbsence::None << true << "";
        QTest::newRow("first check digit 0, its rest 1")
            << "123.456.789-09" << CpfAbsence::None << true << "";
        QTest::newRow("second check digit wrong") << "529.982.247-24" << CpfAbsence::None << false << "check";
        QTest::newRow("first check digit wrong") << "529.982.247-35" << CpfAbsence::None << false << "check";
        QTest::newRow("one digit repeated") << "111.111.111-11" << CpfAbsence::None << false << "repeated";
        QTest::newRow("zeros") << "00000000000" << CpfAbsence::None << false << "repeated";
        QTest::newRow("ten digits") << "5299822472" << CpfAbsence::None << false << "eleven";
        QTest::newRow("a letter among them") << "529.982.247-2X5" << CpfAbsence::None << false << "eleven";
        QTest::newRow("blank without a reason") << "" << CpfAbsence::None << false << "choose why";
        QTest::newRow("blank, a newborn") << "  " << CpfAbsence::Newborn << false << "";
        QTest::newRow("blank, a foreigner") << "" << CpfAbsence::Foreigner << false << "";
    }
    void cpf()
    {
        QFETCH(QString, typed);
        QFETCH(CpfAbsence, absence);
        QFETCH(bool, valid);
        QFETCH(QString, refusal);
        QCOMPARE(validCpf(typed), valid);
        const QString said = cpfRefusal(typed, absence);
        QCOMPARE(said.isEmpty(), refusal.isEmpty());
        QVERIFY2(said.contains(refusal), qPrintable(said));
    }

    void cns_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("valid");

        QTest::newRow("definitive, check 3") << "200 0000 0000 0003" << true;
        QTest::newRow("definitive, check 0") << "123456789010000" << true;
        QTest::newRow("definitive, check 4") << "234567890120004" << true;
        QTest::newRow("definitive, check 10 made 001 and 8") << "100000000060018" << true;
        QTest::newRow("definitive, check 10 left 000") << "100000000060008" << false;
        QTest::newRow("definitive, check digit wrong") << "234567890120005" << false;
        QTest::newRow("definitive, middle not 000") << "234567890120104" << false;
        QTest::newRow("provisional 7") << "700000000000005" << true;
        QTest::newRow("provisional 8") << "898000000000002" << true;
        QTest::newRow("provisional 9") << "987654321000006" << true;
        QTest::newRow("provisional, sum off by one") << "987654321000007" << false;
        QTest::newRow("starting 3") << "300000000000000" << false;
        QTest::newRow("fourteen digits") << "70000000000000" << false;
    }
    void cns()
    {
        QFETCH(QString, typed);
        QFETCH(bool, valid);
        QCOMPARE(validCns(typed), valid);
        QCOMPARE(cnsRefusal(typed).isEmpty(), valid);
    }

    void patient_data()
    {
        const QDate today(2026, 12, 9);
        Patient ana;
        ana.fullName = QStringLiteral("Ana Souza");
        ana.cpf = QStringLiteral("52998224725");
        ana.birthDate = QDate(1980, 5, 2);
        ana.address.cep = QStringLiteral("01310-100");

        QTest::addColumn<Patient>("patient");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("whole") << ana << "";
        Patient p = ana;
        p.fullName = QStringLiteral("  ");
        QTest::newRow("no name") << p << "full name";
        p = ana;
        p.birthDate = today.addDays(1);
        QTest::newRow("born tomorrow") << p << "future";
        p.birthDate = today;
        QTest::newRow("born today") << p << "";
        p.birthDate = today.addYears(-130);
        QTest::newRow("130 years ago today") << p << "";
        p.birthDate = today.addYears(-130).addDays(-1);
        QTest::newRow("over 130 years ago") << p << "130";
        p = ana;
        p.address.cep = QStringLiteral("0131-100");
        QTest::newRow("CEP of seven digits") << p << "eight";
        p = ana;
        p.cns = QStringLiteral("234567890120005");
        QTest::newRow("CNS wrong") << p << "CNS";
        p = ana;
        p.cpf.clear();
        p.cpfAbsence = CpfAbsence::NotGiven;
        QTest::newRow("CPF not given, with the reason") << p << "";
    }
    void patient()
    {
        QFETCH(Patient, patient);
        QFETCH(QString, refusal);
        const QString said = patientRefusal(patient, QDate(2026, 12, 9));
        QCOMPARE(said.isEmpty(), refusal.isEmpty());
        QVERIFY2(said.contains(refusal), qPrintable(said));
    }
};

Q_DECLARE_METATYPE(velmora::Patient)

QTEST_GUILESS_MAIN(PatientRules)
#include "tst_patient_rules.moc"
