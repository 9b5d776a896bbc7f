// libFuzzer harness of the client library's events: the input is read as the events
// connection carries it, every frame is queued as the logon's reader queues it, and then every
// reader of the event table takes its turn at the queue through the exported functions, as a
// host would call them.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "outside/qvclient/ClientSession.h"
#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVWire.h"
#include "platform/OleAuto.h"

namespace {

// Output slots for any reader: each pointer argument gets a slot of its type.
struct Slots {
    std::deque<int16_t> i16;
    std::deque<int32_t> i32;
    std::deque<int64_t> i64;
    std::deque<double> f64;
    std::deque<BSTR> texts;
    ~Slots() {
        for (BSTR b : texts)
            platform::SysFreeString(b);
    }
    int16_t* Get(int16_t*) { return &i16.emplace_back(); }
    int32_t* Get(int32_t*) { return &i32.emplace_back(); }
    int64_t* Get(int64_t*) { return &i64.emplace_back(); }
    double* Get(double*) { return &f64.emplace_back(); }
    BSTR* Get(BSTR*) { return &texts.emplace_back(nullptr); }
};

template <typename... A> int32_t Read(int32_t (*reader)(int32_t, A...), int32_t handle) {
    Slots slots;
    return reader(handle, slots.Get(static_cast<A>(nullptr))...);
}

int32_t Handle(std::shared_ptr<qvclient::ClientSession>& session) {
    static int32_t handle = 0;
    if (handle == 0) {
        session = std::make_shared<qvclient::ClientSession>();
        handle = qvclient::SessionTable::Add(session);
    }
    return handle;
}

// Gives every reader one turn; true when one of them took the oldest event.
bool OneRound(int32_t h) {
    const int32_t results[] = {
        Read(GetNextPumpEventMT, h),           Read(GetNextPumpEventEx2MT, h),
        Read(GetNextPumpEventEx3MT, h),        Read(GetNextDeliveryEventEx2MT, h),
        Read(GetNextDeliveryEventEx3MT, h),    Read(GetNextDeliveryEventEx4MT, h),
        Read(GetNextCardReadEventMT, h),       Read(GetNextDBTankStatusEventMT, h),
        Read(GetNextDBTankStatusEventExMT, h), Read(GetNextDBTankStatusEventEx2MT, h),
        Read(GetNextLogEventEventMT, h),       Read(GetNextDBHoseETotalsEventExMT, h),
    };
    for (int32_t r : results)
        if (r != QV_NO_EVENT) return true;
    return false;
}

// The input's first byte chooses: even, the rest is the connection's bytes, headers included;
// odd, the rest is bodies each led by a two-byte length, sent under proper Events headers (so
// that the search goes into the values rather than the header).
void Queue(qvclient::ClientSession& session, const uint8_t* data, size_t size) {
    if (size == 0) return;
    const bool bodies = data[0] & 1;
    size_t pos = 1;
    for (;;) {
        qvwire::Header header;
        if (bodies) {
            if (size - pos < 2) return;
            header.type = qvwire::MsgType::Events;
            header.bodyLen = static_cast<uint16_t>(data[pos] | (data[pos + 1] << 8));
            pos += 2;
            if (header.bodyLen > qvwire::kMaxBody) return; // refused with the header
        } else {
            if (size - pos < qvwire::kHeaderSize) return;
            if (!qvwire::DecodeHeader(data + pos, header)) return; // the connection would close
            pos += qvwire::kHeaderSize;
        }
        if (header.bodyLen > size - pos) return; // a short read
        const std::vector<uint8_t> body(data + pos, data + pos + header.bodyLen);
        pos += header.bodyLen;
        if (session.QueueEvent(header, body) != QV_OK) return;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::shared_ptr<qvclient::ClientSession> session;
    const int32_t h = Handle(session);
    Queue(*session, data, size);
    int32_t count = 0;
    GetEventsCountMT(h, &count);
    for (int32_t i = 0; i < count; ++i) {
        int16_t type = 0;
        GetNextEventTypeMT(h, &type);
        if (!OneRound(h)) DiscardNextEventMT(h);
    }
    while (DiscardNextEventMT(h) == QV_OK) {
    }
    return 0;
}
