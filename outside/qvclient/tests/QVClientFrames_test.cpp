// The client library against a fake server (a socket peer in this test, 127.0.11.20 ..
// 127.0.11.29) that sends malformed events and replies: every one fails the read or drops
// the connection with an error result; none aborts or hangs the host.
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>

#include "outside/qvclient/QVClient.h"
#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;
using qvwire::Value;
using qvwire::Values;

namespace {

constexpr char kAddress[] = "127.0.11.20";

std::vector<uint8_t> Body(const Values& vs) {
    qvwire::Writer w;
    w.PutAll(vs);
    return w.Bytes();
}

// A frame as raw bytes: a proper header announcing `announced` body bytes (the body's size
// when -1), then the body.
std::vector<uint8_t> Frame(qvwire::MsgType type, const std::vector<uint8_t>& body,
                           int announced = -1) {
    qvwire::Header h;
    h.type = type;
    h.session = 77;
    h.bodyLen = static_cast<uint16_t>(announced < 0 ? body.size() : announced);
    std::vector<uint8_t> raw(qvwire::kHeaderSize);
    qvwire::EncodeHeader(h, raw.data());
    raw.insert(raw.end(), body.begin(), body.end());
    return raw;
}

// Answers one logon (calls and events connection), then sends the given bytes on the events
// connection, or as the reply to the first call when `asReply`.
class FakeServer {
  public:
    FakeServer(std::vector<uint8_t> bytes, bool asReply) : m_bytes(std::move(bytes)) {
        m_calls = qvwire::ListenTcp(kAddress, 5123);
        m_events = qvwire::ListenTcp(kAddress, 5124);
        m_thread = std::thread([this, asReply] { Serve(asReply); });
    }
    ~FakeServer() {
        m_stop = true;
        for (int fd : {m_callFd, m_eventFd})
            qvwire::ShutdownSocket(fd);
        qvwire::ShutdownSocket(m_calls);
        qvwire::ShutdownSocket(m_events);
        m_thread.join();
        for (int fd : {m_callFd, m_eventFd, m_calls, m_events})
            qvwire::CloseSocket(fd);
    }
    bool Listening() const { return m_calls >= 0 && m_events >= 0; }

  private:
    void Serve(bool asReply) {
        m_callFd = accept(m_calls, nullptr, nullptr);
        qvwire::Header h;
        std::vector<uint8_t> body;
        if (qvwire::RecvFrame(m_callFd, h, body, 5000) != 0) return;
        Answer(m_callFd, h, Body({Value::Text(u"0123456789abcdef0123456789abcdef")}));
        m_eventFd = accept(m_events, nullptr, nullptr);
        if (qvwire::RecvFrame(m_eventFd, h, body, 5000) != 0) return;
        Answer(m_eventFd, h, {});
        if (asReply) {
            if (qvwire::RecvFrame(m_callFd, h, body, 5000) != 0) return;
            // The reply's sequence number must match the call's for the bytes to be read.
            if (m_bytes.size() >= 12)
                for (int i = 0; i < 4; ++i)
                    m_bytes[8 + i] = static_cast<uint8_t>(h.seq >> (8 * i));
        }
        send(asReply ? m_callFd : m_eventFd, m_bytes.data(), m_bytes.size(), MSG_NOSIGNAL);
        // Later calls (the logoff) are answered with an empty success.
        while (!m_stop) {
            const int rc = qvwire::RecvFrame(m_callFd, h, body, 100);
            if (rc == 0) Answer(m_callFd, h, {});
            if (rc == qvwire::kRecvBroken || rc == qvwire::kRecvMalformed) break;
        }
    }
    static void Answer(int fd, const qvwire::Header& request, const std::vector<uint8_t>& body) {
        qvwire::Header r = request;
        r.type = qvwire::MsgType::Reply;
        r.session = 77;
        r.result = 0;
        qvwire::SendFrame(fd, r, body);
    }

    std::vector<uint8_t> m_bytes;
    int m_calls = -1, m_events = -1, m_callFd = -1, m_eventFd = -1;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// A good log event with one section, then the malformed bytes.
std::vector<uint8_t> GoodEventThen(const std::vector<uint8_t>& bad) {
    std::vector<uint8_t> raw =
        Frame(qvwire::MsgType::Events,
              Body({Value::I16(24), Value::I16(0), Value::I16(2), Value::I32(5), Value::I32(6)}));
    raw.insert(raw.end(), bad.begin(), bad.end());
    return raw;
}

// Reads the oldest event as a log event; its result.
int32_t ReadLogEvent(int32_t h) {
    int32_t id, device, number, clearedBy, ackedBy;
    int16_t deviceType, level, type;
    double d[8];
    Out name, desc;
    return GetNextLogEventEventMT(h, &id, &deviceType, &device, &number, &name, &level, &type,
                                  &desc, &d[0], &d[1], &clearedBy, &ackedBy, &d[2], &d[3], &d[4],
                                  &d[5], &d[6], &d[7]);
}

// In a child process (so that an abort or a hang is a failed case, not a lost test binary):
// logs on to the fake server and reads events until the read fails. Exits 0 when the first
// event was queued, the read failed with -22 or -14, the next read gives -14, and a reader finds
// nothing behind the good event.
void ReadEventsAndExit(const std::vector<uint8_t>& bad) {
    alarm(10); // a hang ends the child with SIGALRM
    FakeServer fake(GoodEventThen(bad), false);
    if (!fake.Listening()) std::_Exit(3);
    int32_t h = Logon(kAddress);
    if (h == 0) std::_Exit(4);
    int32_t r = 0;
    for (int i = 0; i < 600 && (r = ProcessEventsMT(h)) == 0; ++i) // past the call timeout
        usleep(10000);
    int32_t count = 0;
    GetEventsCountMT(h, &count);
    const bool failed = r == QV_PROTOCOL_ERROR || r == QV_CONNECTION_BROKEN;
    const bool stays = ProcessEventsMT(h) == QV_CONNECTION_BROKEN;
    int16_t type = 0;
    GetNextEventTypeMT(h, &type);
    DiscardNextEventMT(h);
    const bool drained = ReadLogEvent(h) == QV_NO_EVENT;
    ClientLogoffMT(&h);
    std::_Exit(failed && stays && drained && count == 1 && type == 24 ? 0 : 5);
}

struct BadEvent {
    const char* name;
    std::vector<uint8_t> bytes;
};

std::vector<BadEvent> BadEvents() {
    using qvwire::MsgType;
    const auto events = [](const Values& vs) { return Frame(MsgType::Events, Body(vs)); };
    std::vector<uint8_t> truncatedValue = Body({Value::I16(24)});
    truncatedValue.insert(truncatedValue.end(), {2, 1, 0}); // an I32 with two of its bytes
    std::vector<uint8_t> unknownTag = Body({Value::I16(24)});
    unknownTag.push_back(9);
    return {
        {"section count -2", events({Value::I16(24), Value::I16(0), Value::I16(-2)})},
        {"count -2 in a section not read", events({Value::I16(24), Value::I16(3), Value::I16(-2)})},
        {"section count -1",
         events({Value::I16(24), Value::I16(0), Value::I16(-1), Value::I32(1)})},
        {"count beyond the values",
         events({Value::I16(24), Value::I16(0), Value::I16(5), Value::I32(1), Value::I32(2)})},
        {"count -32768", events({Value::I16(24), Value::I16(0), Value::I16(-32768)})},
        {"variant without count", events({Value::I16(24), Value::I16(0)})},
        {"count not 16-bit", events({Value::I16(24), Value::I16(0), Value::I32(1), Value::I32(1)})},
        {"type not 16-bit", events({Value::I32(24)})},
        {"empty body", events({})},
        {"truncated value", Frame(MsgType::Events, truncatedValue)},
        {"unknown tag", Frame(MsgType::Events, unknownTag)},
        {"text longer than the body",
         Frame(MsgType::Events, std::vector<uint8_t>{1, 24, 0, 5, 0xFF, 0xFF, 'a', 0})},
        {"body above 10240", Frame(MsgType::Events, {}, 10241)},
        {"body shorter than announced", Frame(MsgType::Events, Body({Value::I16(24)}), 100)},
        {"bad magic", std::vector<uint8_t>(24, 0x55)},
    };
}

TEST(MalformedEvents, FailTheReadAndDropTheEventsConnection) {
    GTEST_FLAG_SET(death_test_style, "fast");
    for (const BadEvent& c : BadEvents()) {
        EXPECT_EXIT(ReadEventsAndExit(c.bytes), ::testing::ExitedWithCode(0), "") << c.name;
    }
}

// As above for the reply to a call: GetPortsCount must fail with an error result.
void CallAndExit(const std::vector<uint8_t>& reply) {
    alarm(10);
    FakeServer fake(reply, true);
    if (!fake.Listening()) std::_Exit(3);
    int32_t h = Logon(kAddress);
    if (h == 0) std::_Exit(4);
    int32_t count = -5;
    const int32_t r = GetPortsCountMT(h, &count);
    const int32_t next = GetPortsCountMT(h, &count);
    ClientLogoffMT(&h);
    std::_Exit(r != 0 && next != 0 && count == -5 ? 0 : 5);
}

TEST(MalformedReplies, FailTheCallWithoutWritingOutputs) {
    GTEST_FLAG_SET(death_test_style, "fast");
    using qvwire::MsgType;
    const auto reply = [](const std::vector<uint8_t>& body, int announced = -1) {
        return Frame(MsgType::Reply, body, announced);
    };
    std::vector<uint8_t> cut = Body({Value::I32(3)});
    cut.pop_back();
    const std::vector<std::pair<const char*, std::vector<uint8_t>>> cases = {
        {"output of the wrong type", reply(Body({Value::I16(3)}))},
        {"two outputs for one", reply(Body({Value::I32(3), Value::I32(4)}))},
        {"no output", reply({})},
        {"truncated output", reply(cut)},
        {"body above 10240", reply({}, 10241)},
        {"body shorter than announced", reply(Body({Value::I32(3)}), 50)},
        {"not a reply", Frame(MsgType::Events, Body({Value::I32(3)}))},
    };
    for (const auto& c : cases)
        EXPECT_EXIT(CallAndExit(c.second), ::testing::ExitedWithCode(0), "") << c.first;
}

TEST(EventLayout, DecodeEventAcceptsSectionsThatCoverTheBodyExactly) {
    Values e;
    const auto decode = [&](const Values& vs) {
        const std::vector<uint8_t> b = Body(vs);
        return qvwire::DecodeEvent(b.data(), b.size(), e);
    };
    EXPECT_TRUE(decode({Value::I16(2)})); // a type alone: no sections
    ASSERT_TRUE(decode({Value::I16(2), Value::I16(0), Value::I16(1), Value::I32(7), Value::I16(3),
                        Value::I16(0)}));
    Values s;
    ASSERT_TRUE(qvwire::EventSection(e, 0, s));
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].i, 7);
    EXPECT_TRUE(qvwire::EventSection(e, 3, s));
    EXPECT_TRUE(s.empty());
    EXPECT_FALSE(qvwire::EventSection(e, 1, s));
    EXPECT_FALSE(decode({Value::I16(2), Value::I16(0), Value::I16(0), Value::I32(7)}));
    EXPECT_FALSE(decode({Value::I16(2), Value::I16(0), Value::I16(2), Value::I32(7)}));
}

} // namespace
