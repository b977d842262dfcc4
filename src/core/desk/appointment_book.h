#pragma once

#include "core/desk/day_list_procedures.h"
#include "core/desk/entry_fields.h"
#include "core/model/outcome.h"
#include "core/storage/book_storage.h"
#include "core/storage/series_scope.h"
#include "core/text/date_steps.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <optional>

namespace velmora {

struct SeriesOccurrence;
struct SeriesRule;

// The questions an Add asks before storing, each empty (or false) when it has none to ask.
struct AddCheck
{
    bool otherPatientsDetails = false; // the plan and phones are still those of the previous booking
    QString listedTime;        // the time typed stands in the list in this form: booked at it when said so
    QString closedReason;      // the calendar closes the time booked
    QString squeezeInQuestion; // a squeeze-in past the doctor's daily limit
    bool squeezedIn = false;   // the time booked is no free slot of the day as listed
    QString time;              // the time booked that the answers are for
};

// The questions Place it here asks before placing a held booking, for the scope the receptionist chose.
struct PlaceCheck
{
    SeriesScope scope = SeriesScope::ThisOne;
    QString time;              // where it goes: the free row selected, or the time typed
    QString closedReason;      // the calendar closes that time (asked of one booking, not of a series)
    QString squeezeInQuestion; // a squeeze-in past the doctor's daily limit
};

// The day's session at the desk, without any window: the chosen doctor and the date, the day list,
// the entry fields and the selected row, and booking, changing, removing and setting the status of
// the selected booking. Windows show it and pass the user's actions on; the search, the
// confirmations, the month's figures and the setup are services of their own.
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
    DoctorNames readDoctorNames(AllDoctorFields *fields = nullptr);
    const QStringList &doctorNames() const { return names_; }

    // Slot 1 to 10, as picked from the doctor list; the day of the current date is listed. Any other
    // number leaves the doctor: none chosen and the list empty, as after the setup window.
    Outcome chooseDoctor(int slot);
    int activeSlot() const { return activeSlot_; }
    const DoctorSettings &doctorSettings() const { return doctor_; }

    QDate currentDate() const { return currentDate_; }
    Outcome stepDate(DateStep step, QDate today);

    DayListModel &dayList() { return dayList_; }
    const DayListModel &dayList() const { return dayList_; }
    int selectedRow() const { return selectedRow_; }
    // The user selected a row (its fields fill the entry fields) or none.
    void selectRow(int row);
    EntryFields &entry() { return entry_; }
    const EntryFields &entry() const { return entry_; }

    // Whether bookings other desks make are heard now; while they are not, the day is read again before
    // an Add.
    bool hearsOtherDesks() const { return storage_.hearsOtherDesks(); }
    // What an Add asks before it stores, worked out once from the fields and the day listed: the window
    // asks each question in turn and hands the check to add(). add() alone asks nothing.
    AddCheck checkAdd();
    Outcome add(const AddCheck &check);
    Outcome add() { return add(checkAdd()); }
    // Of a booking of a series, the scope says which of its sessions the action reaches, all of them
    // in one transaction.
    Outcome change(SeriesScope scope = SeriesScope::ThisOne);
    Outcome remove(SeriesScope scope = SeriesScope::ThisOne);
    // The selected booking's status set; the row stays selected with its new mark.
    Outcome setStatus(BookingStatus status, SeriesScope scope = SeriesScope::ThisOne);

    // A weekly series for the patient of the entry fields, with the doctor and the first date shown:
    // its sessions, each with what stands in its way (false, with why, when the rule is refused or a
    // day cannot be read), then those not skipped booked in one transaction.
    bool planSeries(const SeriesRule &rule, QDate today, QVector<SeriesOccurrence> *occurrences,
                    QString *message);
    Outcome bookSeries(const QVector<SeriesOccurrence> &occurrences);
    // The selected booking's place in its series (series 0: of none), as last read.
    SeriesPlace selectedSeries() const;
    // The held booking's place in its series, read from its day; series 0 when of none.
    SeriesPlace heldSeries(int index);
    // The doctor and date of the place listed with its row selected and its fields filled, as if the
    // receptionist had chosen them and clicked it.
    Outcome goTo(const BookPlace &place);

    // Moving a booking in two actions: the selected one held (it stays in its place, shown held at
    // every desk, until placed or put back), then placed at the free row selected, or at the time
    // typed, of the doctor and date shown. The bookings held, as last read, oldest first.
    const QVector<HeldBooking> &held() const { return held_; }
    bool readHeld(QString *error);
    // The list read elsewhere (beside the window), taken unless it was read here since that read began,
    // as heldReads() then counted.
    quint64 heldReads() const { return heldReads_; }
    void takeHeld(const QVector<HeldBooking> &held, quint64 readsBefore);
    Outcome holdSelected();
    // Of a series, the sessions the scope reaches go to the same weekday shift and the new time, from
    // today on; only within the same doctor's book.
    // A time the clinic's calendar closes is refused, unless the receptionist said to place it there.
    Outcome placeHeld(int index, SeriesScope scope = SeriesScope::ThisOne, QDate today = QDate(),
                      bool closedAccepted = false);
    PlaceCheck checkPlace(SeriesScope scope);
    // Placed as the receptionist answered the check: at a closed time when it asked about one.
    Outcome placeHeld(int index, const PlaceCheck &check, QDate today)
    {
        return placeHeld(index, check.scope, today, !check.closedReason.isEmpty());
    }
    // The time Place it here would use (the free row selected, or the time typed), empty when none.
    QString timeToPlace() const
    {
        QString unused;
        return placeTime(&unused);
    }
    Outcome putBack(int index);

    // Something was stored outside this session (at another desk, or by another window of this one):
    // the day list shown is listed again when it is concerned, keeping the entry fields and the
    // selected row when it is still there; the doctor list follows setup saves.
    void storedElsewhere(const StoredElsewhere &change);

Q_SIGNALS:
    void doctorNamesChanged();
    void doctorChanged(); // chosen, or none
    void dateChanged();
    void selectionCleared(); // the list changed under the selection, or an action ended it
    // Around every change the book makes to the day list: a view's selection moving meanwhile is
    // not the user's.
    void listChanging(bool changing);
    // The book selected the row again after listing the day afresh.
    void rowReselected(int row);
    // A day of a book, or the doctors, changed: at this desk (an action done) or elsewhere.
    void booksChanged(const velmora::StoredElsewhere &change);
    void heldChanged();

private:
    // The held list read again when a booking written here is among those held.
    void followHeld(const QVector<qint64> &written);
    bool loadDoctor(int slot, QString *error);
    void leaveDoctor();
    // The date listed and that row selected, as if clicked; false, with outcome not done, when the
    // day holds no such row.
    bool showDateWithRow(QDate date, const QString &row, Outcome &outcome);
    // The day listed afresh from these bookings, the selected row kept where it still is.
    void listKeepingSelection(const QVector<Appointment> &bookings);
    // The free rows of the day with its bookings merged in, into an empty list.
    void showDay(const QVector<Appointment> &bookings);
    void rebuildDayList(Outcome &outcome);
    void clearDayList();
    // The time a held booking is placed at: the free row selected, or the time typed; empty, with
    // why in whyNot, when neither.
    QString placeTime(QString *whyNot) const;
    QString squeezeInQuestionAt(const QString &time);
    // Why the calendar closes the time typed on the day shown ("Holiday: Christmas"); empty when open.
    QString closedReasonAt(const QString &time) const;
    // The time the list shows for the time typed in another form ("8:00" for a listed 08:00, free or
    // taken); empty otherwise.
    QString listedFormOfTyped() const;
    void reportStorageFailure(Outcome &outcome, const QString &what, const QString &reason);
    // Said, and the list shows what is stored; the fields keep what they hold.
    void reportNothingMatched(Outcome &outcome, const char *what);
    bool findSelectedBooking(Appointment *found, bool *readOk, Outcome &outcome);
    // The selected booking found as stored and written by write; false, with the outcome saying why
    // (notMatched when it is no longer stored as listed, failed when the write failed), otherwise.
    using SelectedWrite = std::function<WriteOutcome(const Appointment &found, QString *error)>;
    bool writeSelected(const char *notMatched, const char *failed, const SelectedWrite &write,
                       Outcome &outcome);
    // The write of the found booking, or of the sessions of its series the scope reaches (each write
    // made by writeOf) in one transaction; the identities written in written.
    WriteOutcome writeInScope(const Appointment &found, SeriesScope scope,
                              const std::function<BookingWrite(const Appointment &)> &writeOf,
                              QVector<qint64> *written, QString *error);
    Outcome placeSeries(int index, const QString &time, SeriesScope scope, QDate today);
    // A booking row with a name is selected: there is something to change or remove.
    bool bookingSelected() const;
    void selectNone();
    void setSelectedRow(int row);
    // The day read and listed afresh; the selected row, when still listed, stays selected and the
    // fields and buttons as they are. False, with the list unchanged, when the day cannot be read.
    bool listDayAgainKeepingSelection(QString *error);
    // dayToo: the day may have changed as well, and is read again.
    void followDoctorsSavedElsewhere(bool dayToo);

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
    EntryFields entry_;
    QVector<HeldBooking> held_;
    quint64 heldReads_ = 0;
    // The squeeze-ins per day as last read, until the settings are saved somewhere.
    std::optional<SqueezeLimits> squeezeLimits_;
};

} // namespace velmora
