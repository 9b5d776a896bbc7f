// SetupRun: one pass of the removable-storage check and, on a new insertion carrying
// "\Hard Disk\QVSetup.scp", the setup run: configuration export with Dovetrix, the forecourt
// services stopped, the controller identified, the board's network settings read, the script's
// commands run and reported to "\Hard Disk\QVSetup.log", the script deleted and the services
// started again. Runs on the service's worker thread.
#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/CStr.h"
#include "platform/OleAuto.h"

class CLogService;

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

    // One pass of the main loop (the whole run when a new drive carries a script).
    static void Pass(CLogService& service);

    explicit SetupRun(CLogService& service);
    ~SetupRun();
    SetupRun(const SetupRun&) = delete;
    SetupRun& operator=(const SetupRun&) = delete;

    // Runs one script line (trailing characters already cut).
    void RunLine(const std::string& line);

  private:
    void Execute();
    void ExportConfiguration();
    bool ReadNetworkSettings();
    void RestartServices();
    void RunScript();
    void CheckControllerAgain();

    void Rem(const char*& cursor);
    void Exec(const char*& cursor);
    void Copy(const char*& cursor);
    void Del(const char*& cursor);
    void MakeDir(const char*& cursor);
    void RemoveDir(const char*& cursor);
    void Set(const char*& cursor);
    void Get(const char*& cursor);
    void Save(const char*& cursor);

    // Starts program with cmdLine and polls its exit code every 500 ms until it ends; true
    // with code when it ran and its code was read.
    static bool RunProgram(const std::string& program, const std::u16string& cmdLine,
                           uint32_t& code);

    // The held network string that key names (BoardName excluded), null for another key.
    BSTR* NetworkString(const std::string& key, const char16_t*& setText, const char16_t*& getText);

    // A network key that holds a string, with its report texts.
    struct NetworkKey {
        const char* key;
        BSTR SetupRun::*held;
        const char16_t* setText;
        const char16_t* getText;
    };

    CLogService& m_service;
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
