#pragma once

#include "core/reception/waiting_list.h"
#include "core/storage/book_storage.h"
#include "windows/platform.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace velmora {

// The clinic's waiting list: everyone waiting, oldest first, an entry added from the form or taken off;
// and, opened on a time just freed, only those who want it, with the offer ready to send by WhatsApp
// and the chosen one booked there in one action.
class WaitingListWindow : public QWidget
{
    Q_OBJECT

public:
    WaitingListWindow(const Platform &platform, BookStorage &storage, const QString &iniPath,
                      QWidget *parent = nullptr);
    // The whole list, the form filled from prefill (a booking that wants an earlier time) when given.
    void open(const QStringList &doctorNames, const WaitingEntry &prefill = {});
    // Shown on the freed time when someone on the list wants it; false (nothing shown) otherwise.
    bool offer(const QStringList &doctorNames, const Outcome::Freed &freed);
    // Who an entry's name and phones stand for among the patients the desk has read: the booking made
    // from the list is that patient's.
    void findPatientsWith(std::function<qint64(const WaitingEntry &)> patientOf)
    {
        patientOf_ = std::move(patientOf);
    }

Q_SIGNALS:
    // A booking was made from the list: the day it went to changed.
    void booked(const velmora::StoredElsewhere &change);

private:
    void showList();
    void addTyped();
    void removeChosen();
    void bookChosen();
    void sendOffer();
    const WaitingEntry *chosen() const;
    QString doctorOf(int slot) const;

    Platform platform_;
    WaitingList list_;
    QString iniPath_;
    QStringList doctorNames_;
    Outcome::Freed freed_;
    std::function<qint64(const WaitingEntry &)> patientOf_;
    QVector<WaitingEntry> shown_;
    QLabel *freedLabel_ = nullptr;
    QTableWidget *table_ = nullptr;
    QLineEdit *name_ = nullptr;
    QLineEdit *phones_ = nullptr;
    QLineEdit *plan_ = nullptr;
    QComboBox *doctor_ = nullptr;
    QDateEdit *from_ = nullptr;
    QDateEdit *to_ = nullptr;
    QComboBox *period_ = nullptr;
    QLineEdit *notes_ = nullptr;
    QPushButton *book_ = nullptr;
    QPushButton *send_ = nullptr;
};

} // namespace velmora
