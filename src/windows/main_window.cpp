#include "windows/main_window.h"
#include "windows/patient_window.h"
#include "windows/review_window.h"

#include "core/patients/patient_bookings.h"

#include "core/reception/booking_history.h"
#include "core/safekeeping/activity_log.h"
#include "core/schedule/first_free.h"
#include "core/search/patient_search.h"
#include "core/storage/stored_bookings.h"
#include "core/text/name_rules.h"
#include "core/text/printout.h"
#include "core/text/written_dates.h"

#include "core/desk/session_views.h"
#include "core/model/booking_status.h"
#include "core/schedule/calendar_setup.h"
#include "core/text/text_rules.h"
#include "windows/calendar_window.h"
#include "windows/clinic_day_window.h"
#include "windows/confirmation_window.h"
#include "windows/month_window.h"
#include "windows/series_window.h"
#include "windows/squeeze_limits_window.h"
#include "windows/waiting_list_window.h"
#include "windows/widgets_support.h"

#include <QAbstractItemView>
#include <QCloseEvent>
#include <QCompleter>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>

namespace velmora {

namespace {

const char *const kChooseDoctor = QT_TRANSLATE_NOOP("MainWindow", "Choose the doctor");
const char *const kHomePage = "https://www.velmora.example/";

// The system's time of day with seconds, without a time zone name.
QString clockText(QTime time)
{
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale().toString(time, format.trimmed());
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

MainWindow::MainWindow(const Platform &platform, AppointmentBook &book, BookStorage &storage,
                       BackgroundReads &reads, const QDir &pdfFolder, const QStringList &fileProblems,
                       QWidget *parent)
    : QWidget(parent), platform_(platform), book_(book), storage_(storage), reads_(reads),
      dayReads_(new ReadRequests(reads, this)), pdfFolder_(pdfFolder), fileProblems_(fileProblems)
{
    buildControls();
    setTabOrder();
    sidePanel_ = new SidePanel(this);
    sidePanel_->hide();
    layout()->addWidget(sidePanel_);
    new QShortcut(QKeySequence(Qt::Key_F6), this, this, &MainWindow::switchToOrFromPanel);
    for (QWidget *control : canvas_->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
        layoutGeometry_.push_back({control, control->geometry()});
    wireControls();
    showDate();
    showButtons();
    Timer2_Timer(); // the time from the first paint, also under a question asked at start
    Timer1->start();
    Timer2->start();
}

void MainWindow::wireControls()
{
    for (int i = 0; i < kEntryFieldCount; ++i) {
        const auto field = static_cast<EntryField>(i);
        QLineEdit *box = entryBoxes_[i];
        connect(box, &QLineEdit::textChanged, this,
                [this, field](const QString &text) { book_.entry().type(field, text); });
        connect(box, &QLineEdit::returnPressed, this, [this, field] { enterPressedIn(field); });
        box->installEventFilter(this);
    }
    connect(&book_.entry(), &EntryFields::changedByProgram, this, [this](EntryField field) {
        // A stored value longer than the field's column is shown whole (the limit is for typing), and
        // in the field's tool tip when it does not fit the box.
        QLineEdit *box = entryBoxes_[field];
        const QString text = book_.entry().text(field);
        if (box->text() != text)
            CharacterLimit::setWholeText(box, text);
        box->setToolTip(box->fontMetrics().horizontalAdvance(text) > box->contentsRect().width() ? text
                                                                                                 : QString());
    });
    // The patients a name, phone or CPF typed may be, listed under the name field as it is typed; the
    // one chosen fills the booking. Typing goes on in the field while the list is open.
    patientList_ = new QCompleter(this);
    patientList_->setModel(new QStringListModel(patientList_));
    patientList_->setWidget(entryBoxes_[NameField]);
    patientList_->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    patientList_->popup()->setObjectName(QStringLiteral("patientList"));
    patientList_->popup()->setAccessibleName(tr("Patients it may be"));
    connect(entryBoxes_[NameField], &QLineEdit::textEdited, this, &MainWindow::suggestPatients);
    patientReads_ = new ReadRequests(reads_, this);
    QTimer::singleShot(0, this, &MainWindow::readPatients); // ready by the first key, at most desks
    connect(patientList_, qOverload<const QModelIndex &>(&QCompleter::activated), this,
            [this](const QModelIndex &index) {
                if (index.row() < 0 || index.row() >= suggestedPatients_.size())
                    return;
                book_.choosePatient(suggestedPatients_.at(index.row()));
                entryBoxes_[NameField]->setFocus(Qt::OtherFocusReason);
            });
    connect(&book_.entry(), &EntryFields::buttonsChanged, this, &MainWindow::showButtons);
    connect(&book_, &AppointmentBook::selectionCleared, this, &MainWindow::clearListSelection);
    connect(&book_, &AppointmentBook::rowReselected, this, [this](int row) {
        ProgramListChange change(listChangedByProgram_);
        List1->setCurrentIndex(List1->model()->index(row, 0));
    });
    connect(&book_, &AppointmentBook::dateChanged, this, &MainWindow::showDate);
    connect(&book_.dayList(), &QAbstractItemModel::modelReset, this, [this] {
        const QString note = closedNote(book_);
        closedNote_->setText(note);
        closedNote_->setAccessibleName(note);
        closedNote_->setVisible(!note.isEmpty());
    });
    connect(&book_, &AppointmentBook::doctorNamesChanged, this, &MainWindow::fillDoctorNames);

    // The rows the book adds, removes or lists afresh move the view's selection: that is not the user's.
    connect(&book_, &AppointmentBook::listChanging, this,
            [this](bool changing) { listChangedByProgram_ = changing; });
    // A click or a key that selects another row, or a click beside the rows that selects none.
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (listChangedByProgram_)
            return;
        const QModelIndexList selected = List1->selectionModel()->selectedRows();
        book_.selectRow(selected.isEmpty() ? -1 : selected.first().row());
    });

    connect(Combo1, &DoctorBox::doctorPicked, this, [this](int index) {
        Combo1->setShownText(Combo1->itemText(index));
        const Outcome outcome = book_.chooseDoctor(index + 1);
        if (book_.activeSlot() == 0)
            Combo1->setShownText(QCoreApplication::translate("MainWindow", kChooseDoctor));
        showOutcome(outcome);
    });
    for (const auto &[dateButton, step] : dateButtons_)
        connect(dateButton, &QPushButton::clicked, this,
                [this, step = step] { showOutcome(book_.stepDate(step, platform_.clock.today())); });

    connect(cmd_inc, &QPushButton::clicked, this, &MainWindow::cmd_inc_Click);
    connect(cmd_alt, &QPushButton::clicked, this, [this] {
        if (const auto scope = askScope(book_.selectedSeries(), tr("Change")))
            showOutcome(book_.change(*scope));
    });
    connect(cmd_exc, &QPushButton::clicked, this, [this] {
        if (const auto scope = askScope(book_.selectedSeries(), tr("Remove")))
            showOutcome(book_.remove(*scope));
    });
    connect(cmd_imp, &QPushButton::clicked, this, &MainWindow::cmd_imp_Click);
    connect(cmd_cad, &QPushButton::clicked, this, &MainWindow::setupRequested);
    connect(cmd_sai, &QPushButton::clicked, this, [this] {
        // A booking typed and not yet stored is not lost to a key pressed by mistake.
        const QString typed = book_.entry().text(NameField).trimmed();
        if (!typed.isEmpty() && !book_.entry().readsAsSelected(NameField) &&
            !platform_.messages.ask(
                this, tr("The booking of %1 is typed but not stored. Quit all the same?").arg(typed),
                tr("Quit"), tr("Go on typing"), MessageService::Default::No))
            return;
        close();
    });
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    // Beside the layout's controls: a key of its own opens the patient finder.
    new QShortcut(QKeySequence::Find, this, this, &MainWindow::openFind);
    // Ctrl+Shift+E for the Earliest: Ctrl+E moves to the end of a line in a text box.
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E), this, this, &MainWindow::openFirstFree);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), this, this, &MainWindow::openConfirmations);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H), this, this, &MainWindow::showHistory);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_M), this, this, &MainWindow::openMonth);
    connect(sidePanel_, &SidePanel::monthRequested, this, &MainWindow::openMonth);
    connect(sidePanel_, &SidePanel::clinicDayRequested, this, &MainWindow::openClinicDay);
    connect(sidePanel_, &SidePanel::calendarRequested, this, [this] { openCalendar(false); });
    connect(sidePanel_, &SidePanel::rescheduleRequested, this, [this] { openCalendar(true); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), this, this,
                  [this] { openCalendar(false); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_R), this, this, [this] { openCalendar(true); });
    rescheduleReads_ = new ReadRequests(reads_, this);
    connect(&book_, &AppointmentBook::booksChanged, this, [this] { countToReschedule(); });
    QTimer::singleShot(0, this, [this] { countToReschedule(); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D), this, this, &MainWindow::openClinicDay);
    connect(sidePanel_, &SidePanel::moveRequested, this, [this] { showOutcome(book_.holdSelected()); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_T), this, this,
                  [this] { showOutcome(book_.holdSelected()); });
    connect(sidePanel_, &SidePanel::placeRequested, this, [this](int held) {
        const auto scope = askScope(book_.heldSeries(held), tr("Move"));
        if (!scope)
            return;
        // The questions an Add asks: a time the calendar closes, a squeeze-in past the daily limit.
        const PlaceCheck check = book_.checkPlace(*scope);
        if (!check.closedReason.isEmpty() &&
            !platform_.messages.ask(this,
                                    tr("%1 is closed that day (%2). Place it there all the "
                                       "same?")
                                        .arg(meantTime(check.time), check.closedReason),
                                    tr("Place"), tr("Do not place"), MessageService::Default::No))
            return;
        if (!check.squeezeInQuestion.isEmpty() &&
            !platform_.messages.ask(this, check.squeezeInQuestion, tr("Place"), tr("Do not place"),
                                    MessageService::Default::No))
            return;
        const Outcome outcome = book_.placeHeld(held, check, platform_.clock.today());
        if (outcome.rowToShow >= 0) {
            List1->scrollTo(book_.dayList().index(outcome.rowToShow));
            List1->setFocus(Qt::OtherFocusReason);
        }
        showOutcome(outcome);
    });
    connect(sidePanel_, &SidePanel::putBackRequested, this,
            [this](int held) { showOutcome(book_.putBack(held)); });
    connect(&book_, &AppointmentBook::heldChanged, this, &MainWindow::showHeld);
    // The first reading of the bookings held opens every book: beside the window.
    auto *heldReads = new ReadRequests(reads_, this); // the window's child, read once
    heldReads->start<std::optional<QVector<HeldBooking>>>(
        [](BookStorage &storage, const ReadProgress &) -> std::optional<QVector<HeldBooking>> {
            QVector<HeldBooking> held;
            QString error; // an unread list is read again as the books change
            if (!storage.readHeld(&held, &error))
                return std::nullopt;
            return held;
        },
        [this, readsBefore = book_.heldReads()](const std::optional<QVector<HeldBooking>> &held) {
            if (held)
                book_.takeHeld(*held, readsBefore);
        });
    connect(sidePanel_, &SidePanel::waitingListRequested, this, [this] { openWaitingList(false); });
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W), this, this,
                  [this] { openWaitingList(false); });
    connect(sidePanel_, &SidePanel::findRequested, this, &MainWindow::openFind);
    connect(sidePanel_, &SidePanel::firstFreeRequested, this, &MainWindow::openFirstFree);
    connect(sidePanel_, &SidePanel::confirmationsRequested, this, &MainWindow::openConfirmations);
    connect(sidePanel_, &SidePanel::historyRequested, this, &MainWindow::showHistory);
    connect(sidePanel_, &SidePanel::statusChosen, this, [this](BookingStatus status) {
        if (const auto scope = askScope(book_.selectedSeries(), statusCaption(status)))
            showOutcome(book_.setStatus(status, *scope));
    });
    connect(sidePanel_, &SidePanel::seriesRequested, this, &MainWindow::openSeries);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B), this, this, &MainWindow::openSeries);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), this, this, &MainWindow::openPatient);
    new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J), this, this, &MainWindow::openReview);
    seriesEndingReads_ = new ReadRequests(reads_, this);
    connect(&book_, &AppointmentBook::booksChanged, this, &MainWindow::showSeriesEnding);
    QTimer::singleShot(0, this, &MainWindow::showSeriesEnding);
    addActions(sidePanel_->statusMenu()->actions()); // their keys work with the panel hidden too
    connect(sidePanel_->statusMenu(), &QMenu::aboutToShow, this, &MainWindow::markSelectedStatus);
    // A right click on a booked row: its status and its history.
    List1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(List1, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (!book_.entry().buttons().remove)
            return;
        markSelectedStatus();
        QMenu menu(this);
        menu.addActions(sidePanel_->statusMenu()->actions());
        menu.addSeparator();
        menu.addAction(QCoreApplication::translate("MainWindow", "History..."), this,
                       &MainWindow::showHistory);
        menu.addAction(QCoreApplication::translate("MainWindow", "Mo&ve"), this,
                       [this] { showOutcome(book_.holdSelected()); });
        menu.addAction(QCoreApplication::translate("MainWindow", "Wants an &earlier time..."), this,
                       [this] { openWaitingList(true); });
        menu.addAction(tr("The &patient's record..."), this, &MainWindow::openPatient);
        menu.exec(List1->viewport()->mapToGlobal(at));
    });
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
}

void MainWindow::openPatient()
{
    QString whyNot;
    const std::optional<ListedRow> listed = selectedBooking(book_, &whyNot);
    if (!listed) {
        showOutcome(said(whyNot));
        return;
    }
    if (!patient_)
        patient_ = new PatientWindow(platform_, storage_, this);
    patient_->openOfListed(*listed, book_.doctorNames());
}

void MainWindow::openPatientOf(const FoundBooking &booking)
{
    if (!patient_)
        patient_ = new PatientWindow(platform_, storage_, this);
    patient_->openOfBooking(booking.slot, booking.booking.id, book_.doctorNames());
}

void MainWindow::openReview()
{
    if (!review_)
        review_ = new ReviewWindow(platform_, storage_, reads_, this);
    review_->open(book_.doctorNames());
}

void MainWindow::openSeries()
{
    if (book_.activeSlot() == 0 || trimBlanks(book_.entry().text(NameField)).isEmpty()) {
        platform_.messages.inform(this,
                                  tr("Choose the doctor and the date of the first session, and type the "
                                     "patient's name and time, then repeat it by week."));
        return;
    }
    if (!series_) {
        series_ = new SeriesWindow(platform_, book_, this);
        connect(series_, &SeriesWindow::booked, this, &MainWindow::showOutcome);
    }
    series_->open();
}

std::optional<SeriesScope> MainWindow::askScope(SeriesPlace place, const QString &action)
{
    if (place.series == 0)
        return SeriesScope::ThisOne;
    const int chosen = platform_.messages.choose(
        this,
        tr("%1: this appointment is session %2 of a weekly series. Which sessions?")
            .arg(QString(action).remove(QLatin1Char('&')), sessionText(place)),
        {tr("&This one"), tr("This and the &following"), tr("The &whole series"), tr("&Cancel")});
    switch (chosen) {
    case 0:
        return SeriesScope::ThisOne;
    case 1:
        return SeriesScope::ThisAndFollowing;
    case 2:
        return SeriesScope::Whole;
    default:
        return std::nullopt;
    }
}

void MainWindow::showSeriesEnding()
{
    const QDate today = platform_.clock.today();
    seriesEndingReads_->start<std::optional<QVector<SeriesEnding>>>(
        [today](BookStorage &storage, const ReadProgress &) -> std::optional<QVector<SeriesEnding>> {
            QVector<FoundBooking> fromToday;
            QString error; // an unread list is read again as the books change
            if (!storage.readSeriesEnding(today, &fromToday, &error))
                return std::nullopt;
            return seriesEnding(fromToday);
        },
        [this](const std::optional<QVector<SeriesEnding>> &ending) {
            if (!ending)
                return;
            QStringList lines;
            for (const SeriesEnding &series : *ending)
                lines << tr("%1 (%2): %n left, last %3", nullptr, series.left)
                             .arg(series.name, doctorCalled(book_.doctorNames(), series.slot),
                                  QLocale().toString(series.last, QLocale::ShortFormat));
            sidePanel_->setSeriesEnding(lines);
        });
}

void MainWindow::openSqueezeLimits()
{
    if (!squeezeLimits_) {
        squeezeLimits_ = new SqueezeLimitsWindow(platform_, storage_, this);
        connect(squeezeLimits_, &SqueezeLimitsWindow::saved, &book_, &AppointmentBook::storedElsewhere);
    }
    squeezeLimits_->open(book_.doctorNames());
}

WaitingListWindow *MainWindow::waitingList()
{
    if (!waitingList_) {
        waitingList_ = new WaitingListWindow(platform_, storage_,
                                             pdfFolder_.filePath(QStringLiteral("velmora.ini")), this);
        connect(waitingList_, &WaitingListWindow::booked, &book_, &AppointmentBook::storedElsewhere);
        waitingList_->findPatientsWith(
            [this](const WaitingEntry &entry) { return book_.patientBookedAs(entry.name, entry.phone); });
    }
    return waitingList_;
}

void MainWindow::openWaitingList(bool fromSelected)
{
    // From a booking: its patient, doctor and phones, wanting a time before it.
    WaitingEntry prefill;
    QString whyNot;
    if (fromSelected) {
        const std::optional<ListedRow> selected = selectedBooking(book_, &whyNot);
        if (!selected) {
            platform_.messages.inform(this, whyNot);
            return;
        }
        // The fields hold the selected booking as stored.
        prefill.name = book_.entry().text(NameField);
        prefill.plan = book_.entry().text(PlanField);
        prefill.phone = book_.entry().text(PhonesField);
        prefill.slot = book_.activeSlot();
        prefill.to = book_.currentDate().addDays(-1);
    }
    waitingList()->open(book_.doctorNames(), prefill);
}

void MainWindow::showHeld()
{
    QStringList lines;
    const QLocale locale;
    for (const HeldBooking &held : book_.held())
        lines << QStringLiteral("%1 %2  %3 (%4)")
                     .arg(locale.toString(held.booking.date, QLocale::ShortFormat),
                          held.booking.hora.trimmed(), held.booking.nome.trimmed(),
                          doctorCalled(book_.doctorNames(), held.slot));
    sidePanel_->setHeld(lines);
}

void MainWindow::markSelectedStatus()
{
    const int row = book_.selectedRow();
    markStatus(sidePanel_->statusMenu(), book_.entry().buttons().remove && row >= 0
                                             ? std::optional<BookingStatus>(book_.dayList().statusAt(row))
                                             : std::nullopt);
}

void MainWindow::openConfirmations()
{
    if (!confirmations_) {
        confirmations_ =
            new ConfirmationWindow(platform_, storage_, reads_,
                                   pdfFolder_.filePath(QStringLiteral("velmora.ini")), pdfFolder_, this);
        connect(confirmations_, &ConfirmationWindow::statusSet, &book_, &AppointmentBook::storedElsewhere);
        connect(confirmations_, &ConfirmationWindow::patientRequested, this, &MainWindow::openPatientOf);
        confirmations_->askAnswersOf([this](qint64 patient) { return book_.messageAnswerOf(patient); });
    }
    confirmations_->open();
}

void MainWindow::openMonth()
{
    if (!month_)
        month_ = new MonthWindow(platform_, reads_, pdfFolder_, this);
    month_->open(book_.doctorNames());
}

void MainWindow::openClinicDay()
{
    if (!clinicDay_) {
        clinicDay_ = new ClinicDayWindow(platform_, reads_, pdfFolder_, this);
        connect(&book_, &AppointmentBook::booksChanged, clinicDay_, &ClinicDayWindow::storedElsewhere);
        connect(clinicDay_, &ClinicDayWindow::chosen, this, &MainWindow::bringUp);
        // The booking brought up in the day list, and its patient's record opened on it.
        connect(clinicDay_, &ClinicDayWindow::patientRequested, this, [this](const BookPlace &place) {
            bringUp(place);
            if (book_.entry().buttons().remove)
                openPatient();
        });
    }
    clinicDay_->open(book_.activeSlot() != 0 ? book_.currentDate() : platform_.clock.today(),
                     book_.activeSlot());
}

void MainWindow::bringUp(const BookPlace &place)
{
    Combo1->setShownText(book_.doctorNames().value(place.slot - 1));
    const Outcome went = book_.goTo(place);
    raise();
    activateWindow();
    // A free time is in its field, the name comes next; a booking is selected in the list.
    if (book_.entry().text(NameField).isEmpty())
        entryBoxes_[NameField]->setFocus(Qt::OtherFocusReason);
    else
        List1->setFocus(Qt::OtherFocusReason);
    showOutcome(went);
}

void MainWindow::openCalendar(bool atReschedule)
{
    if (!calendar_) {
        calendar_ = new CalendarWindow(platform_, storage_, reads_, this);
        connect(&book_, &AppointmentBook::booksChanged, calendar_, &CalendarWindow::storedElsewhere);
        connect(calendar_, &CalendarWindow::chosen, this, &MainWindow::bringUp);
        // What the calendar closes shows at once in the day list, the board and the count.
        connect(calendar_, &CalendarWindow::calendarSaved, this, [this] {
            book_.storedElsewhere(StoredElsewhere{});
            countToReschedule();
        });
    }
    calendar_->open(book_.doctorNames(), atReschedule);
    countToReschedule();
}

void MainWindow::countToReschedule()
{
    const QDate today = platform_.clock.today();
    rescheduleReads_->start<std::optional<int>>(
        [today](BookStorage &storage, const ReadProgress &progress) {
            return velmora::countToReschedule(storage, today, progress);
        },
        [this](const std::optional<int> &count) {
            if (count)
                sidePanel_->setToReschedule(*count);
        });
}

void MainWindow::showHistory()
{
    QString whyNot;
    const std::optional<ListedRow> listed = selectedBooking(book_, &whyNot);
    if (!listed) {
        showOutcome(said(whyNot));
        return;
    }
    dayReads_->start<BookingHistory>(
        [listed = *listed](BookStorage &storage, const ReadProgress &) {
            return readBookingHistory(storage, listed);
        },
        [this, slot = listed->slot, date = listed->date](const BookingHistory &history) {
            if (history.dayChanged)
                book_.storedElsewhere({slot, date, false});
            if (!history.read) {
                showOutcome(said(history.message));
                return;
            }
            QStringList described;
            for (const HistoryEntry &entry : history.entries)
                described << describedEntry(entry);
            platform_.messages.inform(
                this,
                described.isEmpty()
                    ? QCoreApplication::translate("MainWindow", "This appointment has no history: it was "
                                                                "booked before the program kept one.")
                    : QCoreApplication::translate("MainWindow", "History of the appointment:\n\n%1")
                          .arg(described.join(QStringLiteral("\n"))));
        });
}

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (fileProblems_.isEmpty())
        return;
    const QStringList problems = std::exchange(fileProblems_, {});
    // Said once the window is on the screen, so that the user sees which program speaks.
    QTimer::singleShot(0, this, [this, problems] {
        platform_.messages.inform(this, QCoreApplication::translate(
                                            "MainWindow", "Some of the program's files cannot be used:\n\n%1")
                                            .arg(problems.join(QLatin1Char('\n'))));
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closing the window ends the program, as Quit does.
    event->accept();
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonRelease) {
        platform_.browser.open(QUrl(QString::fromLatin1(kHomePage)));
        return true;
    }
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Only a move to another control counts as leaving the field, not another window coming up.
        for (int i = 0; i < kEntryFieldCount; ++i)
            if (watched == entryBoxes_[i] && reason != Qt::ActiveWindowFocusReason &&
                reason != Qt::PopupFocusReason)
                book_.entry().leave(static_cast<EntryField>(i));
    }
    return QWidget::eventFilter(watched, event);
}

void MainWindow::Timer1_Timer()
{
    Timer1->setInterval(100); // after the first try, which comes as soon as the window is up
    // A locked file is not waited for here: the window stays responsive and the next tick tries again.
    const AppointmentBook::DoctorNames names = book_.readDoctorNames();
    if (!names.complete)
        return;
    Timer1->stop();
    Q_EMIT doctorListFilled();
}

void MainWindow::Timer2_Timer()
{
    lab_hora->setText(clockText(platform_.clock.now()));
    // A desk that does not hear the others says so, as its list may miss their bookings.
    const QString deaf = QStringLiteral(" \u2013 ") +
                         QCoreApplication::translate("MainWindow", "not hearing the other desks: each Add "
                                                                   "reads the day again first");
    QString title = windowTitle();
    if (book_.hearsOtherDesks())
        title.remove(deaf);
    else if (!title.contains(deaf))
        title += deaf;
    setWindowTitle(title);
}

void MainWindow::fillDoctorNames()
{
    // Names saved at another desk arrive while a doctor is chosen: the box keeps showing that doctor.
    const int slot = book_.activeSlot();
    const QStringList &names = book_.doctorNames();
    firstStartHint_->setVisible(names.size() == kDoctorSlotCount &&
                                std::all_of(names.cbegin(), names.cend(),
                                            [](const QString &name) { return trimBlanks(name).isEmpty(); }));
    Combo1->setNames(book_.doctorNames(), slot != 0
                                              ? book_.doctorNames().value(slot - 1)
                                              : QCoreApplication::translate("MainWindow", kChooseDoctor));
}

void MainWindow::showOutcome(const Outcome &outcome)
{
    for (const QString &message : outcome.messages) {
        qCWarning(logBook).noquote() << message; // the book's messages name no patient
        platform_.messages.inform(this, message);
    }
    // A time freed is offered at once to whoever on the waiting list wants it.
    if (outcome.done && outcome.freed.slot != 0)
        waitingList()->offer(book_.doctorNames(), outcome.freed);
}

void MainWindow::showDate()
{
    lab_dat->setText(longDate(book_.currentDate()));
    lab_dat->adjustSize();
}

void MainWindow::showButtons()
{
    cmd_inc->setEnabled(book_.entry().buttons().add);
    cmd_alt->setEnabled(book_.entry().buttons().change);
    cmd_exc->setEnabled(book_.entry().buttons().remove);
}

void MainWindow::clearListSelection()
{
    ProgramListChange change(listChangedByProgram_);
    List1->setCurrentIndex({});
    List1->clearSelection();
}

void MainWindow::readPatients()
{
    patientReads_->start<std::shared_ptr<ReadPatients>>(
        [](BookStorage &storage, const ReadProgress &) {
            return std::make_shared<ReadPatients>(velmora::readPatients(storage));
        },
        [this](const std::shared_ptr<ReadPatients> &read) {
            book_.takePatients(std::move(*read));
            // What was typed meanwhile is suggested now.
            if (book_.patientsCurrent() && entryBoxes_[NameField]->hasFocus())
                suggestPatients(entryBoxes_[NameField]->text());
        });
}

void MainWindow::suggestPatients(const QString &typed)
{
    if (!book_.patientsCurrent()) {
        readPatients();
        return;
    }
    suggestedPatients_ = book_.patientSuggestions(typed);
    QStringList lines;
    for (const Patient &patient : std::as_const(suggestedPatients_))
        lines << patientSummary(patient);
    static_cast<QStringListModel *>(patientList_->model())->setStringList(lines);
    if (lines.isEmpty()) {
        patientList_->popup()->hide();
        return;
    }
    {
        // As wide as its lines need, from the field's left edge.
        QRect under = entryBoxes_[NameField]->rect();
        QAbstractItemView *list = patientList_->popup();
        under.setWidth(std::max(under.width(), list->sizeHintForColumn(0) + 2 * list->frameWidth() +
                                                   list->verticalScrollBar()->sizeHint().width()));
        patientList_->complete(under);
    }
}

void MainWindow::enterPressedIn(EntryField field)
{
    if (field + 1 < kEntryFieldCount)
        entryBoxes_[field + 1]->setFocus(Qt::TabFocusReason);
    else
        cmd_inc_Click();
}

void MainWindow::cmd_inc_Click()
{
    AddCheck check = book_.checkAdd();
    // The plan and phones another patient's booking left in the fields are never stored on the next
    // patient unseen: No clears them.
    if (check.otherPatientsDetails &&
        !platform_.messages.ask(this,
                                tr("The health plan and phones are still those of the previous booking. Keep "
                                   "them for %1?")
                                    .arg(book_.entry().text(NameField).trimmed()),
                                tr("Keep them"), tr("Clear them"), MessageService::Default::No)) {
        for (const EntryField field : {PlanField, PhonesField})
            entryBoxes_[field]->clear();
        check = book_.checkAdd(); // the patient it may be, without them
    }
    // A name typed that may be a patient already recorded is asked about before a record is made again.
    if (!check.lookalikes.isEmpty()) {
        QStringList choices;
        QStringList lines;
        const int shown = std::min<int>(3, static_cast<int>(check.lookalikes.size()));
        for (int i = 0; i < shown; ++i) {
            lines << patientSummary(check.lookalikes.at(i));
            choices << tr("Book for %1").arg(check.lookalikes.at(i).fullName);
        }
        choices << tr("A new patient") << tr("Do not book");
        const int chosen = platform_.messages.choose(
            this,
            tr("%1 may be a patient already recorded:\n%2\nWho is it?")
                .arg(book_.entry().text(NameField).trimmed(), lines.join(QLatin1Char('\n'))),
            choices);
        if (chosen == choices.size() - 1 || chosen < 0)
            return;
        if (chosen < shown)
            check.patient = check.lookalikes.at(chosen).id;
    }
    // So is a health plan card that ends before the day booked.
    if (!check.cardEnded.isEmpty() &&
        !platform_.messages.ask(this, tr("%1 Book all the same?").arg(check.cardEnded), tr("Book"),
                                tr("Do not book"), MessageService::Default::No))
        return;
    // A time typed in another form than the list's ("8:00" for 08:00) is asked about: stored as typed it
    // would be a time of its own, listed apart.
    if (!check.listedTime.isEmpty()) {
        if (!platform_.messages.ask(this,
                                    tr("%1 is %2 in the list. Book it at %2?")
                                        .arg(book_.entry().text(TimeField).trimmed(), check.listedTime),
                                    tr("Book at %1").arg(check.listedTime), tr("Do not book"),
                                    MessageService::Default::No))
            return;
        book_.entry().type(TimeField, check.listedTime);
        entryBoxes_[TimeField]->setText(check.listedTime);
    }
    // A time the calendar closes is booked only when the receptionist says so.
    if (!check.closedReason.isEmpty() &&
        !platform_.messages.ask(this,
                                tr("%1 is closed that day (%2). Book it all the same?")
                                    .arg(book_.entry().text(TimeField).trimmed(), check.closedReason),
                                tr("Book"), tr("Do not book"), MessageService::Default::No))
        return;
    // So is a squeeze-in past the doctor's daily limit.
    if (!check.squeezeInQuestion.isEmpty() &&
        !platform_.messages.ask(this, check.squeezeInQuestion, tr("Book"), tr("Do not book"),
                                MessageService::Default::No))
        return;
    const Outcome outcome = book_.add(check);
    if (outcome.rowToShow >= 0)
        List1->scrollTo(book_.dayList().index(outcome.rowToShow)); // the new row in sight, where it was put
    showOutcome(outcome);
}

void MainWindow::cmd_imp_Click()
{
    if (const std::optional<Printout> printout = dayPrintout(book_))
        printOrSavePdf(platform_, this, *printout, pdfFolder_);
}

void MainWindow::openFind()
{
    if (!find_) {
        find_ = new FindWindow(platform_, reads_, this);
        connect(find_, &FindWindow::reviewRequested, this, &MainWindow::openReview);
        connect(find_, &FindWindow::patientRequested, this, &MainWindow::openPatientOf);
        connect(find_, &FindWindow::chosen, this, [this](const FoundBooking &found) {
            Combo1->setShownText(book_.doctorNames().value(found.slot - 1));
            const Outcome outcome = book_.goTo(placeOf(found));
            find_->hide();
            activateWindow();
            List1->setFocus(Qt::OtherFocusReason);
            showOutcome(outcome);
        });
    }
    find_->open();
}

void MainWindow::openFirstFree()
{
    const FirstFreeSearch search = firstFreeSearch(book_, platform_.clock.today(), platform_.clock.now());
    dayReads_->start<FirstFreeTimes>(
        [search](BookStorage &storage, const ReadProgress &) { return readFirstFreeTimes(storage, search); },
        [this, search](const FirstFreeTimes &times) {
            if (!times.message.isEmpty()) {
                showOutcome(said(times.message));
                return;
            }
            if (!firstFree_) {
                firstFree_ = new FirstFreeWindow(this);
                connect(firstFree_, &FirstFreeWindow::chosen, this, [this](const FirstFree &free) {
                    const Outcome went = book_.goTo(placeOf(book_.activeSlot(), free));
                    firstFree_->hide();
                    activateWindow();
                    entryBoxes_[NameField]->setFocus(Qt::OtherFocusReason); // the time is in; the name next
                    showOutcome(went);
                });
            }
            firstFree_->open(book_.doctorNames().value(search.slot - 1), times.found);
        });
}

void MainWindow::showAfterSetup()
{
    book_.chooseDoctor(0);
    Timer1->start(); // the names as saved, read again until they can be
    Timer1_Timer();
    Combo1->setShownText(QCoreApplication::translate("MainWindow", kChooseDoctor));
    showMaximized();
}

} // namespace velmora
