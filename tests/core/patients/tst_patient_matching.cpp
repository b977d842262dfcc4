#include "core/patients/booking_review.h"
#include "core/patients/patient_bookings.h"
#include "core/patients/patient_matching.h"
#include "core/patients/patient_merge.h"
#include "core/patients/patient_records.h"
#include "core/text/name_rules.h"
#include "support/memory_storage.h"

#include <QRandomGenerator>
#include <QTest>

using namespace velmora;

namespace {

Patient conceicao()
{
    Patient patient;
    patient.id = 7;
    patient.fullName = QStringLiteral("Maria da Conceição Souza");
    patient.socialName = QStringLiteral("Duda Souza");
    patient.cpf = QStringLiteral("52998224725");
    patient.birthDate = QDate(1980, 5, 2);
    patient.phones = {{QStringLiteral("(11) 98765-4321"), true}, {QStringLiteral("3333-4444"), false}};
    return patient;
}

} // namespace

class PatientMatching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void typing_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("matches");

        QTest::newRow("first words") << "maria conc" << true;
        QTest::newRow("accents and case aside") << "CONCEIÇÃO" << true;
        QTest::newRow("words in another order") << "souza mar" << true;
        QTest::newRow("one word used twice") << "souza sou" << false;
        QTest::newRow("a word not in the name") << "maria silva" << false;
        QTest::newRow("the social name") << "duda" << true;
        QTest::newRow("one letter") << "m" << false;
        QTest::newRow("mobile without area code") << "98765-4321" << true;
        QTest::newRow("mobile with country and area code") << "+55 11 98765 4321" << true;
        QTest::newRow("landline with area code") << "(11) 3333-4444" << true;
        QTest::newRow("part of a phone") << "4321" << true;
        QTest::newRow("the start of the CPF") << "529.982" << true;
        QTest::newRow("three digits") << "529" << false;
        QTest::newRow("another mobile") << "91234-4321" << false;
        QTest::newRow("a landline, the mobile's last eight") << "(13) 8765-4321" << false;
        QTest::newRow("birth date") << "02/05/1980" << true;
        QTest::newRow("another birth date") << "03/05/1980" << false;
    }
    void typing()
    {
        QFETCH(QString, typed);
        QFETCH(bool, matches);
        QCOMPARE(patientMatches(conceicao(), patientTyped(typed)), matches);
    }

    void wholeCpfFirst()
    {
        Patient other = conceicao();
        other.id = 8;
        other.fullName = QStringLiteral("Ana Abreu");
        other.cpf = QStringLiteral("52998200000");
        const QVector<Patient> found =
            patientSuggestions({other, conceicao()}, QStringLiteral("529.982.247-25"), 5);
        QCOMPARE(found.size(), 1);
        QCOMPARE(found.first().id, 7);
        QCOMPARE(patientSuggestions({other, conceicao()}, QStringLiteral("52998"), 1).first().id, 8);
    }

    // Who a booking's name and phones stand for: one record alone, never a guess between two.
    void bookedAs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("phones");
        QTest::addColumn<bool>("twin");
        QTest::addColumn<qint64>("patient");
        QTest::newRow("name and a phone among the phones")
            << "MARIA DA CONCEICAO SOUZA"
            << "3333-4444 / 11 98765 4321" << false << qint64(7);
        QTest::newRow("the social name") << "duda souza"
                                         << "(11) 98765-4321" << false << qint64(7);
        QTest::newRow("the name alone") << "Maria da Conceição Souza"
                                        << "" << false << qint64(0);
        QTest::newRow("another phone") << "Maria da Conceição Souza"
                                       << "5555-6666" << false << qint64(0);
        QTest::newRow("two records stand for it") << "Maria da Conceição Souza"
                                                  << "3333-4444" << true << qint64(0);
    }
    void bookedAs()
    {
        QFETCH(QString, name);
        QFETCH(QString, phones);
        QFETCH(bool, twin);
        QFETCH(qint64, patient);
        QVector<Patient> candidates{conceicao()};
        if (twin) {
            candidates.append(conceicao());
            candidates.last().id = 8;
        }
        QCOMPARE(patientBookedAs(candidates, name, phones), patient);
    }

    void similar_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("similar");

        QTest::newRow("a middle name cut to its initial") << "Maria S. Souza"
                                                          << "Maria Silva Souza" << true;
        QTest::newRow("a middle name left out") << "Maria Souza"
                                                << "maria da silva souza" << true;
        QTest::newRow("accents and particles aside") << "José de Araújo"
                                                     << "JOSE ARAUJO" << true;
        QTest::newRow("another last name") << "Maria Silva"
                                           << "Maria Souza" << false;
        QTest::newRow("another middle name") << "Maria Lima Souza"
                                             << "Maria Silva Souza" << false;
        QTest::newRow("another first name") << "Ana Souza"
                                            << "Maria Souza" << false;
    }
    void similar()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, similar);
        QCOMPARE(similarNames(a, b), similar);
        QCOMPARE(similarNames(b, a), similar);
    }

    void lookalikesByBirthAndNameOrPhone()
    {
        Patient twin = conceicao();
        twin.id = 0;
        twin.fullName = QStringLiteral("Maria C. Souza");
        twin.phones.clear();
        QCOMPARE(lookalikes(twin, {conceicao()}), QVector<qint64>{7});
        twin.birthDate = QDate(1981, 5, 2);
        QVERIFY(lookalikes(twin, {conceicao()}).isEmpty());
        twin.fullName = QStringLiteral("João Lima"); // another person sharing the house's phone: asked
        twin.phones = {{QStringLiteral("11 3333 4444"), false}};
        QCOMPARE(lookalikes(twin, {conceicao()}), QVector<qint64>{7});
    }

    // Saving checks first, asks about look-alikes of a new record only, and names who holds a CPF.
    void savingChecksAndNamesTheCpfsHolder()
    {
        testing::MemoryBooks books;
        testing::MemoryStorage storage(books);
        PatientRecords records(storage, QDate(2026, 12, 9));
        Patient ana = conceicao();
        ana.id = 0;
        QVERIFY(records.save(ana).done);
        Patient again = ana;
        again.id = 0;
        again.fullName = QStringLiteral("Maria C. Souza");
        again.cpf.clear();
        again.cpfAbsence = CpfAbsence::NotGiven;
        QCOMPARE(records.check(again).lookalikes.size(), 1);
        QVERIFY(records.check(ana).lookalikes.isEmpty()); // already that record
        again.cpf = ana.cpf;
        const Outcome taken = records.save(again);
        QVERIFY(!taken.done);
        QVERIFY2(taken.messages.value(0).contains(ana.fullName), qPrintable(taken.messages.value(0)));
        again.birthDate = QDate(2027, 1, 1);
        QVERIFY(!records.save(again).done);
        QVector<Patient> stored;
        QString error;
        QVERIFY(storage.readPatients(&stored, &error));
        QCOMPARE(stored.size(), 1);
    }

    // Two records of one person merged part by part, every booking given to the one kept, and undone
    // while neither changed since: both records and every booking as they were.
    void aMergeIsPickedPartByPartAndUndone()
    {
        testing::MemoryBooks books;
        testing::MemoryStorage storage(books);
        PatientRecords records(storage, QDate(2026, 12, 9));
        Patient ana = conceicao();
        ana.id = 0;
        Patient twin = ana;
        twin.fullName = QStringLiteral("Maria C. Souza");
        twin.cpf = QStringLiteral("11144477735");
        twin.birthDate = QDate(1980, 5, 3);
        QVERIFY(records.save(ana).done && records.save(twin).done);
        QString error;
        for (const auto &[slot, patient] :
             {std::pair{1, ana.id}, std::pair{2, ana.id}, std::pair{1, twin.id}}) {
            Appointment booking;
            booking.date = QDate(2027, 1, 4);
            booking.nome = QStringLiteral("Maria");
            booking.patient = patient;
            QCOMPARE(storage.add(slot, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        const auto bookingsOf = [&](qint64 patient) {
            QVector<FoundBooking> found;
            return storage.readPatientBookings(patient, &found, &error) ? found.size() : -1;
        };
        QCOMPARE(differingParts(ana, twin),
                 (QVector<PatientPart>{PatientPart::FullName, PatientPart::Cpf, PatientPart::BirthDate}));

        PatientMerge merge(storage, records);
        const QDateTime at(QDate(2026, 12, 10), QTime(9, 0), Qt::UTC);
        QVERIFY(merge.merge(ana.id, twin.id, {PatientPart::Cpf, PatientPart::BirthDate}, "maria", at).done);
        QCOMPARE(records.byId(ana.id)->cpf, twin.cpf); // the CPF the twin gave up
        QCOMPARE(records.byId(ana.id)->birthDate, twin.birthDate);
        QCOMPARE(records.byId(ana.id)->fullName, ana.fullName);
        QCOMPARE(records.byId(twin.id)->mergedInto, ana.id);
        QCOMPARE(bookingsOf(ana.id), 3);
        QCOMPARE(bookingsOf(twin.id), 0);
        QVERIFY2(merge.said(*records.byId(twin.id))
                     .contains("Maria C. Souza was merged into Maria da Conceição Souza by maria"),
                 qPrintable(merge.said(*records.byId(twin.id))));
        QVERIFY(!merge.merge(ana.id, twin.id, {}, "maria", at).done); // never twice

        QVERIFY(merge.undo(twin.id).done);
        QVERIFY(*records.byId(ana.id) == ana);
        QVERIFY(*records.byId(twin.id) == twin);
        QCOMPARE(bookingsOf(ana.id), 2);
        QCOMPARE(bookingsOf(twin.id), 1);

        // Not once the kept record changed since.
        QVERIFY(merge.merge(ana.id, twin.id, {}, "maria", at).done);
        Patient changed = *records.byId(ana.id);
        changed.notes = QStringLiteral("new card next month");
        QVERIFY(records.save(changed).done);
        QVERIFY(!merge.undo(twin.id).done);
        QCOMPARE(bookingsOf(ana.id), 3);
    }

    // The books' bookings without a patient, grouped: nothing linked until a group is accepted; a group
    // split and groups joined as the receptionist says.
    void theBooksAreReviewedIntoPatients()
    {
        testing::MemoryBooks books;
        testing::MemoryStorage storage(books);
        PatientRecords records(storage, QDate(2026, 12, 9));
        QString error;
        for (const auto &[slot, name, phone, patient] :
             {std::tuple{1, "Ana Souza", "(11) 9999-0000", 0}, std::tuple{2, "ANA SOUZA", "11 9999 0000", 0},
              std::tuple{1, "Ana Souza", "3333-4444", 0}, std::tuple{3, "Bia", "1", 5}}) {
            Appointment booking;
            booking.date = QDate(2027, 1, 4);
            booking.nome = QString::fromUtf8(name);
            booking.telefone = QString::fromUtf8(phone);
            booking.patient = patient;
            QCOMPARE(storage.add(slot, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        int lastPercent = -1;
        BookingReview review = reviewBookings(storage, [&](int percent) {
            lastPercent = percent;
            return true;
        });
        QVERIFY(review.read);
        QCOMPARE(lastPercent, 100);
        QCOMPARE(review.groups.size(), 2); // Bia has her patient already
        QCOMPARE(review.groups.at(0).bookings.size() + review.groups.at(1).bookings.size(), 3);
        QVERIFY(review.groups.at(0).maybe && review.groups.at(1).maybe);
        QVERIFY(records.read(&error) && records.patients().isEmpty()); // nothing made by itself
        QVERIFY(reviewBookings(storage, [](int percent) { return percent < 50; }).cancelled);

        joinGroups(review.groups, {0, 1});
        QCOMPARE(review.groups.size(), 1);
        QVERIFY(!review.groups.first().maybe);
        splitOff(review.groups, 0, {2});
        QCOMPARE(review.groups.size(), 2);
        QVERIFY(acceptGroups(storage, records, review.groups, {0}).done);
        QCOMPARE(review.groups.size(), 1);
        QCOMPARE(records.patients().size(), 1);
        QVector<FoundBooking> hers;
        QVERIFY(storage.readPatientBookings(records.patients().first().id, &hers, &error));
        QCOMPARE(hers.size(), 2);
        QCOMPARE(reviewBookings(storage, [](int) { return true; }).groups.size(), 1);
    }

    // Against the plain rule on random books: one group per folded name and phone digits, "maybe" when
    // the same name has other phones, never two names or two phones in one group.
    void theFinderFindsAsThePlainRule()
    {
        const QStringList names{QStringLiteral("Maria da Conceição Souza"), QStringLiteral("MARIA SOUZA"),
                                QStringLiteral("João Lima"), QStringLiteral("Joana Lima Maria"), QString()};
        const QStringList typings{"mar",   "maria sou", "souza maria", "lim jo", "conceicao",
                                  "98765", "5299822",   "02/05/1980",  "x",      "11 3333-4444"};
        QRandomGenerator random(20261210);
        QVector<Patient> patients;
        PatientFinder finder;
        const auto randomPatient = [&](qint64 id) {
            Patient patient;
            patient.id = id;
            patient.fullName = names.at(random.bounded(names.size()));
            patient.socialName = names.at(random.bounded(names.size()));
            if (random.bounded(2))
                patient.cpf = QStringLiteral("529982247") + QString::number(random.bounded(10, 30));
            patient.birthDate = QDate(1980, 5, random.bounded(1, 4));
            if (random.bounded(2))
                patient.phones = {{QStringLiteral("(11) 98765-43%1").arg(random.bounded(10, 30)), true}};
            else
                patient.phones = {{QStringLiteral("3333-4444"), false}};
            return patient;
        };
        for (int round = 0; round < 200; ++round) {
            // Indexed whole now and then, otherwise one added or changed.
            if (round % 50 == 0) {
                patients.clear();
                for (int i = 0; i < 30; ++i)
                    patients.append(randomPatient(i + 1));
                finder.index(patients);
            } else if (random.bounded(2)) {
                patients.append(randomPatient(patients.size() + 1));
                finder.reindex(static_cast<int>(patients.size()) - 1, patients.last());
            } else {
                const int position = random.bounded(static_cast<int>(patients.size()));
                patients[position] = randomPatient(patients.at(position).id);
                finder.reindex(position, patients.at(position));
            }
            const QString typed = typings.at(random.bounded(typings.size()));
            const int limit = random.bounded(1, 12);
            QVector<qint64> found;
            for (const int position : finder.find(typed, limit))
                found.append(patients.at(position).id);
            QVector<qint64> expected;
            for (const Patient &patient : patientSuggestions(patients, typed, limit))
                expected.append(patient.id);
            QCOMPARE(found, expected);
        }
    }

    void groupsAsThePlainRule()
    {
        const QStringList names{QStringLiteral("Ana Souza"),  QStringLiteral("ANA SOUZA"),
                                QStringLiteral("Ána  Souza"), QStringLiteral("João Lima"),
                                QStringLiteral("  "),         QStringLiteral("Bia")};
        const QStringList phones{QStringLiteral("(11) 9999-0000"), QStringLiteral("1199990000"), QString(),
                                 QStringLiteral("3333-4444")};
        QRandomGenerator random(20261209);
        for (int round = 0; round < 50; ++round) {
            QVector<BookedName> bookings;
            const int count = random.bounded(40);
            for (int i = 0; i < count; ++i)
                bookings.append(
                    {names.at(random.bounded(names.size())), phones.at(random.bounded(phones.size()))});
            const QVector<SuggestedPatient> groups = suggestedPatients(bookings);
            QVector<int> groupOf(bookings.size(), -1);
            for (int g = 0; g < groups.size(); ++g)
                for (const int b : groups.at(g).bookings)
                    groupOf[b] = g;
            for (int i = 0; i < bookings.size(); ++i) {
                const QString name = foldedName(bookings.at(i).name);
                QCOMPARE(groupOf.at(i) == -1, name.isEmpty());
                for (int j = 0; j < bookings.size() && !name.isEmpty(); ++j) {
                    const bool samePerson =
                        name == foldedName(bookings.at(j).name) &&
                        digitsOf(bookings.at(i).phones) == digitsOf(bookings.at(j).phones);
                    QCOMPARE(groupOf.at(i) == groupOf.at(j), samePerson);
                    const bool sameNameOtherPhones = name == foldedName(bookings.at(j).name) && !samePerson;
                    if (sameNameOtherPhones)
                        QVERIFY(groups.at(groupOf.at(i)).maybe);
                }
            }
            for (const SuggestedPatient &group : groups)
                if (group.maybe)
                    QVERIFY(std::count_if(groups.cbegin(), groups.cend(), [&](const SuggestedPatient &other) {
                                return foldedName(other.name) == foldedName(group.name);
                            }) > 1);
        }
    }
};

QTEST_GUILESS_MAIN(PatientMatching)
#include "tst_patient_matching.moc"
