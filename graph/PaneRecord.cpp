#include "graph/PaneRecord.h"

#include "core/TextFormat.h"

#include <windows.h>

#include <cstdint>

namespace {

constexpr DWORD readableProtection = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                     PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

}  // namespace

bool ReadableMemory(const void* address, size_t size)
{
    if (!address)
        return false;
    auto at = reinterpret_cast<uintptr_t>(address);
    const uintptr_t end = at + size;
    if (end < at)
        return false;
    // Walk the regions the range touches; each must be committed, readable and not a guard page.
    while (at < end) {
        MEMORY_BASIC_INFORMATION region{};
        if (::VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof(region)) == 0)
            return false;
        if (region.State != MEM_COMMIT || (region.Protect & readableProtection) == 0 ||
            (region.Protect & PAGE_GUARD) != 0)
            return false;
        const uintptr_t regionEnd = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (regionEnd <= at)
            return false;
        at = regionEnd;
    }
    return true;
}

bool AcceptedRecord(const GraphSettings* record)
{
    return ReadableMemory(record, offsetof(GraphSettings, Title)) && record->Size == graphSettingsSize;
}

void CopyRecordTitle(const GraphSettings& record, wchar_t* title, size_t capacity)
{
    if (ReadableMemory(record.Title, sizeof(record.Title)))
        textformat::CopyText(record.Title, title, capacity);
    else
        textformat::CopyText(L"Untitled", title, capacity);
}
