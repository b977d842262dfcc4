#pragma once

#include "core/model/booking_state.h"

#include <QFrame>

class QListWidget;
class QMenu;
class QPushButton;

namespace velmora {

// Beside the day list when the window has room for it: the buttons for what reception asks besides
// booking (find a patient, the earliest free times, the confirmations, a booking's status and history, the
// month in numbers)
// and the legend of the status marks. None takes a stop in the Tab cycle: each has its access key.
class SidePanel : public QFrame
{
    Q_OBJECT

public:
    explicit SidePanel(QWidget *parent = nullptr);

    // The statuses with their marks and keys (Ctrl+1 to Ctrl+6), for the day list's own menu too.
    QMenu *statusMenu() const { return statuses_; }
    // How many bookings fall on closed days and times, in the button's caption.
    void setToReschedule(int count);
    // The bookings held to be moved, one line each, oldest first.
    void setHeld(const QStringList &lines);
    // The weekly series with few sessions left, one line each, the soonest to end first.
    void setSeriesEnding(const QStringList &lines);

Q_SIGNALS:
    void findRequested();
    void firstFreeRequested();
    void confirmationsRequested();
    void statusChosen(velmora::BookingStatus status);
    void historyRequested();
    void monthRequested();
    void clinicDayRequested();
    void calendarRequested();
    void rescheduleRequested();
    void moveRequested();
    void waitingListRequested();
    void seriesRequested();
    void placeRequested(int held);
    void putBackRequested(int held);

private:
    QMenu *statuses_ = nullptr;
    QPushButton *toReschedule_ = nullptr;
    QListWidget *held_ = nullptr;
    QListWidget *seriesEnding_ = nullptr;
};

} // namespace velmora
