#pragma once

#include "core/book_storage.h"
#include "core/confirmation_list.h"
#include "core/date_steps.h"
#include "core/day_list_model.h"
#include "core/day_list_rules.h"
#include "core/first_free.h"
#include "core/month_report.h"
#include "core/printout.h"
#include "core/storage_vocabulary.h"

#include <QObject>
#include <QStringList>

#include <array>
#include <optional>

namespace velmora {

// What one of the receptionist's actions did: whether it was carried out, and what the user must be
// told, one message box each.
struct Outcome
{
    bool done = false;
    QStringList messages;
};

// The five entry fields, as the controls Text1 to Text5 show them.
enum EntryField
{
    TimeField,
    NameField,
    PlanField,
    PhonesField,
    NotesField,
    kEntryFieldCount
};

// The appointment book as the receptionist works it, without any window: the chosen doctor and the
// date, the day list, what the entry fields hold and which buttons they offer, booking, changing and
// removing, the printout, and the doctors' settings. Windows show it and pass the user's actions on.
class AppointmentBook : public QObject
{
    Q_OBJECT

public:
    AppointmentBook(BookStorage &storage, QDate today, QObject *parent = nullptr);
    ~AppointmentBook() override;

    // The doctor list: the names up to the first without value, read without waiting for a lock.
    // complete once all ten were read.
    struct DoctorNames
    {
        bool read = false;
        bool complete = false;
        QStringList names;
    };
    DoctorNames readDoctorNames();
    const QStringList &doctorNames() const { return names_; }

    // Slot 1 to 10, as picked from the doctor list; the day of the current date is listed.
    Outcome chooseDoctor(int slot);
    int activeSlot() const { return activeSlot_; }
    // No doctor chosen and the list empty, as after the setup window.
    void leaveDoctor();
    const DoctorSettings &doctorSettings() const { return doctor_; }

    QDate currentDate() const { return currentDate_; }
    // The date as the window and the printout show it, in the system's language.
    QString longDate() const;
    Outcome stepDate(DateStep step, QDate today);

    DayListModel &dayList() { return dayList_; }
    const DayListModel &dayList() const { return dayList_; }
    int selectedRow() const { return selectedRow_; }
    // The user selected a row (its fields fill the entry fields) or none.
    void selectRow(int row);

    QString field(EntryField field) const { return fields_[field]; }
    // What the user typed into a field.
    void setField(EntryField field, const QString &text);
    // Names are capitalised when the user leaves their field.
    void leaveField(EntryField field);
    bool canAdd() const { return canAdd_; }
    bool canChange() const { return canChange_; }
    bool canRemove() const { return canRemove_; }
    const BookingRecord &currentBooking() const { return current_; }

    // Whether bookings other desks make are heard now; while they are not, the day is read again before
    // an Add.
    bool hearsOtherDesks() const { return storage_.hearsOtherDesks(); }
    Outcome add();
    // The list row of the last booking added, to bring it into sight; -1 when none.
    int addedRow() const { return addedRow_; }
    Outcome change();
    Outcome remove();
    // The selected booking's status set; the row stays selected with its new mark.
    Outcome setStatus(BookingStatus status);
    // What was done to the selected booking, oldest first.
    Outcome history(QVector<HistoryEntry> *entries);

    // The confirmation list: the bookings of from..to of one doctor (slot) or all (0), only those to
    // confirm when asked, sorted by date, time and doctor.
    bool readConfirmations(QDate from, QDate to, int slot, bool toConfirmOnly, QVector<ConfirmationRow> *rows,
                           QString *error);
    // A listed booking's status set from the confirmation list; the day list follows when it shows
    // that day.
    Outcome setStatusOf(const ConfirmationRow &row, BookingStatus status);
    // The figures of a period for one doctor (slot) or all (0).
    bool monthReport(QDate from, QDate to, int slot, MonthReport *report, QString *error);
    // Whether any doctor has hours on each weekday, Monday first; none when they cannot be read.
    std::array<bool, 7> weekdaysWorked();

    // The day list as printed, or nothing while no doctor is chosen.
    std::optional<Printout> printout() const;

    // Every booking the typed text finds, all doctors and dates, upcoming (from today) first; nothing is
    // searched for a text too short, which query tells.
    bool findPatients(const QString &typed, QDate today, PatientQuery *query, QVector<FoundBooking> *found,
                      QString *error);
    // The doctor and date of a booking found, listed with its row selected and its fields filled, as if
    // the receptionist had chosen them and clicked it.
    Outcome goTo(const FoundBooking &found);

    // "What is the earliest you have?": the chosen doctor's first free slot of each of the next ten days
    // that have one, from the date shown but never before now (today, the times already past are not
    // offered); said when there is no doctor, no weekly hours, or no free time within a year.
    Outcome firstFreeSlots(QVector<FirstFree> *found, QDate today, QTime now);
    // That date listed with that free row selected and the time in its field, ready for Add.
    Outcome goToFree(const FirstFree &free);

    // The setup window's record, as read when the window opens.
    bool readSetup(AllDoctorFields *fields, QString *error);
    enum class SetupSave
    {
        Saved,
        SavedElsewhere, // another desk saved since readSetup: nothing written, ask before overwriting
        Failed
    };
    // Saves names, links and slot lengths; the doctor list follows and no doctor is chosen.
    SetupSave saveSetup(const AllDoctorChanges &changes, QString *error, bool overwriteOtherSave = false);
    bool readWeeklyTimes(int slot, WeeklyTimes *times, QString *error);
    bool saveWeeklyTimes(int slot, const WeeklyTimes &times, QString *error);

    // Another desk stored something: the day list shown is listed again when it is concerned, keeping
    // the entry fields and the selected row when it is still there; the doctor list follows setup saves.
    void storedElsewhere(const StoredElsewhere &change);

Q_SIGNALS:
    void doctorNamesChanged();
    void doctorChanged(); // chosen, or none
    void dateChanged();
    void fieldChanged(velmora::EntryField field); // set by the book, not typed
    void buttonsChanged();
    void selectionCleared(); // the list changed under the selection, or an action ended it
    // Around every change the book makes to the day list: a view's selection moving meanwhile is
    // not the user's.
    void listChanging(bool changing);
    // The book selected the row again after listing the day afresh.
    void rowReselected(int row);

private:
    bool loadDoctor(int slot, QString *error);
    void applyDoctor(const DoctorFields &doctor, const WeeklyTimes &times);
    // The date listed and that row selected, as if clicked; false, with outcome not done, when the
    // day holds no such row.
    bool showDateWithRow(QDate date, const QString &row, Outcome &outcome);
    DoctorNames readDoctorNames(AllDoctorFields *fields);
    // The day listed afresh from these bookings, the selected row kept where it still is.
    void listKeepingSelection(const QVector<Appointment> &bookings);
    bool rebuildDayList(QString *error);
    // The free rows of the day with its bookings merged in, into an empty list.
    void showDay(const QVector<Appointment> &bookings);
    void rebuildDayList(Outcome &outcome);
    void clearDayList();
    void reportStorageFailure(Outcome &outcome, const QString &what, const QString &reason);
    // Said, and the list shows what is stored; the fields keep what they hold.
    void reportNothingMatched(Outcome &outcome, const char *what);
    bool reloadSlotLengthAndLink(QString *error);
    bool findSelectedBooking(Appointment *found, bool *readOk, Outcome &outcome);
    // The selected booking as stored; false, with the outcome saying why (notMatched when it is no
    // longer stored as listed), otherwise.
    bool selectedAsStored(Appointment *found, Outcome &outcome, const char *notMatched);
    // A booking row with a name is selected: there is something to change or remove.
    bool bookingSelected() const;
    void selectNone();
    void setFieldByProgram(EntryField field, const QString &text);
    void fieldEdited(EntryField field);
    void setButtons(bool add, bool change, bool remove);
    Appointment bookingFromFields() const;
    // The day read and listed afresh; the selected row, when still listed, stays selected and the
    // fields and buttons as they are. False, with the list unchanged, when the day cannot be read.
    bool listDayAgainKeepingSelection(QString *error);
    // dayToo: the day may have changed as well, and is read again.
    void followDoctorsSavedElsewhere(bool dayToo);
    QString doctorCalled(int slot) const;

    BookStorage &storage_;
    QStringList names_;
    int activeSlot_ = 0;
    DoctorSettings doctor_;
    QDate currentDate_;
    DayListModel dayList_;
    // The day's bookings as last read, with the ones added since; none while the list is empty
    // because the day could not be read.
    std::optional<QVector<Appointment>> dayBookings_;
    int selectedRow_ = -1;
    int addedRow_ = -1;
    std::array<QString, kEntryFieldCount> fields_;
    // The fields as the selection of a booked row filled them: what still reads so was not edited.
    std::array<QString, kEntryFieldCount> selectedFields_;
    BookingRecord current_;
    BookingRecord rowBuffer_;
    bool canAdd_ = true;
    bool canChange_ = false;
    bool canRemove_ = false;
    std::optional<AllDoctorFields> setupAsRead_;
};

} // namespace velmora
