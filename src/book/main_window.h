#pragma once

#include "app/platform.h"
#include "book/day_list_model.h"
#include "book/doctor_box.h"
#include "book/mod_marca.h"
#include "storage/appointment_store.h"
#include "storage/database.h"
#include "storage/settings_store.h"

#include <QDir>
#include <QWidget>

#include <array>
#include <utility>
#include <vector>

class QScrollArea;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTimer;

namespace velmora {

class SetupWindow;

// The appointment book window: doctor choice, the day slot list, the entry fields, booking and
// printing. It owns the three connections that every window uses.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // Opens the connections on the files in folder; problems found with the files are shown once the
    // window is visible.
    MainWindow(const Platform &platform, const QDir &folder, const QStringList &fileProblems = {},
               QWidget *parent = nullptr);
    ~MainWindow() override;

    // Used by the setup window.
    SettingsStore &settingsStore() { return settings_; }
    qint16 activeSlot() const { return activeSlot_; }
    void setActiveSlot(qint16 slot) { activeSlot_ = slot; }
    // The doctor list filled afresh with the names of the ten slots, reading "Choose the doctor".
    void fillDoctorList(const QStringList &names);
    // Back from the setup window: no doctor chosen, the day list empty, this window shown.
    void showAfterSetup();

    QDate currentDate() const { return currentDate_; }
    const DoctorSettings &doctorSettings() const { return doctor_; }
    const BookingRecord &currentBooking() const { return current_; }
    const DayListModel &dayList() const { return dayList_; }

Q_SIGNALS:
    // The doctor list holds the ten names read at start.
    void doctorListFilled();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private Q_SLOTS:
    void Timer1_Timer();
    void Timer2_Timer();
    void Combo1_Click(int index);
    void List1_Click();
    void cmd_inc_Click();
    void cmd_alt_Click();
    void cmd_exc_Click();
    void cmd_imp_Click();
    void cmd_cad_Click();
    void cmd_sai_Click();
    void Image1_Click();

private:
    void buildControls();
    void fitLayoutToWindow();
    void capitalizeField(QLineEdit *box);
    void setTabOrder();
    void stepDate(DateStep step);
    void TextN_Change(int field);
    void TextN_KeyPress(int field);
    QString activeDoctorName() const;

    // Clears the list and lists the Current date afresh; leaves it empty when the day's appointments
    // cannot be read, and says so unless the caller does.
    bool rebuildDayList();
    bool rebuildDayList(QString *error);
    void clearDayList();
    void reportStorageFailure(const QString &what, const QString &reason);
    bool loadActiveDoctor(int slot, QString *error);
    bool reloadSlotLengthAndLink(QString *error);
    QString selectedRowText() const;
    bool findSameBooking(const QString &hora, const QString &nome, Appointment *found, bool *readOk);

    Platform platform_;
    QDir folder_;
    QStringList fileProblems_;
    Connection data1_;
    Connection data2_;
    Connection data22_;
    SettingsStore settings_;
    AppointmentStore appointments_;

    QDate currentDate_;
    qint16 activeSlot_ = 0;
    DoctorSettings doctor_;
    BookingRecord current_;
    BookingRecord rowBuffer_;
    DayListModel dayList_;
    bool listChangedByProgram_ = false;

    QSize layoutSize_;
    QScrollArea *scroller_ = nullptr;
    QWidget *canvas_ = nullptr;
    std::vector<std::pair<QWidget *, QRect>> layoutGeometry_; // where the layout puts each control

    QLabel *Image1 = nullptr;
    QLabel *lab_hora = nullptr;
    QLabel *lab_dat = nullptr;
    std::array<QLineEdit *, 5> Text{};
    QPushButton *cmd_inc = nullptr;
    QPushButton *cmd_alt = nullptr;
    QPushButton *cmd_exc = nullptr;
    QPushButton *cmd_imp = nullptr;
    QPushButton *cmd_cad = nullptr;
    QPushButton *cmd_sai = nullptr;
    std::array<QPushButton *, 7> Command{};
    QListView *List1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    DoctorBox *Combo1 = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Timer2 = nullptr;
    SetupWindow *setup_ = nullptr;
};

} // namespace velmora
