// The confirmations' rules: the numbers read from a phones field, the WhatsApp address, the message
// filled from its template, the spreadsheet's fields and the day the list starts on.
#include "core/model/booking_status.h"
#include "core/reception/confirmation_list.h"
#include "core/reception/confirmation_message.h"
#include "core/text/csv_writer.h"
#include "core/text/phone_numbers.h"

#include "core/reception/waiting_list.h"
#include "core/text/text_rules.h"
#include "support/memory_storage.h"

#include <QTest>

using namespace velmora;

class Confirmation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Who on the waiting list is offered a freed time: the doctor wanted (or any), the dates (both
    // ends included), the part of the day (noon is afternoon), only those still waiting.
    void whoWantsAFreedTime_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("hora");
        QTest::addColumn<QStringList>("offered");
        QTest::newRow("morning, doctor 2") << 2 << "2027-03-01"
                                           << "08:00" << QStringList{"Any", "Two", "Morning"};
        QTest::newRow("noon is afternoon") << 2 << "2027-03-01"
                                           << "12:00" << QStringList{"Any", "Two", "Afternoon"};
        QTest::newRow("another doctor") << 3 << "2027-03-01"
                                        << "11:59" << QStringList{"Any", "Morning"};
        QTest::newRow("last date wanted") << 2 << "2027-03-10"
                                          << "09:00" << QStringList{"Any", "Two", "Morning"};
        QTest::newRow("past the last date") << 2 << "2027-03-11"
                                            << "09:00" << QStringList{"Any", "Morning"};
        QTest::newRow("before the first") << 2 << "2027-02-28"
                                          << "09:00" << QStringList{"Any", "Morning"};
    }
    void whoWantsAFreedTime()
    {
        QFETCH(int, slot);
        QFETCH(QString, date);
        QFETCH(QString, hora);
        QFETCH(QStringList, offered);
        const auto entry = [](qint64 id, const char *name, int wanted, WaitingEntry::Period period,
                              QDate to) {
            WaitingEntry made;
            made.id = id;
            made.name = QLatin1String(name);
            made.slot = wanted;
            made.period = period;
            made.from = wanted == 2 ? QDate(2027, 3, 1) : QDate();
            made.to = to;
            made.addedAt = QDateTime(QDate(2027, 1, 1), QTime(8, 0), Qt::UTC).addSecs(-id * 60);
            return made;
        };
        const QDate tenth(2027, 3, 10);
        QVector<WaitingEntry> entries{entry(1, "Morning", 0, WaitingEntry::Period::Morning, {}),
                                      entry(2, "Afternoon", 2, WaitingEntry::Period::Afternoon, tenth),
                                      entry(3, "Two", 2, WaitingEntry::Period::Any, tenth),
                                      entry(4, "Any", 0, WaitingEntry::Period::Any, {}),
                                      entry(5, "Booked", 0, WaitingEntry::Period::Any, {})};
        entries.last().state = WaitingEntry::State::Booked;
        QStringList names;
        for (const WaitingEntry &wanting :
             waitingFor(entries, slot, QDate::fromString(date, Qt::ISODate), hora))
            names << wanting.name;
        QCOMPARE(names, offered); // oldest first
    }

    // Entries past their last date leave the list by themselves, kept as expired (one already past is
    // refused, not stored to vanish); one booked into a freed time leaves it as booked, and a time taken
    // meanwhile is said.
    void theWaitingListKeepsWhatLeftIt()
    {
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        testing::MemoryStorage storage(books);
        const QDate today(2027, 3, 1);
        WaitingList list(storage, today);
        WaitingEntry late;
        late.name = QStringLiteral(" ana souza ");
        late.phone = QStringLiteral("11 98888-7777");
        late.to = today.addDays(-1);
        const Outcome past = list.add(late, "maria (front)");
        QVERIFY2(!past.done && past.messages.join("").contains("has passed"),
                 qPrintable(past.messages.join("")));
        QVERIFY(list.entries().isEmpty());
        QVERIFY(WaitingList(storage, today.addDays(-2)).add(late, "maria (front)").done);
        QString error;
        QVERIFY(list.read(&error));
        QCOMPARE(list.entries().value(0).name, QStringLiteral("Ana Souza"));
        QCOMPARE(list.entries().value(0).state, WaitingEntry::State::Expired);
        QVERIFY(list.waiting().isEmpty());
        WaitingEntry wanting = late;
        wanting.to = today.addDays(10);
        wanting.phone.clear();
        QVERIFY(!list.add(wanting, "maria (front)").done); // no phone to offer a time to
        wanting.phone = QStringLiteral("1199");
        wanting.notes = QStringLiteral("bell\x07rings");
        QVERIFY(!list.add(wanting, "maria (front)").done);
        wanting.notes.clear();
        QVERIFY(list.add(wanting, "maria (front)").done);
        const Outcome::Freed freed{1, today, QStringLiteral("09:00")};
        QCOMPARE(list.offersFor(freed).size(), 1);
        QCOMPARE(storage.add(1, bookingOf(wanting, today, "09:00"), 0, &error).outcome, AddOutcome::Stored);
        const Outcome taken = list.book(list.offersFor(freed).at(0).id, freed);
        QVERIFY(!taken.done && taken.messages.join("").contains("taken"));
        const Outcome::Freed other{1, today, QStringLiteral("10:00")};
        QVERIFY(list.book(list.offersFor(other).at(0).id, other).done);
        QVERIFY(list.waiting().isEmpty());
        QCOMPARE(list.entries().last().state, WaitingEntry::State::Booked);
        QCOMPARE(books.books[1].last().hora, QStringLiteral("10:00"));
    }

    // A freed time is offered only where the day list itself shows a free slot.
    void aFreedTimeIsOfferedOnlyWhenTheDayListShowsItFree_data()
    {
        QTest::addColumn<QString>("hora");
        QTest::addColumn<QString>("why"); // empty: offered
        QTest::newRow("a free slot") << "10:00"
                                     << "";
        QTest::newRow("typed short") << "9:30"
                                     << "";
        QTest::newRow("past already") << "08:00"
                                      << "has passed";
        QTest::newRow("between the slots") << "10:15"
                                           << "not one of";
        QTest::newRow("closed by the calendar") << "11:00"
                                                << "not one of";
        QTest::newRow("a squeeze-in stays there") << "09:00"
                                                  << "taken";
    }
    void aFreedTimeIsOfferedOnlyWhenTheDayListShowsItFree()
    {
        QFETCH(QString, hora);
        QFETCH(QString, why);
        testing::MemoryBooks books;
        books.setMondayDoctor(1, "Ana", "30", "0800", "1200");
        const QDate today(2027, 3, 1);
        books.calendar << CalendarEntry{
            CalendarEntry::Kind::Closure, 1, today, today, "1100", "1200", {}, "Meeting", false, {}, {}, {}};
        testing::MemoryStorage storage(books);
        Appointment stays;
        stays.date = today;
        stays.hora = QStringLiteral("09:00");
        stays.nome = QStringLiteral("Squeezed In");
        QString error;
        QCOMPARE(storage.add(1, stays, 0, &error).outcome, AddOutcome::Stored);
        const QString said = WaitingList(storage, today).notOffered({1, today, hora}, QTime(8, 30));
        QVERIFY2(why.isEmpty() ? said.isEmpty() : said.contains(why), qPrintable(said));
    }

    void phonesAsReceptionistsTypeThem_data()
    {
        QTest::addColumn<QString>("phones");
        QTest::addColumn<QString>("areaCode");
        QTest::addColumn<QStringList>("mobiles");
        QTest::addColumn<QStringList>("others");
        const QStringList none;
        QTest::newRow("area code in brackets") << "(11) 99999-0000"
                                               << "" << QStringList{"5511999990000"} << none;
        QTest::newRow("dots, no brackets") << "21.98888.7777"
                                           << "" << QStringList{"5521988887777"} << none;
        QTest::newRow("country code") << "+55 31 97777-6666"
                                      << "" << QStringList{"5531977776666"} << none;
        QTest::newRow("long-distance prefix") << "0 11 99999 0000"
                                              << "" << QStringList{"5511999990000"} << none;
        QTest::newRow("carrier's prefix") << "015 11 99999-0000"
                                          << "" << QStringList{"5511999990000"} << none;
        QTest::newRow("the clinic's area code") << "99999-0000"
                                                << "41" << QStringList{"5541999990000"} << none;
        QTest::newRow("no area code known: a call") << "99999-0000"
                                                    << "" << none << QStringList{"99999-0000"};
        QTest::newRow("landline") << "(11) 3333-4444"
                                  << "11" << none << QStringList{"(11) 3333-4444"};
        QTest::newRow("two numbers, blank between")
            << "(11) 99999-0000 3333-4444"
            << "11" << QStringList{"5511999990000"} << QStringList{"3333-4444"};
        QTest::newRow("two numbers with words")
            << "cel 98888-1111 / rec. 3232-1010 (Ana)"
            << "48" << QStringList{"5548988881111"} << QStringList{"3232-1010"};
        QTest::newRow("foreign") << "+351 912 345 678"
                                 << "11" << none << QStringList{"+351 912 345 678"};
        QTest::newRow("too short, a note") << "ramal 123"
                                           << "11" << none << none;
        QTest::newRow("eleven digits without a 9") << "11 83333-4444"
                                                   << "" << none << none;
        QTest::newRow("area code with a zero: the number alone, to call")
            << "(10) 99999-0000"
            << "" << none << QStringList{"99999-0000"};
    }
    void phonesAsReceptionistsTypeThem()
    {
        QFETCH(QString, phones);
        QFETCH(QString, areaCode);
        const PhoneNumbers read = phoneNumbers(phones, areaCode);
        QTEST(read.mobiles, "mobiles");
        QTEST(read.others, "others");
    }

    void theMessageTravelsEncoded()
    {
        const QUrl link = whatsAppLink("5511999990000", QStringLiteral("Olá, Conceição!\nSim & não? 100%"));
        QCOMPARE(link.toEncoded(),
                 QByteArray("https://wa.me/5511999990000?text=Ol%C3%A1%2C%20Concei%C3%A7%C3%A3o"
                            "%21%0ASim%20%26%20n%C3%A3o%3F%20100%25"));
    }

    void theTemplateIsFilled_data()
    {
        QTest::addColumn<QString>("messageTemplate");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("filled");
        QTest::addColumn<QStringList>("unknown");
        QTest::newRow("Portuguese")
            << "Olá, {primeiro_nome}! Consulta com {medico} em {data} ({dia_da_semana}) às {hora}. {clinica}"
            << "pt_BR"
            << "Olá, Maria! Consulta com Dr. Leal em 8 de dezembro de 2026 (terça-feira) às 14:00. Clínica "
               "Sol"
            << QStringList();
        QTest::newRow("English, full name")
            << "{name}: {weekday}, {date}, {time}"
            << "en_US"
            << "Maria da Silva: Tuesday, December 8, 2026, 14:00" << QStringList();
        QTest::newRow("session of a series, both names") << "Sessão {sessao} ({session})"
                                                         << "pt_BR"
                                                         << "Sessão 3/10 (3/10)" << QStringList();
        QTest::newRow("unknown stays as typed")
            << "Oi {nmoe}, {hora} {nmoe} {}"
            << "pt_BR"
            << "Oi {nmoe}, 14:00 {nmoe} {}" << QStringList{"{nmoe}", "{}"};
    }
    void theTemplateIsFilled()
    {
        QFETCH(QString, messageTemplate);
        QFETCH(QString, language);
        const MessageFacts facts{"Maria da Silva      ", QDate(2026, 12, 8), "14:00",
                                 "Dr. Leal  ",           "Clínica Sol",      "3/10"};
        QTEST(filledMessage(messageTemplate, facts, QLocale(language)), "filled");
        QTEST(unknownPlaceholders(messageTemplate), "unknown");
    }

    void spreadsheetFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::newRow("plain") << "Ana"
                               << "Ana";
        QTest::newRow("separator and quote") << "a;\"b\""
                                             << "\"a;\"\"b\"\"\"";
        QTest::newRow("line break") << "a\nb"
                                    << "\"a\nb\"";
        QTest::newRow("formula") << "=HYPERLINK(\"x\")"
                                 << "\"'=HYPERLINK(\"\"x\"\")\"";
        QTest::newRow("a phone with its country") << "+55 11 9999"
                                                  << "'+55 11 9999";
        QTest::newRow("a sum after a sign") << "-2+3+cmd|' /c Calc'!a0"
                                            << "'-2+3+cmd|' /c Calc'!a0";
        QTest::newRow("a plan that adds") << "-1+1"
                                          << "'-1+1";
        QTest::newRow("a phone that adds") << "+1+1 98877-6655"
                                           << "'+1+1 98877-6655";
        QTest::newRow("a sign before a word") << "-cmd"
                                              << "'-cmd";
    }
    void spreadsheetFields()
    {
        QFETCH(QString, text);
        QTEST(csvField(text), "field");
    }

    // The history names a status in the user's words, a date as the language writes it, and any other
    // value as stored, a note that reads "confirmed" too; padding is no change.
    void historyAsTheUserReadsIt_data()
    {
        QTest::addColumn<QString>("details");
        QTest::addColumn<QString>("shown");
        QTest::newRow("a status") << "status: to-confirm \u2192 confirmed"
                                  << "    Status: To confirm \u2192 Confirmed";
        QTest::newRow("a note reading as a status") << "obs: to confirm by phone \u2192 confirmed"
                                                    << "    Notes: to confirm by phone \u2192 confirmed";
        QTest::newRow("a date") << "data: 2023-03-14"
                                << "    Date: " +
                                       QLocale().toString(QDate(2023, 3, 14), QLocale::ShortFormat);
    }
    void historyAsTheUserReadsIt()
    {
        QFETCH(QString, details);
        const HistoryEntry entry{QDateTime(QDate(2023, 3, 13), QTime(10, 1)), "vm", "root", "status",
                                 details};
        QTEST(describedEntry(entry).section('\n', 1), "shown");
    }
    // A history tells of its booking only when, from its addition through its changes, it arrives at
    // the booking's date, time and name: a renumbered book's other patients are not shown.
    void historyBelongsToItsBooking_data()
    {
        QTest::addColumn<QStringList>("details"); // "action|details", oldest first
        QTest::addColumn<bool>("belongs");
        const QString added =
            "added|data: 2027-03-01\nhora: 08:00\nnome: Ana Lima\nconvenio: \ntelefone: \nobs: ";
        QTest::newRow("added") << QStringList{added} << true;
        QTest::newRow("added, then renamed")
            << QStringList{added, "changed|hora: 08:00 \u2192 09:00\nnome: Ana Lima \u2192 Bia Souza"}
            << false;
        QTest::newRow("another patient's")
            << QStringList{QString(added).replace("Ana Lima", "Caio Reis")} << false;
        QTest::newRow("no addition kept")
            << QStringList{"status|status: to-confirm \u2192 confirmed"} << true;
    }
    void historyBelongsToItsBooking()
    {
        QFETCH(QStringList, details);
        Appointment booking;
        booking.date = QDate(2027, 3, 1);
        booking.hora = "08:00";
        booking.nome = "Ana Lima";
        QVector<HistoryEntry> entries;
        for (const QString &entry : details)
            entries << HistoryEntry{{}, "vm", "root", entry.section('|', 0, 0), entry.section('|', 1)};
        QTEST(historyBelongsTo(entries, booking), "belongs");
    }

    void paddingIsNoChange()
    {
        Appointment before;
        before.nome = "Maria da Silva";
        before.convenio = "Unimed";
        Appointment after = before;
        after.nome = fitted("Maria da Silva", 35);
        after.convenio = fitted("Unimed", 15);
        QCOMPARE(changedDetails(before, after), QString());
        after.telefone = "9999";
        QCOMPARE(changedDetails(before, after), QStringLiteral("telefone:  \u2192 9999"));
    }

    // After a status set the list is read again: the selection follows the same booking, its book and
    // identity (identities are per book), or the one after it when it left the list.
    void theSelectionFollowsItsBooking_data()
    {
        QTest::addColumn<QVector<int>>("before"); // slot * 100 + identity, in list order
        QTest::addColumn<int>("selected");
        QTest::addColumn<QVector<int>>("after");
        QTest::addColumn<int>("kept");
        QTest::newRow("still listed, moved")
            << QVector<int>{101, 102, 201} << 1 << QVector<int>{201, 101, 102} << 2;
        QTest::newRow("same identity in another book")
            << QVector<int>{101, 203} << 1 << QVector<int>{103, 203} << 1;
        QTest::newRow("left the list: the next")
            << QVector<int>{101, 102, 103} << 1 << QVector<int>{101, 103} << 1;
        QTest::newRow("the last left: the new last") << QVector<int>{101, 102} << 1 << QVector<int>{101} << 0;
        QTest::newRow("nothing listed") << QVector<int>{101} << 0 << QVector<int>{} << -1;
        QTest::newRow("none selected") << QVector<int>{101} << -1 << QVector<int>{101} << 0;
    }
    void theSelectionFollowsItsBooking()
    {
        QFETCH(QVector<int>, before);
        QFETCH(QVector<int>, after);
        QFETCH(int, selected);
        const auto rows = [](const QVector<int> &keys) {
            QVector<ConfirmationRow> made;
            for (const int key : keys) {
                ConfirmationRow row;
                row.slot = key / 100;
                row.booking.id = key % 100;
                made << row;
            }
            return made;
        };
        QTEST(rowKeptAfterReload(rows(before), selected, rows(after)), "kept");
    }

    void theListStartsOnTheNextWorkingDay_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<bool>("saturdayHours");
        QTest::addColumn<QDate>("first");
        QTest::newRow("Monday") << QDate(2026, 12, 7) << false << QDate(2026, 12, 8);
        QTest::newRow("Friday") << QDate(2026, 12, 11) << false << QDate(2026, 12, 14);
        QTest::newRow("Friday, Saturday worked") << QDate(2026, 12, 11) << true << QDate(2026, 12, 12);
        QTest::newRow("Saturday") << QDate(2026, 12, 12) << true << QDate(2026, 12, 14);
        QTest::newRow("Christmas Eve, a Thursday") << QDate(2026, 12, 24) << false << QDate(2026, 12, 28);
        QTest::newRow("Good Friday's eve") << QDate(2027, 3, 25) << false << QDate(2027, 3, 29);
    }
    void theListStartsOnTheNextWorkingDay()
    {
        QFETCH(QDate, today);
        QFETCH(bool, saturdayHours);
        std::array<WeeklyTimes, kDoctorSlotCount> hours{};
        for (WeeklyTimes &times : hours)
            times.fill(QStringLiteral("    "));
        hours[3][weeklyTimePosition(0, 1)] = QStringLiteral("0800");
        if (saturdayHours)
            hours[9][weeklyTimePosition(5, 1)] = QStringLiteral("0800");
        QTEST(nextWorkingDay(today, weekdaysWithHours(hours), ClinicCalendar()), "first");
    }

    // Statuses set from the list, on the books in memory: on the booking as listed, refused and said
    // once it is no longer stored so; the list of those still to confirm follows.
    // A booking the calendar closes is listed as one to reschedule, with why; the day before is not.
    void closedBookingsAreListedToReschedule()
    {
        testing::MemoryBooks books;
        books.doctors[0].name = QStringLiteral("Ana");
        testing::MemoryStorage storage(books);
        QString error;
        for (const QDate day : {QDate(2026, 12, 24), QDate(2026, 12, 25)}) {
            Appointment booking;
            booking.date = day;
            booking.hora = QStringLiteral("08:00");
            booking.nome = QStringLiteral("Maria");
            QCOMPARE(storage.add(1, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        const ConfirmationList listed =
            readConfirmationList(storage, QDate(2026, 12, 24), QDate(2026, 12, 25), 0, false);
        QCOMPARE(listed.rows.size(), 2);
        QCOMPARE(listed.rows.at(0).closed, QString());
        QCOMPARE(listed.rows.at(1).closed, QStringLiteral("Holiday: Christmas"));
    }

    void statusesSetFromTheList()
    {
        testing::MemoryBooks books;
        books.doctors[0].name = QStringLiteral("Ana");
        testing::MemoryStorage storage(books);
        const QDate tuesday(2026, 12, 8);
        QString error;
        for (const char *name : {"Maria", "Bia"}) {
            Appointment booking;
            booking.date = tuesday;
            booking.hora = QStringLiteral("08:00");
            booking.nome = QString::fromLatin1(name);
            QCOMPARE(storage.add(1, booking, 0, &error).outcome, AddOutcome::Stored);
        }
        const ConfirmationList listed = readConfirmationList(storage, tuesday, tuesday, 0, false);
        QVERIFY(listed.read);
        QCOMPARE(listed.rows.size(), 2);
        QVERIFY(setListedStatus(storage, listed.rows.at(0), BookingStatus::Confirmed).done);
        const ConfirmationList toConfirm = readConfirmationList(storage, tuesday, tuesday, 0, true);
        QCOMPARE(toConfirm.rows.size(), 1);
        QCOMPARE(toConfirm.rows.at(0).booking.nome, QStringLiteral("Bia"));
        ConfirmationRow renamed = listed.rows.at(1);
        renamed.booking.nome = QStringLiteral("Bia Lima");
        const Outcome refused = setListedStatus(storage, renamed, BookingStatus::Confirmed);
        QVERIFY(!refused.done);
        QVERIFY(refused.messages.value(0).contains(QStringLiteral("no longer stored as listed")));
        QVERIFY(!readConfirmationList(storage, tuesday, tuesday.addYears(1), 0, false, [](int) {
                     return false;
                 }).read);
    }
};

QTEST_GUILESS_MAIN(Confirmation)
#include "tst_confirmation.moc"
