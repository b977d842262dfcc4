#pragma once

#include "core/model/patient.h"
#include "core/reception/confirmation_list.h"
#include "windows/platform.h"
#include "windows/reading_bar.h"

#include <QWidget>

#include <functional>

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
    // Statuses are set on storage; the list is read in the background.
    ConfirmationWindow(const Platform &platform, BookStorage &storage, BackgroundReads &reads,
                       const QString &iniPath, const QDir &pdfFolder, QWidget *parent = nullptr);

    // Shown for the next working day, all doctors, every status.
    void open();
    // The answer to messages by WhatsApp of a patient, as the desk has read it.
    void askAnswersOf(std::function<MessageConsent(qint64 patient)> answerOf)
    {
        answerOf_ = std::move(answerOf);
    }

Q_SIGNALS:
    // A booking's status was set (or tried): its day list follows.
    void statusSet(const velmora::StoredElsewhere &day);
    // The record of the patient of the booking chosen.
    void patientRequested(const velmora::FoundBooking &booking);

private:
    void reload();
    void showList(const ConfirmationList &list);
    void fill();
    // The status menu checks the selected booking's status.
    void showCurrentStatus();
    int currentRow() const;
    void setStatus(BookingStatus status);
    void sendWhatsApp();
    void print();
    void saveCsv();
    QString title() const;

    Platform platform_;
    BookStorage &storage_;
    std::function<MessageConsent(qint64)> answerOf_;
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
    ReadingBar *reading_ = nullptr;
    bool widenPending_ = false; // the window fitted to the list it opens on
};

} // namespace velmora
