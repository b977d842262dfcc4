#include "windows/waiting_list_window.h"
#include "windows/widgets_support.h"

#include "core/desk/desk_settings.h"
#include "core/model/booking_status.h"
#include "core/reception/confirmation_message.h"
#include "core/text/name_rules.h"
#include "core/text/phone_numbers.h"
#include "core/text/text_rules.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
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

QString periodCaption(WaitingEntry::Period period)
{
    switch (period) {
    case WaitingEntry::Period::Morning:
        return WaitingListWindow::tr("Morning");
    case WaitingEntry::Period::Afternoon:
        return WaitingListWindow::tr("Afternoon");
    case WaitingEntry::Period::Any:
        break;
    }
    return WaitingListWindow::tr("Any time");
}

} // namespace

WaitingListWindow::WaitingListWindow(const Platform &platform, BookStorage &storage, const QString &iniPath,
                                     QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), list_(storage, platform.clock.today()),
      iniPath_(iniPath)
{
    setObjectName(QStringLiteral("waitingListWindow"));
    setWindowTitle(tr("Waiting list"));
    auto *layout = new QVBoxLayout(this);
    freedLabel_ = new QLabel(this);
    freedLabel_->setObjectName(QStringLiteral("freedTime"));
    freedLabel_->setWordWrap(true);
    layout->addWidget(freedLabel_);
    auto *listCaption = new QLabel(tr("&Waiting:"), this);
    layout->addWidget(listCaption);
    table_ = new QTableWidget(0, 7, this);
    table_->setObjectName(QStringLiteral("waitingTable"));
    table_->setAccessibleName(tr("Waiting list"));
    table_->setHorizontalHeaderLabels(
        {tr("Added"), tr("Name"), tr("Phones"), tr("Doctor"), tr("Dates"), tr("Period"), tr("Notes")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    listCaption->setBuddy(table_);
    layout->addWidget(table_, 1);

    auto *form = new QFormLayout;
    const auto field = [this, form](QWidget *control, const QString &caption, const QString &name) {
        control->setObjectName(name);
        auto *label = new QLabel(caption, this);
        label->setBuddy(control);
        control->setAccessibleName(QString(caption).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
        form->addRow(label, control);
    };
    name_ = new QLineEdit(this);
    name_->setMaxLength(BookingRecord::kNomeWidth);
    field(name_, tr("&Name:"), QStringLiteral("waitingName"));
    phones_ = new QLineEdit(this);
    phones_->setMaxLength(BookingRecord::kTelefoneWidth);
    field(phones_, tr("&Phones:"), QStringLiteral("waitingPhones"));
    plan_ = new QLineEdit(this);
    plan_->setMaxLength(BookingRecord::kConvenioWidth);
    field(plan_, tr("P&lan:"), QStringLiteral("waitingPlan"));
    doctor_ = new QComboBox(this);
    field(doctor_, tr("&Doctor:"), QStringLiteral("waitingDoctor"));
    from_ = new QDateEdit(this);
    from_->setCalendarPopup(true);
    typeDatesWhole(from_);
    field(from_, tr("&From:"), QStringLiteral("waitingFrom"));
    to_ = new QDateEdit(this);
    to_->setCalendarPopup(true);
    typeDatesWhole(to_);
    field(to_, tr("&To:"), QStringLiteral("waitingTo"));
    period_ = new QComboBox(this);
    for (const auto period :
         {WaitingEntry::Period::Any, WaitingEntry::Period::Morning, WaitingEntry::Period::Afternoon})
        period_->addItem(periodCaption(period), static_cast<int>(period));
    field(period_, tr("P&eriod:"), QStringLiteral("waitingPeriod"));
    notes_ = new QLineEdit(this);
    notes_->setMaxLength(200);
    field(notes_, tr("N&otes:"), QStringLiteral("waitingNotes"));
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    const auto button = [this, buttons](const QString &caption, const QString &name) {
        auto *pushed = new QPushButton(caption, this);
        pushed->setObjectName(name);
        pushed->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
        pushed->setAutoDefault(false);
        buttons->addWidget(pushed);
        return pushed;
    };
    connect(button(tr("&Add to the list"), QStringLiteral("addWaiting")), &QPushButton::clicked, this,
            &WaitingListWindow::addTyped);
    connect(button(tr("&Remove from the list"), QStringLiteral("removeWaiting")), &QPushButton::clicked, this,
            &WaitingListWindow::removeChosen);
    book_ = button(tr("&Book in the freed time"), QStringLiteral("bookWaiting"));
    connect(book_, &QPushButton::clicked, this, &WaitingListWindow::bookChosen);
    send_ = button(tr("&Send the offer by WhatsApp"), QStringLiteral("sendOffer"));
    connect(send_, &QPushButton::clicked, this, &WaitingListWindow::sendOffer);
    buttons->addStretch();
    connect(button(tr("&Close"), QStringLiteral("closeWaiting")), &QPushButton::clicked, this,
            &QWidget::close);
    layout->addLayout(buttons);
    connect(table_, &QTableWidget::itemActivated, this, [this] {
        if (freed_.slot != 0)
            bookChosen();
    });
    connect(notes_, &QLineEdit::returnPressed, this, &WaitingListWindow::addTyped);
    onEscape(this, [this] { close(); });
    resize(820, 520);
}

QString WaitingListWindow::doctorOf(int slot) const
{
    return slot == 0 ? tr("Any") : doctorNames_.value(slot - 1, doctorCalled(doctorNames_, slot));
}

void WaitingListWindow::open(const QStringList &doctorNames, const WaitingEntry &prefill)
{
    doctorNames_ = doctorNames;
    freed_ = {};
    doctor_->clear();
    doctor_->addItem(tr("Any"), 0);
    for (int slot = 1; slot <= doctorNames.size(); ++slot)
        if (!doctorNames.at(slot - 1).trimmed().isEmpty()) // only a doctor can be waited for
            doctor_->addItem(doctorNames.at(slot - 1), slot);
    const QDate today = platform_.clock.today();
    name_->setText(trimBlanks(prefill.name));
    phones_->setText(trimBlanks(prefill.phone));
    plan_->setText(trimBlanks(prefill.plan));
    doctor_->setCurrentIndex(qMax(0, doctor_->findData(prefill.slot)));
    from_->setDate(today);
    to_->setDate(prefill.to.isValid() ? prefill.to : today.addMonths(1));
    period_->setCurrentIndex(0);
    notes_->clear();
    showList();
    show();
    showColumnsWhole(this, table_);
    raise();
    activateWindow();
    (name_->text().isEmpty() ? name_ : static_cast<QWidget *>(to_))->setFocus(Qt::OtherFocusReason);
}

bool WaitingListWindow::offer(const QStringList &doctorNames, const Outcome::Freed &freed)
{
    doctorNames_ = doctorNames;
    QString error;
    if (freed.slot == 0 || !list_.read(&error) || list_.offersFor(freed).isEmpty() ||
        !list_.notOffered(freed, platform_.clock.now()).isEmpty())
        return false;
    freed_ = freed;
    showList();
    show();
    showColumnsWhole(this, table_);
    raise();
    activateWindow();
    table_->setFocus(Qt::OtherFocusReason);
    return true;
}

void WaitingListWindow::showList()
{
    QString error;
    if (!list_.read(&error))
        platform_.messages.inform(this, tr("The waiting list could not be read: %1.").arg(error));
    shown_ = freed_.slot != 0 ? list_.offersFor(freed_) : list_.waiting();
    const QLocale locale;
    freedLabel_->setVisible(freed_.slot != 0);
    freedLabel_->setText(tr("Freed: %1, %2 at %3. Who wants it, oldest first:")
                             .arg(doctorOf(freed_.slot), locale.toString(freed_.date, QLocale::ShortFormat),
                                  trimBlanks(freed_.time)));
    book_->setEnabled(freed_.slot != 0);
    send_->setEnabled(freed_.slot != 0);
    table_->setRowCount(static_cast<int>(shown_.size()));
    for (int row = 0; row < shown_.size(); ++row) {
        const WaitingEntry &entry = shown_.at(row);
        const QString dates =
            QStringLiteral("%1 \u2013 %2")
                .arg(entry.from.isValid() ? locale.toString(entry.from, QLocale::ShortFormat) : QString(),
                     entry.to.isValid() ? locale.toString(entry.to, QLocale::ShortFormat) : QString());
        const QStringList cells{locale.toString(entry.addedAt.toLocalTime(), QLocale::ShortFormat) +
                                    QStringLiteral(" ") + entry.addedBy,
                                entry.name,
                                entry.phone,
                                doctorOf(entry.slot),
                                dates,
                                periodCaption(entry.period),
                                entry.notes};
        for (int column = 0; column < cells.size(); ++column)
            table_->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    table_->resizeColumnsToContents();
    showColumnsWhole(this, table_);
    if (!shown_.isEmpty())
        table_->selectRow(0);
}

const WaitingEntry *WaitingListWindow::chosen() const
{
    const int row = table_->currentRow();
    return row >= 0 && row < shown_.size() ? &shown_.at(row) : nullptr;
}

void WaitingListWindow::addTyped()
{
    WaitingEntry entry;
    entry.name = name_->text();
    entry.phone = phones_->text();
    entry.plan = plan_->text();
    entry.slot = doctor_->currentData().toInt();
    entry.from = from_->date();
    entry.to = to_->date();
    entry.period = static_cast<WaitingEntry::Period>(period_->currentData().toInt());
    entry.notes = notes_->text();
    const Desk desk = thisDesk();
    const Outcome added = list_.add(entry, QStringLiteral("%1 (%2)").arg(desk.person, desk.computer));
    for (const QString &message : added.messages)
        platform_.messages.inform(this, message);
    if (!added.done)
        return;
    for (QLineEdit *typed : {name_, phones_, plan_, notes_})
        typed->clear();
    showList();
    name_->setFocus(Qt::OtherFocusReason);
}

void WaitingListWindow::removeChosen()
{
    const WaitingEntry *entry = chosen();
    if (!entry)
        return;
    if (!platform_.messages.ask(this, tr("Take %1 off the waiting list?").arg(entry->name), tr("Take off"),
                                tr("Keep"), MessageService::Default::No))
        return;
    const Outcome removed = list_.remove(entry->id);
    for (const QString &message : removed.messages)
        platform_.messages.inform(this, message);
    showList();
}

void WaitingListWindow::bookChosen()
{
    const WaitingEntry *entry = chosen();
    if (!entry || freed_.slot == 0)
        return;
    const QString name = entry->name;
    const Outcome outcome = list_.book(entry->id, freed_, patientOf_ ? patientOf_(*entry) : 0);
    for (const QString &message : outcome.messages)
        platform_.messages.inform(this, message);
    if (!outcome.done) {
        showList();
        return;
    }
    Q_EMIT booked({freed_.slot, freed_.date, false});
    platform_.messages.inform(
        this, tr("%1 is booked at %2 and off the waiting list.").arg(name, trimBlanks(freed_.time)));
    close();
}

void WaitingListWindow::sendOffer()
{
    const WaitingEntry *entry = chosen();
    if (!entry || freed_.slot == 0)
        return;
    const ConfirmationSettings settings = readConfirmationSettings(iniPath_);
    const PhoneNumbers numbers = phoneNumbers(entry->phone, settings.areaCode);
    if (numbers.mobiles.isEmpty()) {
        platform_.messages.inform(this,
                                  tr("The phones of %1 hold no mobile number for WhatsApp. Call instead: %2")
                                      .arg(entry->name, numbers.others.join(QStringLiteral(", "))));
        return;
    }
    const QString message = offerMessage(settings.offerTemplate, *entry, freed_.date, freed_.time,
                                         doctorOf(freed_.slot), settings.clinic);
    if (!platform_.messages.ask(this, tr("Send this message to %1?\n\n%2").arg(entry->name, message),
                                tr("Open WhatsApp"), tr("Cancel")))
        return;
    if (!platform_.browser.open(whatsAppLink(numbers.mobiles.first(), message)))
        platform_.messages.inform(this, tr("WhatsApp could not be opened: no web browser or WhatsApp program "
                                           "answered on this computer."));
}

} // namespace velmora
