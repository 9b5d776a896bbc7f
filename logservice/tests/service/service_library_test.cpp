// The service library as the board's services host uses it: loaded from "\Windows\Ostrel.dll"
// into this process (its attach and detach run), its exports called directly, and under the
// simulated board's own services host through its control codes.
#include <chrono>
#include <cstring>

#include "logservice/tests/service/ServiceRoot.h"
#include "platform/DynLib.h"
#include "platform/LastError.h"
#include "platform/Services.h"

namespace {

using namespace servicetest;
using Clock = std::chrono::steady_clock;
using ms = std::chrono::milliseconds;

class ServiceLibrary : public ServiceRoot {
  protected:
    void SetUp() override {
        ServiceRoot::SetUp();
        WriteFile(m_root / "Windows" / "Services.ini", ServiceList("QV2Serial"));
    }
    void TearDown() override {
        if (m_lib != nullptr) platform::FreeLibrary(m_lib);
        ServiceRoot::TearDown();
    }
    void Load() {
        m_lib = platform::LoadLibrary("\\Windows\\Ostrel.dll");
        ASSERT_NE(m_lib, nullptr);
        m_init = reinterpret_cast<platform::ServiceInitFn>(Entry("QVL_Init"));
        m_deinit = reinterpret_cast<platform::ServiceDeinitFn>(Entry("QVL_Deinit"));
        m_io = reinterpret_cast<platform::ServiceIOControlFn>(Entry("QVL_IOControl"));
    }
    void* Entry(const char* name) {
        void* f = platform::GetProcAddress(m_lib, name);
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
    // A control code with a 4-byte answer; result and last error.
    int32_t Control(uint32_t code, uint32_t& value, uint32_t* actual = nullptr, uint32_t size = 4) {
        uint8_t out[8] = {};
        platform::SetLastError(0);
        const int32_t r = m_io(m_context, code, nullptr, 0, out, size, actual);
        std::memcpy(&value, out, 4);
        return r;
    }
    uint32_t State() {
        uint32_t v = 99;
        EXPECT_EQ(Control(platform::kIoctlServiceStatus, v), 1);
        return v;
    }

    platform::LibHandle m_lib = nullptr;
    platform::ServiceInitFn m_init = nullptr;
    platform::ServiceDeinitFn m_deinit = nullptr;
    platform::ServiceIOControlFn m_io = nullptr;
    uintptr_t m_context = 0;
};

TEST_F(ServiceLibrary, EntryPointsStatusAndEveryControlCode) {
    StartBoard();
    Load();
    EXPECT_EQ(State(), 0u); // loaded, not started

    auto start = Clock::now();
    m_context = m_init(0);
    EXPECT_GE(Clock::now() - start, ms(950));
    ASSERT_NE(m_context, 0u);
    EXPECT_EQ(State(), 1u);

    // Open and Close answer 1, Read, Write and Seek -1, whatever they are given.
    using OpenFn = platform::ServiceOpenFn;
    using CloseFn = platform::ServiceCloseFn;
    EXPECT_EQ(reinterpret_cast<OpenFn>(Entry("QVL_Open"))(0, 7, 3), 1u);
    EXPECT_EQ(reinterpret_cast<CloseFn>(Entry("QVL_Close"))(1234), 1);
    char buf[8];
    EXPECT_EQ(reinterpret_cast<platform::ServiceReadFn>(Entry("QVL_Read"))(1, buf, 8), 0xFFFFFFFFu);
    EXPECT_EQ(reinterpret_cast<platform::ServiceWriteFn>(Entry("QVL_Write"))(1, buf, 8),
              0xFFFFFFFFu);
    EXPECT_EQ(reinterpret_cast<platform::ServiceSeekFn>(Entry("QVL_Seek"))(1, 5, 0), 0xFFFFFFFFu);

    // Status: with and without the actual-out count; a short or missing buffer is refused.
    uint32_t value = 0, actual = 0;
    EXPECT_EQ(Control(platform::kIoctlServiceStatus, value, &actual), 1);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(actual, 4u);
    EXPECT_EQ(Control(platform::kIoctlServiceStatus, value, nullptr, 3), 0);
    EXPECT_EQ(platform::GetLastError(), platform::kErrorInvalidUserBuffer);
    platform::SetLastError(0);
    EXPECT_EQ(m_io(m_context, platform::kIoctlServiceStatus, nullptr, 0, nullptr, 4, &actual), 0);
    EXPECT_EQ(platform::GetLastError(), platform::kErrorInvalidUserBuffer);
    actual = 0;
    EXPECT_EQ(Control(platform::kIoctlServiceSupportedOptions, value, &actual), 1);
    EXPECT_EQ(value, 1u);
    EXPECT_EQ(actual, 4u);
    EXPECT_EQ(Control(platform::kIoctlServiceSupportedOptions, value, nullptr, 2), 0);
    EXPECT_EQ(platform::GetLastError(), platform::kErrorInvalidUserBuffer);

    struct Code {
        uint32_t code;
        int32_t result;
    };
    const Code codes[] = {
        {platform::kIoctlServiceControl, 1},
        {platform::kIoctlServiceDebug, 1},
        {platform::kIoctlServiceRegisterSockaddr, 0},
        {platform::kIoctlServiceDeregisterSockaddr, 1},
        {platform::kIoctlServiceStarted, 0},
        {platform::kIoctlServiceQueryCanDeinit, 1},
        {platform::kIoctlServiceNotifyAddrChange, 0},
    };
    for (const Code& c : codes) {
        EXPECT_EQ(Control(c.code, value), c.result) << std::hex << c.code;
        EXPECT_EQ(platform::GetLastError(), 0u) << std::hex << c.code;
    }
    for (uint32_t code : {platform::kIoctlServiceInstall, platform::kIoctlServiceUninstall,
                          platform::kIoctlServiceUnload, platform::kIoctlServiceConsole,
                          0x01040044u, 0x12345678u}) {
        EXPECT_EQ(Control(code, value), 0) << std::hex << code;
        EXPECT_EQ(platform::GetLastError(), platform::kErrorInvalidParameter) << std::hex << code;
    }
    EXPECT_EQ(State(), 1u); // none of them touched the worker

    start = Clock::now();
    EXPECT_EQ(m_deinit(m_context), 1);
    EXPECT_LT(Clock::now() - start, ms(5500));
    EXPECT_EQ(State(), 0u);
    platform::FreeLibrary(m_lib);
    m_lib = nullptr;
    const std::string text = ServiceLogText();
    EXPECT_EQ(Count(text, "Ostrel service started"), 1);
    EXPECT_EQ(Count(text, "Ostrel service entering main loop"), 1);
    EXPECT_EQ(Count(text, "Ostrel service stopped"), 1);
    EXPECT_LT(text.find("Ostrel service stopped"), text.find("Watchdog closed"));
}

TEST_F(ServiceLibrary, StartWhileRunningAndRefreshBuildAFreshWorker) {
    StartBoard();
    Load();
    m_context = m_init(0);
    ASSERT_NE(m_context, 0u);
    uint32_t value = 0;
    auto start = Clock::now();
    EXPECT_EQ(Control(platform::kIoctlServiceStart, value), 1);
    EXPECT_GE(Clock::now() - start, ms(950)); // the new worker was waited for
    EXPECT_EQ(State(), 1u);
    EXPECT_EQ(Control(platform::kIoctlServiceRefresh, value), 1);
    EXPECT_EQ(State(), 1u);
    EXPECT_EQ(Control(platform::kIoctlServiceStop, value), 1);
    EXPECT_EQ(State(), 0u);
    EXPECT_EQ(Control(platform::kIoctlServiceStop, value), 1); // nothing to stop
    EXPECT_EQ(Control(platform::kIoctlServiceStart, value), 1);
    EXPECT_EQ(State(), 1u);
    EXPECT_EQ(m_deinit(m_context), 1);

    const std::string text = ServiceLogText();
    EXPECT_EQ(Count(text, "***START <Ostrel service"), 4);
    EXPECT_EQ(Count(text, "****STOP <Ostrel service"), 4);
    EXPECT_EQ(Count(text, "Ostrel service started"), 4);
    EXPECT_EQ(Count(text, "Ostrel service stopped"), 4);
}

TEST_F(ServiceLibrary, AStopWhileTheWorkerBuildsItsObjectIsNotLost) {
    // A log directory that never appears keeps the worker building for about ten seconds.
    SetProfile("Path=\\Never\r\nFile=Yes\r\n");
    StartBoard();
    Load();
    m_context = m_init(0);
    ASSERT_NE(m_context, 0u); // alive after one second: still building
    auto start = Clock::now();
    EXPECT_EQ(m_deinit(m_context), 1);
    const auto waited = Clock::now() - start;
    EXPECT_GE(waited, ms(4500)); // the worker was still building
    EXPECT_LT(waited, ms(6000));
    EXPECT_EQ(State(), 0u);
    // The worker sees the stop once built, skips its loop and ends.
    EXPECT_TRUE(WaitFor([&] { return Count(ServiceLogText(), "****STOP") == 1; }, 15000));
    const std::string text = ServiceLogText();
    EXPECT_EQ(Count(text, "Ostrel service stopped"), 1);
    EXPECT_EQ(Count(text, "Watchdog closed"), 1);
}

TEST_F(ServiceLibrary, UnderTheBoardsServicesHost) {
    WriteFile(m_root / "Windows" / "Services.ini", ServiceList("QV2Serial,Ostrel"));
    StartBoard();
    EXPECT_NE(m_board.Ctl("services").find("Ostrel QVL1: running"), std::string::npos);
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040020"), "result 1 error 0 bytes 4 out 00000001\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040020 2"), "result 0 error 1784 bytes 0 out\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x0104003C"), "result 1 error 0 bytes 4 out 00000001\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040028"), "result 0 error 87 bytes 0 out\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040008"), "result 1 error 0 bytes 0 out\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040020"), "result 1 error 0 bytes 4 out 00000000\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040004"), "result 1 error 0 bytes 0 out\n");
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040020"), "result 1 error 0 bytes 4 out 00000001\n");
    EXPECT_EQ(m_board.Stop(), 0);
    // The host's shutdown called Deinit and the detach: both workers ended cleanly.
    const std::string text = ServiceLogText();
    EXPECT_EQ(Count(text, "Ostrel service stopped"), 2);
    EXPECT_EQ(Count(text, "****STOP <Ostrel service"), 2);
}

TEST_F(ServiceLibrary, TheHostUnloadsTheLibraryOnlyAfterAWorkerStillBuilding) {
    // The worker builds for about ten seconds; the host shuts down at once. Deinit gives up
    // after five seconds, and the unload must wait for the worker rather than pull its code.
    SetProfile("Path=\\Never\r\nFile=Yes\r\n");
    WriteFile(m_root / "Windows" / "Services.ini", ServiceList("QV2Serial,Ostrel"));
    StartBoard();
    EXPECT_EQ(m_board.Stop(), 0);
    const std::string text = ServiceLogText();
    EXPECT_EQ(Count(text, "Ostrel service stopped"), 1) << text;
    EXPECT_EQ(Count(text, "****STOP <Ostrel service"), 1);
}

// The board with the service loaded by its host, a pen drive whose script waits in an exec
// until hold is removed, and the service's console output in m_output.
class ServiceOnTheBoard : public ServiceLibrary {
  protected:
    void StartWithWaitingScript() {
        SetProfile("File=Yes\r\nScreen=sim\r\n");
        WriteFile(m_root / "Windows" / "Services.ini", ServiceList("QVServer,QV2Serial,Ostrel"));
        m_output = m_root / "board.out";
        m_board.SetOutput(m_output.string());
        StartBoard();
        m_hold = m_root / "hold";
        WriteFile(m_hold, "");
        const fs::path pen = m_root / "pen";
        WriteFile(pen / "QVSetup.scp", "rem before\r\n" + HoldLine(m_hold) + "rem after\r\n");
        ASSERT_NE(m_board.Ctl("plug '" + pen.string() + "'").find("plugged"), std::string::npos);
        ASSERT_TRUE(
            WaitFor([&] { return Report().find("*** before ***") != std::string::npos; }, 60000));
    }
    void TearDown() override {
        fs::remove(m_hold);
        ServiceLibrary::TearDown();
    }
    std::string Report() { return ReadFile(m_root / "Hard Disk" / "QVSetup.log"); }
    // The last line of the service log.
    std::string LastLogLine() {
        std::string text = ServiceLogText();
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text.substr(text.rfind('\n') + 1);
    }

    fs::path m_output;
    fs::path m_hold;
};

TEST_F(ServiceOnTheBoard, AStopDuringARunIsAnsweredInTimeAndTheRunEndsCleanly) {
    StartWithWaitingScript();
    // While the run goes on, its records are in the log file and on the host's console.
    EXPECT_NE(ServiceLogText().find("Starting to process QVSetup.scp...."), std::string::npos);
    EXPECT_NE(ReadFile(m_output).find("Pen drive found."), std::string::npos);

    const auto start = Clock::now();
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040008"), "result 1 error 0 bytes 0 out\n");
    EXPECT_LT(Clock::now() - start, ms(5000));
    const std::string report = Report();
    EXPECT_NE(report.find("Setup run stopped: the service is stopping."), std::string::npos)
        << report;
    EXPECT_EQ(report.find("*** after ***"), std::string::npos);
    EXPECT_TRUE(fs::exists(m_root / "Hard Disk" / "QVSetup.scp"));
    const std::string services = m_board.Ctl("services");
    EXPECT_NE(services.find("QVServer QVS1: running"), std::string::npos) << services;
    EXPECT_NE(services.find("QV2Serial QV21: running"), std::string::npos) << services;
    EXPECT_NE(services.find("Ostrel QVL1: running"), std::string::npos) << services;
    EXPECT_EQ(m_board.Ctl("ioctl Ostrel 0x01040020"), "result 1 error 0 bytes 4 out 00000000\n");
    EXPECT_NE(LastLogLine().find("****STOP <Ostrel service"), std::string::npos) << LastLogLine();
    EXPECT_EQ(Count(ServiceLogText(), "Ostrel service stopped"), 1);
}

TEST_F(ServiceOnTheBoard, AShutdownDuringARunEndsTheLogWithItsRecordsAndStop) {
    StartWithWaitingScript();
    const auto start = Clock::now();
    EXPECT_EQ(m_board.Stop(), 0);
    EXPECT_LT(Clock::now() - start, ms(15000));
    const std::string text = ServiceLogText();
    EXPECT_NE(text.find("*** before ***"), std::string::npos);
    EXPECT_NE(text.find("Setup run stopped: the service is stopping."), std::string::npos);
    EXPECT_NE(LastLogLine().find("****STOP <Ostrel service"), std::string::npos) << LastLogLine();
}

TEST_F(ServiceLibrary, NoSecondWorkerStartsBesideOneThatDidNotStop) {
    // The first worker builds its object for about ten seconds, so the stop gives up on it.
    SetProfile("Path=\\Never\r\nFile=Yes\r\n");
    StartBoard();
    Load();
    m_context = m_init(0);
    ASSERT_NE(m_context, 0u);
    EXPECT_EQ(m_deinit(m_context), 1);
    SetProfile("File=Yes\r\n");
    uint32_t value = 0;
    EXPECT_EQ(Control(platform::kIoctlServiceStart, value), 1);
    EXPECT_EQ(State(), 0u) << "a second worker started beside the first";
    // Once the first has ended, a start builds the one worker again.
    ASSERT_TRUE(WaitFor([&] { return Count(ServiceLogText(), "****STOP") == 1; }, 20000));
    EXPECT_EQ(Control(platform::kIoctlServiceStart, value), 1);
    EXPECT_EQ(State(), 1u);
    EXPECT_EQ(m_deinit(m_context), 1);
    const std::string text = ServiceLogText();
    EXPECT_EQ(Count(text, "***START <Ostrel service"), 2);
    EXPECT_EQ(Count(text, "****STOP <Ostrel service"), 2);
}

} // namespace
