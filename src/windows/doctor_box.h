#pragma once

#include <QComboBox>

namespace velmora {

// The doctor box: its text part can be typed in, but only a pick from its open list chooses a
// doctor. Typing and leaving, the wheel over the closed box or the arrow keys on it choose nothing
// and leave the box showing what it showed.
class DoctorBox : public QComboBox
{
    Q_OBJECT

public:
    explicit DoctorBox(QWidget *parent = nullptr);

    // The text shown while no pick changes it: the chosen doctor's name or an invitation to choose.
    void setShownText(const QString &text);
    // Fills the list, with no entry chosen and the text given shown.
    void setNames(const QStringList &names, const QString &shownText);

Q_SIGNALS:
    // Index 0 to 9 of the entry picked from the open list.
    void doctorPicked(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void restoreShownText();

    QString shownText_;
    int pickedRow_ = -1; // the row of the open list the user released the mouse on or pressed Enter on
};

} // namespace velmora
