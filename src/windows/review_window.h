#pragma once

#include "core/patients/booking_review.h"
#include "core/patients/patient_records.h"
#include "windows/platform.h"
#include "windows/reading_bar.h"

#include <QWidget>

class QLabel;
class QTreeWidget;

namespace velmora {

// The bookings of the ten books that belong to no patient yet, read beside the window and grouped
// into suggested patients: the receptionist splits and joins the groups, and only those accepted
// become patients. A "maybe" (the same name with other phones) is never joined by itself.
class ReviewWindow : public QWidget
{
    Q_OBJECT

public:
    ReviewWindow(const Platform &platform, BookStorage &storage, BackgroundReads &reads,
                 QWidget *parent = nullptr);
    // Shown, the books read and grouped afresh.
    void open(const QStringList &doctorNames);

private:
    void showGroups();
    // The groups chosen, or those of the bookings chosen; the bookings chosen within one group.
    QVector<int> chosenGroups() const;
    void accept();
    void split();
    void join();

    Platform platform_;
    BookStorage &storage_;
    PatientRecords records_;
    ReadingBar *reading_ = nullptr;
    QTreeWidget *groups_ = nullptr;
    QLabel *summary_ = nullptr;
    QStringList doctorNames_;
    QVector<ReviewGroup> review_;
};

} // namespace velmora
