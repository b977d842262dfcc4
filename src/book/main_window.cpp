#include "book/main_window.h"

#include "book/printout.h"
#include "book/widgets_support.h"
#include "setup/setup_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTimer>

#include <memory>

namespace velmora {

namespace {

const char *const kChooseDoctor = "Choose the doctor";
const char *const kChooseProfessionalFirst = "Please choose professional first";
const char *const kNoAppointmentSelected = "No appointment is selected: choose one in the list first.";
const char *const kHomePage = "https://www.velmora.example/";

const QColor kLabelRed(128, 0, 0);
const QColor kEntryRed(255, 0, 0);
const QColor kNavy(0, 0, 128);

struct EntryField
{
    const char *box;
    const char *label;
    const char *caption;
    int boxLeft, boxTop, boxWidth;
    int labelLeft, labelTop, labelWidth, labelHeight;
    int width; // characters, the field's column in the day list
};

const EntryField kEntryFields[] = {
    {"Text1", "Label7", "Time", 120, 1680, 1095, 120, 1440, 735, 255, BookingRecord::kHoraWidth},
    {"Text2", "Label8", "Name", 1320, 1680, 5895, 1320, 1440, 1215, 255, BookingRecord::kNomeWidth},
    {"Text3", "Label9", "Health Plan", 7320, 1680, 3135, 7320, 1440, 1110, 240,
     BookingRecord::kConvenioWidth},
    {"Text4", "Label10", "Phones", 120, 2400, 3495, 120, 2160, 1215, 255, BookingRecord::kTelefoneWidth},
    {"Text5", "Label11", "Obs.", 3720, 2400, 3735, 3720, 2160, 1215, 255, BookingRecord::kObsWidth},
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
    {"Command1", "+ day", 5280, 6840, 9.75, DateStep::PlusDay},
    {"Command2", "+ week", 5280, 7200, 9, DateStep::PlusWeek},
    {"Command3", "+ month", 5280, 7560, 9.75, DateStep::PlusMonth},
    {"Command4", "- day", 4080, 6840, 9.75, DateStep::MinusDay},
    {"Command5", "- week", 4080, 7200, 9, DateStep::MinusWeek},
    {"Command6", "- month", 4080, 7560, 9.75, DateStep::MinusMonth},
};

QString longDateText(QDate date)
{
    return QLocale::system().toString(date, QLocale::LongFormat);
}

// The system's time of day with seconds, without a time zone name.
QString clockText(QTime time)
{
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale::system().toString(time, format.trimmed());
}

// Marks the list as changed by the program, so that the moves of its current row are not taken for
// the user's clicks.
class ProgramListChange
{
public:
    explicit ProgramListChange(bool &flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~ProgramListChange() { flag_ = previous_; }

private:
    bool &flag_;
    bool previous_;
};

} // namespace

MainWindow::MainWindow(const Platform &platform, const QDir &folder, const QStringList &fileProblems,
                       QWidget *parent)
    : QWidget(parent), platform_(platform), folder_(folder), fileProblems_(fileProblems),
      data1_(QStringLiteral("Data1"), folder), data2_(QStringLiteral("Data2"), folder),
      data22_(QStringLiteral("Data22"), folder), settings_(data2_, data22_), appointments_(data1_)
{
    buildControls();
    setTabOrder();
    for (QWidget *control : canvas_->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        layoutGeometry_.push_back({control, control->geometry()});

    // Opened by the first read that needs them, once the window is on the screen: a file another
    // program holds locked is waited for where the user sees why.
    data1_.pointLater(QString::fromLatin1(kDoctorSlots[0].appointmentFile));
    data2_.pointLater(QString::fromLatin1(kMainSettingsFile));
    data22_.pointLater(QString::fromLatin1(kExtraSettingsFile));

    // Load step.
    currentDate_ = platform_.clock.today();
    lab_dat->setText(longDateText(currentDate_));
    lab_dat->adjustSize();
    cmd_alt->setEnabled(false);

    Timer1->start();
    Timer2->start();
}

MainWindow::~MainWindow()
{
    delete setup_;
}

void MainWindow::buildControls()
{
    setObjectName(QStringLiteral("marca1"));
    setWindowTitle(QStringLiteral("Velmora 3.2"));
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
        auto *widget = new QPushButton(QString::fromLatin1(caption), parent ? parent : canvas_);
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
    Image1->setPixmap(QPixmap(QStringLiteral(":/book/images/logo.png")));
    Image1->setScaledContents(true);
    Image1->setToolTip(QStringLiteral("Click to access our homepage"));
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);

    lab_hora = label("lab_hora", QStringLiteral("Hora"), twipsRect(120, 1080, 1215, 375),
                     boldFont(arial, 9.75, true), kNavy);
    lab_dat = label("lab_dat", QStringLiteral("Data"), twipsRect(1440, 1080, 525, 270),
                    boldFont(arial, 12, true), kNavy);

    for (size_t i = 0; i < std::size(kEntryFields); ++i) {
        const EntryField &field = kEntryFields[i];
        label(field.label, QString::fromLatin1(field.caption),
              twipsRect(field.labelLeft, field.labelTop, field.labelWidth, field.labelHeight),
              boldFont(arial, 9.75), kLabelRed);
        auto *box = new QLineEdit(canvas_);
        box->setObjectName(QString::fromLatin1(field.box));
        box->setGeometry(twipsRect(field.boxLeft, field.boxTop, field.boxWidth, 405));
        box->setFont(boldFont(courier, 12));
        setTextColor(box, kEntryRed);
        box->setValidator(new CharacterLimit(field.width, box));
        const int index = static_cast<int>(i);
        connect(box, &QLineEdit::textChanged, this, [this, index] { TextN_Change(index); });
        connect(box, &QLineEdit::returnPressed, this, [this, index] { TextN_KeyPress(index); });
        Text[i] = box;
    }
    Text[1]->installEventFilter(this);
    Text[2]->installEventFilter(this);

    cmd_inc = button("cmd_inc", "&Add", twipsRect(7800, 2400, 855, 375), 9.75, nullptr);
    cmd_inc->setToolTip(QStringLiteral("Add schedule"));
    cmd_alt = button("cmd_alt", "&Change", twipsRect(8640, 2400, 975, 375), 9.75, nullptr);
    cmd_alt->setToolTip(QStringLiteral("Change schedule"));
    cmd_exc = button("cmd_exc", "&Remove", twipsRect(9600, 2400, 975, 375), 9.75, nullptr);
    cmd_exc->setToolTip(QStringLiteral("Remove  schedule"));
    cmd_exc->setEnabled(false);

    List1 = new QListView(canvas_);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(twipsRect(120, 2880, 11295, 3420));
    List1->setFont(boldFont(courier, 9));
    setTextColor(List1, QColor(0, 0, 255));
    List1->setModel(&dayList_);
    List1->setUniformItemSizes(true);
    // Every row as wide as a full one, so that the scroll bar reaches the end of the notes column.
    List1->setItemDelegate(new FullRowDelegate(BookingRecord::kRowWidth, List1));
    // Rows are never shortened: the notes column stays whole, with a scroll bar where it is needed.
    List1->setTextElideMode(Qt::ElideNone);
    List1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // A click or a key that selects another row; the current row moves before the selection does.
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (listChangedByProgram_)
            return;
        if (List1->selectionModel()->hasSelection()) {
            List1_Click();
        } else {
            // A click beside the rows selects none: there is nothing to change or remove.
            cmd_alt->setEnabled(false);
            cmd_exc->setEnabled(false);
        }
    });

    Frame1 = new QGroupBox(QStringLiteral("Change date"), canvas_);
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
    Combo1->setToolTip(QStringLiteral("Click to choose the professional"));
    Combo1->setShownText(QString::fromLatin1(kChooseDoctor));
    connect(Combo1, &DoctorBox::doctorPicked, this, &MainWindow::Combo1_Click);

    for (size_t i = 0; i < std::size(kDateButtons); ++i) {
        const DateButton &spec = kDateButtons[i];
        Command[i] =
            button(spec.name, spec.caption, twipsRect(spec.left, spec.top, 1095, 375), spec.points, nullptr);
        const DateStep step = spec.step;
        connect(Command[i], &QPushButton::clicked, this, [this, step] { stepDate(step); });
    }
    Command[6] = button("Command7", "&TODAY", twipsRect(2640, 360, 855, 1095), 9.75, Frame1);
    Command[6]->setFont(boldFont(arial, 9.75, true));
    useDesktopTextColor(Command[6]);
    connect(Command[6], &QPushButton::clicked, this, [this] { stepDate(DateStep::Today); });

    cmd_cad = button("cmd_cad", "&Setup Doctors Details", twipsRect(7560, 6480, 2415, 495), 9.75, nullptr);
    cmd_imp = button("cmd_imp", "&Print list", twipsRect(10080, 6480, 1215, 495), 9.75, nullptr);
    cmd_sai = button("cmd_sai", "&Quit", twipsRect(10080, 7080, 1215, 495), 9.75, nullptr);

    connect(cmd_inc, &QPushButton::clicked, this, &MainWindow::cmd_inc_Click);
    connect(cmd_alt, &QPushButton::clicked, this, &MainWindow::cmd_alt_Click);
    connect(cmd_exc, &QPushButton::clicked, this, &MainWindow::cmd_exc_Click);
    connect(cmd_imp, &QPushButton::clicked, this, &MainWindow::cmd_imp_Click);
    connect(cmd_cad, &QPushButton::clicked, this, &MainWindow::cmd_cad_Click);
    connect(cmd_sai, &QPushButton::clicked, this, &MainWindow::cmd_sai_Click);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(0);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(1000);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
}

void MainWindow::setTabOrder()
{
    const QList<QWidget *> order = {Combo1,     List1,      cmd_imp,    cmd_sai,    Text[0],
                                    Text[1],    Text[2],    Text[3],    Text[4],    cmd_alt,
                                    cmd_exc,    Command[0], Command[1], Command[2], Command[3],
                                    Command[4], Command[5], Command[6], cmd_inc,    cmd_cad};
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    Combo1->setFocus();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (fileProblems_.isEmpty())
        return;
    const QStringList problems = std::exchange(fileProblems_, {});
    // Said once the window is on the screen, so that the user sees which program speaks.
    QTimer::singleShot(0, this, [this, problems] {
        platform_.messages.inform(this, QStringLiteral("Some of the program's files cannot be used:\n\n%1")
                                            .arg(problems.join(QLatin1Char('\n'))));
    });
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitLayoutToWindow();
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
                             2 * metrics.averageCharWidth() + 2 * List1->frameWidth() +
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

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program, as Quit does; a hidden setup window goes with it.
    if (setup_)
        setup_->hide();
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        Image1_Click();
        return true;
    }
    if ((watched == Text[1] || watched == Text[2]) && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Only a move to another control counts as leaving the field, not another window coming up.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            capitalizeField(static_cast<QLineEdit *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::Timer1_Timer()
{
    AllDoctorFields fields;
    QString error;
    Timer1->setInterval(100); // after the first try, which comes as soon as the window is up
    // A locked file is not waited for here: the window stays responsive and the next tick tries again.
    if (!settings_.tryReadDoctorFields(&fields, &error))
        return;
    // The names up to the first without value are listed; the fill is done when all ten are.
    QStringList names;
    for (const DoctorFields &doctor : fields) {
        if (doctor.name.isNull())
            break;
        names << doctor.name.toString();
    }
    fillDoctorList(names);
    if (names.size() < kDoctorSlotCount)
        return;
    Timer1->stop();
    Q_EMIT doctorListFilled();
}

void MainWindow::Timer2_Timer()
{
    lab_hora->setText(clockText(platform_.clock.now()));
}

void MainWindow::fillDoctorList(const QStringList &names)
{
    Combo1->setNames(names, QString::fromLatin1(kChooseDoctor));
}

void MainWindow::capitalizeField(QLineEdit *box)
{
    const QString capitalised = capitalize_name(box->text());
    if (capitalised != box->text())
        box->setText(capitalised);
}

QString MainWindow::activeDoctorName() const
{
    const QString name = trimBlanks(Combo1->currentText());
    return name.isEmpty() ? QStringLiteral("doctor %1").arg(activeSlot_) : QStringLiteral("\"%1\"").arg(name);
}

bool MainWindow::loadActiveDoctor(int slot, QString *error)
{
    AllDoctorFields fields;
    if (!settings_.readDoctorFields(&fields, error))
        return false;
    const DoctorFields &doctor = fields[static_cast<size_t>(slot - 1)];
    if (doctor.interval.isNull() || doctor.link.isNull()) {
        *error = QStringLiteral("the doctor's slot length or linked book has no value in the settings");
        return false;
    }
    WeeklyTimes times;
    if (!settings_.readWeeklyTimes(slot, &times, error))
        return false;
    if (!data1_.pointAt(QString::fromLatin1(doctorSlot(slot).appointmentFile), error))
        return false;
    bool any = false;
    if (!appointments_.hasRecords(&any, error))
        return false;
    if (!any && !appointments_.addPlaceholder(error))
        return false;

    doctor_.slotLength = fitted(doctor.interval.toString(), 2);
    doctor_.linkedSlot = linkedSlotValue(doctor.link.toString());
    for (int i = 0; i < kWeeklyTimeCount; ++i)
        doctor_.weeklyTimes[i] = fitted(times[i], 4);
    return true;
}

void MainWindow::Combo1_Click(int index)
{
    clearDayList();
    if (index < 0 || index >= kDoctorSlotCount)
        return;
    activeSlot_ = static_cast<qint16>(index + 1);
    Combo1->setShownText(Combo1->itemText(index));
    QString error;
    if (!loadActiveDoctor(activeSlot_, &error)) {
        const QString name = activeDoctorName();
        activeSlot_ = 0;
        Combo1->setShownText(QString::fromLatin1(kChooseDoctor));
        platform_.messages.inform(this,
                                  QStringLiteral("The appointment book of %1 could not be opened: %2.\n\n"
                                                 "No doctor is chosen; please choose one again.")
                                      .arg(name, error));
        return;
    }
    rebuildDayList();
}

void MainWindow::clearDayList()
{
    ProgramListChange change(listChangedByProgram_);
    dayList_.clear();
    List1->setCurrentIndex({});
    List1->clearSelection();
}

bool MainWindow::rebuildDayList(QString *error)
{
    clearDayList();
    ProgramListChange change(listChangedByProgram_);
    QVector<Appointment> bookings;
    if (!appointments_.readDay(currentDate_, &bookings, error))
        return false;
    list_free_slots(dayList_, doctor_, currentDate_);
    merge_bookings(dayList_, current_, bookings);
    return true;
}

bool MainWindow::rebuildDayList()
{
    QString error;
    if (rebuildDayList(&error))
        return true;
    platform_.messages.inform(this, QStringLiteral("The appointments of %1 could not be read: %2.\n\n"
                                                   "The list stays empty until they can be read.")
                                        .arg(longDateText(currentDate_), error));
    return false;
}

void MainWindow::reportStorageFailure(const QString &what, const QString &reason)
{
    // One box says both what failed and what the list now shows.
    QString readError;
    const QString shown =
        rebuildDayList(&readError)
            ? QStringLiteral("The list shows what is stored.")
            : QStringLiteral("The stored appointments cannot be read either (%1); the list stays "
                             "empty until they can be read.")
                  .arg(readError);
    platform_.messages.inform(this, QStringLiteral("%1: %2.\n\n%3").arg(what, reason, shown));
}

void MainWindow::stepDate(DateStep step)
{
    if (activeSlot_ == 0) {
        platform_.messages.inform(this, QString::fromLatin1(kChooseProfessionalFirst));
        return;
    }
    const std::optional<QDate> next = steppedDate(currentDate_, step, platform_.clock.today());
    if (!next)
        return; // past the calendar's ends nothing changes
    currentDate_ = *next;
    lab_dat->setText(longDateText(currentDate_));
    lab_dat->adjustSize();
    rebuildDayList();
}

QString MainWindow::selectedRowText() const
{
    const QModelIndexList selected = List1->selectionModel()->selectedRows();
    if (selected.isEmpty())
        return {};
    return dayList_.rows().at(selected.first().row());
}

void MainWindow::List1_Click()
{
    const BookingRecord row = BookingRecord::fromRow(selectedRowText());
    const QString columns[] = {row.hora, row.nome, row.convenio, row.telefone, row.obs};
    // Each assignment runs the field's change handler against the previous selection.
    for (size_t i = 0; i < Text.size(); ++i) {
        Text[i]->setText(columns[i]);
        if (trimBlanks(Text[i]->text()).isEmpty())
            Text[i]->setText(QString());
        if (i == 1)
            cmd_alt->setEnabled(!Text[1]->text().isEmpty());
    }
    current_ = BookingRecord::of(Text[0]->text(), Text[1]->text(), Text[2]->text(), Text[3]->text(),
                                 Text[4]->text());
    for (QLineEdit *box : Text)
        box->setText(trimBlanks(box->text()));
    cmd_exc->setEnabled(!Text[1]->text().isEmpty());
}

void MainWindow::TextN_Change(int field)
{
    const QString members[] = {current_.hora, current_.nome, current_.convenio, current_.telefone,
                               current_.obs};
    if (Text[field]->text() == members[field])
        return;
    cmd_inc->setEnabled(true);
    if (!trimBlanks(current_.nome).isEmpty() && List1->selectionModel()->hasSelection())
        cmd_alt->setEnabled(true);
    cmd_exc->setEnabled(false);
}

void MainWindow::TextN_KeyPress(int field)
{
    if (field + 1 < static_cast<int>(Text.size()))
        Text[field + 1]->setFocus(Qt::TabFocusReason);
    else
        cmd_inc_Click();
}

bool MainWindow::reloadSlotLengthAndLink(QString *error)
{
    DoctorFields doctor;
    if (!settings_.readSlotLengthAndLink(activeSlot_, &doctor, error))
        return false;
    doctor_.slotLength = fitted(doctor.interval.toString(), 2);
    doctor_.linkedSlot = linkedSlotValue(doctor.link.toString());
    return true;
}

void MainWindow::cmd_inc_Click()
{
    // An access key presses the button without leaving the field, which capitalises on leaving.
    capitalizeField(Text[1]);
    capitalizeField(Text[2]);
    if (activeSlot_ == 0) {
        platform_.messages.inform(this, QString::fromLatin1(kChooseProfessionalFirst));
        return;
    }
    if (trimBlanks(Text[0]->text()).isEmpty()) {
        platform_.messages.inform(this, QStringLiteral("Choose schedule belows or type one time"));
        return;
    }
    if (trimBlanks(Text[1]->text()).isEmpty()) {
        platform_.messages.inform(this, QStringLiteral("Field Name cannot be empty"));
        return;
    }
    rowBuffer_ = BookingRecord::of(Text[0]->text(), Text[1]->text(), Text[2]->text(), Text[3]->text(),
                                   Text[4]->text());
    current_.hora = rowBuffer_.hora;
    int addedRow = -1;
    {
        ProgramListChange change(listChangedByProgram_);
        drop_free_slot(dayList_, current_);
        addedRow = dayList_.add(rowBuffer_.row());
        List1->setCurrentIndex({});
        List1->clearSelection();
    }

    Appointment booking;
    booking.date = currentDate_;
    booking.hora = Text[0]->text();
    booking.nome = Text[1]->text();
    booking.convenio = Text[2]->text();
    booking.telefone = Text[3]->text();
    booking.obs = Text[4]->text();
    const int linked = doctor_.linkedSlot;
    const QString linkedFile = isDoctorSlot(linked) && linked != activeSlot_
                                   ? QString::fromLatin1(doctorSlot(linked).appointmentFile)
                                   : QString();
    QString error;
    switch (appointments_.add(booking, linkedFile, &error)) {
    case AppointmentStore::AddOutcome::Stored:
        List1->scrollTo(dayList_.index(addedRow)); // the new row in sight, where it was put
        break;
    case AppointmentStore::AddOutcome::StoredWithoutCopy: {
        List1->scrollTo(dayList_.index(addedRow));
        const QString linkedName = trimBlanks(Combo1->itemText(linked - 1));
        platform_.messages.inform(
            this,
            QStringLiteral("The appointment was stored, but it could not be copied to the linked doctor's "
                           "book (%1): %2.")
                .arg(linkedName.isEmpty() ? QStringLiteral("doctor %1").arg(linked)
                                          : QStringLiteral("\"%1\"").arg(linkedName),
                     error));
        break;
    }
    case AppointmentStore::AddOutcome::NotStored:
        reportStorageFailure(QStringLiteral("The appointment could not be stored, for this doctor nor for a "
                                            "linked one"),
                             error);
        break;
    }
    // The file was replaced under the program: the list shows what the file there holds.
    if (data1_.takeReopened())
        rebuildDayList();
    if (!reloadSlotLengthAndLink(&error))
        platform_.messages.inform(this,
                                  QStringLiteral("The doctor's slot length and linked book could not be "
                                                 "read again: %1.")
                                      .arg(error));
}

bool MainWindow::findSameBooking(const QString &hora, const QString &nome, Appointment *found, bool *readOk)
{
    QVector<Appointment> bookings;
    QString error;
    *readOk = appointments_.readDay(currentDate_, &bookings, &error);
    if (!*readOk) {
        reportStorageFailure(QStringLiteral("The appointments of this day could not be read"), error);
        return false;
    }
    for (const Appointment &booking : std::as_const(bookings)) {
        if (trimBlanks(booking.hora) == trimBlanks(hora) && trimBlanks(booking.nome) == trimBlanks(nome)) {
            *found = booking;
            return true;
        }
    }
    return false;
}

void MainWindow::cmd_alt_Click()
{
    capitalizeField(Text[1]);
    capitalizeField(Text[2]);
    if (activeSlot_ == 0) {
        platform_.messages.inform(this, QStringLiteral("Please choose the professional first"));
        return;
    }
    if (trimBlanks(Text[0]->text()).isEmpty() || trimBlanks(Text[1]->text()).isEmpty())
        return;
    if (selectedRowText().isNull()) {
        platform_.messages.inform(this, QString::fromLatin1(kNoAppointmentSelected));
        return;
    }
    // The record is the one selected, found by its time and name as they were selected.
    Appointment found;
    bool readOk = false;
    if (!findSameBooking(current_.hora, current_.nome, &found, &readOk))
        return;

    rowBuffer_ = BookingRecord::of(Text[0]->text(), Text[1]->text(), Text[2]->text(), Text[3]->text(),
                                   Text[4]->text());

    Appointment changed = found;
    changed.date = currentDate_;
    changed.hora = rowBuffer_.hora;
    changed.nome = rowBuffer_.nome;
    changed.convenio = rowBuffer_.convenio;
    changed.telefone = rowBuffer_.telefone;
    changed.obs = rowBuffer_.obs;
    QString error;
    if (!appointments_.update(found.id, changed, &error)) {
        // The fields keep what was typed, so that nothing has to be typed again.
        reportStorageFailure(QStringLiteral("The appointment could not be changed; it is stored as it was"),
                             error);
        return;
    }
    for (QLineEdit *box : Text)
        box->setText(QString());
    cmd_alt->setEnabled(false);
    cmd_exc->setEnabled(false);
    // Rebuilt rather than patched, so that the old time gets its free row back and the new one loses it.
    rebuildDayList();
}

void MainWindow::cmd_exc_Click()
{
    if (selectedRowText().isNull()) {
        platform_.messages.inform(this, QString::fromLatin1(kNoAppointmentSelected));
        return;
    }
    // Remove goes by what the fields hold now.
    Appointment found;
    bool readOk = false;
    if (!findSameBooking(Text[0]->text(), Text[1]->text(), &found, &readOk)) {
        if (readOk)
            rebuildDayList(); // nothing matched: the row stays, as its booking does
        return;
    }
    QString error;
    if (!appointments_.remove(found.id, &error)) {
        reportStorageFailure(QStringLiteral("The appointment could not be removed; it is still stored"),
                             error);
        return;
    }
    rebuildDayList();
}

void MainWindow::cmd_imp_Click()
{
    if (activeSlot_ == 0)
        return;
    Printout printout;
    printout.documentName = printDocumentName(Combo1->currentText(), currentDate_);
    printout.header = Combo1->currentText() + QStringLiteral(" - ") + lab_dat->text();
    printout.rows = dayList_.rows();
    QString error;
    if (platform_.printer.print(printout, &error))
        return;
    const bool savePdf = platform_.messages.ask(
        this,
        QStringLiteral("The list could not be printed: %1.\n\nSave the same pages as a PDF file instead?")
            .arg(error));
    if (!savePdf)
        return;
    const QString path = platform_.messages.saveFileName(
        this, folder_.filePath(printout.documentName + QStringLiteral(".pdf")),
        QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!platform_.printer.saveAsPdf(printout, path, &error))
        platform_.messages.inform(this, QStringLiteral("The PDF file could not be written: %1.").arg(error));
}

void MainWindow::cmd_cad_Click()
{
    if (!setup_) {
        auto window = std::make_unique<SetupWindow>(platform_, *this);
        if (!window->load())
            return; // never opened on values that were not read, which saving would write over
        setup_ = window.release();
    }
    setup_->showMaximized();
    hide();
}

void MainWindow::showAfterSetup()
{
    activeSlot_ = 0;
    Combo1->setShownText(QString::fromLatin1(kChooseDoctor));
    clearDayList();
    showMaximized();
}

void MainWindow::cmd_sai_Click()
{
    close();
}

void MainWindow::Image1_Click()
{
    platform_.browser.open(QUrl(QString::fromLatin1(kHomePage)));
}

} // namespace velmora
