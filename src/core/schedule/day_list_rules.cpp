#include "core/schedule/day_list_rules.h"

#include "core/model/appointment.h"
#include "core/schedule/clinic_calendar.h"

#include <algorithm>
#include <set>
#include <unordered_map>
#include <vector>

namespace velmora {

namespace {

// A nonsense slot length (such as 1 with an end of 99999) must still end the period quickly: no day
// has more than one slot a minute.
constexpr int kMaxRowsPerPeriod = 24 * 60 + 1;

QString timeRow(const QString &hhmm)
{
    return hhmm.left(2) + QLatin1Char(':') + hhmm.right(2);
}

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

} // namespace

QStringList periodRows(const QString &start, const QString &end, const QString &slotLength)
{
    QStringList rows;
    if (trimBlanks(start).isEmpty())
        return rows;
    rows << timeRow(start);

    const qint64 step = wholeValue(slotLength);
    if (step <= 0)
        return rows; // a slot that never advances lists the start alone
    const qint64 last = wholeValue(end);
    QString running = trimBlanks(start);
    while (rows.size() < kMaxRowsPerPeriod) {
        // A slot length over an hour (up to the field's 99 minutes) carries whole hours.
        const qint64 minutes = wholeValue(running.right(2)) + step;
        const qint64 hours = wholeValue(running.left(2)) + minutes / 60;
        running = twoDigits(hours) + twoDigits(minutes % 60);
        if (wholeValue(running) > last)
            break;
        rows << timeRow(running);
    }
    return rows;
}

namespace {

QStringList slotRowsOf(const DoctorSettings &settings, QDate date, const DayPlan &plan)
{
    const int day = date.dayOfWeek() - 1; // Monday first, as the weekly times are stored
    const auto time = [&](int index) {
        return plan.extraHours ? plan.extraHours->value(index - 1)
                               : settings.weeklyTimes[weeklyTimePosition(day, index)];
    };
    return periodRows(time(1), time(2), settings.slotLength) +
           periodRows(time(3), time(4), settings.slotLength);
}

} // namespace

QStringList gridSlotRows(const DoctorSettings &settings, QDate date)
{
    return date.isValid() ? slotRowsOf(settings, date, dayPlan(settings, date)) : QStringList();
}

QStringList freeSlotRows(const DoctorSettings &settings, QDate date)
{
    if (!date.isValid())
        return {};
    const DayPlan plan = dayPlan(settings, date);
    if (plan.wholeDay)
        return {};
    QStringList rows = slotRowsOf(settings, date, plan);
    if (!plan.times.isEmpty())
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&plan](const QString &row) { return plan.closedAt(row); }),
                   rows.end());
    return rows;
}

QStringList inListOrder(QStringList rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const QString &a, const QString &b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return rows;
}

DayPlan dayPlan(const DoctorSettings &settings, QDate date)
{
    static const ClinicCalendar countryAlone;
    return (settings.calendar ? *settings.calendar : countryAlone).planFor(settings.slot, date);
}

namespace {

QStringList mergedRows(const QStringList &listed, const QStringList &bookingRows,
                       const QStringList &bookingTimes)
{
    // The same rows as adding each booking to the sorted list and then dropping the first row that
    // reads as its time, without moving rows around for every booking: each row keeps the place in
    // the order it would have had (its text without regard to case, then the order it came in), and
    // the rows that read as a time are kept in that order per time.
    QStringList texts;
    texts.reserve(listed.size() + bookingRows.size());
    const auto before = [&texts](int a, int b) {
        // Equal rows (a patient booked often, free rows) are told apart by a quick exact look first.
        const int order =
            texts.at(a) == texts.at(b) ? 0 : QString::compare(texts.at(a), texts.at(b), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a < b;
    };
    std::vector<bool> dropped(static_cast<size_t>(listed.size() + bookingRows.size()), false);
    std::unordered_map<QString, std::set<int, decltype(before)>> readingAs;
    const auto listRow = [&](const QString &text) {
        texts << text;
        const int position = static_cast<int>(texts.size() - 1);
        // Only a row that reads as no more than a time can be dropped for one; the others are not
        // copied to be looked up.
        qsizetype first = 0;
        qsizetype last = text.size();
        while (first < last && text.at(first) == QLatin1Char(' '))
            ++first;
        while (last > first && text.at(last - 1) == QLatin1Char(' '))
            --last;
        if (last - first <= 2 * BookingRecord::kHoraWidth)
            readingAs.try_emplace(text.mid(first, last - first), before).first->second.insert(position);
    };
    for (const QString &row : listed)
        listRow(row);
    for (qsizetype i = 0; i < bookingRows.size(); ++i) {
        listRow(bookingRows.at(i));
        const auto candidates = readingAs.find(trimBlanks(bookingTimes.at(i)));
        if (candidates != readingAs.end() && !candidates->second.empty()) {
            dropped[static_cast<size_t>(*candidates->second.begin())] = true;
            candidates->second.erase(candidates->second.begin());
        }
    }
    std::vector<int> kept;
    kept.reserve(static_cast<size_t>(texts.size()));
    for (int i = 0; i < texts.size(); ++i)
        if (!dropped[static_cast<size_t>(i)])
            kept.push_back(i);
    std::sort(kept.begin(), kept.end(), before);
    QStringList rows;
    rows.reserve(static_cast<qsizetype>(kept.size()));
    for (const int i : kept)
        rows << texts.at(i);
    return rows;
}

// The booking each row shows, from each booking's row as shown.
QVector<int> bookingOfEachRow(const QStringList &rows, const QStringList &bookingRows)
{
    std::unordered_map<QString, std::vector<int>> shownAs; // each reading's bookings, last first
    for (int i = static_cast<int>(bookingRows.size()) - 1; i >= 0; --i)
        shownAs[bookingRows.at(i)].push_back(i);
    QVector<int> shown;
    shown.reserve(rows.size());
    for (const QString &row : rows) {
        const auto alike = shownAs.find(row);
        if (alike == shownAs.end() || alike->second.empty()) {
            shown << -1;
            continue;
        }
        shown << alike->second.back();
        alike->second.pop_back();
    }
    return shown;
}

QStringList sortedFreeRows(const DoctorSettings &settings, QDate date)
{
    return inListOrder(freeSlotRows(settings, date));
}

} // namespace

QStringList mergedDayRows(const QStringList &listed, const QVector<BookingRecord> &bookings)
{
    QStringList rows;
    QStringList times;
    for (const BookingRecord &booking : bookings) {
        rows << booking.row();
        times << booking.hora;
    }
    return mergedRows(listed, rows, times);
}

ListedDay listedDay(const DoctorSettings &settings, QDate date, const QVector<Appointment> &bookings)
{
    QStringList rows;
    QStringList times;
    rows.reserve(bookings.size());
    times.reserve(bookings.size());
    for (const Appointment &booking : bookings) {
        rows << shownRow(booking);
        times << fitted(blankControlCharacters(booking.hora), BookingRecord::kHoraWidth);
    }
    ListedDay day;
    day.rows = bookings.isEmpty() ? sortedFreeRows(settings, date)
                                  : mergedRows(sortedFreeRows(settings, date), rows, times);
    day.bookingOfRow = bookingOfEachRow(day.rows, rows);
    return day;
}

BookingRecord shownRecord(const Appointment &booking)
{
    return BookingRecord::of(blankControlCharacters(booking.hora), blankControlCharacters(booking.nome),
                             blankControlCharacters(booking.convenio),
                             blankControlCharacters(booking.telefone), blankControlCharacters(booking.obs));
}

QString shownRow(const Appointment &booking)
{
    // shownRecord(booking).row() in one string: a crowded day lists tens of thousands.
    const std::array<std::pair<const QString *, int>, 5> fields{
        {{&booking.hora, BookingRecord::kHoraWidth},
         {&booking.nome, BookingRecord::kNomeWidth},
         {&booking.convenio, BookingRecord::kConvenioWidth},
         {&booking.telefone, BookingRecord::kTelefoneWidth},
         {&booking.obs, BookingRecord::kObsWidth}}};
    QString row;
    row.reserve(BookingRecord::kRowWidth + 8);
    for (const auto &[text, width] : fields) {
        if (!row.isEmpty())
            row.append(QLatin1String("  "));
        const QString shown = blankControlCharacters(*text);
        if (shown.size() <= width &&
            std::none_of(shown.begin(), shown.end(), [](QChar c) { return c.isSurrogate(); }))
            row.append(shown).resize(row.size() + width - shown.size(), QLatin1Char(' '));
        else
            row.append(fitted(shown, width));
    }
    return row;
}

QStringList dayRows(const DoctorSettings &settings, QDate date, const QVector<Appointment> &bookings)
{
    return listedDay(settings, date, bookings).rows;
}

QVector<int> rowBookings(const QStringList &rows, const QVector<Appointment> &bookings)
{
    QStringList shown;
    shown.reserve(bookings.size());
    for (const Appointment &booking : bookings)
        shown << shownRow(booking);
    return bookingOfEachRow(rows, shown);
}

std::optional<Appointment> bookingShownAt(const QStringList &rows, int position,
                                          const QVector<Appointment> &bookings)
{
    const QString &shown = rows.at(position);
    int sameBefore = static_cast<int>(std::count(rows.cbegin(), rows.cbegin() + position, shown));
    for (const Appointment &booking : bookings)
        if (shownRecord(booking).row() == shown && sameBefore-- == 0)
            return booking;
    return std::nullopt;
}

int sameRowsBefore(const QStringList &rows, int position)
{
    const QString &row = rows.at(position);
    return static_cast<int>(std::count(rows.cbegin(), rows.cbegin() + position, row));
}

int rowReadingAs(const QStringList &rows, const QString &text, int before)
{
    for (int i = 0; i < rows.size(); ++i)
        if (rows.at(i) == text && before-- == 0)
            return i;
    return -1;
}

} // namespace velmora
