// The USB devices and the simulated controller, reached through the platform's devices.
#include <chrono>
#include <cstring>
#include <thread>

#include "outside/board/tests/BoardFixture.h"
#include "platform/Device.h"
#include "platform/Event.h"
#include "platform/LastError.h"

using namespace platform;

namespace {

using boardtest::BoardFixture;
using boardtest::LinesWith;

constexpr uint32_t kSetPort = 0x0022000C;

// One open device, its port bound, its data event (0 when the driver gave none).
struct Usb {
    Handle m_device = kInvalidHandle;
    Handle m_event = kInvalidHandle;
    uint32_t m_returned = 0;

    bool Open(const char16_t* name, uint16_t port) {
        m_device = OpenDevice(name, kGenericRead | kGenericWrite, 0);
        if (m_device == kInvalidHandle) return false;
        const uint8_t in[2] = {static_cast<uint8_t>(port & 0xFF), static_cast<uint8_t>(port >> 8)};
        return DeviceIoControl(m_device, kSetPort, in, 2, &m_event, 4, &m_returned);
    }
    ~Usb() {
        if (m_device != kInvalidHandle) CloseHandle(m_device);
        if (m_event != kInvalidHandle) CloseHandle(m_event);
    }
    bool Send(uint8_t type) {
        uint32_t written = 0;
        return WriteDevice(m_device, &type, 1, written) && written == 1;
    }
    std::vector<uint8_t> Read() {
        std::vector<uint8_t> frame(261);
        uint32_t n = 0;
        if (!ReadDevice(m_device, frame.data(), 261, n)) n = 0;
        frame.resize(n);
        return frame;
    }
    // The next frame within ms, waiting on the event between reads.
    std::vector<uint8_t> WaitFrame(uint32_t ms) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        for (;;) {
            std::vector<uint8_t> f = Read();
            if (!f.empty() || std::chrono::steady_clock::now() >= end) return f;
            if (m_event != kInvalidHandle)
                WaitForSingleObject(m_event, 50);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
};

std::string Field(const std::vector<uint8_t>& f, size_t offset, size_t most) {
    std::string s(reinterpret_cast<const char*>(f.data() + offset), most);
    return s.substr(0, s.find('\0'));
}

class UsbTest : public BoardFixture {};

TEST_F(UsbTest, TheVersionExchangeGivesWholeFramesAndIsLogged) {
    StartBoard({"--serial", "QV7654321", "--boot-version", "Boot 1.2", "--driver-version",
                "Driver 3.4", "--dels", "258"});
    Usb usb;
    ASSERT_TRUE(usb.Open(u"QVF1:", 1));
    EXPECT_EQ(4u, usb.m_returned);
    ASSERT_NE(kInvalidHandle, usb.m_event);
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(usb.m_event, 0)); // nothing waits yet
    EXPECT_TRUE(usb.Read().empty());
    ASSERT_TRUE(usb.Send(0x00));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(usb.m_event, 2000));
    const std::vector<uint8_t> f = usb.Read();
    ASSERT_EQ(59u, f.size());
    EXPECT_EQ(0x40, f[0]);
    EXPECT_EQ(258, (f[8] << 8) | f[9]);
    EXPECT_EQ("Boot 1.2", Field(f, 10, 20));
    EXPECT_EQ("Driver 3.4", Field(f, 30, 20));
    EXPECT_EQ("QV7654321", Field(f, 50, 9));
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(usb.m_event, 0)); // reset once read
    EXPECT_TRUE(usb.Read().empty());

    const std::string log = boardtest::ReadFile(m_root / ".board" / "usb.log");
    ASSERT_EQ(1u, LinesWith(log, "QVF1: write 1 00").size()) << log;
    ASSERT_EQ(1u, LinesWith(log, "QVF1: read 59 40 00").size()) << log;
    EXPECT_EQ(1u, LinesWith(m_board.Ctl("usb-log"), "QVF1: port 1").size());
}

TEST_F(UsbTest, FramesAreTakenWholeAndBadCallsFail) {
    StartBoard({});
    Usb usb;
    ASSERT_TRUE(usb.Open(u"QVF2:", 2)); // no controller here: frames go nowhere
    std::vector<uint8_t> big(262, 0x11);
    uint32_t written = 7;
    EXPECT_FALSE(WriteDevice(usb.m_device, big.data(), 262, written));
    EXPECT_EQ(kErrorInvalidParameter, GetLastError());
    EXPECT_TRUE(WriteDevice(usb.m_device, big.data(), 261, written));
    EXPECT_EQ(261u, written);
    EXPECT_TRUE(usb.Send(0x00));
    EXPECT_TRUE(usb.WaitFrame(200).empty());
    EXPECT_FALSE(DeviceIoControl(usb.m_device, 0x00220010, nullptr, 0, nullptr, 0, nullptr));
    EXPECT_EQ(kErrorInvalidParameter, GetLastError());
    const uint8_t one = 1;
    EXPECT_FALSE(DeviceIoControl(usb.m_device, kSetPort, &one, 1, nullptr, 0, nullptr));
    EXPECT_EQ(kInvalidHandle, OpenDevice(u"QVF5:", kGenericRead, 0));
    EXPECT_EQ(kErrorDevNotExist, GetLastError());
    EXPECT_EQ(kInvalidHandle, OpenDevice(u"QVF1", kGenericRead, 0));
    uint32_t n = 0;
    uint8_t b[4];
    EXPECT_FALSE(ReadDevice(0x1234, b, 4, n));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());
    const std::string log = boardtest::ReadFile(m_root / ".board" / "usb.log");
    EXPECT_EQ(1u, LinesWith(log, "QVF2: write 261 11 11").size());
}

TEST_F(UsbTest, WithoutABoardDevicesDoNotOpen) {
    StartBoard({});
    m_board.Stop();
    EXPECT_EQ(kInvalidHandle, OpenDevice(u"QVF1:", kGenericRead, 0));
    EXPECT_EQ(kErrorDevNotExist, GetLastError());
}

TEST_F(UsbTest, ABoardThatGoesAwayFailsTheOpenDevice) {
    StartBoard({});
    Usb usb;
    ASSERT_TRUE(usb.Open(u"QVF1:", 1));
    m_board.Stop();
    EXPECT_FALSE(usb.Send(0x00));
    EXPECT_EQ(kErrorGenFailure, GetLastError());
}

TEST_F(UsbTest, NoEventOptionLeavesTheFieldButTheNamedEventWorks) {
    StartBoard({"--no-event"});
    Usb usb;
    ASSERT_TRUE(usb.Open(u"QVF1:", 3));
    EXPECT_EQ(0u, usb.m_returned);
    EXPECT_EQ(kInvalidHandle, usb.m_event);
    const Handle byName = OpenEvent(u"QVFrcUSB3");
    ASSERT_NE(0u, byName);
    ASSERT_TRUE(usb.Send(0x00));
    EXPECT_EQ(kWaitObject0, WaitForSingleObject(byName, 2000));
    EXPECT_EQ(59u, usb.Read().size());
    EXPECT_EQ(kWaitTimeout, WaitForSingleObject(byName, 0));
    CloseHandle(byName);
}

TEST_F(UsbTest, MisbehavingControllers) {
    // No answer at all.
    StartBoard({"--no-answer"});
    {
        Usb usb;
        ASSERT_TRUE(usb.Open(u"QVF1:", 1));
        ASSERT_TRUE(usb.Send(0x00));
        EXPECT_TRUE(usb.WaitFrame(300).empty());
    }
    // A late answer: nothing after 100 ms, the response after about 400.
    StartBoard({"--answer-delay-ms", "400"});
    {
        Usb usb;
        ASSERT_TRUE(usb.Open(u"QVF1:", 1));
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(usb.Send(0x00));
        EXPECT_TRUE(usb.WaitFrame(100).empty());
        EXPECT_EQ(59u, usb.WaitFrame(5000).size());
        EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(400));
    }
    // Other frames first, in order; and a board that reports no serial.
    StartBoard({"--noise", "0x41:10", "--noise", "0x40:20", "--serial", "QV???????"});
    {
        Usb usb;
        ASSERT_TRUE(usb.Open(u"QVF1:", 1));
        ASSERT_TRUE(usb.Send(0x00));
        std::vector<uint8_t> f = usb.WaitFrame(2000);
        ASSERT_EQ(10u, f.size());
        EXPECT_EQ(0x41, f[0]);
        f = usb.WaitFrame(2000);
        ASSERT_EQ(20u, f.size());
        EXPECT_EQ(0x40, f[0]);
        f = usb.WaitFrame(2000);
        ASSERT_EQ(59u, f.size());
        EXPECT_EQ("QV???????", Field(f, 50, 9));
    }
    // No controller; then controllers on other devices.
    StartBoard({"--controller", "0"});
    {
        Usb usb;
        ASSERT_TRUE(usb.Open(u"QVF1:", 1));
        ASSERT_TRUE(usb.Send(0x00));
        EXPECT_TRUE(usb.WaitFrame(200).empty());
    }
    StartBoard({"--controller", "3", "--second-controller", "2", "--second-serial", "QV0000002"});
    {
        Usb one, two, three;
        ASSERT_TRUE(one.Open(u"QVF1:", 1));
        ASSERT_TRUE(two.Open(u"QVF2:", 2));
        ASSERT_TRUE(three.Open(u"QVF3:", 3));
        for (Usb* u : {&one, &two, &three})
            ASSERT_TRUE(u->Send(0x00));
        EXPECT_EQ("QV0000002", Field(two.WaitFrame(2000), 50, 9));
        EXPECT_EQ("QV0012345", Field(three.WaitFrame(2000), 50, 9));
        EXPECT_TRUE(one.WaitFrame(100).empty());
    }
}

TEST_F(UsbTest, BadOptionsAreRefused) {
    int code = 0;
    qvtesting::BoardProcess probe;
    const std::string out = probe.Ctl("", &code);
    EXPECT_EQ(2, code) << out;
    const std::string cmd =
        qvtesting::BoardProcess::Program() + " run --controller 5 >/dev/null 2>&1";
    const int status = system(cmd.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
    const std::string help = qvtesting::BoardProcess::Program() + " run --help >/dev/null";
    EXPECT_EQ(0, system(help.c_str()));
}

} // namespace
