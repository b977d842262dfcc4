#include "windows/series_window.h"
#include "windows/widgets_support.h"

#include "core/text/name_rules.h"
#include "core/text/text_rules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

enum Column
{
    SessionColumn,
    DateColumn,
    TimeColumn,
    InTheWayColumn,
    ChoiceColumn,
    ColumnCount
};

} // namespace

SeriesWindow::SeriesWindow(const Platform &platform, AppointmentBook &book, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), book_(book)
{
    setObjectName(QStringLiteral("seriesWindow"));
    setWindowTitle(tr("Repeat as a weekly series"));
    setWindowModality(Qt::ApplicationModal);
    auto *layout = new QVBoxLayout(this);
    patient_ = new QLabel(this);
    patient_->setObjectName(QStringLiteral("seriesPatient"));
    patient_->setWordWrap(true);
    layout->addWidget(patient_);

    auto *rule = new QGridLayout;
    layout->addLayout(rule);
    auto *everyLabel = new QLabel(tr("&Every"), this);
    everyWeeks_ = new QSpinBox(this);
    everyWeeks_->setObjectName(QStringLiteral("seriesEveryWeeks"));
    everyWeeks_->setRange(1, kMaxSeriesWeekInterval);
    // The unit follows the number: "1 week", "2 weeks".
    const auto weeksUnit = [this](int weeks) { everyWeeks_->setSuffix(tr(" week(s)", nullptr, weeks)); };
    weeksUnit(everyWeeks_->value());
    connect(everyWeeks_, &QSpinBox::valueChanged, this, weeksUnit);
    everyWeeks_->setAccessibleName(tr("Every how many weeks"));
    everyLabel->setBuddy(everyWeeks_);
    rule->addWidget(everyLabel, 0, 0);
    rule->addWidget(everyWeeks_, 0, 1);
    // Each weekday by its number, Monday 1, so that the keys are the same in every language.
    for (int day = 1; day <= 7; ++day) {
        auto *tick = new QCheckBox(QStringLiteral("&%1  %2").arg(day).arg(QLocale().dayName(day)), this);
        tick->setObjectName(QStringLiteral("seriesDay%1").arg(day));
        auto *time = new QLineEdit(this);
        time->setObjectName(QStringLiteral("seriesTime%1").arg(day));
        time->setMaxLength(5);
        time->setEnabled(false);
        time->setAccessibleName(tr("Time on %1").arg(QLocale().dayName(day)));
        connect(tick, &QCheckBox::toggled, time, &QWidget::setEnabled);
        connect(tick, &QCheckBox::toggled, this, &SeriesWindow::forgetSessions);
        connect(time, &QLineEdit::textEdited, this, &SeriesWindow::forgetSessions);
        days_[static_cast<size_t>(day - 1)] = tick;
        times_[static_cast<size_t>(day - 1)] = time;
        rule->addWidget(tick, day, 0);
        rule->addWidget(time, day, 1);
    }
    bySessions_ = new QRadioButton(tr("&Number of sessions"), this);
    bySessions_->setObjectName(QStringLiteral("seriesBySessions"));
    bySessions_->setChecked(true);
    sessions_ = new QSpinBox(this);
    sessions_->setObjectName(QStringLiteral("seriesSessions"));
    // Typed past the limits, the window says why rather than changing the number typed.
    sessions_->setRange(0, 999);
    sessions_->setValue(10);
    sessions_->setAccessibleName(tr("How many sessions"));
    auto *byDate = new QRadioButton(tr("&Until"), this);
    byDate->setObjectName(QStringLiteral("seriesByDate"));
    until_ = new QDateEdit(this);
    until_->setObjectName(QStringLiteral("seriesUntil"));
    until_->setCalendarPopup(true);
    typeDatesWhole(until_);
    until_->setEnabled(false);
    until_->setAccessibleName(tr("Date of the last session"));
    connect(byDate, &QRadioButton::toggled, until_, &QWidget::setEnabled);
    connect(bySessions_, &QRadioButton::toggled, sessions_, &QWidget::setEnabled);
    rule->addWidget(bySessions_, 8, 0);
    rule->addWidget(sessions_, 8, 1);
    rule->addWidget(byDate, 9, 0);
    rule->addWidget(until_, 9, 1);
    connect(everyWeeks_, &QSpinBox::valueChanged, this, &SeriesWindow::forgetSessions);
    connect(sessions_, &QSpinBox::valueChanged, this, &SeriesWindow::forgetSessions);
    connect(until_, &QDateEdit::dateChanged, this, &SeriesWindow::forgetSessions);
    connect(bySessions_, &QRadioButton::toggled, this, &SeriesWindow::forgetSessions);

    auto *list = new QPushButton(tr("&List the sessions"), this);
    list->setObjectName(QStringLiteral("seriesList"));
    layout->addWidget(list, 0, Qt::AlignLeft);
    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("seriesSessionsTable"));
    table_->setAccessibleName(tr("Sessions of the series"));
    table_->setHorizontalHeaderLabels({tr("Session"), tr("Date"), tr("Time"), tr("In the way"), tr("Do")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setMinimumHeight(fontMetrics().height() * 12);
    auto *tableLabel = new QLabel(tr("&Sessions:"), this);
    tableLabel->setBuddy(table_);
    layout->addWidget(tableLabel);
    layout->addWidget(table_, 1);
    said_ = new QLabel(this);
    said_->setObjectName(QStringLiteral("seriesSaid"));
    said_->setWordWrap(true);
    said_->setAccessibleName(tr("What the series window says"));
    layout->addWidget(said_);

    auto *buttons = new QHBoxLayout;
    auto *bookButton = new QPushButton(tr("&Book the series"), this);
    bookButton->setObjectName(QStringLiteral("seriesBook"));
    bookButton->setDefault(true);
    auto *cancel = new QPushButton(tr("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("seriesCancel"));
    buttons->addStretch();
    buttons->addWidget(bookButton);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
    connect(list, &QPushButton::clicked, this, &SeriesWindow::listSessions);
    connect(bookButton, &QPushButton::clicked, this, &SeriesWindow::bookSessions);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
    onEscape(this, [this] { close(); });
}

void SeriesWindow::open()
{
    const QString name = trimBlanks(book_.entry().text(NameField));
    patient_->setText(tr("%1 with %2, from %3 on.")
                          .arg(name, doctorCalled(book_.doctorNames(), book_.activeSlot()),
                               QLocale().toString(book_.currentDate(), QLocale::LongFormat)));
    const QString time = trimBlanks(book_.entry().text(TimeField));
    const int weekday = book_.currentDate().dayOfWeek();
    for (int day = 1; day <= 7; ++day) {
        days_[static_cast<size_t>(day - 1)]->setChecked(day == weekday);
        times_[static_cast<size_t>(day - 1)]->setText(time);
    }
    until_->setDate(book_.currentDate().addMonths(3));
    forgetSessions();
    show();
    showColumnsWhole(this, table_);
    raise();
    activateWindow();
    days_[static_cast<size_t>(weekday - 1)]->setFocus(Qt::OtherFocusReason);
}

SeriesRule SeriesWindow::rule() const
{
    SeriesRule rule;
    rule.start = book_.currentDate();
    rule.everyWeeks = everyWeeks_->value();
    for (int day = 1; day <= 7; ++day)
        if (days_[static_cast<size_t>(day - 1)]->isChecked())
            rule.days << SeriesDay{day, times_[static_cast<size_t>(day - 1)]->text()};
    if (bySessions_->isChecked())
        rule.sessions = sessions_->value() == 0 ? -1 : sessions_->value(); // 0 typed is refused as a number
    else
        rule.until = until_->date();
    return rule;
}

bool SeriesWindow::listSessions()
{
    forgetSessions();
    QString message;
    if (!book_.planSeries(rule(), platform_.clock.today(), &listed_, &message)) {
        said_->setText(message);
        return false;
    }
    table_->setRowCount(static_cast<int>(listed_.size()));
    int inTheWay = 0;
    for (int row = 0; row < listed_.size(); ++row) {
        const SeriesOccurrence &occurrence = listed_.at(row);
        const QStringList cells{QStringLiteral("%1/%2").arg(row + 1).arg(listed_.size()),
                                QLocale().toString(occurrence.wanted.date, QStringLiteral("ddd ")) +
                                    QLocale().toString(occurrence.wanted.date, QLocale::ShortFormat),
                                occurrence.wanted.time, obstacleText(occurrence.obstacle)};
        for (int column = 0; column < cells.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells.at(column)));
        const QVector<SeriesChoice> choices = occurrence.choices();
        if (choices.size() == 1) {
            table_->setItem(row, ChoiceColumn, new QTableWidgetItem(choiceText(choices.first())));
            continue;
        }
        ++inTheWay;
        auto *choice = new QComboBox(table_);
        choice->setAccessibleName(tr("What to do with session %1").arg(row + 1));
        for (const SeriesChoice offered : choices)
            choice->addItem(offered == SeriesChoice::NextFree
                                ? tr("Next free time (%1)").arg(occurrence.nextFree)
                                : choiceText(offered),
                            static_cast<int>(offered));
        connect(choice, &QComboBox::currentIndexChanged, this, [this, row, choice] {
            listed_[row].choice = static_cast<SeriesChoice>(choice->currentData().toInt());
        });
        table_->setCellWidget(row, ChoiceColumn, choice);
    }
    said_->setText(inTheWay == 0 ? tr("Every session is free.")
                   : inTheWay == listed_.size()
                       ? tr("Every session of the series is in the way: choose what to do with them, or "
                            "change the series.")
                       : tr("%n session(s) in the way: choose what to do with each.", nullptr, inTheWay));
    showColumnsWhole(this, table_);
    return true;
}

void SeriesWindow::bookSessions()
{
    // What was changed since the sessions were listed is listed first, to be looked at.
    if (listed_.isEmpty()) {
        if (listSessions())
            said_->setText(said_->text() + QLatin1Char(' ') + tr("Look at the sessions, then book."));
        return;
    }
    const Outcome outcome = book_.bookSeries(listed_);
    if (!outcome.done) {
        said_->setText(outcome.messages.join(QLatin1Char(' ')));
        return;
    }
    close();
    Q_EMIT booked(outcome);
}

void SeriesWindow::forgetSessions()
{
    listed_.clear();
    table_->setRowCount(0);
    said_->clear();
}

} // namespace velmora
