// The configuration tool's logon: the fixed values it gives the client library about itself.
#pragma once
#include <cstdint>

#include "common/CStr.h"
#include "extract/ClientLibrary.h"

// Declared with SetClientType after every successful logon.
constexpr int32_t kClientTypeKey = 0x5C2E4A91;

// One logon try to the server (name or address) with the tool's constants; the library's result.
int32_t ToolLogon(ClientLibrary& library, const CStr& server);
