#pragma once

#include "core/desk/patient_sheet.h"
#include "windows/platform.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace velmora {

// One patient's record: the fields a Brazilian clinic keeps (CPF, birth date, phones, address, health
// plan card), saved after the clinic's checks; every appointment of the patient across the doctors,
// upcoming first, with the missed ones counted and the card's end said.
class PatientWindow : public QWidget
{
    Q_OBJECT

public:
    PatientWindow(const Platform &platform, BookStorage &storage, QWidget *parent = nullptr);
    // Shown on the patient of a booking; false, with why said, when it has none or cannot be read.
    bool openOfBooking(int slot, qint64 booking, const QStringList &doctorNames);
    // Shown on the patient of the booking a row of the day list shows.
    bool openOfListed(const ListedRow &listed, const QStringList &doctorNames);

private:
    // The text fields in the order of the form.
    enum Field
    {
        FullName,
        SocialName,
        Cpf,
        BirthDate,
        Phones,
        Email,
        Street,
        District,
        City,
        State,
        Cep,
        Plan,
        CardNumber,
        CardValidUntil,
        Cns,
        Notes,
        kFieldCount
    };
    void show(const QStringList &doctorNames);
    void save();
    Patient edited() const;
    void listMergeCandidates(const QString &typed);
    // The record chosen in the list merged into this one, each differing part asked; or, on a record
    // merged into another, that merge undone.
    void mergeOrUndo();
    void showOutcome(const Outcome &outcome);

    Platform platform_;
    PatientSheet sheet_;
    QStringList doctorNames_;
    std::array<QLineEdit *, kFieldCount> fields_{};
    QComboBox *cpfAbsence_ = nullptr;
    QComboBox *messages_ = nullptr;
    QTableWidget *appointments_ = nullptr;
    QLabel *summary_ = nullptr;
    QPushButton *save_ = nullptr;
    QLineEdit *mergeWith_ = nullptr;
    QListWidget *mergeCandidates_ = nullptr;
    QVector<Patient> candidates_;
    QPushButton *merge_ = nullptr;
};

} // namespace velmora
