// Critical sections of the system: recursive, owned by a thread.
#include "platform/Sync.h"

#include "platform/win32/Win32.h"

namespace platform {

struct CriticalSection::Impl {
    CRITICAL_SECTION section;
};

CriticalSection::CriticalSection() : m_impl(std::make_unique<Impl>()) {
    InitializeCriticalSection(&m_impl->section);
}

CriticalSection::~CriticalSection() {
    DeleteCriticalSection(&m_impl->section);
}

void CriticalSection::Enter() {
    EnterCriticalSection(&m_impl->section);
}

void CriticalSection::Leave() {
    LeaveCriticalSection(&m_impl->section);
}

} // namespace platform
