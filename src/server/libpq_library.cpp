#include "server/libpq_library.h"

#include <dlfcn.h>

#include <optional>

namespace velmora {

namespace {

struct Loaded
{
    std::optional<Libpq> calls;
    QString problem;
};

template <typename Function>
bool resolve(void *library, const char *name, Function *function, QString *problem)
{
    *function = reinterpret_cast<Function>(dlsym(library, name));
    if (!*function && problem->isEmpty())
        *problem = QString::fromLocal8Bit(dlerror());
    return *function != nullptr;
}

Loaded load()
{
    Loaded loaded;
    // The same library Qt's PostgreSQL driver links: once either has loaded it, this only finds it.
    void *library = dlopen("libpq.so.5", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        loaded.problem = QString::fromLocal8Bit(dlerror());
        return loaded;
    }
    Libpq calls{};
    QString &problem = loaded.problem;
    const bool all = resolve(library, "PQconninfoParse", &calls.conninfoParse, &problem) &
                     resolve(library, "PQconninfoFree", &calls.conninfoFree, &problem) &
                     resolve(library, "PQfreemem", &calls.freemem, &problem) &
                     resolve(library, "PQstatus", &calls.status, &problem) &
                     resolve(library, "PQconsumeInput", &calls.consumeInput, &problem) &
                     resolve(library, "PQsocket", &calls.socket, &problem) &
                     resolve(library, "PQconnectStartParams", &calls.connectStartParams, &problem) &
                     resolve(library, "PQconnectPoll", &calls.connectPoll, &problem) &
                     resolve(library, "PQsetnonblocking", &calls.setnonblocking, &problem) &
                     resolve(library, "PQsendQuery", &calls.sendQuery, &problem) &
                     resolve(library, "PQflush", &calls.flush, &problem) &
                     resolve(library, "PQisBusy", &calls.isBusy, &problem) &
                     resolve(library, "PQgetResult", &calls.getResult, &problem) &
                     resolve(library, "PQclear", &calls.clear, &problem) &
                     resolve(library, "PQnotifies", &calls.notifies, &problem) &
                     resolve(library, "PQfinish", &calls.finish, &problem);
    if (all)
        loaded.calls = calls;
    // Kept loaded to the end either way: the connections made with it live as long as the program.
    return loaded;
}

} // namespace

const Libpq *libpq(QString *problem)
{
    static const Loaded loaded = load();
    if (!loaded.calls && problem)
        *problem = loaded.problem;
    return loaded.calls ? &*loaded.calls : nullptr;
}

} // namespace velmora
