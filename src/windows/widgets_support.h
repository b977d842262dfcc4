#pragma once

#include "core/model/booking_state.h"

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStyledItemDelegate>
#include <QValidator>

#include <functional>
#include <optional>

class QDateTimeEdit;
class QLineEdit;
class QMenu;
class QPushButton;
class QScrollArea;
class QTableWidget;
class QWidget;

namespace velmora {

extern const QColor kWindowYellow; // RGB(255,255,192), the windows' and labels' background

// A rectangle given in twips, in pixels of the screen: 15 twips a pixel at 96 dpi.
QRect twipsRect(int left, int top, int width, int height);

QFont boldFont(const QString &family, qreal points, bool italic = false);

void setTextColor(QWidget *widget, const QColor &color);
void setBackground(QWidget *widget, const QColor &color);

// Keeps what is typed or pasted into a single-line field to a number of characters (code points,
// so an emoji counts once): a keystroke into a full field is refused, a paste takes what fits, and
// control characters become blanks. Text the program puts in with setWholeText is shown whole.
class CharacterLimit : public QValidator
{
public:
    CharacterLimit(int characters, QLineEdit *field);
    State validate(QString &input, int &position) const override;

    // A stored value shown in a limited field as it is, however long.
    static void setWholeText(QLineEdit *field, const QString &text);

private:
    int characters_;
    QString accepted_; // the field's text before the edit being validated
    bool whole_ = false;
};

// Rows at least as wide as a row of that many characters in the view's font, with room after it for
// a booking's status mark: a list with uniform rows takes every row's width from one short row
// otherwise, and cuts the long ones.
class FullRowDelegate : public QStyledItemDelegate
{
public:
    static constexpr int kMarginCharacters = 4;
    FullRowDelegate(int characters, QObject *parent) : QStyledItemDelegate(parent), characters_(characters) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    // The row (in italics at a time the calendar closes), and after it the mark of a status other than
    // to confirm, in its colour.
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;

private:
    int characters_;
};

// The colour a status is marked in.
QColor statusColour(BookingStatus status);

// The statuses with their marks and keys (Ctrl+1 to Ctrl+6), one checked at a time, each calling
// chosen.
QMenu *statusMenu(QWidget *parent, const std::function<void(BookingStatus)> &chosen);
// The status the booking at hand has, checked in the menu; none when no booking is at hand.
void markStatus(QMenu *menu, std::optional<BookingStatus> current);

// A canvas of the window's colour, inside a scroll area that fills the window: the controls are laid
// on the canvas and can all be reached by scrolling when the window is smaller than the layout, as
// with a large text scale.
QWidget *addScrolledCanvas(QWidget *window, const QSize &layoutSize, QScrollArea **area = nullptr);

// Enter on a focused button presses it, as Space does.
void pressOnEnter(QPushButton *button);

// Escape in a window: an open drop-down list is closed alone; otherwise the window does what it
// does on Escape (closes, or stops its reading first).
void onEscape(QWidget *window, const std::function<void()> &escaped);

// The window widened, as far as its screen allows, until every column of the table is in sight whole,
// with the width its contents and heading need.
void showColumnsWhole(QWidget *window, QTableWidget *table);

// A date typed over the whole selected text (Ctrl+A, or a click that selected it) is taken as typed:
// Qt's date field drops the first part of it otherwise ("2027-03-10" over "2026-12-09" gives
// 2026-03-10), and skips a part after one typed full when its separator is typed.
void typeDatesWhole(QDateTimeEdit *date);

// Buttons take the desktop's text colour, not the coloured text of the frame they sit in.
void useDesktopTextColor(QPushButton *button);

} // namespace velmora
