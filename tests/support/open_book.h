#pragma once

#include "core/desk/appointment_book.h"
#include "files/sqlite_storage.h"
#include "support/test_files.h"

#include <memory>

namespace velmora::testing {

// A book on a temporary folder of files, with the doctors given set up before it is opened.
struct Book
{
    explicit Book(QDate today = QDate(2027, 3, 1)) : today(today) { files.prepareCopies(); }

    // Monday to Sunday 08:00 to 09:00 at the given slot length.
    void morningDoctor(int slot, const QString &name, const QString &interval = "15", int link = 0)
    {
        files.setDoctor(slot, name, interval, {"0800", "0900"}, link);
    }

    // A lock another program holds is waited for briefly, unless a test is about that wait.
    AppointmentBook &open(int slot = 0, int lockWaitMs = 100)
    {
        storage = std::make_unique<SqliteStorage>(files.folder(), lockWaitMs);
        book = std::make_unique<AppointmentBook>(*storage, today);
        book->readDoctorNames();
        if (slot)
            expectNothingSaid(book->chooseDoctor(slot));
        return *book;
    }

    QStringList rows() const { return book->dayList().rows(); }
    int rowStartingWith(const QString &start) const { return firstRowStartingWith(rows(), start); }
    // Fields typed as the receptionist types them; names are capitalised on leaving their field.
    void type(EntryField field, const QString &text)
    {
        book->entry().type(field, text);
        book->entry().leave(field);
    }

    static void expectNothingSaid(const Outcome &outcome)
    {
        if (!outcome.messages.isEmpty())
            QTest::qFail(qPrintable(QStringLiteral("unexpected message: ") + outcome.messages.join('|')),
                         __FILE__, __LINE__);
    }

    QDate today;
    TestFiles files;
    std::unique_ptr<SqliteStorage> storage;
    std::unique_ptr<AppointmentBook> book;
};

inline QString said(const Outcome &outcome)
{
    return outcome.messages.join(QLatin1Char('\n'));
}

} // namespace velmora::testing
