#pragma once

#include <QString>

#include <libpq-fe.h>

namespace velmora {

// libpq, loaded the first time a server is spoken to: a clinic on its files never loads it, nor the
// two dozen libraries it brings with it (Kerberos, LDAP, TLS), which cost a start on files a
// quarter of its time.
struct Libpq
{
    decltype(&PQconninfoParse) conninfoParse;
    decltype(&PQconninfoFree) conninfoFree;
    decltype(&PQfreemem) freemem;
    decltype(&PQstatus) status;
    decltype(&PQconsumeInput) consumeInput;
    decltype(&PQsocket) socket;
    decltype(&PQconnectStartParams) connectStartParams;
    decltype(&PQconnectPoll) connectPoll;
    decltype(&PQsetnonblocking) setnonblocking;
    decltype(&PQsendQuery) sendQuery;
    decltype(&PQflush) flush;
    decltype(&PQisBusy) isBusy;
    decltype(&PQgetResult) getResult;
    decltype(&PQclear) clear;
    decltype(&PQnotifies) notifies;
    decltype(&PQfinish) finish;
};

// Null when the library cannot be loaded, with the loader's reason in problem.
const Libpq *libpq(QString *problem = nullptr);

} // namespace velmora
