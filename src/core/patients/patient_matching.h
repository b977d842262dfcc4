#pragma once

#include "core/model/patient.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <utility>
#include <vector>

namespace velmora {

// What was typed in the name field to find a patient before one is made again: name words, a number
// (a phone, with or without its area code, or a CPF), or a birth date ("02/05/1980").
struct PatientTyped
{
    enum class Kind
    {
        Name,
        Number,
        BirthDate,
        TooShort // fewer than two letters, or than four digits: nothing is suggested
    };
    Kind kind = Kind::TooShort;
    QStringList words; // folded, each the start of a word of the name
    QString digits;
    QDate birthDate;
};
PatientTyped patientTyped(const QString &typed);

// Each typed word starts a different word of the full or the social name, accents and case aside; a
// number is in a phone (or a phone typed with its area code is one stored without) or starts the CPF.
bool patientMatches(const Patient &patient, const PatientTyped &typed);

// The patients the typing may be, at most limit: a CPF typed whole first, then by name.
QVector<Patient> patientSuggestions(const QVector<Patient> &patients, const QString &typed, int limit);

// The patients indexed for finding them while typing: every word of their names sorted, so that a name
// is found from the start of its longest typed word without reading every record, and each record's
// folded names and phone digits made once. Finds what patientSuggestions() finds, in the same order.
class PatientFinder
{
public:
    // Every patient, in place of those before; a patient is named by its position there.
    void index(const QVector<Patient> &patients);
    // The patient at that position indexed again: a new one at the end, or one changed.
    void reindex(int position, const Patient &patient);
    // The positions of the patients the typing may be, at most limit.
    QVector<int> find(const QString &typed, int limit) const;
    // The positions whose names have a word starting with the folded start, the index alone read.
    QVector<int> startingWith(const QString &folded) const;

private:
    struct Prepared
    {
        QString sortKey; // the folded full name
        QStringList fullWords;
        QStringList socialWords;
        QStringList phoneDigits;
        QString cpf;
        QDate birthDate;
    };
    static Prepared prepare(const Patient &patient);
    bool matches(const Prepared &prepared, const PatientTyped &typed) const;
    // The order of the index: by word, then by folded full name, then by position.
    bool before(const std::pair<QString, int> &a, const std::pair<QString, int> &b) const;
    bool inNameOrder(int a, int b) const;
    std::vector<std::pair<QString, int>>::const_iterator firstStartingWith(const QString &folded) const;
    std::vector<Prepared> prepared_;
    std::vector<std::pair<QString, int>> words_; // a folded word of a name and its patient's position
};

// Two names that may be one person's: the same first and last words, and each other word of the
// shorter one found in the longer, whole or as its initial ("Maria S. Souza", "Maria Silva Souza");
// accents, case and the particles (da, de, do, das, dos, e) aside.
bool similarNames(const QString &a, const QString &b);
// The patients recorded that a new one may be: the same birth date and a similar name, or a phone in
// common. Asked about before the new record is made; never joined by itself.
QVector<qint64> lookalikes(const Patient &newOne, const QVector<Patient> &patients);

// A booking of the books as they are, for suggesting who its patient is.
struct BookedName
{
    QString name;
    QString phones;
};
// Bookings suggested as one patient: the same folded name and the same phone digits. maybe: another
// group has the same name with other phones; the receptionist says whether they are one person.
struct SuggestedPatient
{
    QString name; // as the first of its bookings wrote it
    QString phoneDigits;
    QVector<int> bookings; // their places in the bookings given, in order
    bool maybe = false;
};
// Ordered by folded name, then phones; bookings without a name belong to none.
QVector<SuggestedPatient> suggestedPatients(const QVector<BookedName> &bookings);

} // namespace velmora
