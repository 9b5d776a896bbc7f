// Inside the platform: the memory of an event or a mutex. A named object is a small file under
// "<device root>/.board/objects/", mapped by every process that opens it; its pthread objects
// are process-shared and robust, so one that a dead process held is taken back. Each process
// holds a shared file lock on the file for as long as it has the object open: a creator that
// finds nobody holding one starts the object afresh, as the board forgets a named object when
// its last handle is closed.
#pragma once
#include <pthread.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform::posix {

enum class SyncKind : uint32_t { Event = 1, Mutex = 2 };

struct SyncBlock {
    uint32_t m_magic;       // kSyncMagic once initialised
    uint32_t m_kind;        // SyncKind
    uint32_t m_manual;      // event: manual reset
    uint32_t m_set;         // event: signalled
    pthread_mutex_t m_lock; // event: guards m_set; mutex: the mutex itself (recursive)
    pthread_cond_t m_cond;  // event: waiters (CLOCK_MONOTONIC)
};

// One mapping of a block: a named file or, for unnamed objects, private memory.
class SyncMapping {
  public:
    ~SyncMapping();
    SyncMapping(const SyncMapping&) = delete;
    SyncMapping& operator=(const SyncMapping&) = delete;

    // Opens the named object, creating it when create is set (existed tells which). On failure
    // null, with the last error set (2 none, 6 other kind, 87 bad name, 5 cannot create).
    static std::shared_ptr<SyncMapping> OpenNamed(std::u16string_view name, SyncKind kind,
                                                  bool create, bool manual, bool& existed);
    // A fresh unnamed object.
    static std::shared_ptr<SyncMapping> CreatePrivate(SyncKind kind, bool manual);

    SyncBlock& Block() { return *m_block; }

  private:
    SyncMapping() = default;
    SyncBlock* m_block = nullptr;
    int m_fd = -1; // the file of a named object, holding the shared lock; -1 when private
};

// The file of a named object in the current device root.
std::string NamedObjectPath(std::u16string_view name);

// Locks a robust mutex, making it consistent again when its owner died. Returns 0, or
// EOWNERDEAD when it was taken back from a dead owner; other values are failures.
int LockRobust(pthread_mutex_t& m);

} // namespace platform::posix
