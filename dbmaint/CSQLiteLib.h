// CSQLiteLib: SQLite loaded at run time from the board's fixed library path, its entry points
// bound by name from one table. Load() reports a missing library in the log; callers treat an
// unbound library or a null slot as the layer's own failure code kNotBound (-1000).
#pragma once
#include <sqlite3.h> // for the types only: the library itself is loaded at run time

#include <array>
#include <cstdint>

#include "platform/DynLib.h"

class CLog;

// The bound entry points, in the library's documented order. Each row yields one slot, its
// exported name "sqlite3_<row>" and a typed accessor of the same name as the row.
#define QV_SQLITE_ENTRY_POINTS(X)                                                                  \
    X(initialize)                                                                                  \
    X(mprintf)                                                                                     \
    X(open)                                                                                        \
    X(close_v2)                                                                                    \
    X(shutdown)                                                                                    \
    X(exec)                                                                                        \
    X(prepare_v3)                                                                                  \
    X(finalize)                                                                                    \
    X(step)                                                                                        \
    X(reset)                                                                                       \
    X(bind_int)                                                                                    \
    X(bind_int64)                                                                                  \
    X(bind_null)                                                                                   \
    X(bind_double)                                                                                 \
    X(bind_text16)                                                                                 \
    X(column_double)                                                                               \
    X(column_int)                                                                                  \
    X(column_int64)                                                                                \
    X(column_text16)                                                                               \
    X(column_count)                                                                                \
    X(column_type)                                                                                 \
    X(column_name)                                                                                 \
    X(errcode)                                                                                     \
    X(extended_errcode)                                                                            \
    X(errmsg)                                                                                      \
    X(errstr)                                                                                      \
    X(libversion)                                                                                  \
    X(db_release_memory)                                                                           \
    X(backup_init)                                                                                 \
    X(backup_step)                                                                                 \
    X(backup_finish)                                                                               \
    X(backup_remaining)                                                                            \
    X(backup_pagecount)

class CSQLiteLib {
  public:
    // Thrown by the layer when the library is not loaded or an entry point is missing.
    static constexpr int kNotBound = -1000;
    // Where the board keeps its SQLite library (mapped into the device root).
    static constexpr char16_t kPath[] = u"\\DAVozuz\\QVForecourt\\SQLite.DLL";

    enum Slot : int {
#define QV_SQLITE_SLOT(name) k_##name,
        QV_SQLITE_ENTRY_POINTS(QV_SQLITE_SLOT)
#undef QV_SQLITE_SLOT
            kSlotCount
    };
    static const std::array<const char*, kSlotCount> kNames; // exported names, slot order

    CSQLiteLib() = default;
    ~CSQLiteLib() {
        Free();
    }
    CSQLiteLib(const CSQLiteLib&) = delete;
    CSQLiteLib& operator=(const CSQLiteLib&) = delete;

    // Empties the table (slots null, no module) and sets where a failed load is reported.
    void Clear(CLog* log, int32_t logLevel);
    // Loads the library and resolves every name in slot order. False when the library does not
    // load (logged, whatever the level) or at the first name that does not resolve (not logged;
    // the slots resolved so far stay set).
    bool Load();
    // Unloads the module, if any; the slots stay as they are but are no longer handed out.
    void Free();
    bool IsLoaded() const {
        return m_module != nullptr;
    }

    // 0 (SQLITE_OK), 100 (SQLITE_ROW) and 101 (SQLITE_DONE) count as success everywhere.
    static bool Succeeded(int rc) {
        return rc == SQLITE_OK || rc == SQLITE_ROW || rc == SQLITE_DONE;
    }
    static bool IsBusy(int rc) {
        return rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
    }
    // Throws rc unless it is a success code.
    static void Check(int rc) {
        if (!Succeeded(rc)) throw rc;
    }
    // Throws kNotBound when the entry point is not available.
    template <typename Fn> static Fn Need(Fn fn) {
        if (fn == nullptr) throw kNotBound;
        return fn;
    }

    // Typed accessors: the entry point, or null when the library is not loaded or the name
    // did not resolve.
#define QV_SQLITE_ACCESSOR(name)                                                                   \
    decltype(&::sqlite3_##name) name() const {                                                     \
        return m_module ? reinterpret_cast<decltype(&::sqlite3_##name)>(m_slots[k_##name])         \
                        : nullptr;                                                                 \
    }
    QV_SQLITE_ENTRY_POINTS(QV_SQLITE_ACCESSOR)
#undef QV_SQLITE_ACCESSOR

  private:
    friend class CSQLiteLibTestAccess; // tests swap single slots to inject missing functions

    platform::LibHandle m_module = nullptr;  // null when not loaded
    std::array<void*, kSlotCount> m_slots{}; // resolved addresses, slot order
    int32_t m_logLevel = 0;                  // copied from the connection
    CLog* m_log = nullptr;                   // where a failed load is reported (not owned)
};
