// The socket message reader fed by a scripted read operation: limits of the body length, short
// reads and closes at each stage, and what it asks of the transport.
#include "logservice/CSocket.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <vector>

#include "CaptureLog.h"
#include "platform/Clock.h"

namespace {

// One scripted read: the bytes to deliver, or a result without bytes when result is set.
struct Step {
    std::vector<uint8_t> bytes;
    bool hasResult = false;
    int32_t result = 0;
};

Step Bytes(std::vector<uint8_t> bytes) {
    return {std::move(bytes), false, 0};
}
Step Result(int32_t result) {
    return {{}, true, result};
}

std::vector<uint8_t> Header(uint32_t bodyLength) {
    std::vector<uint8_t> h(CSocket::kHeaderSize, 0xA5);
    h[22] = static_cast<uint8_t>(bodyLength & 0xFF);
    h[23] = static_cast<uint8_t>(bodyLength >> 8);
    return h;
}

class FedSocket : public CSocket {
  public:
    using CSocket::CSocket;
    int32_t Read(uint8_t* dest, int32_t count, int32_t flag) override {
        m_calls.push_back({count, flag});
        if (m_steps.empty()) return 0;
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        if (step.hasResult) return step.result;
        const auto n = std::min<size_t>(step.bytes.size(), static_cast<size_t>(count));
        std::memcpy(dest, step.bytes.data(), n);
        return static_cast<int32_t>(n);
    }
    struct Call {
        int32_t count;
        int32_t flag;
    };
    std::deque<Step> m_steps;
    std::vector<Call> m_calls;
};

uint32_t g_tick = 5000;
uint32_t DrivenTick() {
    return g_tick;
}

class SocketTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetTickSource(DrivenTick);
        m_socket.m_socket = 7;
    }
    void TearDown() override { platform::SetTickSource(nullptr); }

    TestRoot m_root;
    CaptureLog m_log;
    FedSocket m_socket{m_log};
    std::vector<uint8_t> m_buffer = std::vector<uint8_t>(CSocket::kBufferSize + 16, 0);
};

TEST(SocketNames, TypeNameTable) {
    const char* names[] = {"INVALID", "CONNECT", "DISCONNECT", "PING",
                           "PONG",    "EVENTS",  "SHUTDOWN",   "CLOSE"};
    for (int i = 0; i < 8; ++i)
        EXPECT_STREQ(names[i], CSocket::MsgTypeName(i));
    EXPECT_STREQ("INVALID", CSocket::MsgTypeName(8));
    EXPECT_STREQ("INVALID", CSocket::MsgTypeName(-1));
}

TEST_F(SocketTest, BodyOfTheLargestLengthIsReadWhole) {
    std::vector<uint8_t> body(CSocket::kMaxBody);
    for (size_t i = 0; i < body.size(); ++i)
        body[i] = static_cast<uint8_t>(i * 7);
    m_socket.m_steps = {Bytes(Header(10240)), Bytes(body)};
    g_tick = 123456;
    ASSERT_EQ(0, m_socket.ReadMsg(m_buffer.data()));
    ASSERT_EQ(2u, m_socket.m_calls.size());
    EXPECT_EQ(24, m_socket.m_calls[0].count);
    EXPECT_EQ(0, m_socket.m_calls[0].flag);
    EXPECT_EQ(10240, m_socket.m_calls[1].count);
    EXPECT_EQ(1, m_socket.m_calls[1].flag);
    EXPECT_EQ(0, std::memcmp(body.data(), m_buffer.data() + 24, body.size()));
    EXPECT_EQ(0xA5, m_buffer[0]);
    EXPECT_EQ(123456u, m_socket.m_lastMsgTick);
    EXPECT_EQ("", m_log.Text());
}

TEST_F(SocketTest, LongerBodyIsRefusedWithoutReadingIt) {
    m_socket.m_steps = {Bytes(Header(10241)), Bytes(std::vector<uint8_t>(10241))};
    m_socket.m_lastMsgTick = 1;
    EXPECT_EQ(-9, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_EQ(1u, m_socket.m_calls.size());
    EXPECT_TRUE(m_log.Has("Error msg size  10241 > 10240."));
    EXPECT_EQ(1u, m_socket.m_lastMsgTick);
    // The largest announced length (little-endian 0xFFFF) is refused the same way.
    m_socket.m_steps = {Bytes(Header(0xFFFF))};
    EXPECT_EQ(-9, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_TRUE(m_log.Has("Error msg size  65535 > 10240."));
}

TEST_F(SocketTest, EmptyBodyCompletesAfterTheHeader) {
    m_socket.m_steps = {Bytes(Header(0))};
    g_tick = 777;
    EXPECT_EQ(0, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_EQ(1u, m_socket.m_calls.size());
    EXPECT_EQ(777u, m_socket.m_lastMsgTick);
}

TEST_F(SocketTest, HeaderFailures) {
    std::vector<uint8_t> shortHeader = Header(4);
    shortHeader.resize(10);
    m_socket.m_steps = {Bytes(shortHeader)};
    EXPECT_EQ(-15, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_TRUE(m_log.Has("Error on hdr read, expecting 24, read 10."));

    m_log.Reset();
    m_socket.m_steps = {Result(0)};
    EXPECT_EQ(-16, m_socket.ReadMsg(m_buffer.data())); // peer closed before the header
    m_socket.m_steps = {Result(-3)};
    EXPECT_EQ(-14, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_EQ("", m_log.Text());
}

TEST_F(SocketTest, BodyFailures) {
    m_socket.m_steps = {Bytes(Header(100)), Result(0)};
    EXPECT_EQ(-15, m_socket.ReadMsg(m_buffer.data())); // 0 bytes of a body: short, not closed
    EXPECT_TRUE(m_log.Has("Error on body read, expecting 100, read 0."));
    m_socket.m_steps = {Bytes(Header(100)), Bytes(std::vector<uint8_t>(60))};
    EXPECT_EQ(-15, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_TRUE(m_log.Has("Error on body read, expecting 100, read 60."));
    m_log.Reset();
    m_socket.m_steps = {Bytes(Header(100)), Result(-1)};
    EXPECT_EQ(-14, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_EQ("", m_log.Text());
    EXPECT_EQ(0u, m_socket.m_lastMsgTick);
}

TEST_F(SocketTest, ClosedSocketReadsNothing) {
    m_socket.m_socket = -1;
    m_socket.m_steps = {Bytes(Header(0))};
    EXPECT_EQ(-14, m_socket.ReadMsg(m_buffer.data()));
    EXPECT_TRUE(m_socket.m_calls.empty());
    // Without a transport of its own the base read has nothing to give.
    CSocket bare(m_log);
    bare.m_socket = 3;
    EXPECT_EQ(-14, bare.ReadMsg(m_buffer.data()));
}

} // namespace
