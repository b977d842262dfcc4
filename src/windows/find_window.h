#pragma once

#include "core/search/patient_search.h"
#include "core/storage/stored_bookings.h"
#include "windows/platform.h"
#include "windows/reading_bar.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;

namespace velmora {

// "When is my appointment?": a patient's appointments across every doctor and date, found as the
// receptionist types a name or a phone. Enter or a double click on one brings it up in the main window.
class FindWindow : public QWidget
{
    Q_OBJECT

public:
    FindWindow(const Platform &platform, BackgroundReads &reads, QWidget *parent = nullptr);

    // Shown with the text selected, ready for a new name.
    void open();

Q_SIGNALS:
    void chosen(const velmora::FoundBooking &found);
    // The record of the patient of the appointment found; the review of the books' old appointments.
    void patientRequested(const velmora::FoundBooking &found);
    void reviewRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search();
    void showFound(const FoundPatients &result, QDate today);
    void chooseCurrent();

    Platform platform_;
    ReadingBar *reading_ = nullptr;
    bool chooseWhenFound_ = false; // Enter came before the results of what was typed
    QLineEdit *text_ = nullptr;
    QLabel *said_ = nullptr;
    QListWidget *results_ = nullptr;
    QTimer pause_; // results after a short pause in the typing, not at every key
    QVector<FoundBooking> found_;
};

} // namespace velmora
