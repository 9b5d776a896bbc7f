// The setup run on its own, through a host of the test's: what it reports and where, and how a
// stop request ends a program's wait, without a board or a service.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "logservice/SetupRun.h"
#include "logservice/tests/CaptureLog.h"

namespace {

// Records every report with its destination; a stop can be asked for from the test.
class RecordingHost : public SetupHost {
  public:
    RecordingHost() : m_usb(m_log) {}
    CLog& ServiceLog() override { return m_log; }
    CUsbLink& Controller() override { return m_usb; }
    bool OpenReport() override { return true; }
    bool Report(bool toReport, const char* text) override {
        m_reports.emplace_back(toReport, text);
        return true;
    }
    void CloseReport() override {}
    void Blink(bool) override {}
    int StartService(const char*) override { return 1; }
    int StopService(const char*) override { return 1; }
    bool StopRequested() override { return m_stop; }
    bool WaitOrStop(uint32_t ms) override {
        for (uint32_t waited = 0; waited < ms && !m_stop; waited += 10)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return m_stop;
    }

    std::vector<std::pair<bool, std::string>> m_reports;
    std::atomic<bool> m_stop{false};

  private:
    TestRoot m_root;
    CaptureLog m_log;
    CUsbLink m_usb;
};

using Reports = std::vector<std::pair<bool, std::string>>;

TEST(SetupRunOnItsOwn, ProgramsAreJudgedByTheirExitCode) {
    RecordingHost host;
    SetupRun run(host, 1);
    run.RunLine("exec /bin/true \"a b\"");
    run.RunLine("exec /bin/false x");
    run.RunLine("exec /bin/sh \"-c \"\"exit 7\"\"\"");
    run.RunLine("exec /no/such/program x");
    EXPECT_EQ(host.m_reports, (Reports{{true, "/bin/true a b - successful."},
                                       {true, "/bin/false x - failed!! exit code 1"},
                                       {true, "/bin/sh -c \"exit 7\" - failed!! exit code 7"},
                                       {true, "/no/such/program x - failed!!"}}));
}

TEST(SetupRunOnItsOwn, AStopEndsTheWaitForAProgram) {
    RecordingHost host;
    SetupRun run(host, 1);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        host.m_stop = true;
    });
    // The program runs until the test lets it go (a program left running would hold the test's
    // output open).
    const std::string hold = std::string(std::getenv("QV_ROOT")) + "/hold";
    std::FILE* f = std::fopen(hold.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const auto start = std::chrono::steady_clock::now();
    run.RunLine("exec /bin/sh \"-c \"\"while test -e " + hold + "; do sleep 0.1; done\"\"\"");
    const auto took = std::chrono::steady_clock::now() - start;
    std::remove(hold.c_str());
    stopper.join();
    EXPECT_LT(took, std::chrono::milliseconds(3000));
    EXPECT_TRUE(host.m_reports.empty()) << "the run's end says why, not the exec";
}

TEST(SetupRunOnItsOwn, ASaveThatChangesNothingSaysSo) {
    RecordingHost host; // a device root without network settings: every write fails
    SetupRun run(host, 1);
    run.RunLine("save x");
    EXPECT_EQ(host.m_reports, (Reports{{true, "IP Address updated  failed !!"},
                                       {true, "Network settings not changed."}}));
}

} // namespace
