#pragma once

#include "files/sqlite_storage.h"
#include "support/test_files.h"
#include "support/test_platform.h"
#include "windows/book_windows.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace velmora::testing {

// The main window on a temporary folder of files, driven as a user drives it.
class BookWindow
{
public:
    explicit BookWindow(QDate today = QDate(2027, 3, 1)) : platform(today) { files.prepareCopies(); }

    // The book on the folder's files and its windows, the main window not yet shown.
    void create(const QStringList &fileProblems = {})
    {
        window = nullptr;
        windows.reset();
        appointmentBook.reset();
        reads.reset();
        storage.reset();
        storage = std::make_unique<SqliteStorage>(files.folder());
        reads = std::make_unique<BackgroundReads>([folder = files.folder()] {
            return std::make_unique<SqliteStorage>(folder, kLockWaitMs, FileAccess::ReadBeside);
        });
        appointmentBook = std::make_unique<AppointmentBook>(*storage, platform.clock.today());
        windows = std::make_unique<BookWindows>(platform.platform(), *appointmentBook, *storage, *reads,
                                                files.folder(), fileProblems);
        window = &windows->main();
    }

    // Opens the window and waits for the doctor list to be filled by the first tick of its timer.
    void open()
    {
        create();
        window->show();
        QApplication::setActiveWindow(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTRY_COMPARE(combo()->count(), kDoctorSlotCount);
    }

    template <typename T = QWidget> T *find(const char *name) const
    {
        T *widget = window->findChild<T *>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    QComboBox *combo() const { return find<QComboBox>("Combo1"); }
    QListView *list() const { return find<QListView>("List1"); }
    QLineEdit *field(int number) const
    {
        return find<QLineEdit>(QStringLiteral("Text%1").arg(number).toLatin1().constData());
    }
    QPushButton *button(const char *name) const { return find<QPushButton>(name); }
    QStringList rows() const { return appointmentBook->dayList().rows(); }

    // Picks the entry from the drop-down list with the mouse.
    void chooseDoctor(int slot)
    {
        QComboBox *box = combo();
        box->showPopup();
        QAbstractItemView *view = box->view();
        QTRY_VERIFY(view->isVisible());
        const QModelIndex index = view->model()->index(slot - 1, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
        QTRY_VERIFY(!view->isVisible());
    }

    void clickRow(int row)
    {
        QListView *view = list();
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    }

    int rowStartingWith(const QString &start) const { return firstRowStartingWith(rows(), start); }

    void click(const char *name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    // Clicks into the field, selects what it holds and types over it.
    void typeInto(int number, const QString &text)
    {
        QLineEdit *box = field(number);
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        if (text.isEmpty())
            QTest::keyClick(box, Qt::Key_Backspace);
        else
            typeText(box, text);
    }

    // Key presses for every character, also those beyond ASCII that QTest::keyClicks refuses.
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const uint codePoint : text.toUcs4()) {
            const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, character, Qt::NoModifier);
        }
    }

    QString dateLabel() const { return find<QLabel>("lab_dat")->text(); }

    // The setup window, once the main window has opened it.
    static QWidget *setupWindow()
    {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (widget->objectName() == QLatin1String("marca2"))
                return widget;
        return nullptr;
    }

    template <typename T = QWidget> static T *setupControl(const QString &name)
    {
        QWidget *setup = setupWindow();
        T *widget = setup ? setup->findChild<T *>(name) : nullptr;
        if (!widget)
            qFatal("no setup control %s", qPrintable(name));
        return widget;
    }

    TestFiles files;
    TestPlatform platform;
    std::unique_ptr<SqliteStorage> storage;
    std::unique_ptr<BackgroundReads> reads;
    std::unique_ptr<AppointmentBook> appointmentBook;
    std::unique_ptr<BookWindows> windows;
    MainWindow *window = nullptr;
};

} // namespace velmora::testing
