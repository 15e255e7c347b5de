// A stand-in plug-in for the host's tests: it exports GetPlugin and ReleasePlugin, writes
// every call and snapshot it receives to the file named by ZENTRIX_FAKE_LOG, opens a window
// of the plug-in's class "MOLTAVIS" painted in one colour, and answers "Create &PNG" by
// writing Core #i.png files beside the host executable from a worker thread.
//   ZENTRIX_FAKE_CLOSE_AFTER=K   asks the host to close after the K-th update
//   ZENTRIX_FAKE_EXPORT=none     ignores "Create &PNG"
#include "win32/Handles.h"
#include "core/HostRecords.h"
#include "resources/resource.h"
#include "tests/host/FakePluginFacts.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

HMODULE thisModule = nullptr;
PluginRecord record{};
PluginInfo info{};
bool live = false;
HWND window = nullptr;
uint32_t updates = 0;
uint32_t paneCount = 0;
KernelHandle exportWorker;
KernelHandle stopExport;

std::wstring Environment(const wchar_t* name)
{
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring();
}

void Log(const std::string& line)
{
    const std::wstring path = Environment(L"ZENTRIX_FAKE_LOG");
    if (path.empty())
        return;
    KernelHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::wstring HostFolder()
{
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    std::wstring folder = name;
    return folder.substr(0, folder.find_last_of(L'\\'));
}

DWORD WINAPI ExportWorker(LPVOID)
{
    // Takes a while, as a real export does; ReleasePlugin cuts the wait short.
    if (WaitForSingleObject(stopExport.Get(), fakeExportDelayMs) != WAIT_TIMEOUT)
        return 0;
    const std::wstring folder = HostFolder();
    for (uint32_t pane = 0; pane < paneCount; ++pane) {
        const std::wstring name = folder + L"\\Core #" + std::to_wstring(pane) + L".png";
        const std::wstring temporary = name + L".part";
        {
            KernelHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD written = 0;
            WriteFile(file.Get(), fakePngContent, sizeof fakePngContent - 1, &written, nullptr);
        }
        MoveFileExW(temporary.c_str(), name.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
    return 0;
}

LRESULT CALLBACK FakeWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PaintDc paint(hwnd);
        RECT client;
        GetClientRect(hwnd, &client);
        Brush fill(CreateSolidBrush(fakeWindowColour));
        FillRect(paint.Get(), &client, fill.Get());
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDM_CREATE_PNG) {
            Log("CreatePng");
            if (Environment(L"ZENTRIX_FAKE_EXPORT") != L"none" && !exportWorker)
                exportWorker.Reset(CreateThread(nullptr, 0, ExportWorker, nullptr, 0, nullptr));
        }
        return 0;
    case WM_CLOSE:
        if (info.closeRequest)
            info.closeRequest(&record);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void OpenWindow()
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = FakeWindowProc;
    windowClass.hInstance = static_cast<HINSTANCE>(info.hostInstance);
    windowClass.lpszClassName = L"MOLTAVIS";
    RegisterClassExW(&windowClass);
    RECT frame{0, 0, fakeClientWidth, fakeClientHeight};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    window = CreateWindowExW(0, L"MOLTAVIS", L"Fake plug-in", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, static_cast<HINSTANCE>(info.hostInstance), nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

int Start()
{
    Log(std::string("Info window=") + (IsWindow(static_cast<HWND>(info.hostWindow)) ? "1" : "0") +
        " instance=" + (info.hostInstance == thisModule ? "self" : "other") + " close=" + (info.closeRequest ? "1" : "0"));
    Log("Start");
    return 0;
}

void Update(const SensorSnapshot* snapshot)
{
    if (!snapshot)
        return;
    std::string line = "Update " + std::to_string(snapshot->coreCount) + " " + std::to_string(snapshot->tjMax);
    const uint32_t cores = snapshot->coreCount < maxSnapshotCores ? snapshot->coreCount : maxSnapshotCores;
    for (uint32_t core = 0; core < cores; ++core) {
        uint32_t bits;
        memcpy(&bits, &snapshot->coreTemperature[core], sizeof bits);
        char field[32];
        snprintf(field, sizeof field, " %08x:%u", bits, snapshot->coreLoad[core]);
        line += field;
    }
    Log(line);
    if (++updates == 1) {
        paneCount = cores;
        OpenWindow();
    }
    if (std::to_wstring(updates) == Environment(L"ZENTRIX_FAKE_CLOSE_AFTER") && info.closeRequest)
        info.closeRequest(&record);
}

void Stop()
{
    Log("Stop");
}

int Configure()
{
    Log("Configure");
    return 1;
}

void Remove() {}

}  // namespace

extern "C" PluginRecord* GetPlugin()
{
    Log("GetPlugin");
    if (!live) {
        live = true;
        info = PluginInfo{L"0.1", L"Fake plug-in", L"Fake plug-in for the host's tests", nullptr, nullptr, nullptr};
        stopExport.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    record = PluginRecord{1, 1, &info, Start, Update, Stop, Configure, Remove};
    return &record;
}

extern "C" void ReleasePlugin()
{
    if (!live)
        return;
    Log("Release");
    SetEvent(stopExport.Get());
    if (exportWorker)
        WaitForSingleObject(exportWorker.Get(), 10000);
    exportWorker.Reset();
    if (window)
        DestroyWindow(window);
    window = nullptr;
    live = false;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        thisModule = instance;
    return TRUE;
}
