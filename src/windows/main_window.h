#pragma once

#include "core/desk/appointment_book.h"
#include "core/storage/background_reads.h"
#include "windows/doctor_box.h"
#include "windows/find_window.h"
#include "windows/first_free_window.h"
#include "windows/platform.h"
#include "windows/side_panel.h"

#include <QDir>
#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>
#include <utility>
#include <vector>

class QCompleter;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QScrollArea;
class QTimer;

namespace velmora {

// The appointment book window: a view of the book. It lays out the controls, passes the user's
// actions to the book and shows what comes back, in controls and in messages.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // The clinic's calendar, from the side panel or the setup window; atReschedule: on its list of
    // bookings to reschedule.
    void openCalendar(bool atReschedule);
    void openSqueezeLimits();
    // Problems found with the files at start are said once the window is on the screen; a PDF made
    // instead of a printout is offered in pdfFolder.
    // The book is the day's session; the other windows it opens read through reads, and the
    // confirmations set statuses on storage.
    MainWindow(const Platform &platform, AppointmentBook &book, BookStorage &storage, BackgroundReads &reads,
               const QDir &pdfFolder, const QStringList &fileProblems = {}, QWidget *parent = nullptr);

    // Back from the setup window: no doctor chosen, the day list empty, this window shown.
    void showAfterSetup();

Q_SIGNALS:
    // The doctor list holds the ten names read at start.
    void doctorListFilled();
    // "Setup Doctors Details" was pressed.
    void setupRequested();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    // Tab goes round the day's controls, or round the side panel's: F6 moves between the two.
    bool focusNextPrevChild(bool next) override;

private:
    // main_window_layout.cpp: the controls where the layout puts them.
    void buildControls();
    void setTabOrder();
    void switchToOrFromPanel();
    void fitLayoutToWindow();

    void wireControls();
    // The record of the selected booking's patient, with every appointment of the patient.
    void openPatient();
    void openPatientOf(const FoundBooking &booking);
    // The patients the name field's text may be, listed under it (none: the list closed).
    void suggestPatients(const QString &typed);
    void fillDoctorNames();
    void Timer1_Timer();
    void Timer2_Timer();
    void showOutcome(const Outcome &outcome);
    void showDate();
    void showButtons();
    void clearListSelection();
    void cmd_inc_Click();
    void cmd_imp_Click();
    void enterPressedIn(EntryField field);
    void openFind();
    void openFirstFree();
    // The selected booking's status checked in the status menu.
    void markSelectedStatus();
    void showHeld();
    class WaitingListWindow *waitingList();
    // fromSelected: an entry for the selected booking's patient, who wants an earlier time.
    void openWaitingList(bool fromSelected);
    void openSeries();
    // Of a booking of a weekly series, which of its sessions the action reaches; none when cancelled.
    // A booking of none: this one, without asking.
    std::optional<SeriesScope> askScope(SeriesPlace place, const QString &action);
    void showSeriesEnding();
    void openConfirmations();
    void openMonth();
    void openClinicDay();
    // How many bookings fall on closed days, read beside the window; without closures stored, only
    // when asked (openedCalendar).
    void countToReschedule();
    // The place another window chose brought up: its doctor, date and row.
    void bringUp(const BookPlace &place);
    void showHistory();
    // The side panel shown while the window has room for it beside the layout.
    void placeSidePanel();

    Platform platform_;
    AppointmentBook &book_;
    BookStorage &storage_;
    BackgroundReads &reads_;
    ReadRequests *dayReads_ = nullptr; // the history and the earliest free times
    QDir pdfFolder_;
    QStringList fileProblems_;
    bool listChangedByProgram_ = false;

    QSize layoutSize_;
    QScrollArea *scroller_ = nullptr;
    QWidget *canvas_ = nullptr;
    std::vector<std::pair<QWidget *, QRect>> layoutGeometry_; // where the layout puts each control

    QLabel *Image1 = nullptr;
    QLabel *lab_hora = nullptr;
    QLabel *lab_dat = nullptr;
    std::array<QLineEdit *, kEntryFieldCount> entryBoxes_{}; // Text1 (time) to Text5 (notes)
    QPushButton *cmd_inc = nullptr;
    QPushButton *cmd_alt = nullptr;
    QPushButton *cmd_exc = nullptr;
    QPushButton *cmd_imp = nullptr;
    QPushButton *cmd_cad = nullptr;
    QPushButton *cmd_sai = nullptr;
    std::vector<std::pair<QPushButton *, DateStep>> dateButtons_; // Command1 to Command7
    QListView *List1 = nullptr;
    QLabel *firstStartHint_ = nullptr; // in the list's place while no doctor is set up
    QLabel *closedNote_ = nullptr;     // why the calendar closes the day shown
    QGroupBox *Frame1 = nullptr;
    DoctorBox *Combo1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    FindWindow *find_ = nullptr;           // made on its first opening (Ctrl+F)
    FirstFreeWindow *firstFree_ = nullptr; // likewise (Ctrl+Shift+E)
    SidePanel *sidePanel_ = nullptr;
    // The patients the name field's typing may be, listed under it as the receptionist types.
    QCompleter *patientList_ = nullptr;
    ReadRequests *patientReads_ = nullptr; // the patients read beside the window
    void readPatients();
    QVector<Patient> suggestedPatients_;
    QList<QWidget *> dayOrder_;                         // the day's controls in their Tab order
    QPointer<QWidget> dayFocus_;                        // where F6 returns from the panel
    class ConfirmationWindow *confirmations_ = nullptr; // likewise (Ctrl+Shift+C)
    class MonthWindow *month_ = nullptr;                // likewise (Ctrl+Shift+M)
    class WaitingListWindow *waitingList_ = nullptr;
    class PatientWindow *patient_ = nullptr;
    class ReviewWindow *review_ = nullptr;
    void openReview();
    class SeriesWindow *series_ = nullptr;
    ReadRequests *seriesEndingReads_ = nullptr;
    class SqueezeLimitsWindow *squeezeLimits_ = nullptr; // likewise (Ctrl+Shift+W)
    class ClinicDayWindow *clinicDay_ = nullptr;         // likewise (Ctrl+Shift+D)
    class CalendarWindow *calendar_ = nullptr;           // likewise (Ctrl+Shift+L)
    ReadRequests *rescheduleReads_ = nullptr;
};

} // namespace velmora
