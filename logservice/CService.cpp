#include "logservice/CService.h"

#include "common/CHFile.h"
#include "common/CStr.h"
#include "platform/Clock.h"
#include "platform/Event.h"

CService::CService(platform::Handle wakeUp)
    : m_log(kLogBase, kTitle, 1, kLogMaxSize, kLogMaxFiles, true, true), m_watchdog(m_log),
      m_alarms(kAlarmsBase, kTitle, 0, kAlarmsMaxSize, kAlarmsMaxFiles, true, true),
      m_profile(kProfilePath, false), m_wakeUp(wakeUp) {
    if (m_wakeUp == 0 || m_wakeUp == platform::kInvalidHandle) {
        m_wakeUp = platform::CreateEvent(false, false);
        m_ownWakeUp = true;
    }
    Configure();
}

CService::~CService() {
    if (m_ownWakeUp && m_wakeUp != 0) platform::CloseHandle(m_wakeUp);
}

namespace {

// True when dir names an existing directory, testing up to tries times with waitMs between.
bool AwaitDirectory(const CStr& dir, int tries, uint32_t waitMs) {
    CHFile probe;
    probe.SetName(dir.Narrow());
    for (int i = 0; i < tries; ++i) {
        if (probe.DirExists()) return true;
        platform::Sleep(waitMs);
    }
    return false;
}

} // namespace

void CService::Configure() {
    m_profile.SetSection("Log");
    m_log.m_maxFiles = kLogMaxFiles;
    m_log.m_maxSize = kLogMaxSize;

    const int32_t level = m_profile.GetInt("Level");
    m_log.m_level = static_cast<uint8_t>(level < 1 || level > 5 ? 1 : level);

    CStr path;
    m_profile.GetString("Path", path);
    path.TrimLeft();
    path.TrimRight();
    bool pathUsed = false;
    int32_t maxSize = kLogMaxSize;
    int32_t maxFiles = kLogMaxFiles;
    if (path.Length() > 0 && AwaitDirectory(path, kPathTries, kPathWaitMs)) {
        maxSize = m_profile.GetInt("MaxSize");
        if (maxSize < 1024) maxSize = kLogMaxSize;
        maxFiles = m_profile.GetInt("MaxFiles");
        if (maxFiles <= 0 || maxFiles > 0x7FFF) maxFiles = kLogMaxFiles;
        CStr dir(path); // SetPath extends it with the log's name
        m_log.SetPath(dir, maxSize, static_cast<int16_t>(maxFiles));
        pathUsed = true;
    }

    m_log.m_screen = m_profile.GetBool("Screen");
    m_log.EnableFile(m_profile.KeyExists("File") ? m_profile.GetBool("File") : true);
    m_log.m_stackTrace = m_profile.GetBool("StackTrace");
    m_log.m_hook = false;
    if (pathUsed)
        m_log.Write("Logging to path %s , %d size %d files", path.Narrow(), maxSize, maxFiles);
}
