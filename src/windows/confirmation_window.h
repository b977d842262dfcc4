#pragma once

#include "core/appointment_book.h"
#include "windows/platform.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QMenu;
class QTableWidget;

namespace velmora {

class MessageWindow;

// The confirmation list: the bookings of a range of days (the next working day at first), of every
// doctor or one, to confirm by WhatsApp or by phone. From a row: its status set, WhatsApp opened with
// the message ready (a double click or Enter); the list printed or saved for a spreadsheet.
class ConfirmationWindow : public QWidget
{
    Q_OBJECT

public:
    // The desk's message settings are kept in iniPath; pdfFolder is offered for a PDF and the CSV.
    ConfirmationWindow(const Platform &platform, AppointmentBook &book, const QString &iniPath,
                       const QDir &pdfFolder, QWidget *parent = nullptr);

    // Shown for the next working day, all doctors, every status.
    void open();

private:
    void reload();
    void fill();
    // The status menu checks the selected booking's status.
    void showCurrentStatus();
    void widenToTheList();
    int currentRow() const;
    void setStatus(BookingStatus status);
    void sendWhatsApp();
    void print();
    void saveCsv();
    QString title() const;

    Platform platform_;
    AppointmentBook &book_;
    QString iniPath_;
    QDir pdfFolder_;
    class PeriodChoice *period_ = nullptr;
    QCheckBox *toConfirmOnly_ = nullptr;
    QTableWidget *table_ = nullptr;
    QLabel *count_ = nullptr;
    QLabel *said_ = nullptr; // names the patient whose status was set last
    QMenu *statuses_ = nullptr;
    MessageWindow *messageWindow_ = nullptr;
    QVector<ConfirmationRow> rows_;
};

} // namespace velmora
