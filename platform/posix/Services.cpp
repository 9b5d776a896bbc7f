// The services API: each call is one request to the services host (BoardWire.h).
#include "platform/Services.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/LastError.h"
#include "platform/posix/BoardWire.h"

namespace platform {

namespace {

// One call on a fresh connection; false with the last error set.
bool CallHost(const board::Request& request, const void* payload, board::Reply& reply,
              std::vector<uint8_t>& out) {
    const int fd = board::Connect(board::ServicesSocketPath());
    if (fd < 0) {
        SetLastError(kErrorDevNotExist);
        return false;
    }
    const bool answered = board::Call(fd, request, payload, reply, out);
    close(fd);
    if (!answered) {
        SetLastError(kErrorDevNotExist);
        return false;
    }
    if (reply.m_ok == 0) {
        SetLastError(reply.m_error);
        return false;
    }
    return true;
}

board::Request NameRequest(board::Op op, uint32_t arg, std::u16string_view name) {
    return board::Request{static_cast<uint32_t>(op), 0, arg,
                          static_cast<uint32_t>(name.size() * 2)};
}

} // namespace

Handle ActivateService(std::u16string_view name, uint32_t clientInfo) {
    board::Reply reply{};
    std::vector<uint8_t> out;
    if (!CallHost(NameRequest(board::Op::Activate, clientInfo, name), name.data(), reply, out))
        return 0;
    return reply.m_extra;
}

Handle GetServiceHandle(std::u16string_view prefix, char16_t* dllName, uint32_t* dllNameBytes) {
    const uint32_t room = dllName != nullptr && dllNameBytes != nullptr ? *dllNameBytes : 0;
    board::Reply reply{};
    std::vector<uint8_t> out;
    if (!CallHost(NameRequest(board::Op::Find, room, prefix), prefix.data(), reply, out))
        return kInvalidHandle;
    if (dllName != nullptr && dllNameBytes != nullptr) {
        const std::u16string name = board::UnitsOf(out, 0, reply.m_size);
        const uint32_t bytes = static_cast<uint32_t>((name.size() + 1) * 2);
        if (bytes > room) {
            SetLastError(kErrorInsufficientBuffer);
            return kInvalidHandle;
        }
        std::memcpy(dllName, name.data(), name.size() * 2);
        dllName[name.size()] = u'\0';
        *dllNameBytes = bytes;
    }
    return reply.m_extra;
}

bool DeregisterService(Handle service) {
    const board::Request request{static_cast<uint32_t>(board::Op::Unload), service, 0, 0};
    board::Reply reply{};
    std::vector<uint8_t> out;
    return CallHost(request, nullptr, reply, out);
}

} // namespace platform
