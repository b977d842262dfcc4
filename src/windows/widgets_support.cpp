#include "windows/widgets_support.h"

#include "core/desk/day_list_model.h"
#include "core/model/booking_status.h"
#include "core/text/printout.h"
#include "core/text/text_rules.h"
#include "windows/platform.h"

#include <QActionGroup>
#include <QApplication>
#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTableWidget>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace velmora {

const QColor kWindowYellow(255, 255, 192);

namespace {

int pixels(int twips)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal scale = screen ? screen->logicalDotsPerInch() / 96.0 : 1.0;
    return static_cast<int>(std::lround(twips / 15.0 * scale));
}

} // namespace

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(pixels(left), pixels(top), pixels(width), pixels(height));
}

QFont boldFont(const QString &family, qreal points, bool italic)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void setBackground(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, color);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

CharacterLimit::CharacterLimit(int characters, QLineEdit *field)
    : QValidator(field), characters_(characters), accepted_(field->text())
{
    connect(field, &QLineEdit::textChanged, this, [this](const QString &text) { accepted_ = text; });
}

QValidator::State CharacterLimit::validate(QString &input, int &position) const
{
    if (whole_)
        return Acceptable;
    const LimitedEdit edit = limitedEdit(accepted_, input, characters_);
    if (!edit.accepted)
        return Invalid;
    if (edit.text != input) {
        input = edit.text;
        position = edit.cursor;
    }
    return Acceptable;
}

void onEscape(QWidget *window, const std::function<void()> &escaped)
{
    new QShortcut(QKeySequence(Qt::Key_Escape), window, window, [escaped] {
        if (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        else
            escaped();
    });
}

void CharacterLimit::setWholeText(QLineEdit *field, const QString &text)
{
    auto *limit = dynamic_cast<CharacterLimit *>(const_cast<QValidator *>(field->validator()));
    if (limit)
        limit->whole_ = true;
    field->setText(text);
    if (limit)
        limit->whole_ = false;
}

namespace {

class EnterPresses : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && !key->isAutoRepeat()) {
                static_cast<QPushButton *>(watched)->click();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

QSize FullRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    const int fullRow = option.fontMetrics.horizontalAdvance(QString(characters_, QLatin1Char('0')));
    size.setWidth(
        std::max(size.width(), fullRow + kMarginCharacters * option.fontMetrics.averageCharWidth()));
    return size;
}

void printOrSavePdf(const Platform &platform, QWidget *parent, const Printout &printout, const QDir &folder)
{
    QString error;
    if (platform.printer.print(printout, &error))
        return;
    const bool savePdf = platform.messages.ask(
        parent,
        QCoreApplication::translate(
            "MainWindow", "The list could not be printed: %1.\n\nSave the same pages as a PDF file instead?")
            .arg(error));
    if (!savePdf)
        return;
    const QString path = platform.messages.saveFileName(
        parent, folder.filePath(printout.documentName + QStringLiteral(".pdf")),
        QCoreApplication::translate("MainWindow", "PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!platform.printer.saveAsPdf(printout, path, &error))
        platform.messages.inform(
            parent,
            QCoreApplication::translate("MainWindow", "The PDF file could not be written: %1.").arg(error));
}

QColor statusColour(BookingStatus status)
{
    switch (status) {
    case BookingStatus::Confirmed:
        return QColor(0, 128, 0);
    case BookingStatus::NotReached:
        return QColor(200, 110, 0);
    case BookingStatus::Cancelled:
        return QColor(190, 0, 0);
    case BookingStatus::Arrived:
        return QColor(0, 80, 200);
    case BookingStatus::Missed:
        return QColor(110, 0, 130);
    case BookingStatus::ToConfirm:
        break;
    }
    return QColor(96, 96, 96);
}

void FullRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    // A booking at a time the calendar closes stands in italics; one held to be moved, struck through;
    // a squeeze-in, underlined.
    QStyleOptionViewItem shown = option;
    shown.font.setItalic(index.data(DayListModel::ClosedRole).toBool());
    shown.font.setStrikeOut(index.data(DayListModel::HeldRole).toBool());
    shown.font.setUnderline(index.data(DayListModel::SqueezeInRole).toBool()); // a squeeze-in

    QStyledItemDelegate::paint(painter, shown, index);
    const auto status = statusFromNumber(index.data(DayListModel::StatusRole).toInt());
    if (status == BookingStatus::ToConfirm)
        return;
    const int character = option.fontMetrics.averageCharWidth();
    const int left = option.rect.left() +
                     option.fontMetrics.horizontalAdvance(QString(characters_, QLatin1Char('0'))) +
                     character * 3 / 2;
    const QRect mark(left, option.rect.top() + 1, character * 2, option.rect.height() - 2);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(statusColour(status));
    painter->drawRoundedRect(mark, 3, 3);
    painter->setPen(Qt::white);
    painter->drawText(mark, Qt::AlignCenter, statusMark(status));
    painter->restore();
}

QWidget *addScrolledCanvas(QWidget *window, const QSize &layoutSize, QScrollArea **area)
{
    auto *scroller = new QScrollArea(window);
    scroller->setObjectName(QStringLiteral("canvasScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    // Scrolled by the focus moving through the controls, never a stop of its own on the way.
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(false);
    auto *canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    setBackground(canvas, kWindowYellow);
    canvas->resize(layoutSize);
    scroller->setWidget(canvas);
    setBackground(scroller->viewport(), kWindowYellow);
    // A row, so that a window can put something beside the canvas.
    auto *layout = new QHBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroller);
    if (area)
        *area = scroller;
    return canvas;
}

void pressOnEnter(QPushButton *button)
{
    button->installEventFilter(new EnterPresses(button));
}

void useDesktopTextColor(QPushButton *button)
{
    const QPalette desktop = QApplication::palette(button);
    QPalette palette = button->palette();
    for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::WindowText})
        for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
            palette.setColor(group, role, desktop.color(group, role));
    button->setPalette(palette);
}

QMenu *statusMenu(QWidget *parent, const std::function<void(BookingStatus)> &chosen)
{
    auto *menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("statusMenu"));
    auto *group = new QActionGroup(menu);
    for (int number = 0; number < kBookingStatusCount; ++number) {
        const BookingStatus status = statusFromNumber(number);
        // A tab in an action's text starts its shortcut's column: the mark goes before the words.
        QAction *action =
            menu->addAction((statusMark(status) + QLatin1Char(' ') + statusCaption(status)).trimmed());
        action->setCheckable(true);
        action->setActionGroup(group);
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + number)));
        QObject::connect(action, &QAction::triggered, menu, [chosen, status] { chosen(status); });
    }
    return menu;
}

void markStatus(QMenu *menu, std::optional<BookingStatus> current)
{
    const QList<QAction *> actions = menu->actions();
    for (int number = 0; number < actions.size(); ++number)
        actions.at(number)->setChecked(current && statusFromNumber(number) == *current);
}

void showColumnsWhole(QWidget *window, QTableWidget *table)
{
    if (!window->isVisible())
        return; // measured once laid out
    QHeaderView *header = table->horizontalHeader();
    int columns = 0;
    for (int column = 0; column < table->columnCount(); ++column)
        if (!table->isColumnHidden(column))
            columns += std::max({static_cast<const QAbstractItemView *>(table)->sizeHintForColumn(column),
                                 header->sectionSizeHint(column),
                                 header->stretchLastSection() && column == table->columnCount() - 1
                                     ? 0
                                     : table->columnWidth(column)});
    // Around the columns: the table's frame and a scroll bar's room, and the window's own beside the
    // table (margins, other controls).
    const int around = window->width() - table->viewport()->width() +
                       (table->verticalScrollBar()->isVisible()
                            ? 0
                            : table->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, table));
    const int needed = columns + around;
    const QScreen *screen = window->screen();
    const int room = screen ? screen->availableGeometry().width() : needed;
    if (needed > window->width())
        window->resize(std::min(needed, std::max(room, window->width())), window->height());
}

namespace {

class WholeDateTyping : public QObject
{
public:
    explicit WholeDateTyping(QDateTimeEdit *date) : QObject(date), date_(date) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != date_ || event->type() != QEvent::KeyPress || passing_)
            return false;
        const QString typed = static_cast<QKeyEvent *>(event)->text();
        const bool digit = typed.size() == 1 && typed.at(0).isDigit();
        const bool separator =
            typed.size() == 1 && !digit && typed.at(0).isPrint() && !typed.at(0).isLetter();
        if (separator && std::exchange(advanced_, false))
            return true; // the part was typed full and the field moved on already
        advanced_ = false;
        if (!digit)
            return false;
        const QLineEdit *text = date_->findChild<QLineEdit *>();
        if (text && !text->text().isEmpty() && text->selectedText() == text->text()) {
            // Typed over the whole: the first part takes the digits, as the date is written.
            date_->setCurrentSectionIndex(0);
            date_->setSelectedSection(date_->sectionAt(0));
        }
        const int before = date_->currentSectionIndex();
        passing_ = true;
        QCoreApplication::sendEvent(date_, event);
        passing_ = false;
        advanced_ = date_->currentSectionIndex() != before;
        return true;
    }

private:
    QDateTimeEdit *date_;
    bool passing_ = false;
    bool advanced_ = false;
};

} // namespace

void typeDatesWhole(QDateTimeEdit *date)
{
    date->installEventFilter(new WholeDateTyping(date));
}

} // namespace velmora
