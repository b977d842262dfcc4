#pragma once

#include "core/storage/storage_vocabulary.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace velmora {

// The books on a server, named as in the folder: each doctor's book is the table dados in a schema
// named after its file (bdm1 to bdm15), and the one settings record is the table profs holding the
// fields of both settings files. Rows carry an id growing in the order they were added.

// "bdm3.dados" for slot 3.
QString serverBookTable(int slot);
// "bdm3": the schema holding the slot's book, its statuses and its history.
QString serverSchema(int slot);
// The bookings held to be moved, of every book: slot, identity, when, computer, person.
QString serverHeldTable();
// The clinic's waiting list.
QString serverWaitingTable();
// The text fields and number fields of the settings record.
QStringList serverSettingsTexts();
QStringList serverSettingsNumbers();

enum class ServerContents
{
    Empty,                // no table at all: the books are created
    Books,                // the books as this program made them
    BooksWithoutStatuses, // made before the books kept statuses, history and backups: these are added
    Foreign
};

// What the database holds; for a foreign one, problem says what does not belong.
bool inspectServer(QSqlDatabase db, ServerContents *contents, QString *problem, QString *error);

// The books on an empty database, in one transaction; another program creating them at the same
// moment is waited for, and what it made is taken. False with problem set for a foreign database.
bool prepareServer(QSqlDatabase db, QString *problem, QString *error);

// The statements creating the books, for a transaction the caller holds.
QStringList serverCreateStatements();
// Whether the server writes the history itself (its triggers made by the owner, with the books or by
// --server-setup); on books set up before, the desks write it.
bool serverKeepsHistory(QSqlDatabase db);

// The group role of the desks: whoever is in it may read and write the bookings, their statuses and
// history (the history only added to) and the settings record, and record the server's backups;
// nothing else.
extern const char *const kDeskRole;
// Run by the database's owner: the role made if absent and given exactly those rights on the books.
// lines says what was done and how a person is added.
bool setUpDeskRole(QSqlDatabase db, QStringList *lines, QString *error);
// Whether the login may do what --server-setup does: own the database (or be a superuser), and create
// the desks' role unless it is there. False with what to do, in the IT person's words.
bool mayMakeBooksAndDesks(QSqlDatabase db, QString *error);

// The server's search indexes: trigrams (pg_trgm) over each book's folded names and its phones' digits.
// Made when absent and the login may make them (the database's owner); true when they are there.
bool ensureSearchIndexes(QSqlDatabase db);
// Whether every book has the searches' indexes, as a login that may only read finds them.
bool searchIndexesThere(QSqlDatabase db);
// The condition that a booking's name or phones hold the query, as the indexes find it (one value: the
// pattern); the rows it finds are then matched as every engine matches them.
QString serverSearchCondition(const PatientQuery &query);
QString serverSearchPattern(const PatientQuery &query);

// The record of the server's daily backups: one row a day, the desk that made it.
QString serverBackupsTable();

} // namespace velmora
