// The process's GDI objects counted where the system's own counters read 0 (Wine), for the
// tests that check that what the plug-in does gives back every GDI object it took.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstring>

namespace testsupport {

template <typename Proc>
Proc NtdllFunction(const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

// The GDI objects of this process, from the GDI handle table that the PEB points at (the
// 64-bit layout: 24-byte entries, the owner's process id at 8, the type at 14). -1 when
// there is no table.
inline int GdiObjectCount()
{
    constexpr size_t pebTableOffset = 0xF8;
    constexpr int tableEntries = 16384;
    using QueryProc = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    const auto query = NtdllFunction<QueryProc>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    if (!query || query(::GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0 ||
        !basic.PebBaseAddress)
        return -1;
    const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
    const auto* table = *reinterpret_cast<const unsigned char* const*>(peb + pebTableOffset);
    if (!table)
        return -1;
    int count = 0;
    const auto ownId = static_cast<USHORT>(::GetCurrentProcessId());
    for (int i = 0; i < tableEntries; ++i) {
        const unsigned char* entry = table + 24 * i;
        USHORT owner = 0;
        std::memcpy(&owner, entry + 8, sizeof owner);
        if (entry[14] != 0 && (owner == ownId || owner == 0))
            ++count;
    }
    return count;
}

}  // namespace testsupport
