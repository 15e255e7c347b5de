#include "host/PngExportRequest.h"

#include "win32/Handles.h"
#include "host/PluginLibrary.h"
#include "win32/MessagePump.h"
#include "resources/resource.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t pluginWindowClass[] = L"MOLTAVIS";
constexpr DWORD checkPeriodMs = 50;

// What identifies one written file: a rewrite or a rename changes at least one part.
struct FileIdentity {
    bool exists = false;
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    FILETIME written{};
    ULONGLONG size = 0;

    bool SameAs(const FileIdentity& other) const
    {
        return exists == other.exists && volume == other.volume && indexHigh == other.indexHigh &&
               indexLow == other.indexLow && CompareFileTime(&written, &other.written) == 0 && size == other.size;
    }
};

FileIdentity IdentityOf(const std::wstring& path)
{
    FileIdentity identity;
    KernelHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!file || !GetFileInformationByHandle(file.Get(), &info))
        return identity;
    identity.exists = true;
    identity.volume = info.dwVolumeSerialNumber;
    identity.indexHigh = info.nFileIndexHigh;
    identity.indexLow = info.nFileIndexLow;
    identity.written = info.ftLastWriteTime;
    identity.size = (static_cast<ULONGLONG>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    return identity;
}

BOOL CALLBACK RememberPluginWindow(HWND window, LPARAM found)
{
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (lstrcmpW(className, pluginWindowClass) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}


}  // namespace

HWND FindPluginMainWindow()
{
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), RememberPluginWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool ExportPanePngs(HWND pluginWindow, uint32_t paneCount, uint32_t timeoutMs, std::wstring& error)
{
    const std::wstring folder = HostExecutableFolder();
    std::vector<std::wstring> names;
    std::vector<FileIdentity> before;
    for (uint32_t pane = 0; pane < paneCount; ++pane) {
        names.push_back(L"Core #" + std::to_wstring(pane) + L".png");
        before.push_back(IdentityOf(folder + L"\\" + names.back()));
    }

    PostMessageW(pluginWindow, WM_COMMAND, MAKEWPARAM(IDM_CREATE_PNG, 0), 0);

    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    std::vector<bool> written(paneCount, false);
    uint32_t done = 0;
    for (;;) {
        PumpMessages();
        for (uint32_t pane = 0; pane < paneCount; ++pane) {
            if (written[pane])
                continue;
            const FileIdentity now = IdentityOf(folder + L"\\" + names[pane]);
            // The plug-in renames each finished PNG into place, so one that exists is whole.
            if (now.exists && now.size > 0 && !now.SameAs(before[pane])) {
                written[pane] = true;
                ++done;
            }
        }
        if (done == paneCount)
            return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline)
            break;
        const DWORD wait = static_cast<DWORD>(std::min<ULONGLONG>(checkPeriodMs, deadline - now));
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }

    std::wstring missing;
    for (uint32_t pane = 0; pane < paneCount; ++pane) {
        if (written[pane])
            continue;
        if (!missing.empty())
            missing += L", ";
        missing += names[pane];
    }
    error = L"the plug-in wrote " + std::to_wstring(done) + L" of " + std::to_wstring(paneCount) + L" PNGs in " +
            folder + L" within " + std::to_wstring(timeoutMs) + L" ms; not written: " + missing;
    return false;
}
