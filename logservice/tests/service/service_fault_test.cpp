// The exception path end to end: the service's main loop faults on the simulated board, the
// report goes to the service log, the armed watchdog resets the board, and after the new boot
// the service starts again with a fresh start record.
#include "logservice/tests/service/ServiceRoot.h"

namespace {

using namespace servicetest;

std::string StatusValue(const std::string& status, const std::string& key) {
    std::istringstream in(status);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key + " ", 0) == 0) return line.substr(key.size() + 1);
    return "";
}

class ServiceFault : public ServiceRoot {};

TEST_F(ServiceFault, AFaultInTheLoopResetsTheBoardAndTheServiceStartsAnew) {
    fs::remove(m_root / "Windows" / "Ostrel.dll");
    fs::create_symlink(BuildDir() + "/tests/libostrel_faulting.so",
                       m_root / "Windows" / "Ostrel.dll");
    WriteFile(m_root / "Windows" / "Services.ini", ServiceList("QV2Serial,Ostrel"));
    WriteFile(m_root / "fault.once", "");
    StartBoard({"--watchdog-ms", "700"});

    ASSERT_TRUE(WaitFor([&] { return StatusValue(m_board.Ctl("status"), "resets") == "1"; }, 30000))
        << m_board.Ctl("status");
    ASSERT_TRUE(m_board.WaitHostReady(30000));
    ASSERT_TRUE(WaitFor([&] { return Count(ServiceLogText(), "***START") == 2; }, 15000))
        << ServiceLogText();
    EXPECT_EQ(StatusValue(m_board.Ctl("status"), "boots"), "2");
    EXPECT_FALSE(fs::exists(m_root / "fault.once"));

    const std::string text = ServiceLogText();
    const size_t fault = text.find("faulting now");
    ASSERT_NE(fault, std::string::npos) << text;
    const size_t report = text.find("SEH exception: address 0x", fault);
    ASSERT_NE(report, std::string::npos) << text;
    EXPECT_NE(text.find("CSocket::ReadMsg address 0x", report), std::string::npos);
    const size_t what = text.find("Access violation", report);
    const size_t armed = text.find("DeviceIoControl(IOCTL_WD_ON)", report);
    const size_t mode = text.find("WD turned on!! 2", report);
    const size_t restart = text.find("***START", report);
    EXPECT_LT(what, armed);
    EXPECT_LT(armed, mode);
    EXPECT_LT(mode, restart);
    EXPECT_EQ(text.find("Ostrel service stopped", fault),
              std::string::npos);                               // the loop was not resumed
    EXPECT_EQ(text.find("****STOP", fault), std::string::npos); // reset, not a shutdown
    // The new worker's records reach the file after its first pass.
    EXPECT_TRUE(WaitFor(
        [&] {
            return ServiceLogText().find("Ostrel service entering main loop", restart) !=
                   std::string::npos;
        },
        10000));
    EXPECT_EQ(Count(m_board.Ctl("log"), "watchdog reset"), 1);
}

} // namespace
