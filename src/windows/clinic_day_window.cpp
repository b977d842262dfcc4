#include "windows/clinic_day_window.h"

#include "core/model/appointment.h"
#include "core/model/booking_status.h"
#include "core/reports/board_printout.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"
#include "windows/widgets_support.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

// A cell's text and what a screen reader says of it.
struct CellText
{
    QString shown;
    QString spoken;
};

CellText textOf(const BoardCell &cell, const QString &doctor, const QString &time)
{
    const auto said = [&doctor, &time](const QString &what) {
        return QStringLiteral("%1, %2: %3").arg(doctor, time, what);
    };
    switch (cell.state) {
    case CellState::Free:
        return {ClinicDayWindow::tr("free"), said(ClinicDayWindow::tr("free"))};
    case CellState::OutsideHours:
        return {QString(), said(ClinicDayWindow::tr("outside the hours"))};
    case CellState::NoHours:
        return {QString(), said(ClinicDayWindow::tr("no hours this day"))};
    case CellState::Closed:
        return {cell.reason, said(cell.reason)};
    case CellState::Unavailable:
        return {QStringLiteral("-"), said(ClinicDayWindow::tr("the book cannot be read"))};
    case CellState::Booked:
        break;
    }
    QStringList names;
    QStringList spoken;
    for (const Appointment &booking : cell.bookings) {
        const QString name = trimBlanks(blankControlCharacters(booking.nome));
        names << (statusMark(booking.status) + QLatin1Char(' ') + name).trimmed();
        spoken << (name + QLatin1Char(' ') + statusCaption(booking.status)).trimmed();
    }
    return {names.join(QStringLiteral(" / ")),
            said(ClinicDayWindow::tr("booked, %1").arg(spoken.join(QStringLiteral(", "))))};
}

QPushButton *dayButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return button;
}

} // namespace

ClinicDayWindow::ClinicDayWindow(const Platform &platform, BackgroundReads &reads, const QDir &pdfFolder,
                                 QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), pdfFolder_(pdfFolder)
{
    setObjectName(QStringLiteral("clinicDayWindow"));
    setWindowTitle(tr("The clinic's day"));
    dateLabel_ = new QLabel(this);
    dateLabel_->setObjectName(QStringLiteral("clinicDayDate"));
    dateLabel_->setFont(boldFont(font().family(), 11));
    QPushButton *before = dayButton(this, "clinicDayBefore", tr("&Before"));
    QPushButton *today = dayButton(this, "clinicDayToday", tr("T&oday"));
    QPushButton *after = dayButton(this, "clinicDayAfter", tr("Afte&r"));
    week_ = dayButton(this, "clinicDayWeek", tr("The doctor's &week"));
    week_->setCheckable(true);
    QPushButton *print = dayButton(this, "clinicDayPrint", tr("&Print"));
    QPushButton *close = dayButton(this, "clinicDayClose", tr("&Close"));
    board_ = new QTableWidget(this);
    board_->setObjectName(QStringLiteral("clinicDayBoard"));
    board_->setAccessibleName(tr("Every doctor's day"));
    board_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    board_->setSelectionMode(QAbstractItemView::SingleSelection);
    board_->setTabKeyNavigation(false);
    board_->setWordWrap(false);
    board_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    board_->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    board_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    board_->verticalHeader()->setDefaultSectionSize(board_->fontMetrics().height() + 4);
    board_->installEventFilter(this);

    auto *top = new QHBoxLayout;
    top->addWidget(before);
    top->addWidget(today);
    top->addWidget(after);
    top->addSpacing(12);
    top->addWidget(dateLabel_, 1);
    top->addWidget(week_);
    top->addWidget(print);
    top->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(board_, 1);
    // The reading line after the window's own controls, in Tab order too.
    reading_ = new ReadingBar(reads, this);
    layout->addWidget(reading_);
    resize(1200, 680);

    connect(before, &QPushButton::clicked, this, [this] { step(-1); });
    connect(after, &QPushButton::clicked, this, [this] { step(1); });
    connect(today, &QPushButton::clicked, this, [this] { open(platform_.clock.today(), slot_); });
    connect(week_, &QPushButton::toggled, this, [this](bool week) {
        // The week is the doctor of the column the receptionist is on, as Enter would show in the main
        // window; the one the board was opened for when none is.
        const int column = board_->currentColumn();
        if (week && column >= 0 && column < day_.columns.size() && day_.columns.at(column).slot != 0)
            slot_ = day_.columns.at(column).slot;
        read();
    });
    connect(print, &QPushButton::clicked, this, [this] {
        if (!day_.columns.isEmpty())
            printOrSavePdf(platform_, this, boardPrintout(day_, week_->isChecked()), pdfFolder_);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(board_, &QTableWidget::cellActivated, this, [this] { chooseCurrent(); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp), this, this, [this] { step(-1); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this, this, [this] {
        const int t = board_->currentRow();
        const int c = board_->currentColumn();
        if (t < 0 || c < 0 || t >= day_.times.size() || c >= day_.columns.size())
            return;
        if (const BoardCell cell = boardCell(day_, t, c); !cell.row.isNull())
            Q_EMIT patientRequested({day_.columns.at(c).slot, day_.columns.at(c).date, cell.row,
                                     tr("The day has changed meanwhile; the list shows it as it is now.")});
    });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown), this, this, [this] { step(1); });
    onEscape(this, [this] {
        if (reading_->reading())
            reading_->stop();
        else
            QWidget::close();
    });
}

void ClinicDayWindow::open(QDate date, int slot)
{
    date_ = date;
    slot_ = slot;
    week_->setEnabled(slot != 0);
    if (slot == 0)
        week_->setChecked(false);
    read();
    QWidget::show();
    raise();
    activateWindow();
    board_->setFocus(Qt::OtherFocusReason);
}

void ClinicDayWindow::step(int days)
{
    date_ = date_.addDays(week_->isChecked() ? 7 * days : days);
    read();
}

bool ClinicDayWindow::shows(QDate date) const
{
    if (!week_->isChecked())
        return date == date_;
    const QDate monday = date_.addDays(1 - date_.dayOfWeek());
    return date >= monday && date < monday.addDays(7);
}

void ClinicDayWindow::storedElsewhere(const StoredElsewhere &change)
{
    if (isVisible() && (change.anything || change.doctors() || shows(change.date)))
        read();
}

QString ClinicDayWindow::weekOf(QDate date) const
{
    const QDate monday = date.addDays(1 - date.dayOfWeek());
    const QLocale locale;
    return tr("The week of %1 to %2")
        .arg(locale.toString(monday, tr("MMMM d")), locale.toString(monday.addDays(6), tr("MMMM d, yyyy")));
}

void ClinicDayWindow::read()
{
    const QDate date = date_;
    const int week = week_->isChecked() ? slot_ : 0;
    dateLabel_->setText(week ? weekOf(date) : longDate(date));
    reading_->start<ClinicDay>(
        tr("Reading the doctors' days..."),
        [date, week](BookStorage &storage, const ReadProgress &) {
            return week ? readDoctorWeek(storage, week, date) : readClinicDay(storage, date);
        },
        [this](const ClinicDay &day) { showBoard(day); });
}

void ClinicDayWindow::showBoard(const ClinicDay &day)
{
    // The receptionist stays on the same doctor and time when the board is read again.
    const int column = board_->currentColumn();
    const QString time = board_->currentRow() >= 0 ? day_.times.value(board_->currentRow()) : QString();
    day_ = day;
    if (week_->isChecked() && !day.columns.isEmpty())
        dateLabel_->setText(QStringLiteral("%1 - %2").arg(weekOf(day.date), day.columns.first().doctor));
    board_->clear();
    board_->setColumnCount(static_cast<int>(day.columns.size()));
    board_->setRowCount(static_cast<int>(day.times.size()));
    board_->setVerticalHeaderLabels(day.times);
    for (int c = 0; c < day.columns.size(); ++c) {
        const BoardColumn &doctor = day.columns.at(c);
        // A column of the week is a day of the doctor's.
        const QString name = week_->isChecked() ? listedDate(doctor.date, QLocale()) : doctor.doctor;
        QString caption = name;
        if (!doctor.read)
            caption += QStringLiteral(" - ") + tr("unavailable");
        else if (!doctor.closed.isEmpty())
            caption += QStringLiteral(" - ") + doctor.closed;
        else if (!doctor.hasHours)
            caption += QStringLiteral(" - ") + tr("no hours");
        auto *header = new QTableWidgetItem(caption);
        header->setToolTip(doctor.read ? name : name + QStringLiteral(": ") + doctor.error);
        header->setData(Qt::AccessibleTextRole, header->toolTip());
        board_->setHorizontalHeaderItem(c, header);
        for (int t = 0; t < day.times.size(); ++t) {
            const BoardCell cell = boardCell(day, t, c);
            const CellText text = textOf(cell, name, day.times.at(t));
            auto *item = new QTableWidgetItem(text.shown);
            item->setData(Qt::AccessibleTextRole, text.spoken);
            item->setToolTip(text.spoken);
            if (cell.state == CellState::OutsideHours || cell.state == CellState::NoHours ||
                cell.state == CellState::Closed || cell.state == CellState::Unavailable)
                item->setBackground(palette().color(QPalette::Window));
            else if (cell.state == CellState::Free)
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            if (cell.state == CellState::Booked && cell.bookings.size() == 1)
                item->setForeground(cell.bookings.first().status == BookingStatus::ToConfirm
                                        ? palette().color(QPalette::Text)
                                        : statusColour(cell.bookings.first().status));
            board_->setItem(t, c, item);
        }
    }
    const int row = std::max(0, static_cast<int>(day.times.indexOf(time)));
    if (!day.times.isEmpty() && !day.columns.isEmpty())
        board_->setCurrentCell(row, std::clamp(column, 0, static_cast<int>(day.columns.size()) - 1));
}

void ClinicDayWindow::chooseCurrent()
{
    const int t = board_->currentRow();
    const int c = board_->currentColumn();
    if (t < 0 || c < 0 || t >= day_.times.size() || c >= day_.columns.size())
        return;
    const BoardCell cell = boardCell(day_, t, c);
    if (cell.row.isNull())
        return; // outside the doctor's hours: nothing to go to
    Q_EMIT chosen({day_.columns.at(c).slot, day_.columns.at(c).date, cell.row,
                   tr("The day has changed meanwhile; the list shows it as it is now.")});
}

bool ClinicDayWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Home and End go to the day's first and last time, in the same doctor's column.
    if (watched == board_ && event->type() == QEvent::KeyPress && board_->rowCount() > 0) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Home || key == Qt::Key_End) {
            board_->setCurrentCell(key == Qt::Key_Home ? 0 : board_->rowCount() - 1,
                                   std::max(0, board_->currentColumn()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace velmora
