#include "core/safekeeping/activity_log.h"

Q_LOGGING_CATEGORY(logStart, "velmora.start", QtInfoMsg)
Q_LOGGING_CATEGORY(logBook, "velmora.book", QtInfoMsg)
Q_LOGGING_CATEGORY(logServer, "velmora.server", QtInfoMsg)
Q_LOGGING_CATEGORY(logBackup, "velmora.backup", QtInfoMsg)
Q_LOGGING_CATEGORY(logTransfer, "velmora.transfer", QtInfoMsg)
