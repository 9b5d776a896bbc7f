// Handlers of the operations that add pumps, hoses, grades and tanks, delete tanks, read the
// older variants through their newest ones, set hose totals, keep accounting periods and tank
// strapping tables, and give product densities. The operation table takes them by name.
#pragma once
#include <string>
#include <vector>

#include "outside/qvserver/OperationContext.h"

namespace qvserver {

struct EntityOperation {
    const char* name;
    std::string inSig; // expected input letters
    Handler handler;
};

// Every such operation, in no particular order.
const std::vector<EntityOperation>& EntityOperations();

} // namespace qvserver
