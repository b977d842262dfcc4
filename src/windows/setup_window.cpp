#include "windows/setup_window.h"

#include "core/text/text_rules.h"
#include "windows/widgets_support.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace velmora {

namespace {

const char *const kIntervals[] = {"15", "20", "30"};
const int kIntervalLefts[] = {1680, 2760, 3840};
const int kFrameTops[] = {1200, 2520, 3840, 5160, 6480};
const int kDayRowTops[] = {600, 1320, 2040, 2880, 3720, 4560, 5280};
const int kTimeBoxLefts[] = {1440, 2880, 5400, 6840};

// Each time box's name for screen readers, with the weekday's name.
const char *const kTimeBoxNames[] = {
    QT_TRANSLATE_NOOP("SetupWindow", "%1, start of the first period"),
    QT_TRANSLATE_NOOP("SetupWindow", "%1, end of the first period"),
    QT_TRANSLATE_NOOP("SetupWindow", "%1, start of the second period"),
    QT_TRANSLATE_NOOP("SetupWindow", "%1, end of the second period"),
};

const QColor kBlue(0, 0, 255);
const QColor kDarkRed(128, 0, 0);

QLabel *addLabel(QWidget *parent, const QString &text, const QRect &rect, const QFont &font)
{
    auto *label = new QLabel(text, parent);
    label->setGeometry(rect);
    label->setFont(font);
    return label;
}

} // namespace

SetupWindow::SetupWindow(const Platform &platform, DoctorSetup &setup, QWidget *parent)
    : QWidget(parent), platform_(platform), setup_(setup)
{
    setObjectName(QStringLiteral("marca2"));
    setWindowTitle(QCoreApplication::translate("SetupWindow", "Setup professional"));
    setBackground(this, kWindowYellow);
    resize(twipsRect(0, 0, 11655, 8280).size()); // the whole layout, when not maximised
    canvas_ = addScrolledCanvas(this, size());

    Command1 = new QPushButton(QCoreApplication::translate("SetupWindow", "Save and &Return"), canvas_);
    pressOnEnter(Command1);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(twipsRect(240, 840, 1695, 375));
    Command1->setFont(boldFont(QStringLiteral("Arial"), 9.75));
    connect(Command1, &QPushButton::clicked, this, &SetupWindow::Command1_Click);

    // Beside the layout: the clinic's closures and extra days, in a window of their own.
    auto *calendar =
        new QPushButton(QCoreApplication::translate("SetupWindow", "The clinic's ca&lendar"), canvas_);
    calendar->setObjectName(QStringLiteral("setupCalendar"));
    calendar->setAccessibleName(calendar->text().remove(QLatin1Char('&')));
    calendar->setGeometry(twipsRect(2100, 840, 2400, 375));
    calendar->setFocusPolicy(Qt::TabFocus);
    connect(calendar, &QPushButton::clicked, this, &SetupWindow::calendarRequested);
    auto *squeezeIns =
        new QPushButton(QCoreApplication::translate("SetupWindow", "S&queeze-ins per day"), canvas_);
    squeezeIns->setObjectName(QStringLiteral("setupSqueezeIns"));
    squeezeIns->setAccessibleName(squeezeIns->text().remove(QLatin1Char('&')));
    squeezeIns->setGeometry(twipsRect(4700, 840, 2400, 375));
    squeezeIns->setFocusPolicy(Qt::TabFocus);
    connect(squeezeIns, &QPushButton::clicked, this, &SetupWindow::squeezeLimitsRequested);

    for (int slot = 1; slot <= kDoctorSlotCount; ++slot)
        buildDoctorFrame(slot);
    buildScheduleEditor();

    // Names and interval groups slot by slot, the hidden links, Save and Return, the editor, and the
    // Schedule buttons last.
    QList<QWidget *> order;
    for (const DoctorFrame &doctor : doctors_) {
        order << doctor.name;
        for (QRadioButton *option : doctor.intervals)
            order << option;
    }
    for (const DoctorFrame &doctor : doctors_)
        order << doctor.link;
    order << Command1;
    for (QLineEdit *box : timeBoxes_)
        order << box;
    order << Command2;
    for (const DoctorFrame &doctor : doctors_)
        order << doctor.schedule;
    // Then what stands beside the layout.
    order << canvas_->findChild<QPushButton *>(QStringLiteral("setupCalendar"))
          << canvas_->findChild<QPushButton *>(QStringLiteral("setupSqueezeIns"));
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
}

void SetupWindow::buildDoctorFrame(int slot)
{
    DoctorFrame &doctor = doctors_[static_cast<size_t>(slot - 1)];
    const int column = (slot - 1) / 5;
    const int row = (slot - 1) % 5;
    const QString number = QString::number(slot);
    const QFont arial = boldFont(QStringLiteral("Arial"), 9.75);

    doctor.frame =
        new QGroupBox(QCoreApplication::translate("SetupWindow", "Professional %1").arg(slot), canvas_);
    doctor.frame->setObjectName(QStringLiteral("Frame") + number);
    doctor.frame->setGeometry(twipsRect(column == 0 ? 240 : 5880, kFrameTops[row], 5535, 1335));
    doctor.frame->setFont(arial);
    setBackground(doctor.frame, kWindowYellow);
    setTextColor(doctor.frame, kBlue);

    QLabel *doctorLabel = addLabel(doctor.frame, QCoreApplication::translate("SetupWindow", "Doctor:"),
                                   twipsRect(240, 360, 720, 255), arial);
    setTextColor(doctorLabel, Qt::black);

    doctor.name = new QLineEdit(doctor.frame);
    doctor.name->setObjectName(QStringLiteral("Text") + number);
    doctor.name->setGeometry(twipsRect(960, 240, 4455, 375));
    doctor.name->setFont(boldFont(QStringLiteral("Arial"), 11.25));
    setTextColor(doctor.name, kDarkRed);
    doctor.name->setValidator(new CharacterLimit(30, doctor.name));
    doctorLabel->setBuddy(doctor.name);
    // Ten frames alike: each control's name for screen readers says whose it is.
    doctor.name->setAccessibleName(
        QCoreApplication::translate("SetupWindow", "Name of professional %1").arg(slot));

    QLabel *intervalLabel = addLabel(doctor.frame, QCoreApplication::translate("SetupWindow", "Interval:"),
                                     twipsRect(600, 720, 1020, 255), arial);
    setTextColor(intervalLabel, Qt::black);
    auto *group = new QButtonGroup(doctor.frame);
    for (size_t i = 0; i < doctor.intervals.size(); ++i) {
        auto *option = new QRadioButton(
            QCoreApplication::translate("SetupWindow", "%1 min").arg(QLatin1String(kIntervals[i])),
            doctor.frame);
        option->setObjectName(QStringLiteral("opt%1_%2").arg(number, QLatin1String(kIntervals[i])));
        option->setAccessibleName(QCoreApplication::translate("SetupWindow", "%1 minutes for professional %2")
                                      .arg(QLatin1String(kIntervals[i]))
                                      .arg(slot));
        option->setGeometry(twipsRect(kIntervalLefts[i], 720, 1020, 300));
        option->setFont(arial);
        setTextColor(option, Qt::black);
        group->addButton(option);
        doctor.intervals[i] = option;
    }

    // The link is kept but never shown: it carries the stored value through Save and Return. With no
    // one to type in it, it has no length limit, which would cut a stored value of three digits.
    doctor.link = new QLineEdit(doctor.frame);
    doctor.link->setObjectName(QStringLiteral("junto") + number);
    setTextColor(doctor.link, QColor(255, 0, 0));
    doctor.link->hide();
    QLabel *linkLabel = addLabel(doctor.frame, QStringLiteral("Junto com agenda:"), {}, arial);
    linkLabel->setToolTip(QStringLiteral("Digite o número da agenda associada."));
    linkLabel->hide();

    doctor.schedule = new QPushButton(QCoreApplication::translate("SetupWindow", "Schedule"), doctor.frame);
    doctor.schedule->setObjectName(QStringLiteral("Command%1").arg(slot + 2));
    doctor.schedule->setAccessibleName(
        QCoreApplication::translate("SetupWindow", "Schedule of professional %1").arg(slot));
    doctor.schedule->setGeometry(twipsRect(4200, 1080, 1335, 255));
    doctor.schedule->setFont(boldFont(QStringLiteral("Arial"), 8.25));
    useDesktopTextColor(doctor.schedule);
    pressOnEnter(doctor.schedule);
    connect(doctor.schedule, &QPushButton::clicked, this, [this, slot] { openSchedule(slot); });
}

void SetupWindow::buildScheduleEditor()
{
    Frame11 = new QGroupBox(QCoreApplication::translate("SetupWindow", "Doctor's Schedule"), canvas_);
    Frame11->setObjectName(QStringLiteral("Frame11"));
    Frame11->setGeometry(twipsRect(240, 840, 11175, 6975));
    Frame11->setFont(boldFont(QStringLiteral("Arial"), 11.25));
    setBackground(Frame11, kWindowYellow);
    setTextColor(Frame11, kBlue);

    const QFont dayFont = boldFont(QStringLiteral("Arial"), 12);
    const QFont boxFont = boldFont(QStringLiteral("Courier New"), 14.25);
    const QFont noteFont = boldFont(QStringLiteral("Arial"), 9);
    for (int day = 0; day < kWeekdayCount; ++day) {
        const int top = kDayRowTops[day];
        addLabel(Frame11, QCoreApplication::translate("SetupWindow", kWeekdays[day].label),
                 twipsRect(360, top + 60, 960, 300), dayFont);
        for (int index = 1; index <= kTimesPerDay; ++index) {
            auto *box = new QLineEdit(Frame11);
            box->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(kWeekdays[day].code)).arg(index));
            box->setGeometry(twipsRect(kTimeBoxLefts[index - 1], top, 975, 405));
            box->setFont(boxFont);
            box->setAccessibleName(QCoreApplication::translate("SetupWindow", kTimeBoxNames[index - 1])
                                       .arg(QLocale().dayName(day + 1)));
            timeBoxes_[weeklyTimePosition(day, index)] = box;
        }
        addLabel(Frame11, QCoreApplication::translate("SetupWindow", "to"),
                 twipsRect(2520, top + 60, 300, 300), dayFont);
        addLabel(Frame11, QCoreApplication::translate("SetupWindow", "to"),
                 twipsRect(6480, top + 60, 300, 300), dayFont);
    }
    addLabel(Frame11, QCoreApplication::translate("SetupWindow", "Use this model.   08:00  to 10:40"),
             twipsRect(360, 6000, 4200, 255), noteFont);
    addLabel(Frame11,
             QCoreApplication::translate("SetupWindow", "OBS: Leave blank, in case of no consultation."),
             twipsRect(360, 6300, 4800, 255), noteFont);

    Command2 = new QPushButton(QCoreApplication::translate("SetupWindow", "Confirm"), Frame11);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(twipsRect(6480, 6000, 1335, 495));
    Command2->setFont(boldFont(QStringLiteral("Arial"), 9.75));
    useDesktopTextColor(Command2);
    pressOnEnter(Command2);
    connect(Command2, &QPushButton::clicked, this, &SetupWindow::Command2_Click);
    Frame11->hide();
}

bool SetupWindow::load()
{
    AllDoctorFields fields;
    QString error;
    if (!setup_.read(&fields, &error)) {
        platform_.messages.inform(
            this, QCoreApplication::translate("SetupWindow", "The doctors' settings could not be read: %1.")
                      .arg(error));
        return false;
    }
    for (size_t i = 0; i < doctors_.size(); ++i) {
        const DoctorFrame &doctor = doctors_[i];
        CharacterLimit::setWholeText(doctor.name,
                                     fields[i].name.value_or(QString())); // a stored name is kept whole
        doctor.link->setText(fields[i].link.value_or(QString()));
        const QString interval = fields[i].interval.value_or(QString());
        for (size_t option = 0; option < doctor.intervals.size(); ++option) {
            // Unchecking needs the group's exclusivity off for a moment.
            doctor.intervals[option]->group()->setExclusive(false);
            doctor.intervals[option]->setChecked(interval == QLatin1String(kIntervals[option]));
            doctor.intervals[option]->group()->setExclusive(true);
        }
    }
    return true;
}

void SetupWindow::Command1_Click()
{
    AllDoctorChanges changes;
    for (size_t i = 0; i < doctors_.size(); ++i) {
        const DoctorFrame &doctor = doctors_[i];
        changes[i].name = doctor.name->text();
        changes[i].link = wholeValue(doctor.link->text());
        for (size_t option = 0; option < doctor.intervals.size(); ++option)
            if (doctor.intervals[option]->isChecked())
                changes[i].interval = QString::fromLatin1(kIntervals[option]);
    }
    QString error;
    DoctorSetup::Save saved = setup_.save(changes, &error);
    if (saved == DoctorSetup::Save::SavedElsewhere) {
        if (!platform_.messages.ask(this,
                                    QCoreApplication::translate(
                                        "SetupWindow",
                                        "The doctors' settings were saved at another desk since this window "
                                        "was opened. Save yours over them?\n\nWithout saving, what you "
                                        "typed is dropped and the window shows theirs."),
                                    QCoreApplication::translate("SetupWindow", "Save over them"),
                                    QCoreApplication::translate("SetupWindow", "Do not save"))) {
            load(); // theirs, read afresh: the next Save and Return asks only if they change again
            return;
        }
        saved = setup_.save(changes, &error, true);
    }
    if (saved == DoctorSetup::Save::Failed) {
        platform_.messages.inform(
            this, QCoreApplication::translate("SetupWindow",
                                              "The settings were not saved: %1.\n\nNothing was changed; "
                                              "what you typed is still here.")
                      .arg(error));
        return;
    }
    hide();
    Q_EMIT returned();
}

void SetupWindow::openSchedule(int slot)
{
    WeeklyTimes stored;
    QString error;
    if (!setup_.readWeeklyTimes(slot, &stored, &error)) {
        platform_.messages.inform(
            this,
            QCoreApplication::translate("SetupWindow", "The weekly hours could not be read: %1.").arg(error));
        return;
    }
    editedSlot_ = slot;
    Frame11->setTitle(doctors_[static_cast<size_t>(slot - 1)].name->text() +
                      QCoreApplication::translate("SetupWindow", " - Configuration of schedule"));
    for (size_t i = 0; i < timeBoxes_.size(); ++i)
        timeBoxes_[i]->setText(shownTime(stored[i]));
    // Only the editor can be used while it is open.
    for (const DoctorFrame &doctor : doctors_)
        doctor.frame->setEnabled(false);
    Command1->setEnabled(false);
    Frame11->show();
    Frame11->raise();
    timeBoxes_[0]->setFocus();
}

void SetupWindow::closeScheduleEditor()
{
    Frame11->hide();
    for (const DoctorFrame &doctor : doctors_)
        doctor.frame->setEnabled(true);
    Command1->setEnabled(true);
}

void SetupWindow::Command2_Click()
{
    WeeklyTimes typed;
    for (size_t i = 0; i < timeBoxes_.size(); ++i)
        typed[i] = timeBoxes_[i]->text();
    const WeeklyTimesCheck check = checkWeeklyTimes(typed);
    if (!check.passed) {
        platform_.messages.inform(this, check.message + QStringLiteral("\n\n") + check.reason);
        if (check.focusBox >= 0)
            timeBoxes_[static_cast<size_t>(check.focusBox)]->setFocus();
        return;
    }
    QString error;
    if (!setup_.saveWeeklyTimes(editedSlot_, check.stored, &error)) {
        platform_.messages.inform(
            this,
            QCoreApplication::translate("SetupWindow", "The weekly hours were not saved: %1.\n\nNothing was "
                                                       "changed; what you typed is still here.")
                .arg(error));
        return;
    }
    closeScheduleEditor();
}

void SetupWindow::closeEvent(QCloseEvent *event)
{
    // Leaving through the window's frame saves nothing: the controls go back to the stored values,
    // so that the next opening shows what is saved.
    closeScheduleEditor();
    load();
    event->accept();
    Q_EMIT returned();
}

} // namespace velmora
