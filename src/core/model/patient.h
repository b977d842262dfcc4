#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVector>

namespace velmora {

// Why a patient has no CPF: it is left blank only for one of these.
enum class CpfAbsence
{
    None, // the CPF is given
    Newborn,
    Foreigner,
    NotGiven
};

// The patient's answer to being sent messages by WhatsApp; care itself needs none.
enum class MessageConsent
{
    NotAsked,
    Yes,
    No
};

// The answer with who noted it and when; a new answer replaces it (withdrawn: No).
struct MessageAnswer
{
    MessageConsent consent = MessageConsent::NotAsked;
    QDateTime at;
    QString by;
    bool operator==(const MessageAnswer &other) const
    {
        return consent == other.consent && at == other.at && by == other.by;
    }
};

struct PatientPhone
{
    QString number;
    bool whatsApp = false; // the one confirmations are sent to
    bool operator==(const PatientPhone &other) const
    {
        return number == other.number && whatsApp == other.whatsApp;
    }
};

// A health plan card; a patient's earlier cards are kept after a new one.
struct HealthCard
{
    QString plan;
    QString number;
    QDate validUntil; // none: no end printed on the card
    bool operator==(const HealthCard &other) const
    {
        return plan == other.plan && number == other.number && validUntil == other.validUntil;
    }
};

struct PatientAddress
{
    QString street;
    QString number;
    QString complement;
    QString district;
    QString city;
    QString state; // the two letters: "SP"
    QString cep;   // eight digits
    bool operator==(const PatientAddress &other) const
    {
        return street == other.street && number == other.number && complement == other.complement &&
               district == other.district && city == other.city && state == other.state && cep == other.cep;
    }
};

// One person across every doctor's book.
struct Patient
{
    qint64 id = 0;
    QString fullName;
    QString socialName; // the name the person asks to be called by; shown in place of the full name
    QString cpf;        // eleven digits, without dots and dash
    CpfAbsence cpfAbsence = CpfAbsence::None;
    QDate birthDate;
    QVector<PatientPhone> phones;
    QString email;
    PatientAddress address;
    QVector<HealthCard> cards; // the current one last
    QString cns;               // the national health card (cartão SUS), fifteen digits
    QString notes;
    MessageAnswer messages;
    qint64 mergedInto = 0; // merged into that patient, which holds its bookings now (0: not merged)
    QString mergeRecord;   // of a merged record: what the merge did, to say it and to undo it
    bool operator==(const Patient &other) const
    {
        return id == other.id && fullName == other.fullName && socialName == other.socialName &&
               cpf == other.cpf && cpfAbsence == other.cpfAbsence && birthDate == other.birthDate &&
               phones == other.phones && email == other.email && address == other.address &&
               cards == other.cards && cns == other.cns && notes == other.notes &&
               messages == other.messages && mergedInto == other.mergedInto &&
               mergeRecord == other.mergeRecord;
    }
};

// The record as one text (JSON), as the patients' table keeps it, and back; false when the text is no
// record. The identity is not in it.
QString patientText(const Patient &patient);
bool patientFromText(const QString &text, Patient *patient);

} // namespace velmora
