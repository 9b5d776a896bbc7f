// SetupRun: the setup run of a newly inserted pen drive carrying "\Hard Disk\QVSetup.scp":
// configuration export with Dovetrix, the forecourt services stopped, the controller identified,
// the board's network settings read, the script's commands run and reported to
// "\Hard Disk\QVSetup.log", the script deleted and the services started again. It reaches the
// service only through a SetupHost. A stop request ends its waits and the run at once, a drive
// pulled during the run ends it too; either way the services are started again and the script
// stays where it is. Runs on the service's worker thread.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/CStr.h"
#include "logservice/SetupHost.h"
#include "platform/OleAuto.h"

class SetupRun {
  public:
    static constexpr const char* kDrive = "\\Hard Disk";
    static constexpr const char* kScriptPath = "\\Hard Disk\\QVSetup.scp";
    static constexpr const char* kSetupLogPath = "\\Hard Disk\\QVSetup.log";
    static constexpr const char* kExportProgram = "Dovetrix.exe";
    static constexpr const char16_t* kExportCommand = u"export \\config.ini";
    static constexpr const char* kExportFile = "\\config.ini";
    static constexpr uint32_t kPollMs = 500; // between exit-code requests
    static constexpr int kSaveAttempts = 5;
    static constexpr int kPathMax = 260; // characters of a path or a network value

    // Texts of ours for a run that ends early, reported to both logs where the drive still is.
    static constexpr const char* kStoppedText = "Setup run stopped: the service is stopping.";
    static constexpr const char* kNoNetworkText = "Failed to read the network settings.";
    static constexpr const char* kPulledText = "Pen drive removed during the setup run.";
    // After a failed save: what the board kept.
    static constexpr const char* kAddressOnlyText =
        "IP address, subnet mask, TFTP, DHCP and DNS changed; network name not changed.";
    static constexpr const char* kNothingSavedText = "Network settings not changed.";

    // media: the identity of the drive's insertion (platform::GetMediaId of kDrive).
    SetupRun(SetupHost& host, uint64_t media);
    ~SetupRun();
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    // Runs one script line (trailing characters already cut).
    void RunLine(const std::string& line);

    // The whole run.
    void Execute();

  private:
    enum class End { None, Stopped, Pulled };
    enum class Ran { NotStarted, Ended, Stopped };

    void ExportConfiguration();
    bool ReadNetworkSettings();
    void RunScript();
    void CheckControllerAgain();
    // True when the run must end now (a stop request, the drive pulled), noting why.
    bool Interrupted();
    bool DriveStillIn();
    // Says why an early end came, stops the LED, starts the stopped services, closes files.
    void Finish();

    // One message (cut at 255 characters); kBoth also into the drive's report.
    void Say(bool toReport, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void SayWide(bool toReport, const char16_t* format, ...);
    void Emit(bool toReport, const std::string& text);

    void Rem(const char*& cursor);
    void Exec(const char*& cursor);
    void Copy(const char*& cursor);
    void Del(const char*& cursor);
    void MakeDir(const char*& cursor);
    void RemoveDir(const char*& cursor);
    void Set(const char*& cursor);
    void Get(const char*& cursor);
    void Save(const char*& cursor);

    // Starts program with cmdLine and polls its exit code every 500 ms until it ends (code
    // read) or the service is asked to stop (the program is left to itself).
    Ran RunProgram(const std::string& program, const std::u16string& cmdLine, uint32_t& code);

    // The held network string that key names (BoardName excluded), null for another key.
    BSTR* NetworkString(const std::string& key, const char16_t*& setText, const char16_t*& getText);

    // A network key that holds a string, with its report texts.
    struct NetworkKey {
        const char* key;
        BSTR SetupRun::*held;
        const char16_t* setText;
        const char16_t* getText;
    };

    SetupHost& m_host;
    uint64_t m_media;         // the insertion this run belongs to
    FILE* m_script = nullptr; // "\Hard Disk\QVSetup.scp" while the run reads it
    End m_end = End::None;    // why the run ends early
    bool m_servicesStopped = false;
    CStr m_serial; // the controller's identity from the first open
    CStr m_boot;
    CStr m_driver;
    int32_t m_index = 1; // the USB device the controller answered on
    BSTR m_ip = nullptr; // the held network settings
    BSTR m_mask = nullptr;
    BSTR m_tftp = nullptr;
    BSTR m_dns = nullptr;
    BSTR m_gateway = nullptr; // filled by the library, not used here
    BSTR m_name = nullptr;
    int16_t m_dhcp = 0;
};
