#include "windows/doctor_box.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

namespace velmora {

DoctorBox::DoctorBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    // Installed after the box's own popup filter, so seen first: what the user picks is noted before
    // the box acts on it.
    view()->installEventFilter(this);
    view()->viewport()->installEventFilter(this);
    connect(this, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        const bool picked = index >= 0 && index == pickedRow_;
        pickedRow_ = -1;
        if (picked)
            Q_EMIT doctorPicked(index);
        else
            restoreShownText();
    });
}

void DoctorBox::setShownText(const QString &text)
{
    shownText_ = text;
    restoreShownText();
}

void DoctorBox::setNames(const QStringList &names, const QString &shownText)
{
    clear();
    addItems(names);
    setCurrentIndex(-1);
    setShownText(shownText);
}

void DoctorBox::restoreShownText()
{
    if (currentText() != shownText_ || lineEdit()->text() != shownText_) {
        const int shown = findText(shownText_, Qt::MatchExactly);
        if (shown < 0 || shown != currentIndex())
            setCurrentIndex(-1);
        setEditText(shownText_);
    }
}

bool DoctorBox::eventFilter(QObject *watched, QEvent *event)
{
    QAbstractItemView *list = view();
    if (watched == list->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const QModelIndex index = list->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        pickedRow_ = index.isValid() ? index.row() : -1;
    } else if (watched == list &&
               (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Select)
            pickedRow_ = list->currentIndex().row();
    }
    return QComboBox::eventFilter(watched, event);
}

void DoctorBox::wheelEvent(QWheelEvent *event)
{
    event->ignore(); // the wheel scrolls what is under the box; it never changes the doctor
}

void DoctorBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        // On the closed box the arrows open the list, where a doctor is picked with Enter.
        showPopup();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept(); // typing a name and pressing Enter chooses nothing
        return;
    default:
        QComboBox::keyPressEvent(event);
    }
}

void DoctorBox::focusOutEvent(QFocusEvent *event)
{
    QComboBox::focusOutEvent(event);
    if (event->reason() != Qt::PopupFocusReason)
        restoreShownText();
}

} // namespace velmora
