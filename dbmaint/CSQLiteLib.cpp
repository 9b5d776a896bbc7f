#include "dbmaint/CSQLiteLib.h"

#include <string>

#include "common/CLog.h"
#include "platform/Text.h"

static_assert(CSQLiteLib::kSlotCount == 33, "SQLite binds 33 entry points");

const std::array<const char*, CSQLiteLib::kSlotCount> CSQLiteLib::kNames = {
#define QV_SQLITE_NAME(name) "sqlite3_" #name,
    QV_SQLITE_ENTRY_POINTS(QV_SQLITE_NAME)
#undef QV_SQLITE_NAME
};

void CSQLiteLib::Clear(CLog* log, int32_t logLevel) {
    Free();
    m_slots.fill(nullptr);
    m_log = log;
    m_logLevel = logLevel;
}

bool CSQLiteLib::Load() {
    m_module = platform::LoadLibrary(std::u16string_view(kPath));
    if (m_module == nullptr) {
        if (m_log != nullptr) {
            char path[sizeof(kPath)];
            platform::WideToMultiByte(kPath, path, sizeof(path));
            m_log->Write("SQLite.DLL [%s] not found/loaded!!", path);
        }
        return false;
    }
    for (int i = 0; i < kSlotCount; ++i) {
        m_slots[i] = platform::GetProcAddress(m_module, kNames[i]);
        if (m_slots[i] == nullptr) return false;
    }
    return true;
}

void CSQLiteLib::Free() {
    if (m_module != nullptr) {
        platform::FreeLibrary(m_module);
        m_module = nullptr;
    }
}
