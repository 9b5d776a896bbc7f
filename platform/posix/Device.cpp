// Stream devices: each open handle is one connection to the board's drivers (BoardWire.h);
// every call is one request and its reply, in the order the handle's users make them.
#include "platform/Device.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/Event.h"
#include "platform/LastError.h"
#include "platform/posix/BoardWire.h"
#include "platform/posix/HandleTable.h"

namespace platform {

namespace {

class DeviceObject : public posix::KernelObject {
  public:
    explicit DeviceObject(int fd) : m_fd(fd) {}
    ~DeviceObject() override { close(m_fd); } // the board closes its side

    // One request and its reply; false with the last error set.
    bool Call(const board::Request& request, const void* payload, board::Reply& reply,
              std::vector<uint8_t>& out) {
        std::lock_guard<std::mutex> hold(m_lock);
        if (!board::Call(m_fd, request, payload, reply, out)) {
            SetLastError(kErrorGenFailure);
            return false;
        }
        if (reply.m_ok == 0) {
            SetLastError(reply.m_error);
            return false;
        }
        return true;
    }

  private:
    std::mutex m_lock; // one request at a time on the connection
    int m_fd;
};

bool TooLarge(uint32_t size) {
    if (size <= kMaxDeviceTransfer) return false;
    SetLastError(kErrorInvalidParameter);
    return true;
}

} // namespace

Handle OpenDevice(std::u16string_view name, uint32_t access, uint32_t share) {
    if (name.empty() || name.size() > 32 || name.back() != u':') {
        SetLastError(kErrorDevNotExist);
        return kInvalidHandle;
    }
    const int fd = board::Connect(board::DeviceSocketPath());
    if (fd < 0) {
        SetLastError(kErrorDevNotExist);
        return kInvalidHandle;
    }
    auto device = std::make_shared<DeviceObject>(fd);
    const board::Request request{static_cast<uint32_t>(board::Op::Open), access, share,
                                 static_cast<uint32_t>(name.size() * 2)};
    board::Reply reply{};
    std::vector<uint8_t> out;
    if (!device->Call(request, name.data(), reply, out)) {
        if (GetLastError() == kErrorGenFailure) SetLastError(kErrorDevNotExist);
        return kInvalidHandle;
    }
    const Handle h = posix::AddHandle(device);
    return h == 0 ? kInvalidHandle : h;
}

bool ReadDevice(Handle h, void* buffer, uint32_t size, uint32_t& read) {
    read = 0;
    std::shared_ptr<DeviceObject> device = posix::FindHandleOf<DeviceObject>(h);
    if (!device || TooLarge(size)) return false;
    const board::Request request{static_cast<uint32_t>(board::Op::Read), 0, size, 0};
    board::Reply reply{};
    std::vector<uint8_t> out;
    if (!device->Call(request, nullptr, reply, out)) return false;
    read = std::min<uint32_t>(reply.m_size, size);
    if (read > 0) std::memcpy(buffer, out.data(), read);
    return true;
}

bool WriteDevice(Handle h, const void* data, uint32_t size, uint32_t& written) {
    written = 0;
    std::shared_ptr<DeviceObject> device = posix::FindHandleOf<DeviceObject>(h);
    if (!device || TooLarge(size)) return false;
    const board::Request request{static_cast<uint32_t>(board::Op::Write), 0, 0, size};
    board::Reply reply{};
    std::vector<uint8_t> out;
    if (!device->Call(request, data, reply, out)) return false;
    written = reply.m_extra;
    return true;
}

bool DeviceIoControl(Handle h, uint32_t code, const void* in, uint32_t inSize, void* out,
                     uint32_t outSize, uint32_t* returned) {
    if (returned != nullptr) *returned = 0;
    std::shared_ptr<DeviceObject> device = posix::FindHandleOf<DeviceObject>(h);
    if (!device || TooLarge(inSize) || TooLarge(outSize)) return false;
    if (out == nullptr) outSize = 0;
    const board::Request request{static_cast<uint32_t>(board::Op::Control), code, outSize,
                                 in == nullptr ? 0 : inSize};
    board::Reply reply{};
    std::vector<uint8_t> answer;
    if (!device->Call(request, in, reply, answer)) return false;
    uint32_t n = std::min<uint32_t>(reply.m_size, outSize);
    if (n > 0) std::memcpy(out, answer.data(), n);
    // A driver's event travels by name; this process gets its own handle to it.
    if (reply.m_extra > 0 && outSize >= sizeof(Handle)) {
        const Handle event = OpenEvent(board::UnitsOf(answer, reply.m_size, reply.m_extra));
        if (event != 0) {
            std::memcpy(out, &event, sizeof event);
            n = std::max<uint32_t>(n, sizeof event);
        }
    }
    if (returned != nullptr) *returned = n;
    return true;
}

} // namespace platform
