// Where every control of the appointment book window stands, in twips as the layout gives them, and
// how the layout follows a window larger or smaller than it.
#include "windows/main_window.h"

#include "core/model/version.h"

#include "core/text/date_steps.h"
#include "windows/widgets_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

namespace velmora {

namespace {

const char *const kChooseDoctor = QT_TRANSLATE_NOOP("MainWindow", "Choose the doctor");

const QColor kLabelRed(128, 0, 0);
const QColor kEntryRed(255, 0, 0);
const QColor kNavy(0, 0, 128);

struct EntryBox
{
    const char *box;
    const char *label;
    const char *caption;
    int boxLeft, boxTop, boxWidth;
    int labelLeft, labelTop, labelWidth, labelHeight;
    int width; // characters, the field's column in the day list
};

const EntryBox kEntryBoxes[] = {
    {"Text1", "Label7", QT_TRANSLATE_NOOP("MainWindow", "Time"), 120, 1680, 1095, 120, 1440, 735, 255,
     BookingRecord::kHoraWidth},
    {"Text2", "Label8", QT_TRANSLATE_NOOP("MainWindow", "Name"), 1320, 1680, 5895, 1320, 1440, 1215, 255,
     BookingRecord::kNomeWidth},
    {"Text3", "Label9", QT_TRANSLATE_NOOP("MainWindow", "Health Plan"), 7320, 1680, 3135, 7320, 1440, 1110,
     240, BookingRecord::kConvenioWidth},
    {"Text4", "Label10", QT_TRANSLATE_NOOP("MainWindow", "Phones"), 120, 2400, 3495, 120, 2160, 1215, 255,
     BookingRecord::kTelefoneWidth},
    {"Text5", "Label11", QT_TRANSLATE_NOOP("MainWindow", "Obs."), 3720, 2400, 3735, 3720, 2160, 1215, 255,
     BookingRecord::kObsWidth},
};

struct DateButton
{
    const char *name;
    const char *caption;
    int left, top;
    qreal points;
    DateStep step;
};

// The six step buttons lie over the frame but belong to the window; "&TODAY" sits in the frame.
const DateButton kDateButtons[] = {
    {"Command1", QT_TRANSLATE_NOOP("MainWindow", "+ day"), 5280, 6840, 9.75, DateStep::PlusDay},
    {"Command2", QT_TRANSLATE_NOOP("MainWindow", "+ week"), 5280, 7200, 9, DateStep::PlusWeek},
    {"Command3", QT_TRANSLATE_NOOP("MainWindow", "+ month"), 5280, 7560, 9.75, DateStep::PlusMonth},
    {"Command4", QT_TRANSLATE_NOOP("MainWindow", "- day"), 4080, 6840, 9.75, DateStep::MinusDay},
    {"Command5", QT_TRANSLATE_NOOP("MainWindow", "- week"), 4080, 7200, 9, DateStep::MinusWeek},
    {"Command6", QT_TRANSLATE_NOOP("MainWindow", "- month"), 4080, 7560, 9.75, DateStep::MinusMonth},
};

} // namespace

void MainWindow::buildControls()
{
    setObjectName(QStringLiteral("marca1"));
    setWindowTitle(QStringLiteral("Velmora " VELMORA_VERSION));
    setBackground(this, kWindowYellow);
    // Restored, the window keeps the whole layout in view, so that it can be used also where it cannot
    // be maximised (no window manager) or after the user restores it.
    layoutSize_ = twipsRect(0, 0, 11655, 8280).size();
    resize(layoutSize_);
    canvas_ = addScrolledCanvas(this, layoutSize_, &scroller_);

    const auto label = [this](const char *name, const QString &text, const QRect &rect, const QFont &font,
                              const QColor &color) {
        auto *widget = new QLabel(text, canvas_);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(rect);
        widget->setFont(font);
        setTextColor(widget, color);
        return widget;
    };
    const auto button = [this](const char *name, const char *caption, const QRect &rect, qreal points,
                               QWidget *parent) {
        auto *widget =
            new QPushButton(QCoreApplication::translate("MainWindow", caption), parent ? parent : canvas_);
        pressOnEnter(widget);
        widget->setObjectName(QString::fromLatin1(name));
        widget->setGeometry(rect);
        widget->setFont(boldFont(QStringLiteral("Arial"), points));
        return widget;
    };
    const QString arial = QStringLiteral("Arial");
    const QString courier = QStringLiteral("Courier New");

    Image1 = new QLabel(canvas_);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(twipsRect(2280, 120, 6165, 765));
    // The logo carries words: in the program's language where it has been drawn in it.
    const QString translatedLogo = QStringLiteral(":/images/logo_%1.png").arg(QLocale().name());
    Image1->setPixmap(
        QPixmap(QFile::exists(translatedLogo) ? translatedLogo : QStringLiteral(":/images/logo.png")));
    Image1->setScaledContents(true);
    Image1->setToolTip(QCoreApplication::translate("MainWindow", "Click to access our homepage"));
    Image1->setAccessibleName(QCoreApplication::translate("MainWindow", "Velmora's homepage"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    lab_hora = label("lab_hora", QStringLiteral("Hora"), twipsRect(120, 1080, 1215, 375),
                     boldFont(arial, 9.75, true), kNavy);
    lab_dat = label("lab_dat", QStringLiteral("Data"), twipsRect(1440, 1080, 525, 270),
                    boldFont(arial, 12, true), kNavy);

    for (size_t i = 0; i < std::size(kEntryBoxes); ++i) {
        const EntryBox &field = kEntryBoxes[i];
        QLabel *caption =
            label(field.label, QCoreApplication::translate("MainWindow", field.caption),
                  twipsRect(field.labelLeft, field.labelTop, field.labelWidth, field.labelHeight),
                  boldFont(arial, 9.75), kLabelRed);
        auto *box = new QLineEdit(canvas_);
        caption->setBuddy(box); // its name for screen readers
        box->setObjectName(QString::fromLatin1(field.box));
        box->setGeometry(twipsRect(field.boxLeft, field.boxTop, field.boxWidth, 405));
        box->setFont(boldFont(courier, 12));
        setTextColor(box, kEntryRed);
        box->setValidator(new CharacterLimit(field.width, box));
        entryBoxes_[i] = box;
    }

    cmd_inc = button("cmd_inc", QT_TRANSLATE_NOOP("MainWindow", "&Add"), twipsRect(7800, 2400, 855, 375),
                     9.75, nullptr);
    cmd_inc->setToolTip(QCoreApplication::translate("MainWindow", "Add schedule"));
    cmd_alt = button("cmd_alt", QT_TRANSLATE_NOOP("MainWindow", "&Change"), twipsRect(8640, 2400, 975, 375),
                     9.75, nullptr);
    cmd_alt->setToolTip(QCoreApplication::translate("MainWindow", "Change schedule"));
    cmd_exc = button("cmd_exc", QT_TRANSLATE_NOOP("MainWindow", "&Remove"), twipsRect(9600, 2400, 975, 375),
                     9.75, nullptr);
    cmd_exc->setToolTip(QCoreApplication::translate("MainWindow", "Remove  schedule"));
    cmd_exc->setEnabled(false);

    List1 = new QListView(canvas_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setAccessibleName(QCoreApplication::translate("MainWindow", "Day list"));
    List1->setGeometry(twipsRect(120, 2880, 11295, 3420));
    List1->setFont(boldFont(courier, 9));
    setTextColor(List1, QColor(0, 0, 255));
    List1->setModel(&book_.dayList());
    List1->setUniformItemSizes(true);
    // Every row as wide as a full one, so that the scroll bar reaches the end of the notes column.
    List1->setItemDelegate(new FullRowDelegate(BookingRecord::kRowWidth, List1));
    // Rows are never shortened: the notes column stays whole, with a scroll bar where it is needed.
    List1->setTextElideMode(Qt::ElideNone);
    List1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    firstStartHint_ =
        new QLabel(QCoreApplication::translate(
                       "MainWindow", "No doctor is set up yet. Press \"Setup Doctors Details\" to give each "
                                     "doctor a name, a slot length and weekly hours; then choose the doctor "
                                     "in the list below this one."),
                   List1->viewport());
    firstStartHint_->setObjectName(QStringLiteral("firstStartHint"));
    firstStartHint_->setWordWrap(true);
    firstStartHint_->setAlignment(Qt::AlignCenter);
    firstStartHint_->setFont(boldFont(arial, 11));
    setTextColor(firstStartHint_, kNavy);
    auto *overList = new QVBoxLayout(List1->viewport());
    overList->addWidget(firstStartHint_);
    firstStartHint_->hide();
    // Under the rows of a day the calendar closes, in whole or in part: why.
    closedNote_ = new QLabel(List1->viewport());
    closedNote_->setObjectName(QStringLiteral("closedNote"));
    closedNote_->setAlignment(Qt::AlignCenter);
    closedNote_->setFont(boldFont(arial, 11));
    setTextColor(closedNote_, kNavy);
    overList->addStretch();
    overList->addWidget(closedNote_);
    closedNote_->hide();

    Frame1 = new QGroupBox(QCoreApplication::translate("MainWindow", "Change date"), canvas_);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(3840, 6480, 3615, 1575));
    Frame1->setFont(boldFont(arial, 9.75, true));
    setBackground(Frame1, QColor(255, 255, 128));
    setTextColor(Frame1, QColor(0, 0, 255));

    Combo1 = new DoctorBox(canvas_);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setGeometry(twipsRect(120, 6720, 3375, 360));
    Combo1->setFont(boldFont(arial, 9.75, true));
    setTextColor(Combo1, QColor(0, 0, 192));
    Combo1->setToolTip(QCoreApplication::translate("MainWindow", "Click to choose the professional"));
    Combo1->setAccessibleName(QCoreApplication::translate("MainWindow", "Doctor"));
    Combo1->setShownText(QCoreApplication::translate("MainWindow", kChooseDoctor));

    for (const DateButton &spec : kDateButtons)
        dateButtons_.emplace_back(
            button(spec.name, spec.caption, twipsRect(spec.left, spec.top, 1095, 375), spec.points, nullptr),
            spec.step);
    QPushButton *today = button("Command7", QT_TRANSLATE_NOOP("MainWindow", "&TODAY"),
                                twipsRect(2640, 360, 855, 1095), 9.75, Frame1);
    today->setFont(boldFont(arial, 9.75, true));
    useDesktopTextColor(today);
    dateButtons_.emplace_back(today, DateStep::Today);

    cmd_cad = button("cmd_cad", QT_TRANSLATE_NOOP("MainWindow", "&Setup Doctors Details"),
                     twipsRect(7560, 6480, 2415, 495), 9.75, nullptr);
    cmd_imp = button("cmd_imp", QT_TRANSLATE_NOOP("MainWindow", "&Print list"),
                     twipsRect(10080, 6480, 1215, 495), 9.75, nullptr);
    cmd_sai = button("cmd_sai", QT_TRANSLATE_NOOP("MainWindow", "&Quit"), twipsRect(10080, 7080, 1215, 495),
                     9.75, nullptr);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(0); // the first fill as soon as the window is up
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
}

void MainWindow::setTabOrder()
{
    QList<QWidget *> order = {Combo1, List1, cmd_imp, cmd_sai};
    for (QLineEdit *box : entryBoxes_)
        order << box;
    order << cmd_alt << cmd_exc;
    for (const auto &[dateButton, step] : dateButtons_)
        order << dateButton;
    order << cmd_inc << cmd_cad;
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    dayOrder_ = order;
    Combo1->setFocus();
}

namespace {

bool takesTab(const QWidget *control, const QWidget *window)
{
    return (control->focusPolicy() & Qt::TabFocus) && control->isEnabled() && control->isVisibleTo(window);
}

} // namespace

bool MainWindow::focusNextPrevChild(bool next)
{
    // Tab goes round the group the focus is in: the day's controls, or the side panel's.
    QWidget *focused = focusWidget();
    const QList<QWidget *> group = dayOrder_.contains(focused) ? dayOrder_
                                   : focused && sidePanel_->isAncestorOf(focused)
                                       ? sidePanel_->findChildren<QWidget *>()
                                       : QList<QWidget *>();
    const qsizetype at = group.indexOf(focused);
    if (at < 0)
        return QWidget::focusNextPrevChild(next);
    const qsizetype count = group.size();
    for (qsizetype step = 1; step < count; ++step) {
        QWidget *control = group.at((at + (next ? step : count - step)) % count);
        if (takesTab(control, this)) {
            control->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
    }
    return true;
}

void MainWindow::switchToOrFromPanel()
{
    QWidget *focused = focusWidget();
    if (focused && sidePanel_->isAncestorOf(focused)) {
        (dayFocus_ && takesTab(dayFocus_, this) ? dayFocus_.data() : Combo1)
            ->setFocus(Qt::ShortcutFocusReason);
        return;
    }
    if (!sidePanel_->isVisible())
        return;
    for (QWidget *control : sidePanel_->findChildren<QWidget *>()) {
        if (takesTab(control, this)) {
            dayFocus_ = focused;
            control->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeSidePanel();
    fitLayoutToWindow();
}

void MainWindow::placeSidePanel()
{
    const QFontMetrics metrics(List1->font());
    const int fullList = metrics.horizontalAdvance(QString(BookingRecord::kRowWidth + 8, QLatin1Char('0')));
    const int needed =
        layoutSize_.width() + std::max(0, fullList - List1->width()) + sidePanel_->sizeHint().width();
    const bool room = width() >= needed && height() >= layoutSize_.height();
    if (sidePanel_->isVisibleTo(this) == room)
        return;
    sidePanel_->setVisible(room);
    layout()->activate(); // the canvas's room known before it is fitted
}

void MainWindow::fitLayoutToWindow()
{
    // With more room than the layout needs, the day list takes the extra height (and width up to a
    // full row) and what lies below it moves down with its bottom edge; with less, the canvas scrolls.
    const QSize room = scroller_->maximumViewportSize();
    QRect list;
    for (const auto &[control, rect] : layoutGeometry_)
        if (control == List1)
            list = rect;
    const QFontMetrics metrics(List1->font());
    const int fullRowWidth = metrics.horizontalAdvance(QString(BookingRecord::kRowWidth, QLatin1Char('0'))) +
                             FullRowDelegate::kMarginCharacters * metrics.averageCharWidth() +
                             2 * List1->frameWidth() +
                             List1->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int extraHeight = std::max(0, room.height() - layoutSize_.height());
    const int extraWidth = std::max(0, room.width() - layoutSize_.width());
    const int listWidth = list.width() + std::min(extraWidth, std::max(0, fullRowWidth - list.width()));
    for (const auto &[control, rect] : layoutGeometry_) {
        if (control == List1)
            control->setGeometry(list.left(), list.top(), listWidth, list.height() + extraHeight);
        else if (rect.top() >= list.bottom())
            control->move(rect.topLeft() + QPoint(0, extraHeight));
    }
    canvas_->resize(layoutSize_.width() + listWidth - list.width(), layoutSize_.height() + extraHeight);
}

} // namespace velmora
