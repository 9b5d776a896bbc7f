// Critical sections on a recursive mutex: the owner may enter again, as on Windows.
#include "platform/Sync.h"

#include <mutex>

namespace platform {

struct CriticalSection::Impl {
    std::recursive_mutex mutex;
};

CriticalSection::CriticalSection() : m_impl(std::make_unique<Impl>()) {}
CriticalSection::~CriticalSection() = default;
void CriticalSection::Enter() {
    m_impl->mutex.lock();
}
void CriticalSection::Leave() {
    m_impl->mutex.unlock();
}

} // namespace platform
