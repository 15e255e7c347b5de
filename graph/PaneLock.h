// The in-process lock of one pane. The window thread holds it exclusively while it pushes,
// clears or restyles; the export worker holds it shared for a whole off-screen render, so
// the worker never reads a history buffer that a growth or a clear is replacing.
#pragma once

#include <windows.h>

class PaneLock {
public:
    PaneLock() { ::InitializeSRWLock(&lock); }
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
    SRWLOCK lock;
};
