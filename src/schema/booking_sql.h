#pragma once

#include "core/model/booking_status.h"
#include "core/storage/storage_vocabulary.h"

#include <QSqlQuery>
#include <QVector>

namespace velmora {

struct Appointment;

// The statements' pieces both engines share for a booking's six fields.

// "data, hora, nome, convenio, telefone, obs"
QString bookingColumns();

// The date and the five texts in the order of bookingColumns(); an empty text is stored as the
// empty text, never as a field without value.
QVariantList bookingValues(const Appointment &booking);
void bindBooking(QSqlQuery &query, const Appointment &booking);

// The condition that a row is the stored booking as it was read: its identity under idColumn and
// its six fields (a field without value read as the empty text), with these values.
// The identity compared with "=" by default; "> ?" finds a booking stored after an identity.
// The six fields as bookingValues() gives them, whatever the identity: a linked doctor's copy.
QString sameFields();
QString matchesStored(const QString &idColumn, const QString &identityIs = QStringLiteral("="));
// "UPDATE table SET <the six fields> = ? WHERE <matchesStored>": the changed booking's values, then the
// stored booking's.
QString updateStored(const QString &table, const QString &idColumn);
QVariantList storedValues(const Appointment &stored);
void bindStored(QSqlQuery &query, const Appointment &stored);

// Who takes a time a booking moves to: the name of the first booking with a name at the date and time
// of the table (the time as it is meant, "8:00" or "08:00"), other than the one with the identity
// excepted (0: none) and the moving booking's own linked copy (its six fields as stored).
QString takenAtStatement(const QString &table, const QString &idColumn);
QVariantList takenAtValues(QDate date, const QString &time, qint64 except, const Appointment &moving);

// The rows of a book but the older program's placeholder, counted; one value, the placeholder's date.
QString heldBookingsQuery(const QString &table);

// Every booking of a book, its identity under idColumn first, for a search.
QString everyBookingOf(const QString &table, const QString &idColumn, const QString &seriesTable = {});
// Appends the rows of that query the patient query matches, as found in the slot's book.
void appendFound(QSqlQuery &query, int slot, const PatientQuery &patient, QVector<FoundBooking> *found);

// The day's bookings of table, with their statuses from statusTable: the identity, hora, nome,
// convenio, telefone, obs and the status number, in the order they were added; one value, the date.
// A status belongs to the booking whose identity and name it was set for, so that an identity a
// book gives again after a removal by another tool does not inherit it.
QString dayQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                 const QString &seriesTable = {});
// The same without statuses, for a book that has never had one.
QString dayQueryWithoutStatus(const QString &table, const QString &idColumn);

// The same over a period (two values: the first and last date), the date selected after the identity.
QString periodQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                    const QString &seriesTable = {});
QString periodQueryWithoutStatus(const QString &table, const QString &idColumn);
void appendPeriodBookings(QSqlQuery &query, QVector<Appointment> *bookings);
// Every row of a book, in the order added, as the period's query selects them (no values); a date
// that is none (or no date) reads as none, a text without value as the null text.
QString wholeBookQuery(const QString &table, const QString &idColumn, const QString &statusTable,
                       const QString &seriesTable = {});
// A row of those columns, with the series place and the patient when selected after the status; of
// the row's columns, the first `columns` are the booking's (all when none is said).
Appointment wholeRowBooking(const QSqlQuery &query, bool withStatus, int columns = -1);

// Appends the rows of a day's query as bookings of that date (a missing status column reads as to
// confirm).
void appendDayBookings(QSqlQuery &query, QDate date, QVector<Appointment> *bookings);

// The tables kept beside a book's own, in each dialect: the statuses (identity, name, status) and the
// history (identity, when, computer, person, action, details).
enum class Dialect
{
    Files,
    Server
};
QStringList statusTableStatements(Dialect dialect, const QString &schema);
QString statusTable(const QString &schema);
QString historyTable(const QString &schema);
// The bookings held to be moved, on files each book's own (identity, when, computer, person).
QString heldTable(const QString &schema);
// Each booking's place in a weekly series (identity, series, number, total); with a status table, the
// day, period and whole-book queries read it after the status.
QString seriesTable(const QString &schema);
// The bookings of a series (value: the series), with statuses and places, by number.
QString seriesQuery(const QString &table, const QString &idColumn, const QString &schema);
// The bookings dated from on of every series with at most `left` of them not cancelled (values: the
// date, twice), with statuses and places.
QString seriesEndingQuery(const QString &table, const QString &idColumn, const QString &schema, int left);
// Records a booking's place (values: identity, series, number, total).
QString placeInSeriesStatement(const QString &schema);
// Sets the status of the identity (values: identity, name, status), replacing any.
QString setStatusStatement(Dialect dialect, const QString &schema);
// Records an entry (values: identity, when, computer, person, action, details).
QString recordHistoryStatement(const QString &schema);
// The identity's entries, oldest first: when, computer, person, action, details.
QString readHistoryStatement(Dialect dialect, const QString &schema);
void appendHistory(QSqlQuery &query, QVector<HistoryEntry> *history);
// Every entry of a book's history, oldest first: the identity, then as readHistoryStatement.
QString wholeHistoryQuery(Dialect dialect, const QString &schema);
// The entry whose when is the query's value first, the others after it.
HistoryEntry historyEntryOf(const QSqlQuery &query, int first);

// A book file's search index: each booking's folded name and its phones' digits under its identity,
// searched by trigrams. Its state says whether another tool wrote the book since the index was last
// complete ("stale"); the book's triggers set it, except while the program writes ("own"), keeping the
// index itself in the same transaction.
QStringList searchIndexStatements(const QString &schema);
// How many of the index's five parts (its table, its state and the book's three triggers) the book
// holds: 5 whole, 0 none yet; any other count is an index another tool broke.
QString searchIndexPartsQuery(const QString &schema);
// The statements that take the search index out of a copy of a book (it is made again from the book).
QStringList searchIndexDropStatements();
constexpr int kSearchIndexParts = 5;
QString searchIndexTable(const QString &schema);
QString searchStateTable(const QString &schema);
// The bookings the index finds for the query (one value: the phrase), as everyBookingOf selects them.
// With series, each one's place in a weekly series after them.
QString indexedSearch(const PatientQuery &query, bool series = false);
QString searchPhrase(const PatientQuery &query);

} // namespace velmora
