#pragma once

#include "core/desk/day_list_procedures.h"
#include "core/desk/entry_fields.h"
#include "core/model/outcome.h"
#include "core/storage/book_storage.h"
#include "core/text/date_steps.h"

#include <QObject>
#include <QStringList>

#include <optional>

namespace velmora {

// The day the desk works on, without any window: the chosen doctor and the date, the day list as
// stored, the entry fields, the selected row and the bookings held to be moved. It follows what other
// desks store; what the receptionist does to it are the appointment book's commands.
class DayDocument : public QObject
{
    Q_OBJECT

public:
    DayDocument(BookStorage &storage, QDate today, QObject *parent = nullptr);
    ~DayDocument() override;

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

    // The selected booking's place in its series (series 0: of none), as last read.
    SeriesPlace selectedSeries() const;
    // The held booking's place in its series, read from its day; series 0 when of none.
    SeriesPlace heldSeries(int index);
    // The doctor and date of the place listed with its row selected and its fields filled, as if the
    // receptionist had chosen them and clicked it.
    Outcome goTo(const BookPlace &place);

    // The bookings held to be moved, as last read, oldest first.
    const QVector<HeldBooking> &held() const { return held_; }
    bool readHeld(QString *error);
    // The list read elsewhere (beside the window), taken unless it was read here since that read began,
    // as heldReads() then counted.
    quint64 heldReads() const { return heldReads_; }
    void takeHeld(const QVector<HeldBooking> &held, quint64 readsBefore);

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
    // A patient made or changed, or bookings given their patients, at another desk.
    void patientsChanged();
    void heldChanged();

protected:
    // Tells the views that the rows about to move are moved by the book, not picked by the user.
    class ListChange
    {
    public:
        explicit ListChange(DayDocument &day) : day_(day) { Q_EMIT day_.listChanging(true); }
        ~ListChange() { Q_EMIT day_.listChanging(false); }
        ListChange(const ListChange &) = delete;
        ListChange &operator=(const ListChange &) = delete;

    private:
        DayDocument &day_;
    };

    // The held list read again when a booking written here is among those held.
    void followHeld(const QVector<qint64> &written);
    // The date listed and that row selected, as if clicked; false, with outcome not done, when the
    // day holds no such row.
    bool showDateWithRow(QDate date, const QString &row, Outcome &outcome);
    // The day listed afresh from these bookings, the selected row kept where it still is.
    void listKeepingSelection(const QVector<Appointment> &bookings);
    void rebuildDayList(Outcome &outcome);
    void reportStorageFailure(Outcome &outcome, const QString &what, const QString &reason);
    // Said, and the list shows what is stored; the fields keep what they hold.
    void reportNothingMatched(Outcome &outcome, const char *what);
    // A booking row with a name is selected: there is something to change or remove.
    bool bookingSelected() const;
    void selectNone();
    void setSelectedRow(int row);
    // The day read and listed afresh; the selected row, when still listed, stays selected and the
    // fields and buttons as they are. False, with the list unchanged, when the day cannot be read.
    bool listDayAgainKeepingSelection(QString *error);

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

private:
    bool loadDoctor(int slot, QString *error);
    void leaveDoctor();
    // The free rows of the day with its bookings merged in, into an empty list.
    void showDay(const QVector<Appointment> &bookings);
    void clearDayList();
    // dayToo: the day may have changed as well, and is read again.
    void followDoctorsSavedElsewhere(bool dayToo);
};

} // namespace velmora
