// What an operation's handler works with: the store, the events, the calling logon, the
// operation table (to run another operation) and the running forecourt.
#pragma once
#include <cstdint>

#include "outside/qvserver/Operations.h"

namespace qvserver {

struct Ctx {
    Store& store;
    EventSink& events;
    SessionInfo& session;
    Operations& ops;
    ForecourtService* fc; // null when the server runs no forecourt
};
using Handler = int32_t (*)(Ctx&, const Values&, Values&);

} // namespace qvserver
