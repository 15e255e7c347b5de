// What a process holds, counted where Windows' own counters read 0 under Wine 8: its kernel
// handles (the system's handle list) and its GDI objects (the GDI handle table). For tests that
// check that a run gives back what it took.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <cstring>
#include <vector>

namespace testsupport {

// One entry of the system's handle list (SystemExtendedHandleInformation).
struct SystemHandleEntry {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handle;
    ULONG access;
    USHORT creatorBackTraceIndex;
    USHORT typeIndex;
    ULONG attributes;
    ULONG reserved;
};
struct SystemHandleList {
    ULONG_PTR count;
    ULONG_PTR reserved;
    SystemHandleEntry entries[1];
};
constexpr auto systemExtendedHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(64);

template <typename Proc>
Proc NtdllFunction(const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

// GetProcessHandleCount reads 0 under Wine 8; the system's handle list has them there.
inline DWORD KernelHandleCount()
{
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0)
        return count;
    using QueryProc = NTSTATUS(WINAPI*)(SYSTEM_INFORMATION_CLASS, void*, ULONG, ULONG*);
    const auto query = NtdllFunction<QueryProc>("NtQuerySystemInformation");
    if (!query)
        return 0;
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    while (query(systemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed) != 0) {
        if (buffer.size() >= (1u << 28))
            return 0;
        buffer.resize(buffer.size() * 2);
    }
    const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
    for (ULONG_PTR i = 0; i < list->count; ++i)
        if (list->entries[i].processId == ::GetCurrentProcessId())
            ++count;
    return count;
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
