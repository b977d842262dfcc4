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
        if (node->role() == QAccessible::ComboBox || node->role() == QAccessible::List)
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
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
