#include "core/patients/patient_matching.h"

#include "core/text/name_rules.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <map>
#include <utility>

namespace velmora {

namespace {

constexpr int kShortestNumber = 4;
constexpr int kShortestLocalNumber = 8; // a landline without its area code

bool isParticle(const QString &word)
{
    static const QStringList particles{QStringLiteral("da"),  QStringLiteral("de"),  QStringLiteral("do"),
                                       QStringLiteral("das"), QStringLiteral("dos"), QStringLiteral("e")};
    return particles.contains(word);
}

QStringList nameWords(const QString &name)
{
    QStringList words = foldedName(name).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    words.removeIf(isParticle);
    return words;
}

// Each typed word the start of a different word of the name, in any order: the words taken are marked,
// not removed, as this runs for every name a key may find.
bool wordsStartName(const QStringList &typed, const QStringList &words)
{
    constexpr qsizetype kMarked = 64; // a name's words past these are not looked at
    quint64 taken = 0;
    for (const QString &start : typed) {
        bool found = false;
        for (qsizetype i = 0; i < std::min(words.size(), kMarked) && !found; ++i)
            if (!(taken & (quint64(1) << i)) && words.at(i).startsWith(start)) {
                taken |= quint64(1) << i;
                found = true;
            }
        if (!found)
            return false;
    }
    return true;
}

// The number without Brazil's country code, the long-distance prefix and the area code: the last nine
// digits of a mobile (9 and eight more), the last eight of any other.
QString localNumber(const QString &digits)
{
    if (digits.size() >= 9 && digits.at(digits.size() - 9) == QLatin1Char('9'))
        return digits.right(9);
    return digits.right(kShortestLocalNumber);
}

bool numberInDigits(const QString &typed, const QString &digits)
{
    if (digits.isEmpty())
        return false;
    if (digits.contains(typed))
        return true;
    return typed.size() >= kShortestLocalNumber && digits.size() >= kShortestLocalNumber &&
           localNumber(typed) == localNumber(digits);
}

bool numberInPhone(const QString &typed, const QString &phone)
{
    return numberInDigits(typed, digitsOf(phone));
}

// A word of the shorter name found in the longer's: whole, or as the initial the shorter one wrote.
bool wordFound(const QString &word, const QStringList &among)
{
    const QString bare = word.endsWith(QLatin1Char('.')) ? word.chopped(1) : word;
    return std::any_of(among.cbegin(), among.cend(), [&bare](const QString &other) {
        const QString otherBare = other.endsWith(QLatin1Char('.')) ? other.chopped(1) : other;
        return otherBare == bare || (bare.size() == 1 && otherBare.startsWith(bare)) ||
               (otherBare.size() == 1 && bare.startsWith(otherBare));
    });
}

} // namespace

PatientTyped patientTyped(const QString &typed)
{
    PatientTyped read;
    const QString trimmed = typed.trimmed();
    const QDate date = QDate::fromString(QString(trimmed)
                                             .replace(QLatin1Char('.'), QLatin1Char('/'))
                                             .replace(QLatin1Char('-'), QLatin1Char('/')),
                                         QStringLiteral("dd/MM/yyyy"));
    if (date.isValid()) {
        read.kind = PatientTyped::Kind::BirthDate;
        read.birthDate = date;
        return read;
    }
    const bool numberLike = std::all_of(trimmed.cbegin(), trimmed.cend(), [](QChar c) {
        return c.isDigit() || c.isSpace() || QStringView(u"-.()+/").contains(c);
    });
    if (numberLike) {
        read.digits = digitsOf(trimmed);
        if (read.digits.size() >= kShortestNumber)
            read.kind = PatientTyped::Kind::Number;
        return read;
    }
    read.words = foldedName(trimmed).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (read.words.join(QString()).size() >= 2)
        read.kind = PatientTyped::Kind::Name;
    return read;
}

bool patientMatches(const Patient &patient, const PatientTyped &typed)
{
    switch (typed.kind) {
    case PatientTyped::Kind::Name:
        return wordsStartName(typed.words, foldedName(patient.fullName).split(QLatin1Char(' '))) ||
               (!patient.socialName.isEmpty() &&
                wordsStartName(typed.words, foldedName(patient.socialName).split(QLatin1Char(' '))));
    case PatientTyped::Kind::Number:
        return (!patient.cpf.isEmpty() && patient.cpf.startsWith(typed.digits)) ||
               std::any_of(
                   patient.phones.cbegin(), patient.phones.cend(),
                   [&typed](const PatientPhone &phone) { return numberInPhone(typed.digits, phone.number); });
    case PatientTyped::Kind::BirthDate:
        return patient.birthDate == typed.birthDate;
    case PatientTyped::Kind::TooShort:
        return false;
    }
    return false;
}

PatientFinder::Prepared PatientFinder::prepare(const Patient &patient)
{
    Prepared prepared;
    prepared.sortKey = foldedName(patient.fullName);
    prepared.fullWords = prepared.sortKey.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    prepared.socialWords = foldedName(patient.socialName).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const PatientPhone &phone : patient.phones)
        prepared.phoneDigits << digitsOf(phone.number);
    prepared.cpf = patient.cpf;
    prepared.birthDate = patient.birthDate;
    return prepared;
}

bool PatientFinder::before(const std::pair<QString, int> &a, const std::pair<QString, int> &b) const
{
    if (const int words = QString::compare(a.first, b.first); words != 0)
        return words < 0;
    return inNameOrder(a.second, b.second);
}

bool PatientFinder::inNameOrder(int a, int b) const
{
    const int names = QString::compare(prepared_[static_cast<size_t>(a)].sortKey,
                                       prepared_[static_cast<size_t>(b)].sortKey);
    return names != 0 ? names < 0 : a < b;
}

void PatientFinder::index(const QVector<Patient> &patients)
{
    prepared_.clear();
    words_.clear();
    prepared_.reserve(static_cast<size_t>(patients.size()));
    for (const Patient &patient : patients) {
        prepared_.push_back(prepare(patient));
        const int position = static_cast<int>(prepared_.size()) - 1;
        for (const QStringList *words : {&prepared_.back().fullWords, &prepared_.back().socialWords})
            for (const QString &word : *words)
                words_.emplace_back(word, position);
    }
    std::sort(words_.begin(), words_.end(), [this](const auto &a, const auto &b) { return before(a, b); });
}

void PatientFinder::reindex(int position, const Patient &patient)
{
    const auto ordered = [this](const auto &a, const auto &b) { return before(a, b); };
    // The entries go while the record's old name still orders them.
    if (position < static_cast<int>(prepared_.size())) {
        const Prepared &old = prepared_[static_cast<size_t>(position)];
        for (const QStringList *words : {&old.fullWords, &old.socialWords})
            for (const QString &word : *words) {
                const std::pair entry{word, position};
                const auto found = std::lower_bound(words_.begin(), words_.end(), entry, ordered);
                if (found != words_.end() && *found == entry)
                    words_.erase(found);
            }
    } else {
        prepared_.resize(static_cast<size_t>(position) + 1);
    }
    Prepared &prepared = prepared_[static_cast<size_t>(position)];
    prepared = prepare(patient);
    for (const QStringList *words : {&prepared.fullWords, &prepared.socialWords})
        for (const QString &word : *words) {
            const std::pair entry{word, position};
            words_.insert(std::lower_bound(words_.begin(), words_.end(), entry, ordered), entry);
        }
}

bool PatientFinder::matches(const Prepared &prepared, const PatientTyped &typed) const
{
    switch (typed.kind) {
    case PatientTyped::Kind::Name:
        return wordsStartName(typed.words, prepared.fullWords) ||
               (!prepared.socialWords.isEmpty() && wordsStartName(typed.words, prepared.socialWords));
    case PatientTyped::Kind::Number:
        return (!prepared.cpf.isEmpty() && prepared.cpf.startsWith(typed.digits)) ||
               std::any_of(prepared.phoneDigits.cbegin(), prepared.phoneDigits.cend(),
                           [&typed](const QString &digits) { return numberInDigits(typed.digits, digits); });
    case PatientTyped::Kind::BirthDate:
        return prepared.birthDate == typed.birthDate;
    case PatientTyped::Kind::TooShort:
        return false;
    }
    return false;
}

QVector<int> PatientFinder::startingWith(const QString &folded) const
{
    QVector<int> positions;
    for (auto entry = firstStartingWith(folded); entry != words_.end() && entry->first.startsWith(folded);
         ++entry)
        positions.append(entry->second);
    return positions;
}

std::vector<std::pair<QString, int>>::const_iterator
PatientFinder::firstStartingWith(const QString &folded) const
{
    return std::lower_bound(words_.cbegin(), words_.cend(), folded,
                            [](const auto &entry, const QString &start) { return entry.first < start; });
}

QVector<int> PatientFinder::find(const QString &typed, int limit) const
{
    const PatientTyped read = patientTyped(typed);
    QVector<int> positions;
    if (read.kind == PatientTyped::Kind::TooShort || limit <= 0)
        return positions;
    if (read.kind == PatientTyped::Kind::Name) {
        // Every name it may be has a word starting with the longest word typed. Each word's entries stand
        // in name order: the runs of the words starting so are merged in that order, and the first names
        // that match are the suggestions, whatever the number of those that would.
        const QString longest =
            *std::max_element(read.words.cbegin(), read.words.cend(),
                              [](const QString &a, const QString &b) { return a.size() < b.size(); });
        using Entry = std::vector<std::pair<QString, int>>::const_iterator;
        std::vector<std::pair<Entry, Entry>> runs; // each word's next entry and its end
        for (Entry entry = firstStartingWith(longest);
             entry != words_.cend() && entry->first.startsWith(longest);) {
            const Entry end =
                std::upper_bound(entry, words_.cend(), entry->first,
                                 [](const QString &word, const auto &other) { return word < other.first; });
            runs.emplace_back(entry, end);
            entry = end;
        }
        const auto later = [this](const std::pair<Entry, Entry> &a, const std::pair<Entry, Entry> &b) {
            return inNameOrder(b.first->second, a.first->second);
        };
        std::make_heap(runs.begin(), runs.end(), later);
        QSet<int> seen;
        while (!runs.empty() && positions.size() < limit) {
            std::pop_heap(runs.begin(), runs.end(), later);
            auto &run = runs.back();
            const int position = run.first->second;
            if (!seen.contains(position) && matches(prepared_[static_cast<size_t>(position)], read)) {
                seen.insert(position);
                positions.append(position);
            }
            if (++run.first == run.second)
                runs.pop_back();
            else
                std::push_heap(runs.begin(), runs.end(), later);
        }
        return positions;
    }
    // A number or a birth date: every record looked at, a CPF typed whole first.
    QVector<std::pair<bool, int>> found; // not the whole CPF, position
    for (int position = 0; position < static_cast<int>(prepared_.size()); ++position) {
        const Prepared &prepared = prepared_[static_cast<size_t>(position)];
        if (matches(prepared, read))
            found.append(
                {!(read.kind == PatientTyped::Kind::Number && prepared.cpf == read.digits), position});
    }
    const auto first = [this](const auto &a, const auto &b) {
        return a.first != b.first ? a.first < b.first : inNameOrder(a.second, b.second);
    };
    const qsizetype kept = std::min<qsizetype>(limit, found.size());
    std::partial_sort(found.begin(), found.begin() + kept, found.end(), first);
    for (qsizetype i = 0; i < kept; ++i)
        positions.append(found.at(i).second);
    return positions;
}

QVector<Patient> patientSuggestions(const QVector<Patient> &patients, const QString &typed, int limit)
{
    const PatientTyped read = patientTyped(typed);
    QVector<std::pair<QString, const Patient *>> found; // sort key, patient
    for (const Patient &patient : patients) {
        if (!patientMatches(patient, read))
            continue;
        const bool wholeCpf = read.kind == PatientTyped::Kind::Number && patient.cpf == read.digits;
        found.append({(wholeCpf ? QStringLiteral("0") : QStringLiteral("1")) + foldedName(patient.fullName),
                      &patient});
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QVector<Patient> suggestions;
    for (const auto &entry : found) {
        if (suggestions.size() >= limit)
            break;
        suggestions.append(*entry.second);
    }
    return suggestions;
}

bool similarNames(const QString &a, const QString &b)
{
    QStringList shorter = nameWords(a);
    QStringList longer = nameWords(b);
    if (shorter.size() > longer.size())
        std::swap(shorter, longer);
    if (shorter.isEmpty() || shorter.first() != longer.first() ||
        (shorter.size() > 1 && shorter.last() != longer.last()))
        return false;
    const QStringList middle = longer.mid(1, longer.size() - 2);
    for (int i = 1; i + 1 < shorter.size(); ++i)
        if (!wordFound(shorter.at(i), middle))
            return false;
    return true;
}

QVector<qint64> lookalikes(const Patient &newOne, const QVector<Patient> &patients)
{
    QVector<qint64> found;
    for (const Patient &patient : patients) {
        const bool sameBirth = newOne.birthDate.isValid() && patient.birthDate == newOne.birthDate &&
                               similarNames(newOne.fullName, patient.fullName);
        const bool samePhone =
            std::any_of(newOne.phones.cbegin(), newOne.phones.cend(), [&](const PatientPhone &a) {
                const QString digits = digitsOf(a.number);
                return digits.size() >= kShortestLocalNumber &&
                       std::any_of(patient.phones.cbegin(), patient.phones.cend(),
                                   [&](const PatientPhone &b) { return numberInPhone(digits, b.number); });
            });
        if (sameBirth || samePhone)
            found.append(patient.id);
    }
    return found;
}

QVector<SuggestedPatient> suggestedPatients(const QVector<BookedName> &bookings)
{
    // Grouped by folded name, then by phone digits, in one pass.
    std::map<QString, std::map<QString, SuggestedPatient>> byName;
    for (int i = 0; i < bookings.size(); ++i) {
        const QString folded = foldedName(bookings.at(i).name);
        if (folded.isEmpty())
            continue;
        const QString digits = digitsOf(bookings.at(i).phones);
        SuggestedPatient &group = byName[folded][digits];
        if (group.bookings.isEmpty()) {
            group.name = bookings.at(i).name.trimmed();
            group.phoneDigits = digits;
        }
        group.bookings.append(i);
    }
    QVector<SuggestedPatient> groups;
    for (auto &[folded, byPhones] : byName) {
        Q_UNUSED(folded)
        for (auto &[digits, group] : byPhones) {
            Q_UNUSED(digits)
            group.maybe = byPhones.size() > 1;
            groups.append(std::move(group));
        }
    }
    return groups;
}

} // namespace velmora
