#include "host/PngExportRequest.h"

#include "host/FileStamp.h"
#include "host/PluginLibrary.h"
#include "win32/MessagePump.h"
#include "resources/resource.h"

#include <algorithm>
#include <vector>

namespace {

const wchar_t pluginWindowClass[] = L"MOLTAVIS";
constexpr DWORD checkPeriodMs = 50;

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
    std::vector<FileStamp> before;
    for (uint32_t pane = 0; pane < paneCount; ++pane) {
        names.push_back(L"Core #" + std::to_wstring(pane) + L".png");
        before.push_back(StampOf(folder + L"\\" + names.back()));
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
            const FileStamp now = StampOf(folder + L"\\" + names[pane]);
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
