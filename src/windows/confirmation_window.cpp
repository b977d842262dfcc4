#include "windows/confirmation_window.h"
#include "core/storage/stored_bookings.h"

#include "core/storage/series_scope.h"

#include "core/desk/desk_settings.h"
#include "core/model/booking_status.h"
#include "core/reception/confirmation_message.h"
#include "core/safekeeping/desk_files.h"
#include "core/text/phone_numbers.h"
#include "core/text/printout.h"
#include "core/text/text_rules.h"
#include "core/text/written_dates.h"
#include "windows/message_window.h"
#include "windows/period_choice.h"
#include "windows/widgets_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>

#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

namespace velmora {

namespace {

// "+55 (11) 99999-0000" for 5511999990000.
QString shownMobile(const QString &mobile)
{
    return QStringLiteral("+55 (%1) %2-%3").arg(mobile.mid(2, 2), mobile.mid(4, 5), mobile.mid(9));
}

constexpr int kStatusColumn = 6;
constexpr int kCellMargin = 16;

QPushButton *button(QWidget *parent, const char *name, const QString &caption)
{
    auto *made = new QPushButton(caption, parent);
    made->setObjectName(QLatin1String(name));
    made->setAutoDefault(false);
    return made;
}

} // namespace

ConfirmationWindow::ConfirmationWindow(const Platform &platform, BookStorage &storage, BackgroundReads &reads,
                                       const QString &iniPath, const QDir &pdfFolder, QWidget *parent)
    : QWidget(parent, Qt::Window), platform_(platform), storage_(storage), iniPath_(iniPath),
      pdfFolder_(pdfFolder)
{
    setObjectName(QStringLiteral("confirmationWindow"));
    setWindowTitle(tr("Confirmations"));
    period_ = new PeriodChoice(QStringLiteral("confirm"), this);
    toConfirmOnly_ = new QCheckBox(tr("To confirm &only"), this);
    toConfirmOnly_->setObjectName(QStringLiteral("toConfirmOnly"));

    table_ = new QTableWidget(0, 7, this);
    table_->setObjectName(QStringLiteral("confirmationList"));
    table_->setAccessibleName(tr("Appointments to confirm"));
    table_->setHorizontalHeaderLabels(
        {tr("Date"), tr("Time"), tr("Doctor"), tr("Patient"), tr("Phones"), tr("Health plan"), tr("Status")});
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->setWordWrap(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setTabKeyNavigation(false);
    table_->setContextMenuPolicy(Qt::CustomContextMenu);
    count_ = new QLabel(this);
    count_->setObjectName(QStringLiteral("confirmCount"));

    statuses_ = statusMenu(this, [this](BookingStatus status) { setStatus(status); });
    for (QAction *action : statuses_->actions()) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    said_ = new QLabel(this);
    said_->setObjectName(QStringLiteral("confirmSaid"));
    said_->setAccessibleName(tr("Last status set"));
    QPushButton *status = button(this, "confirmStatus", tr("Set stat&us"));
    status->setMenu(statuses_);
    QPushButton *whatsApp = button(this, "confirmWhatsApp", tr("&WhatsApp"));
    QPushButton *print = button(this, "confirmPrint", tr("&Print"));
    QPushButton *csv = button(this, "confirmCsv", tr("Save as CS&V"));
    QPushButton *message = button(this, "confirmMessage", tr("M&essage..."));
    QPushButton *close = button(this, "confirmClose", tr("&Close"));

    auto *choices = new QHBoxLayout;
    choices->addWidget(period_, 1);
    choices->addWidget(toConfirmOnly_);
    auto *actions = new QHBoxLayout;
    for (QWidget *widget :
         {static_cast<QWidget *>(status), static_cast<QWidget *>(whatsApp), static_cast<QWidget *>(print),
          static_cast<QWidget *>(csv), static_cast<QWidget *>(message)})
        actions->addWidget(widget);
    actions->addStretch();
    actions->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(table_, 1);
    auto *counts = new QHBoxLayout;
    counts->addWidget(count_);
    counts->addStretch();
    counts->addWidget(said_);
    layout->addLayout(counts);
    // The reading line after the window's own controls, in Tab order too.
    reading_ = new ReadingBar(reads, this);
    layout->addWidget(reading_);
    layout->addLayout(actions);
    resize(900, 480);

    connect(period_, &PeriodChoice::changed, this, &ConfirmationWindow::reload);
    period_->askForLongPeriods(platform_.messages);
    connect(toConfirmOnly_, &QCheckBox::toggled, this, &ConfirmationWindow::reload);
    connect(table_, &QTableWidget::cellActivated, this, &ConfirmationWindow::sendWhatsApp);
    connect(table_, &QTableWidget::currentCellChanged, this, &ConfirmationWindow::showCurrentStatus);
    const auto patientOfRow = [this] {
        if (const int row = currentRow(); row >= 0)
            Q_EMIT patientRequested({rows_.at(row).slot, rows_.at(row).booking});
    };
    connect(table_, &QWidget::customContextMenuRequested, this, [this, patientOfRow](const QPoint &at) {
        QMenu menu(this);
        menu.addActions(statuses_->actions());
        menu.addSeparator();
        menu.addAction(tr("The &patient's record..."), this, patientOfRow);
        menu.exec(table_->viewport()->mapToGlobal(at));
    });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this, this, patientOfRow);
    connect(whatsApp, &QPushButton::clicked, this, &ConfirmationWindow::sendWhatsApp);
    connect(print, &QPushButton::clicked, this, &ConfirmationWindow::print);
    connect(csv, &QPushButton::clicked, this, &ConfirmationWindow::saveCsv);
    connect(message, &QPushButton::clicked, this, [this] {
        if (!messageWindow_)
            messageWindow_ = new MessageWindow(platform_, iniPath_, this);
        messageWindow_->open();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Escape stops a read under way, and closes the window otherwise.
    onEscape(this, [this] {
        if (reading_->reading())
            reading_->stop();
        else
            QWidget::close();
    });
}

void ConfirmationWindow::open()
{
    show();
    raise();
    activateWindow();
    table_->setFocus(Qt::OtherFocusReason);
    widenPending_ = true;
    const QDate today = platform_.clock.today();
    reading_->start<ConfirmationStart>(
        tr("Reading the doctors..."),
        [today](BookStorage &storage, const ReadProgress &) { return readConfirmationStart(storage, today); },
        [this](const ConfirmationStart &start) {
            period_->set(start.firstDay, start.firstDay, start.doctorNames);
            reload();
        });
}

void ConfirmationWindow::reload()
{
    const QDate from = period_->from();
    const QDate to = period_->to();
    const int slot = period_->slot();
    const bool toConfirmOnly = toConfirmOnly_->isChecked();
    reading_->start<ConfirmationList>(
        tr("Reading the appointments..."),
        [from, to, slot, toConfirmOnly](BookStorage &storage, const ReadProgress &progress) {
            return readConfirmationList(storage, from, to, slot, toConfirmOnly, progress);
        },
        [this](const ConfirmationList &list) { showList(list); });
}

void ConfirmationWindow::showList(const ConfirmationList &list)
{
    const QVector<ConfirmationRow> before = rows_;
    const int selected = currentRow();
    rows_ = list.rows;
    fill();
    if (!list.read) {
        platform_.messages.inform(this, tr("The appointments could not be read: %1.").arg(list.error));
        return;
    }
    if (std::exchange(widenPending_, false))
        showColumnsWhole(this, table_);
    // The same booking stays selected or, when it left the list, the one after it.
    const int row = rowKeptAfterReload(before, selected, rows_);
    if (row >= 0)
        table_->selectRow(row);
    showCurrentStatus();
}

void ConfirmationWindow::showCurrentStatus()
{
    const int row = currentRow();
    const std::optional<BookingStatus> current =
        row >= 0 ? std::optional<BookingStatus>(rows_.at(row).booking.status) : std::nullopt;
    markStatus(statuses_, current);
}

void ConfirmationWindow::fill()
{
    table_->setRowCount(static_cast<int>(rows_.size()));
    const QLocale locale;
    for (int i = 0; i < rows_.size(); ++i) {
        const Appointment &booking = rows_.at(i).booking;
        const QStringList texts{
            listedDate(booking.date, locale),
            trimBlanks(booking.hora),
            rows_.at(i).doctor,
            trimBlanks(blankControlCharacters(booking.nome)),
            trimBlanks(blankControlCharacters(booking.telefone)),
            trimBlanks(blankControlCharacters(booking.convenio)),
            (statusMark(booking.status) + QLatin1Char(' ') + statusCaption(booking.status)).trimmed()};
        for (int column = 0; column < texts.size(); ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            if (column == kStatusColumn && booking.status != BookingStatus::ToConfirm)
                item->setForeground(statusColour(booking.status));
            table_->setItem(i, column, item);
        }
    }
    table_->resizeColumnsToContents();
    // The status column as wide as its longest word, whatever the rows listed now.
    int statusWidth = table_->columnWidth(kStatusColumn);
    for (int number = 0; number < kBookingStatusCount; ++number) {
        const BookingStatus status = statusFromNumber(number);
        statusWidth =
            std::max(statusWidth, table_->fontMetrics().horizontalAdvance(
                                      statusMark(status) + QStringLiteral("  ") + statusCaption(status)) +
                                      kCellMargin);
    }
    table_->setColumnWidth(kStatusColumn, statusWidth);
    count_->setText(tr("%n appointment(s)", nullptr, static_cast<int>(rows_.size())));
}

int ConfirmationWindow::currentRow() const
{
    const int row = table_->currentRow();
    return row >= 0 && row < rows_.size() ? row : -1;
}

void ConfirmationWindow::setStatus(BookingStatus status)
{
    const int row = currentRow();
    if (row < 0)
        return;
    const ConfirmationRow chosen = rows_.at(row);
    const Outcome outcome = setListedStatus(storage_, chosen, status);
    Q_EMIT statusSet({chosen.slot, chosen.booking.date, false});
    for (const QString &message : outcome.messages)
        platform_.messages.inform(this, message);
    // Named, so that the receptionist sees on whom it was set.
    if (outcome.done)
        said_->setText(tr("%1, %2 %3 with %4: %5")
                           .arg(trimBlanks(blankControlCharacters(chosen.booking.nome)),
                                listedDate(chosen.booking.date, QLocale()), trimBlanks(chosen.booking.hora),
                                trimBlanks(chosen.doctor), statusCaption(status)));
    reload();
}

void ConfirmationWindow::sendWhatsApp()
{
    const int row = currentRow();
    if (row < 0)
        return;
    const ConfirmationRow &listed = rows_.at(row);
    const ConfirmationSettings settings = readConfirmationSettings(iniPath_);
    const PhoneNumbers numbers = phoneNumbers(listed.booking.telefone, settings.areaCode);
    const QString patient = trimBlanks(listed.booking.nome);
    // A patient who said no to messages is called, never sent one.
    qint64 whose = 0;
    QString unread; // a link that cannot be read now: the patient's answer is not known, as before
    if (answerOf_ && storage_.readPatientOf(listed.slot, listed.booking.id, &whose, &unread) && whose != 0 &&
        answerOf_(whose) == MessageConsent::No) {
        platform_.messages.inform(this, tr("%1 said no to messages by WhatsApp. Call instead: %2")
                                            .arg(patient, trimBlanks(listed.booking.telefone)));
        return;
    }
    if (numbers.mobiles.isEmpty()) {
        platform_.messages.inform(
            this, numbers.others.isEmpty()
                      ? tr("The phones of %1 hold no number to send a message to or to call.").arg(patient)
                      : tr("The phones of %1 hold no mobile number for WhatsApp. Call instead: %2")
                            .arg(patient, numbers.others.join(QStringLiteral(", "))));
        return;
    }
    // A patient who cancelled or missed is not reminded without a word.
    if (listed.booking.status == BookingStatus::Cancelled || listed.booking.status == BookingStatus::Missed) {
        if (!platform_.messages.ask(this,
                                    tr("The status of %1's appointment is \"%2\". Send the confirmation "
                                       "message all the same?")
                                        .arg(patient, statusCaption(listed.booking.status)),
                                    tr("Send all the same"), tr("Cancel"), MessageService::Default::No))
            return;
    }
    // A booking the calendar closes is asked to be moved, not confirmed.
    const QString message =
        filledMessage(listed.closed.isEmpty() ? settings.messageTemplate : settings.rescheduleTemplate,
                      {listed.booking.nome, listed.booking.date, listed.booking.hora, listed.doctor,
                       settings.clinic, sessionText(listed.booking.series)},
                      QLocale());
    // A template made longer elsewhere (velmora.ini edited by hand) is not sent cut.
    if (characterCount(message) > kMessageLimit) {
        platform_.messages.inform(this,
                                  tr("The message is longer than %1 characters, more than WhatsApp takes: "
                                     "shorten it with \"Message...\".")
                                      .arg(QLocale().toString(kMessageLimit)));
        return;
    }
    // Each number of the field offered in turn, the message shown as it will be sent; Cancel (or
    // Escape) ends the whole send.
    for (qsizetype i = 0; i < numbers.mobiles.size(); ++i) {
        const QString &mobile = numbers.mobiles.at(i);
        const bool last = i + 1 == numbers.mobiles.size();
        const QStringList choices = last ? QStringList{tr("Open WhatsApp"), tr("Cancel")}
                                         : QStringList{tr("Open WhatsApp"), tr("Next number"), tr("Cancel")};
        const int choice = platform_.messages.choose(
            this, tr("Send this message to %1 at %2?\n\n%3").arg(patient, shownMobile(mobile), message),
            choices);
        if (choice == 1 && !last)
            continue;
        if (choice != 0)
            return;
        if (!platform_.browser.open(whatsAppLink(mobile, message)))
            platform_.messages.inform(this,
                                      tr("WhatsApp could not be opened: no web browser or WhatsApp program "
                                         "answered on this computer."));
        return;
    }
}

QString ConfirmationWindow::title() const
{
    const QLocale locale;
    const QString from = listedDate(period_->from(), locale);
    const QString to = listedDate(period_->to(), locale);
    return from == to ? tr("Confirmations of %1").arg(from) : tr("Confirmations from %1 to %2").arg(from, to);
}

void ConfirmationWindow::print()
{
    Printout printout;
    printout.documentName = printDocumentName(tr("Confirmations"), period_->from());
    printout.header = title() + QStringLiteral(", ") + period_->doctorText();
    printout.rows = confirmationLines(rows_, QLocale());
    printOrSavePdf(platform_, this, printout, pdfFolder_);
}

void ConfirmationWindow::saveCsv()
{
    const QString path = platform_.messages.saveFileName(
        this,
        pdfFolder_.filePath(printDocumentName(tr("Confirmations"), period_->from()) + QStringLiteral(".csv")),
        tr("Spreadsheet files (*.csv)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!saveWholeFile(path, confirmationCsv(rows_, QLocale()), &error))
        platform_.messages.inform(this, tr("The file could not be written: %1.").arg(error));
}

} // namespace velmora
