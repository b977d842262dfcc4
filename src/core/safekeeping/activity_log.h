#pragma once

#include <QLoggingCategory>

// What the program did and what went wrong, for the clinic's IT person: the log in the data folder and
// the system's journal. Never a patient's name, phone or notes: a booking is named by its slot, date
// and time.
Q_DECLARE_LOGGING_CATEGORY(logStart)    // starts and stops, the folder or server, first-start questions
Q_DECLARE_LOGGING_CATEGORY(logBook)     // what the receptionist was told went wrong
Q_DECLARE_LOGGING_CATEGORY(logServer)   // a server lost and found again
Q_DECLARE_LOGGING_CATEGORY(logBackup)   // the daily backups and restores
Q_DECLARE_LOGGING_CATEGORY(logTransfer) // imports and copies
