#pragma once

#include "core/schedule/doctor_setup.h"
#include "core/schedule/weekly_times.h"
#include "windows/platform.h"

#include <QWidget>

#include <array>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace velmora {

// The doctors' setup: names, slot lengths and the hidden links of the ten slots, and the weekly hours
// editor laid over them, on the book's settings.
class SetupWindow : public QWidget
{
    Q_OBJECT

public:
    SetupWindow(const Platform &platform, DoctorSetup &setup, QWidget *parent = nullptr);

    // Fills the controls from the stored settings; false (after saying why) when they cannot be read.
    bool load();

Q_SIGNALS:
    // The user left the window, by Save and Return or through its frame.
    void returned();
    void calendarRequested();
    void squeezeLimitsRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private Q_SLOTS:
    void Command1_Click();
    void Command2_Click();

private:
    // The controls of one doctor slot's frame.
    struct DoctorFrame
    {
        QGroupBox *frame = nullptr;
        QLineEdit *name = nullptr;
        std::array<QRadioButton *, 3> intervals{};
        QLineEdit *link = nullptr;
        QPushButton *schedule = nullptr;
    };

    void buildDoctorFrame(int slot);
    void buildScheduleEditor();
    void openSchedule(int slot);
    void closeScheduleEditor();

    Platform platform_;
    DoctorSetup &setup_;
    int editedSlot_ = 0; // the slot whose weekly hours the editor shows
    QWidget *canvas_ = nullptr;
    QPushButton *Command1 = nullptr;
    std::array<DoctorFrame, kDoctorSlotCount> doctors_{};
    QGroupBox *Frame11 = nullptr;
    std::array<QLineEdit *, kWeeklyTimeCount> timeBoxes_{};
    QPushButton *Command2 = nullptr;
};

} // namespace velmora
