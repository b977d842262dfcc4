#include "windows/calendar_window.h"
#include "core/storage/stored_bookings.h"
#include "windows/widgets_support.h"

#include "core/model/booking_status.h"
#include "core/schedule/calendar_setup.h"
#include "core/schedule/day_list_rules.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace velmora {

namespace {

// Who sets an entry: the person and the computer.
QString signedBy()
{
    const Desk desk = thisDesk();
    return QStringLiteral("%1 (%2)").arg(desk.person, desk.computer);
}

QTableWidget *listOf(QWidget *parent, const char *name, const QString &accessible,
                     const QStringList &headings)
{
    auto *list = new QTableWidget(0, static_cast<int>(headings.size()), parent);
    list->setObjectName(QLatin1String(name));
    list->setAccessibleName(accessible);
    list->setHorizontalHeaderLabels(headings);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setTabKeyNavigation(false);
    list->setWordWrap(false);
    list->verticalHeader()->hide();
    list->horizontalHeader()->setStretchLastSection(true);
    return list;
}

void fill(QTableWidget *list, const QVector<QStringList> &rows)
{
    list->setRowCount(static_cast<int>(rows.size()));
    for (int row = 0; row < rows.size(); ++row)
        for (int column = 0; column < rows.at(row).size(); ++column)
            list->setItem(row, column, new QTableWidgetItem(rows.at(row).at(column)));
    list->resizeColumnsToContents();
}

} // namespace

CalendarWindow::CalendarWindow(const Platform &platform, BookStorage &storage, BackgroundReads &reads,
                               QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), setup_(std::make_unique<CalendarSetup>(storage))
{
    setObjectName(QStringLiteral("calendarWindow"));
    setWindowTitle(tr("The clinic's calendar"));
    entries_ = listOf(this, "calendarEntries", tr("Closures, extra days and holidays"),
                      {tr("From"), tr("To"), tr("Who"), tr("What"), tr("Hours"), tr("Reason"), tr("Set by")});
    const auto labelled = [this](QWidget *control, const char *name, const QString &caption) {
        control->setObjectName(QLatin1String(name));
        control->setAccessibleName(QString(caption).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        auto *label = new QLabel(caption, this);
        label->setBuddy(control);
        return label;
    };
    kind_ = new QComboBox(this);
    kind_->addItem(tr("Closure"), static_cast<int>(CalendarEntry::Kind::Closure));
    kind_->addItem(tr("Extra day"), static_cast<int>(CalendarEntry::Kind::ExtraDay));
    kind_->addItem(tr("Holiday of the state or city"), static_cast<int>(CalendarEntry::Kind::Holiday));
    kind_->addItem(tr("Open on a holiday"), static_cast<int>(CalendarEntry::Kind::Opening));
    doctor_ = new QComboBox(this);
    from_ = new QDateEdit(this);
    to_ = new QDateEdit(this);
    for (QDateEdit *date : {from_, to_}) {
        date->setCalendarPopup(true);
        date->setDisplayFormat(writtenDateFormat(QLocale()));
        typeDatesWhole(date);
    }
    hours_ = new QLineEdit(this);
    hours_->setPlaceholderText(tr("whole day; or 13:00-18:00; an extra day 08:00-12:00 14:00-18:00"));
    reason_ = new QLineEdit(this);
    reason_->setMaxLength(60);
    yearly_ = new QCheckBox(tr("Every &year"), this);
    yearly_->setObjectName(QStringLiteral("calendarYearly"));
    yearly_->setAccessibleName(tr("Every year"));
    auto *add = new QPushButton(tr("&Add"), this);
    add->setObjectName(QStringLiteral("calendarAdd"));
    auto *change = new QPushButton(tr("Chang&e"), this);
    change->setObjectName(QStringLiteral("calendarChange"));
    auto *remove = new QPushButton(tr("Re&move"), this);
    remove->setObjectName(QStringLiteral("calendarRemove"));
    auto *close = new QPushButton(tr("C&lose"), this);
    close->setObjectName(QStringLiteral("calendarClose"));
    for (QPushButton *button : {add, change, remove, close})
        button->setAccessibleName(button->text().remove(QLatin1Char('&')));
    carnival_ = new QCheckBox(tr("Closed on Car&nival"), this);
    carnival_->setObjectName(QStringLiteral("calendarCarnival"));
    corpusChristi_ = new QCheckBox(tr("Closed on Corpus Chr&isti"), this);
    corpusChristi_->setObjectName(QStringLiteral("calendarCorpusChristi"));
    for (QCheckBox *box : {carnival_, corpusChristi_})
        box->setAccessibleName(box->text().remove(QLatin1Char('&')));
    reschedule_ = listOf(this, "rescheduleList", tr("Bookings to reschedule"),
                         {tr("Date"), tr("Time"), tr("Doctor"), tr("Patient"), tr("Phones")});

    auto *form = new QGridLayout;
    form->addWidget(labelled(kind_, "calendarKind", tr("&Kind:")), 0, 0);
    form->addWidget(kind_, 0, 1);
    form->addWidget(labelled(doctor_, "calendarDoctor", tr("D&octor:")), 0, 2);
    form->addWidget(doctor_, 0, 3);
    form->addWidget(labelled(from_, "calendarFrom", tr("&From:")), 1, 0);
    form->addWidget(from_, 1, 1);
    form->addWidget(labelled(to_, "calendarTo", tr("&To:")), 1, 2);
    form->addWidget(to_, 1, 3);
    form->addWidget(labelled(hours_, "calendarHours", tr("&Hours:")), 2, 0);
    form->addWidget(hours_, 2, 1, 1, 3);
    form->addWidget(labelled(reason_, "calendarReason", tr("&Reason:")), 3, 0);
    form->addWidget(reason_, 3, 1, 1, 2);
    form->addWidget(yearly_, 3, 3);
    form->setColumnStretch(1, 1);
    form->setColumnStretch(3, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(change);
    buttons->addWidget(remove);
    buttons->addStretch();
    buttons->addWidget(carnival_);
    buttons->addWidget(corpusChristi_);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(entries_, 1);
    layout->addLayout(form);
    layout->addLayout(buttons);
    auto *rescheduleTitle = new QLabel(tr("Bookings on closed days and times, to reschedule:"), this);
    rescheduleTitle->setBuddy(reschedule_);
    layout->addWidget(rescheduleTitle);
    layout->addWidget(reschedule_, 1);
    // The buttons in the order they stand: Close after the optional days.
    QWidget::setTabOrder(remove, carnival_);
    QWidget::setTabOrder(carnival_, corpusChristi_);
    reading_ = new ReadingBar(reads, this);
    layout->addWidget(reading_);
    resize(900, 640);

    connect(from_, &QDateEdit::dateChanged, this, [this](QDate date) {
        if (to_->date() < date)
            to_->setDate(date);
    });
    connect(add, &QPushButton::clicked, this, &CalendarWindow::addEntry);
    connect(change, &QPushButton::clicked, this, &CalendarWindow::changeEntry);
    connect(remove, &QPushButton::clicked, this, &CalendarWindow::removeEntry);
    connect(entries_, &QTableWidget::itemSelectionChanged, this, &CalendarWindow::showSelected);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(reschedule_, &QTableWidget::cellActivated, this, &CalendarWindow::chooseBooking);
    for (const auto &[box, key] :
         {std::pair{carnival_, "carnival"}, std::pair{corpusChristi_, "corpus-christi"}})
        connect(box, &QCheckBox::clicked, this, [this, box = box, key = key](bool closes) {
            QString error;
            if (!setup_->setClosesOn(QLatin1String(key), closes, signedBy(), now(), &error)) {
                box->setChecked(!closes);
                platform_.messages.inform(this, tr("The calendar could not be saved: %1").arg(error));
                return;
            }
            Q_EMIT calendarSaved();
            readToReschedule();
        });
    onEscape(this, [this] {
        if (reading_->reading())
            reading_->stop();
        else
            QWidget::close();
    });
}

QDateTime CalendarWindow::now() const
{
    return QDateTime(platform_.clock.today(), platform_.clock.now());
}

CalendarWindow::~CalendarWindow() = default;

void CalendarWindow::open(const QStringList &doctorNames, bool atReschedule)
{
    doctorNames_ = doctorNames;
    doctor_->clear();
    doctor_->addItem(tr("The whole clinic"), 0);
    for (int slot = 1; slot <= doctorNames.size(); ++slot)
        if (!doctorNames.at(slot - 1).trimmed().isEmpty()) // a slot without a doctor has nothing to close
            doctor_->addItem(doctorNames.at(slot - 1), slot);
    from_->setDate(platform_.clock.today());
    to_->setDate(platform_.clock.today());
    QString error;
    if (!setup_->read(&error)) {
        platform_.messages.inform(this, tr("The calendar cannot be read: %1").arg(error));
        return;
    }
    showEntries();
    readToReschedule();
    QWidget::show();
    showColumnsWhole(this, entries_);
    showColumnsWhole(this, reschedule_);
    raise();
    activateWindow();
    if (atReschedule)
        reschedule_->setFocus(Qt::OtherFocusReason);
    else
        kind_->setFocus(Qt::OtherFocusReason);
}

void CalendarWindow::storedElsewhere()
{
    if (!isVisible())
        return;
    QString error;
    if (setup_->read(&error))
        showEntries();
    readToReschedule();
}

void CalendarWindow::showEntries()
{
    const QLocale locale;
    listed_ = setup_->listed();
    QVector<QStringList> rows;
    for (const CalendarEntry &entry : std::as_const(listed_)) {
        if (!entry.unreadable.isEmpty()) { // shown as stored, to be removed or mended elsewhere
            rows << QStringList{tr("cannot be read"), {}, {}, {}, {}, entry.unreadable, {}};
            continue;
        }
        const QString who = entry.slot == 0 ? tr("The whole clinic") : doctorNames_.value(entry.slot - 1);
        const QString what = kind_->itemText(kind_->findData(static_cast<int>(entry.kind)));
        rows << QStringList{
            listedDate(entry.from, locale),
            entry.yearly ? tr("every year") : listedDate(entry.to.isValid() ? entry.to : entry.from, locale),
            who,
            what,
            hoursTyped(entry).isEmpty() ? tr("whole day") : hoursTyped(entry),
            entry.reason,
            QStringLiteral("%1 %2").arg(entry.changedBy,
                                        entry.changedAt.toLocalTime().toString(writtenDateFormat(locale) +
                                                                               QStringLiteral(" HH:mm")))};
    }
    fill(entries_, rows);
    const QSignalBlocker carnival(carnival_);
    const QSignalBlocker corpusChristi(corpusChristi_);
    carnival_->setChecked(setup_->closesOn(QStringLiteral("carnival")));
    corpusChristi_->setChecked(setup_->closesOn(QStringLiteral("corpus-christi")));
}

void CalendarWindow::readToReschedule()
{
    const QDate today = platform_.clock.today();
    reading_->start<QVector<FoundBooking>>(
        tr("Reading the bookings on closed days..."),
        [today](BookStorage &storage, const ReadProgress &progress) {
            QVector<FoundBooking> found;
            QString error;
            readBookingsToReschedule(storage, today, &found, &error, progress);
            return found;
        },
        [this](const QVector<FoundBooking> &found) {
            toReschedule_ = found;
            QVector<QStringList> rows;
            for (const FoundBooking &each : found)
                rows << QStringList{listedDate(each.booking.date, QLocale()), trimBlanks(each.booking.hora),
                                    doctorNames_.value(each.slot - 1),
                                    trimBlanks(blankControlCharacters(each.booking.nome)),
                                    trimBlanks(blankControlCharacters(each.booking.telefone))};
            fill(reschedule_, rows);
        });
}

CalendarEntry CalendarWindow::typedEntry(bool *hoursRead) const
{
    CalendarEntry entry;
    entry.kind = static_cast<CalendarEntry::Kind>(kind_->currentData().toInt());
    // A holiday, or opening on one, is the whole clinic's.
    entry.slot = entry.kind == CalendarEntry::Kind::Holiday || entry.kind == CalendarEntry::Kind::Opening
                     ? 0
                     : doctor_->currentData().toInt();
    entry.from = from_->date();
    entry.to = entry.kind == CalendarEntry::Kind::Closure ? to_->date() : QDate();
    entry.reason = reason_->text().trimmed();
    entry.yearly = entry.kind == CalendarEntry::Kind::Holiday && yearly_->isChecked();
    const std::optional<QStringList> hours = hoursFromText(hours_->text());
    *hoursRead = hours.has_value();
    if (hours && entry.kind == CalendarEntry::Kind::ExtraDay)
        entry.hours = *hours;
    else if (hours && hours->size() == 2 && entry.kind == CalendarEntry::Kind::Closure) {
        entry.start = hours->at(0);
        entry.end = hours->at(1);
    } else if (hours && !hours->isEmpty())
        *hoursRead = false;
    return entry;
}

void CalendarWindow::addEntry()
{
    storeTyped(std::nullopt);
}

void CalendarWindow::storeTyped(const std::optional<CalendarEntry> &replacing)
{
    bool hoursRead = false;
    const CalendarEntry entry = typedEntry(&hoursRead);
    const QString refused = !hoursRead  ? tr("Write the hours as 13:00-18:00, or leave them empty.")
                            : replacing ? QString()
                                        : setup_->refusal(entry);
    if (!refused.isEmpty()) {
        platform_.messages.inform(this, refused);
        return;
    }
    QVector<FoundBooking> under;
    QString error;
    if (!setup_->bookingsUnder(entry, &under, &error)) {
        platform_.messages.inform(this, tr("The bookings under it cannot be read: %1").arg(error));
        return;
    }
    // Nothing is lost: the bookings stay, listed below to reschedule.
    if (!under.isEmpty() &&
        !platform_.messages.ask(this,
                                tr("%n appointment(s) fall in this closure. They stay booked and are listed "
                                   "to reschedule. Save the closure?",
                                   nullptr, static_cast<int>(under.size())),
                                tr("Save"), tr("Do not save"), MessageService::Default::No))
        return;
    if (!(replacing ? setup_->change(*replacing, entry, signedBy(), now(), &error)
                    : setup_->add(entry, signedBy(), now(), &error))) {
        platform_.messages.inform(this, tr("The calendar could not be saved: %1").arg(error));
        return;
    }
    reason_->clear();
    hours_->clear();
    yearly_->setChecked(false); // the next entry starts from a clean form
    showEntries();
    readToReschedule();
    Q_EMIT calendarSaved();
}

void CalendarWindow::showSelected()
{
    const int row = entries_->currentRow();
    if (row < 0 || row >= listed_.size())
        return;
    const CalendarEntry &entry = listed_.at(row);
    kind_->setCurrentIndex(kind_->findData(static_cast<int>(entry.kind)));
    doctor_->setCurrentIndex(std::max(0, doctor_->findData(entry.slot)));
    from_->setDate(entry.from);
    to_->setDate(entry.to.isValid() ? entry.to : entry.from);
    hours_->setText(hoursTyped(entry));
    reason_->setText(entry.reason);
    yearly_->setChecked(entry.yearly);
}

void CalendarWindow::changeEntry()
{
    const int row = entries_->currentRow();
    if (row >= 0 && row < listed_.size())
        storeTyped(listed_.at(row));
}

void CalendarWindow::removeEntry()
{
    const int row = entries_->currentRow();
    if (row < 0 || row >= listed_.size())
        return;
    QString error;
    if (!setup_->remove(listed_.at(row), &error)) {
        platform_.messages.inform(this, tr("The calendar could not be saved: %1").arg(error));
        return;
    }
    showEntries();
    readToReschedule();
    Q_EMIT calendarSaved();
}

void CalendarWindow::chooseBooking()
{
    const int row = reschedule_->currentRow();
    if (row < 0 || row >= toReschedule_.size())
        return;
    const FoundBooking &each = toReschedule_.at(row);
    Q_EMIT chosen({each.slot, each.booking.date, shownRow(each.booking),
                   tr("The booking has changed meanwhile; the list shows the day as it is now.")});
}

} // namespace velmora
