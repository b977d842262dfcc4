#pragma once

#include "core/desk/appointment_book.h"
#include "core/schedule/weekly_series.h"
#include "windows/platform.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace velmora {

// A weekly series for the patient of the entry fields, with the doctor shown, from the date shown:
// every so many weeks, on the weekdays ticked at their times, a number of sessions or until a date.
// The sessions are listed with what stands in the way of each and what to do about it, and booked in
// one action.
class SeriesWindow : public QWidget
{
    Q_OBJECT

public:
    SeriesWindow(const Platform &platform, AppointmentBook &book, QWidget *parent = nullptr);
    // Shown for the doctor, date, patient and time of the book as they are now.
    void open();

Q_SIGNALS:
    void booked(const velmora::Outcome &outcome);

private:
    SeriesRule rule() const;
    // The sessions of the rule listed with what stands in their way; false when refused.
    bool listSessions();
    void bookSessions();
    void forgetSessions();

    Platform platform_;
    AppointmentBook &book_;
    QLabel *patient_ = nullptr;
    QSpinBox *everyWeeks_ = nullptr;
    std::array<QCheckBox *, 7> days_{};
    std::array<QLineEdit *, 7> times_{};
    QRadioButton *bySessions_ = nullptr;
    QSpinBox *sessions_ = nullptr;
    QDateEdit *until_ = nullptr;
    QTableWidget *table_ = nullptr;
    QLabel *said_ = nullptr;
    QVector<SeriesOccurrence> listed_;
};

} // namespace velmora
