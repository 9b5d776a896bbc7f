// The services host: a service library loaded and driven by control codes, the services API
// stopping and starting the forecourt server by name, a power cut by the watchdog, and the pen
// drive plugged and unplugged.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "outside/board/tests/BoardFixture.h"
#include "platform/Device.h"
#include "platform/Files.h"
#include "platform/LastError.h"
#include "platform/Services.h"

using namespace platform;

namespace {

using boardtest::BoardFixture;
using boardtest::LinesWith;
using boardtest::ReadFile;
namespace fs = std::filesystem;

constexpr const char* kLibraryServices =
    "[Services]\r\nBoot=QV2Serial,Ostrel\r\n\r\n[QV2Serial]\r\nKind=Idle\r\nPrefix=QV21:\r\n"
    "\r\n[Ostrel]\r\nKind=Library\r\nPrefix=QVL1:\r\nDll=\\Windows\\Ostrel.dll\r\nEntry=QVL\r\n";

constexpr const char* kServerServices =
    "[Services]\r\nBoot=QVServer,QV2Serial\r\n\r\n[QVServer]\r\nKind=Server\r\nPrefix=QVS1:\r\n"
    "Dll=QVServer.dll\r\nDatabase=\\DAVozuz\\SQLite\\QVForecourt.db\r\n\r\n"
    "[QV2Serial]\r\nKind=Idle\r\nPrefix=QV21:\r\nDll=QV2Serial.dll\r\n";

bool ServerAnswers() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(5123);
    inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
    const bool up = connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) == 0;
    close(s);
    return up;
}

class ServicesTest : public BoardFixture {
  protected:
    void PrepareRoot() override {
        fs::create_symlink(fs::path(std::getenv("QV_BUILD_DIR")) / "tests" /
                               "libboard_testservice.so",
                           m_root / "Windows" / "Ostrel.dll");
        if (m_failInit) std::ofstream(m_root / "testservice.fail") << "\n";
    }
    std::string ServiceLog() { return ReadFile(m_root / "testservice.log"); }
    bool m_failInit = false;
};

TEST_F(ServicesTest, TheHostLoadsTheLibraryAndPassesControlCodes) {
    StartBoard({}, kLibraryServices);
    EXPECT_EQ("attach\ninit\n", ServiceLog());
    EXPECT_EQ("QV2Serial QV21: running\nOstrel QVL1: running\n", m_board.Ctl("services"));
    EXPECT_EQ("result 1 error 0 bytes 4 out 00000001\n", m_board.Ctl("ioctl Ostrel 0x01040020"));
    // The service's last error reaches the host: a short buffer and an unknown code.
    EXPECT_EQ("result 0 error 1784 bytes 0 out\n", m_board.Ctl("ioctl Ostrel 0x01040020 2"));
    EXPECT_EQ("result 0 error 87 bytes 0 out\n", m_board.Ctl("ioctl Ostrel 0x01040010"));
    EXPECT_EQ("result 1 error 0 bytes 0 out\n", m_board.Ctl("ioctl Ostrel 0x01040008"));
    EXPECT_EQ("result 1 error 0 bytes 4 out 00000000\n", m_board.Ctl("ioctl Ostrel 0x01040020"));
    // The host answers for a service without a library.
    EXPECT_EQ("result 1 error 0 bytes 4 out 00000001\n", m_board.Ctl("ioctl QV2Serial 0x01040020"));
    EXPECT_EQ("result 0 error 87 bytes 0 out\n", m_board.Ctl("ioctl QV2Serial 0x01040024"));
    int code = 0;
    m_board.Ctl("ioctl Nobody 0x01040020", &code);
    EXPECT_EQ(1, code);
    EXPECT_EQ(0, m_board.Stop());
    EXPECT_EQ("attach\ninit\nioctl 01040020\nioctl 01040020\nioctl 01040010\nioctl "
              "01040008\nioctl 01040020\ndeinit\ndetach\n",
              ServiceLog());
}

TEST_F(ServicesTest, AServiceWhoseInitFailsIsUnloaded) {
    m_failInit = true;
    StartBoard({}, kLibraryServices);
    EXPECT_EQ("attach\ninit failed\ndetach\n", ServiceLog());
    EXPECT_EQ(1u, LinesWith(m_board.Ctl("services"), "Ostrel QVL1: stopped").size());
    int code = 0;
    EXPECT_EQ("Ostrel is not loaded\n", m_board.Ctl("ioctl Ostrel 0x01040020", &code));
    EXPECT_EQ(1, code);
    fs::remove(m_root / "testservice.fail");
    EXPECT_NE(0u, ActivateService(u"Ostrel", 2));
    EXPECT_EQ("attach\ninit failed\ndetach\nattach\ninit\n", ServiceLog());
}

TEST_F(ServicesTest, AWatchdogResetCutsThePowerWithoutShutdown) {
    StartBoard({"--watchdog-ms", "200"}, kLibraryServices);
    const Handle led = OpenDevice(u"LED1:", kGenericRead | kGenericWrite, 3);
    uint32_t n = 0;
    ASSERT_TRUE(DeviceIoControl(led, 0x00220018, nullptr, 0, nullptr, 0, &n));
    const auto start = std::chrono::steady_clock::now();
    while (LinesWith(ServiceLog(), "init").size() < 2 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(20))
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ("attach\ninit\nattach\ninit\n", ServiceLog()); // no deinit, no detach
    CloseHandle(led);
}

TEST_F(ServicesTest, AHostThatDiesByItselfIsRecordedAndTheBoardStillStops) {
    StartBoard({}, kLibraryServices);
    const std::vector<std::string> host = LinesWith(m_board.Ctl("status"), "host ");
    ASSERT_EQ(1u, host.size());
    ASSERT_EQ(0, kill(std::stoi(host[0].substr(5)), SIGKILL));
    std::string status;
    for (int i = 0; i < 500 && LinesWith(status, "host -1").empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        status = m_board.Ctl("status");
    }
    EXPECT_EQ(1u, LinesWith(status, "host -1").size()) << status;
    EXPECT_EQ(1u, LinesWith(m_board.Ctl("log"), "services host ended (signal 9)").size());
    EXPECT_EQ(0u, ActivateService(u"Ostrel", 2));
    EXPECT_EQ(kErrorDevNotExist, GetLastError());
    EXPECT_EQ(0, m_board.Stop());
}

TEST_F(ServicesTest, TheServicesApiStopsAndStartsTheServerByName) {
    StartBoard({}, kServerServices);
    ASSERT_TRUE(ServerAnswers());
    char16_t dll[30] = {};
    uint32_t bytes = sizeof dll;
    const Handle server = GetServiceHandle(u"QVS1:", dll, &bytes);
    ASSERT_NE(kInvalidHandle, server);
    EXPECT_EQ(std::u16string(u"QVServer.dll"), std::u16string(dll));
    EXPECT_EQ(26u, bytes);
    char16_t tiny[2];
    uint32_t tinyBytes = sizeof tiny;
    EXPECT_EQ(kInvalidHandle, GetServiceHandle(u"qv21:", tiny, &tinyBytes));
    EXPECT_EQ(kErrorInsufficientBuffer, GetLastError());
    EXPECT_NE(kInvalidHandle, GetServiceHandle(u"qv21:", nullptr, nullptr));

    ASSERT_TRUE(DeregisterService(server));
    EXPECT_FALSE(ServerAnswers()); // clients lose it
    EXPECT_EQ(1u, LinesWith(m_board.Ctl("services"), "QVServer QVS1: stopped").size());
    EXPECT_EQ(kInvalidHandle, GetServiceHandle(u"QVS1:", nullptr, nullptr));
    EXPECT_EQ(kErrorServiceNotActive, GetLastError());
    EXPECT_FALSE(DeregisterService(server));
    EXPECT_EQ(kErrorInvalidHandle, GetLastError());

    EXPECT_NE(0u, ActivateService(u"QVServer", 2));
    EXPECT_TRUE(ServerAnswers()); // again, on the same database
    EXPECT_TRUE(fs::exists(m_root / "DAVozuz" / "SQLite" / "QVForecourt.db"));
    EXPECT_EQ(0u, ActivateService(u"QVServer", 2));
    EXPECT_EQ(kErrorServiceAlreadyRunning, GetLastError());
    EXPECT_EQ(0u, ActivateService(u"Nothing", 2));
    EXPECT_EQ(kErrorServiceDoesNotExist, GetLastError());
    EXPECT_EQ(0, m_board.Stop());
    EXPECT_FALSE(ServerAnswers()); // the shutdown stopped it
    EXPECT_EQ(0u, ActivateService(u"QVServer", 2));
    EXPECT_EQ(kErrorDevNotExist, GetLastError());
}

TEST_F(ServicesTest, APenDriveIsPluggedAndUnpluggedInOneStep) {
    StartBoard({});
    const fs::path drive = m_root / "pen";
    fs::create_directories(drive / "sub");
    std::ofstream(drive / "QVSetup.scp") << "rem test\n";
    int code = 0;
    m_board.Ctl("plug '" + drive.string() + "'", &code);
    EXPECT_EQ(0, code);
    EXPECT_FALSE(fs::exists(drive));
    EXPECT_EQ("rem test\n", ReadFile(m_root / "Hard Disk" / "QVSetup.scp"));
    EXPECT_TRUE(fs::is_directory(m_root / "Hard Disk" / "sub"));
    m_board.Ctl("plug '" + drive.string() + "'", &code);
    EXPECT_EQ(1, code); // one drive at a time
    std::ofstream(m_root / "Hard Disk" / "QVSetup.log") << "report\n";
    m_board.Ctl("unplug", &code);
    EXPECT_EQ(0, code);
    EXPECT_FALSE(fs::exists(m_root / "Hard Disk"));
    EXPECT_EQ("report\n", ReadFile(drive / "QVSetup.log"));
    m_board.Ctl("unplug", &code);
    EXPECT_EQ(1, code);
    m_board.Ctl("plug '" + (m_root / "missing").string() + "'", &code);
    EXPECT_EQ(1, code);
}

TEST_F(ServicesTest, FilesOpenOnAPulledDriveFailAsOnARealRemoval) {
    StartBoard({});
    const fs::path drive = m_root / "pen";
    fs::create_directories(drive);
    std::ofstream(drive / "QVSetup.scp") << "rem one\n";
    int code = 0;
    m_board.Ctl("plug '" + drive.string() + "'", &code);
    ASSERT_EQ(0, code);
    uint64_t first = 0;
    ASSERT_TRUE(GetMediaId("\\Hard Disk", first));
    FILE* report = OpenFile("\\Hard Disk\\QVSetup.log", "wt");
    FILE* script = OpenFile("\\Hard Disk\\QVSetup.scp", "rt");
    ASSERT_NE(report, nullptr);
    ASSERT_NE(script, nullptr);
    EXPECT_GE(std::fputs("before\n", report), 0);
    EXPECT_EQ(0, std::fflush(report));

    m_board.Ctl("unplug", &code);
    ASSERT_EQ(0, code);
    std::fputs("after\n", report);
    EXPECT_NE(0, std::fflush(report));
    char line[64];
    EXPECT_EQ(nullptr, std::fgets(line, sizeof line, script));
    EXPECT_TRUE(std::ferror(script));
    // The same drive plugged again is a new insertion: the old files stay cut off.
    m_board.Ctl("plug '" + drive.string() + "'", &code);
    ASSERT_EQ(0, code);
    uint64_t second = 0;
    ASSERT_TRUE(GetMediaId("\\Hard Disk", second));
    EXPECT_NE(first, second);
    std::clearerr(report);
    std::fputs("again\n", report);
    EXPECT_NE(0, std::fflush(report));
    std::fclose(report);
    std::fclose(script);
    // A file opened on the new insertion works.
    FILE* fresh = OpenFile("\\Hard Disk\\QVSetup.log", "at");
    ASSERT_NE(fresh, nullptr);
    std::fputs("new\n", fresh);
    EXPECT_EQ(0, std::fclose(fresh));
    m_board.Ctl("unplug", &code);
    EXPECT_EQ("before\nnew\n", ReadFile(drive / "QVSetup.log"));
}

TEST_F(ServicesTest, AFolderOnAnotherFileSystemIsPlugged) {
    StartBoard({});
    std::string pattern = "/dev/shm/qvpen-XXXXXX";
    if (!fs::is_directory("/dev/shm") || mkdtemp(pattern.data()) == nullptr)
        GTEST_SKIP() << "no /dev/shm to put a folder on";
    const fs::path drive = pattern;
    struct stat a {
    }, b{};
    if (stat(drive.c_str(), &a) != 0 || stat(m_root.c_str(), &b) != 0 || a.st_dev == b.st_dev) {
        fs::remove_all(drive);
        GTEST_SKIP() << "/dev/shm is on the device root's file system";
    }
    std::ofstream(drive / "QVSetup.scp") << "rem test\n";
    int code = 0;
    const std::string out = m_board.Ctl("plug '" + drive.string() + "'", &code);
    EXPECT_EQ(0, code) << out;
    EXPECT_EQ("rem test\n", ReadFile(m_root / "Hard Disk" / "QVSetup.scp"));
    std::ofstream(m_root / "Hard Disk" / "QVSetup.log") << "report\n";
    m_board.Ctl("unplug", &code);
    EXPECT_EQ(0, code);
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_root / "Hard Disk")));
    EXPECT_EQ("report\n", ReadFile(drive / "QVSetup.log"));
    fs::remove_all(drive);
}

// Runs qvboard with args; its standard output, error and exit code.
struct Ran {
    std::string out;
    std::string err;
    int code;
};
Ran RunQvboard(const std::string& args) {
    const std::string err = fs::temp_directory_path() / ("qvboard-err-" + std::to_string(getpid()));
    Ran ran{"", "", -1};
    FILE* p = popen((qvtesting::BoardProcess::Program() + " " + args + " 2>" + err).c_str(), "r");
    char buf[4096];
    for (size_t n; p != nullptr && (n = fread(buf, 1, sizeof buf, p)) > 0;)
        ran.out.append(buf, n);
    const int status = p != nullptr ? pclose(p) : -1;
    ran.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    ran.err = ReadFile(err);
    fs::remove(err);
    return ran;
}

TEST(Qvboard, HelpVersionAndUsageErrors) {
    for (const char* help : {"--help", "run --help", "ctl --help", "ctl --root /x --help"}) {
        const Ran r = RunQvboard(help);
        EXPECT_EQ(r.code, 0) << help;
        EXPECT_EQ(r.out.rfind("usage: qvboard", 0), 0u) << help;
        EXPECT_EQ(r.err, "") << help;
    }
    for (const char* version : {"--version", "run --version", "ctl --version"}) {
        const Ran r = RunQvboard(version);
        EXPECT_EQ(r.code, 0) << version;
        EXPECT_EQ(r.out.rfind("qvboard ", 0), 0u) << version;
    }
    struct Mistake {
        const char* args;
        const char* line;
    } const mistakes[] = {
        {"", "qvboard: no verb given (run or ctl)\nTry 'qvboard --help'.\n"},
        {"frob", "qvboard: unknown verb 'frob'\nTry 'qvboard --help'.\n"},
        {"run --bogus", "qvboard run: unknown option --bogus\nTry 'qvboard run --help'.\n"},
        {"run --controller 9",
         "qvboard run: bad value for --controller: 9\nTry 'qvboard run --help'.\n"},
        {"ctl", "qvboard ctl: no command given\nTry 'qvboard ctl --help'.\n"},
        {"ctl frob", "qvboard ctl: unknown command 'frob'\nTry 'qvboard ctl --help'.\n"},
        {"ctl plug", "qvboard ctl: wrong number of words after plug\nTry 'qvboard ctl --help'.\n"},
    };
    for (const Mistake& m : mistakes) {
        const Ran r = RunQvboard(m.args);
        EXPECT_EQ(r.code, 2) << m.args;
        EXPECT_EQ(r.out, "") << m.args;
        EXPECT_EQ(r.err, m.line) << m.args;
    }
}

TEST_F(ServicesTest, TheBoardSaysWhenItIsReadyAndWhyAServiceDidNotStart) {
    // Another program holds the server's address.
    const int other = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(5123);
    inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
    const int yes = 1;
    setsockopt(other, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    ASSERT_EQ(0, bind(other, reinterpret_cast<sockaddr*>(&at), sizeof at));
    ASSERT_EQ(0, listen(other, 4));
    const fs::path out = fs::temp_directory_path() / ("qvboard-out-" + std::to_string(getpid()));
    fs::remove(out);
    m_board.SetOutput(out.string());
    StartBoard({}, kServerServices);
    const std::string why = "did not start: 127.0.0.1 port 5123 is in use by another program";
    EXPECT_NE(m_board.Ctl("services").find("QVServer QVS1: stopped (" + why + ")"),
              std::string::npos);
    // The ready line comes once the host has booted, which the start above waited for.
    for (int i = 0; i < 100 && ReadFile(out).find("qvboard ready") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const std::string text = ReadFile(out);
    EXPECT_NE(text.find("qvboard host: QVServer " + why + "\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("QVServer started"), std::string::npos) << text;
    EXPECT_NE(text.find("qvboard ready: QVServer stopped (" + why + "), QV2Serial running\n"),
              std::string::npos)
        << text;
    close(other);
    m_board.Stop();
    fs::remove(out);
}

} // namespace
