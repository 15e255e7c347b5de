// The in-process lock over the panes' histories and styles. The window thread holds it
// exclusively while it pushes, clears or restyles; the export worker holds it shared for a
// whole off-screen render, so the worker never reads a history buffer that a growth or a
// clear is replacing. All panes share one lock: an Update then takes it once for every core
// instead of once per core, and an export blocks the pushes either way.
#pragma once

#include <windows.h>

class PaneLock {
public:
    constexpr PaneLock() = default;
    PaneLock(const PaneLock&) = delete;
    PaneLock& operator=(const PaneLock&) = delete;

    class Exclusive {
    public:
        explicit Exclusive(PaneLock& l) : owner(l) { ::AcquireSRWLockExclusive(&owner.lock); }
        ~Exclusive() { ::ReleaseSRWLockExclusive(&owner.lock); }
        Exclusive(const Exclusive&) = delete;
        Exclusive& operator=(const Exclusive&) = delete;

    private:
        PaneLock& owner;
    };

    class Shared {
    public:
        explicit Shared(PaneLock& l) : owner(l) { ::AcquireSRWLockShared(&owner.lock); }
        ~Shared() { ::ReleaseSRWLockShared(&owner.lock); }
        Shared(const Shared&) = delete;
        Shared& operator=(const Shared&) = delete;

    private:
        PaneLock& owner;
    };

private:
    SRWLOCK lock = SRWLOCK_INIT;
};

// The one lock that every pane uses. Constant-initialised: a function-local static would need
// a thread-safe initialisation guard, and the first guard taken on the host's thread makes the
// posix-thread runtime keep a record (two handles and some memory) that no unload gives back.
inline PaneLock panesLock;

inline PaneLock& PanesLock()
{
    return panesLock;
}
