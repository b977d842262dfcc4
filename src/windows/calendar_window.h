#pragma once

#include "core/model/outcome.h"
#include "core/storage/stored_bookings.h"
#include "windows/platform.h"
#include "windows/reading_bar.h"

#include <QWidget>

#include <memory>
#include <optional>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QTableWidget;

namespace velmora {

// The clinic's calendar: its closures, extra days, own holidays and openings listed by date, one added
// or removed in a few keys, the optional days it closes on; and below, every booking a closure or
// holiday falls on, to be rescheduled. Enter on one brings it up in the main window.
class CalendarSetup;
struct CalendarEntry;

class CalendarWindow : public QWidget
{
    Q_OBJECT

public:
    CalendarWindow(const Platform &platform, BookStorage &storage, BackgroundReads &reads,
                   QWidget *parent = nullptr);
    ~CalendarWindow() override;
    // Shown with the named doctors to choose from; atReschedule: on the list of bookings to reschedule.
    void open(const QStringList &doctorNames, bool atReschedule);
    // Something was stored at this desk or another: the lists are read again.
    void storedElsewhere();

Q_SIGNALS:
    void chosen(const velmora::BookPlace &place);
    // The calendar was saved here: what it closes has changed.
    void calendarSaved();

private:
    void showEntries();
    void readToReschedule();
    void addEntry();
    void removeEntry();
    void changeEntry();
    // The entry typed in the form stored, in place of the one replaced when one is.
    void storeTyped(const std::optional<CalendarEntry> &replacing);
    // The selected entry's values in the form, to be changed.
    void showSelected();
    void chooseBooking();
    CalendarEntry typedEntry(bool *hoursRead) const;
    QDateTime now() const;

    Platform platform_;
    std::unique_ptr<CalendarSetup> setup_; // the calendar as read, and the changes made to it
    QVector<CalendarEntry> listed_;
    QVector<FoundBooking> toReschedule_;
    QStringList doctorNames_;
    QTableWidget *entries_ = nullptr;
    QComboBox *kind_ = nullptr;
    QComboBox *doctor_ = nullptr;
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QLineEdit *hours_ = nullptr;
    QLineEdit *reason_ = nullptr;
    QCheckBox *yearly_ = nullptr;
    QCheckBox *carnival_ = nullptr;
    QCheckBox *corpusChristi_ = nullptr;
    QTableWidget *reschedule_ = nullptr;
    ReadingBar *reading_ = nullptr;
};

} // namespace velmora
