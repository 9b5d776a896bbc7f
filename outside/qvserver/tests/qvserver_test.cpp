// The server on its own (127.0.10.30 .. 127.0.10.39): malformed frames close only their
// connection, injected failures fire on exactly the N-th call of a family, the demo seed
// applies to an empty file only.
#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "outside/qvclient/QVSocket.h"
#include "outside/qvclient/QVWire.h"
#include "outside/qvclient/tests/ServerProcess.h"

using namespace qvtest;

namespace {

int Connect(const char* address) {
    int32_t result = 0;
    return qvwire::ConnectTcp(address, 5123, 2000, result);
}

// True when the server closed the connection (read gives the end of the stream).
bool ClosedByServer(int fd) {
    uint8_t b[64];
    timeval tv{5, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    for (;;) {
        const ssize_t n = recv(fd, b, sizeof b, 0);
        if (n == 0) return true;
        if (n < 0) return errno == ECONNRESET;
    }
}

std::vector<uint8_t> HeaderBytes(uint16_t bodyLen, qvwire::MsgType type = qvwire::MsgType::Call) {
    qvwire::Header h;
    h.type = type;
    h.op = qvwire::OpCode("GetPortsCount");
    h.bodyLen = bodyLen;
    std::vector<uint8_t> raw(qvwire::kHeaderSize);
    qvwire::EncodeHeader(h, raw.data());
    return raw;
}

class Frames : public ::testing::Test {
  protected:
    void SetUp() override {
        m_server = std::make_unique<ServerProcess>("127.0.10.30", m_dir.Path());
        ASSERT_TRUE(m_server->Start("demo"));
    }
    // The server still serves a proper client.
    void ExpectAlive() {
        int32_t h = Logon("127.0.10.30");
        ASSERT_NE(h, 0);
        int32_t count = 0;
        EXPECT_EQ(GetPortsCountMT(h, &count), 0);
        EXPECT_EQ(count, 3);
        ClientLogoffMT(&h);
    }
    TempDir m_dir;
    std::unique_ptr<ServerProcess> m_server;
};

TEST_F(Frames, GarbageTruncatedAndOversizedFramesCloseTheirConnectionOnly) {
    const std::vector<std::vector<uint8_t>> cases = {
        std::vector<uint8_t>(100, 0xAB), // garbage
        [] {                             // body length 10241
            auto h = HeaderBytes(10241);
            h.resize(h.size() + 64, 0);
            return h;
        }(),
        [] { // a frame type that has no place on a calls connection
            return HeaderBytes(0, qvwire::MsgType::Events);
        }(),
        [] { // a body whose values are malformed
            auto h = HeaderBytes(3);
            h.insert(h.end(), {9, 9, 9});
            return h;
        }(),
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        const int fd = Connect("127.0.10.30");
        ASSERT_GE(fd, 0);
        ASSERT_EQ(send(fd, cases[i].data(), cases[i].size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(cases[i].size()));
        EXPECT_TRUE(ClosedByServer(fd)) << "case " << i;
        close(fd);
        ExpectAlive();
    }
    // A truncated header followed by a hang-up.
    const int fd = Connect("127.0.10.30");
    const auto h = HeaderBytes(0);
    ASSERT_EQ(send(fd, h.data(), 10, MSG_NOSIGNAL), 10);
    close(fd);
    ExpectAlive();
}

TEST_F(Frames, ABodyOfExactly10240BytesIsReadAndAnswered) {
    const int fd = Connect("127.0.10.30");
    // A call before any logon whose body is exactly 10240 bytes: a text of 5117 units
    // (3 + 10234 bytes) and one 16-bit value (3 bytes). It is read whole and answered with 8.
    std::vector<uint8_t> frame = HeaderBytes(10240);
    const uint16_t units = 5117;
    frame.insert(frame.end(), {5, units & 0xFF, units >> 8});
    frame.resize(frame.size() + 2 * units, 'a');
    frame.insert(frame.end(), {1, 7, 0});
    ASSERT_EQ(frame.size(), qvwire::kHeaderSize + 10240);
    ASSERT_EQ(send(fd, frame.data(), frame.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(frame.size()));
    qvwire::Header reply;
    std::vector<uint8_t> body;
    ASSERT_EQ(qvwire::RecvFrame(fd, reply, body, 5000), 0);
    EXPECT_EQ(reply.type, qvwire::MsgType::Reply);
    EXPECT_EQ(reply.result, 8);
    close(fd);
}

TEST(Faults, TheNthCallOfAFamilyFailsWithTheGivenResult) {
    TempDir dir;
    ServerProcess server("127.0.10.31", dir.Path(),
                         {"--fail", "GetHoseProperties:3:-14", "--fail", "GetPortsCount:2"});
    ASSERT_TRUE(server.Start("demo"));
    int32_t h = Logon("127.0.10.31");
    ASSERT_NE(h, 0);
    int32_t n, pump, tank, phys;
    double d[8];
    int16_t uve, enabled;
    // Variants count together: Ex3, Ex2, then Ex fails.
    EXPECT_EQ(GetHosePropertiesEx3MT(h, 1, &n, &pump, &tank, &phys, &d[0], &d[1], &d[2], &d[3],
                                     &uve, &d[4], &d[5], &d[6], &d[7], &enabled),
              0);
    EXPECT_EQ(GetHosePropertiesEx2MT(h, 1, &n, &pump, &tank, &phys, &d[0], &d[1], &d[2], &d[3],
                                     &uve, &d[4], &d[5], &enabled),
              0);
    EXPECT_EQ(
        GetHosePropertiesExMT(h, 1, &n, &pump, &tank, &phys, &d[0], &d[1], &d[2], &d[3], &uve),
        -14);
    EXPECT_EQ(
        GetHosePropertiesExMT(h, 1, &n, &pump, &tank, &phys, &d[0], &d[1], &d[2], &d[3], &uve), 0);
    int32_t count = -1;
    EXPECT_EQ(GetPortsCountMT(h, &count), 0);
    count = -1;
    EXPECT_EQ(GetPortsCountMT(h, &count), QV_INJECTED_FAILURE);
    EXPECT_EQ(count, -1); // no output on failure
    EXPECT_EQ(GetPortsCountMT(h, &count), 0);
    ClientLogoffMT(&h);
}

TEST(Faults, MalformedFailSpecsAreRefused) {
    TempDir dir;
    for (const char* rule :
         {"GetPortsCount", "GetPortsCount:0", "NoSuchCall:1", "GetPortsCount:1:0"}) {
        ServerProcess server("127.0.10.32", dir.Path(), {"--fail", rule});
        EXPECT_FALSE(server.Start("empty")) << rule;
    }
}

TEST(Seeds, DemoFillsOnlyAnEmptyFileAndLargeMakesItsCounts) {
    TempDir dir;
    {
        ServerProcess server("127.0.10.33", dir.Path());
        ASSERT_TRUE(server.Start("large:300:40:20"));
        int32_t h = Logon("127.0.10.33");
        int32_t cards = 0, attendants = 0, products = 0;
        BSTR e = Bstr("");
        EXPECT_EQ(GetCardClientsCountMT(h, &cards), 0);
        EXPECT_EQ(GetAttendantsCountMT(h, &attendants), 0);
        EXPECT_EQ(GetProductsCountMT(h, -1, e, e, e, e, -1, &products), 0);
        platform::SysFreeString(e);
        EXPECT_EQ(cards, 300);
        EXPECT_EQ(attendants, 20);
        EXPECT_EQ(products, 40);
        ClientLogoffMT(&h);
    }
    ServerProcess server("127.0.10.33", dir.Path());
    ASSERT_TRUE(server.Start("demo"));
    int32_t h = Logon("127.0.10.33");
    int32_t cards = 0;
    EXPECT_EQ(GetCardClientsCountMT(h, &cards), 0);
    EXPECT_EQ(cards, 300); // the demo did not apply to a file that had data
    ClientLogoffMT(&h);
}

TEST(Seeds, SideBySideServersKeepTheirOwnSites) {
    TempDir dir;
    ServerProcess a("127.0.10.34", dir.Path()), b("127.0.10.35", dir.Path());
    ASSERT_TRUE(a.Start("demo"));
    ASSERT_TRUE(b.Start("empty"));
    int32_t ha = Logon("127.0.10.34"), hb = Logon("127.0.10.35");
    int32_t pa = 0, pb = -1;
    EXPECT_EQ(GetPumpsCountMT(ha, &pa), 0);
    EXPECT_EQ(GetPumpsCountMT(hb, &pb), 0);
    EXPECT_EQ(pa, 4);
    EXPECT_EQ(pb, 0);
    ClientLogoffMT(&ha);
    ClientLogoffMT(&hb);
}

} // namespace
