// Each window walked through Qt's accessibility interface, as a screen reader walks it: every control
// has a name, and no two controls of a window share one.
#include "support/book_window.h"

#include <QAccessible>

using namespace velmora;
using velmora::testing::BookWindow;

namespace {

bool isControl(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::RadioButton:
    case QAccessible::CheckBox:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::SpinBox:
        return true;
    default:
        return false;
    }
}

void collect(QAccessibleInterface *node, QMultiMap<QString, QString> &names, QStringList &unnamed)
{
    if (!node || node->state().invisible)
        return;
    if (isControl(node->role())) {
        const QString name = node->text(QAccessible::Name);
        const QString control = node->object() ? node->object()->objectName() : QStringLiteral("?");
        if (name.trimmed().isEmpty())
            unnamed << control;
        else
            names.insert(name, control);
        if (node->role() == QAccessible::ComboBox || node->role() == QAccessible::List ||
            node->role() == QAccessible::Table || node->role() == QAccessible::SpinBox)
            return; // their items and parts are theirs
    }
    for (int i = 0; i < node->childCount(); ++i)
        collect(node->child(i), names, unnamed);
}

void checkNames(QWidget *window, int atLeast)
{
    QMultiMap<QString, QString> names;
    QStringList unnamed;
    collect(QAccessible::queryAccessibleInterface(window), names, unnamed);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QVERIFY2(names.size() >= atLeast, qPrintable(QString::number(names.size())));
    for (const QString &name : names.uniqueKeys())
        QVERIFY2(names.count(name) == 1,
                 qPrintable(name + QStringLiteral(": ") +
                            QStringList(names.values(name)).join(QStringLiteral(", "))));
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyControlNamedOnce()
    {
        BookWindow book;
        book.open();
        checkNames(book.window, 20); // 5 fields, 13 buttons, the doctor box and the day list
        QCOMPARE(QAccessible::queryAccessibleInterface(book.field(2))->text(QAccessible::Name),
                 QStringLiteral("Name"));

        book.click("cmd_cad");
        QWidget *setup = BookWindow::setupWindow();
        QVERIFY(setup);
        checkNames(setup, 51); // 10 names, 30 slot lengths, 10 schedules, save and return
        QTest::mouseClick(BookWindow::setupControl<QPushButton>("Command3"), Qt::LeftButton);
        checkNames(setup, 29); // the 28 weekly times and Confirm over the frames
    }

    // The reception's own windows, and the panel beside the day list when there is room for it.
    void theReceptionsWindowsNamed()
    {
        BookWindow book;
        book.files.setDoctor(1, "Ana", "30", {"0800", "1200"});
        book.open();
        book.window->resize(1366, 768);
        checkNames(book.window, 30); // and the panel's buttons (the status one opens a menu) and held list
        // F6 moves to the panel, whose Tab goes round its own controls, and back where the day was left.
        book.find<QWidget>("cmd_cad")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("findButton"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(book.find<QWidget>("sidePanel")->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("findButton"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmd_cad"));
        QTest::keyClick(book.window, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QWidget *confirmations = book.find<QWidget>("confirmationWindow");
        checkNames(confirmations, 10); // the period, the filter, the list and five buttons
        QTest::mouseClick(confirmations->findChild<QPushButton *>("confirmMessage"), Qt::LeftButton);
        checkNames(book.find<QWidget>("messageWindow"), 5);
        QTest::keyClick(book.window, Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
        checkNames(book.find<QWidget>("monthWindow"), 7);
        QTest::keyClick(book.window, Qt::Key_F, Qt::ControlModifier);
        checkNames(book.find<QWidget>("findWindow"), 2);
        QTest::keyClick(book.window, Qt::Key_W, Qt::ControlModifier | Qt::ShiftModifier);
        checkNames(book.find<QWidget>("waitingListWindow"), 14); // the list, eight fields, five buttons
        book.find<QWidget>("waitingListWindow")->close();
        book.chooseDoctor(1);
        book.typeInto(2, "Series Patient");
        QTest::keyClick(book.window, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
        checkNames(book.find<QWidget>("seriesWindow"), 23); // the rule's 19 controls, the list, three buttons
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
