#include "host/HostSession.h"

#include "host/HostConsole.h"
#include "host/HostWindow.h"
#include "host/PluginLibrary.h"
#include "host/PngExportRequest.h"
#include "host/SensorSource.h"
#include "host/WindowScreenshot.h"

#include <memory>

namespace {

constexpr uint32_t fastBatch = 256;

enum class RunEnd { Running, UpdatesDone, SourceEnded, ClosedByPlugin, ClosedByUser };

// The plug-in's close request arrives on the host's thread inside the plug-in's window
// procedure; the host only posts itself a message, so the plug-in is released after
// that procedure has returned.
HostWindow* closeRequestWindow = nullptr;

void PluginCloseRequest(PluginRecord*)
{
    if (closeRequestWindow)
        closeRequestWindow->PostPluginCloseRequest();
}

uint64_t ProcessCpuTimeMs()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return (ticks(kernel) + ticks(user)) / 10000;
}

std::wstring Text(const wchar_t* text)
{
    return text ? std::wstring(text) : std::wstring(L"?");
}

class HostRun : public HostWindowEvents {
public:
    explicit HostRun(const HostOptions& o) : options(o) {}

    int Run()
    {
        std::wstring error;
        if (!OpenSource(error) || !LoadPlugin(error)) {
            PrintError(error);
            return exitRunFailed;
        }
        if (!window.Create(this, record != nullptr)) {
            PrintError(L"cannot create the host window: " + SystemErrorText(GetLastError()));
            return Finish(false);
        }
        closeRequestWindow = &window;
        if (record) {
            record->info->hostWindow = window.Handle();
            record->info->hostInstance = plugin->Module();
            record->info->closeRequest = PluginCloseRequest;
            record->Start();
        }

        started = GetTickCount64();
        OnPoll();
        if (end == RunEnd::Running) {
            if (options.fast)
                window.PostPoll();
            else
                window.StartPollTimer(options.intervalMs);
        }
        MSG message;
        while (end == RunEnd::Running && GetMessageW(&message, nullptr, 0, 0) > 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        window.StopPollTimer();
        if (end == RunEnd::Running) {
            PrintError(L"the run stopped after " + std::to_wstring(updates) + L" updates");
            return Finish(false);
        }
        PrintOut(L"Run ended: " + EndText() + L"\n");

        bool ok = true;
        if (record && updates > 0)
            ok = ExportAndScreenshot();
        Hold(options.holdMs);
        return Finish(ok);
    }

    void OnPoll() override
    {
        if (end != RunEnd::Running)
            return;
        const uint32_t batch = options.fast ? fastBatch : 1;
        for (uint32_t i = 0; i < batch && end == RunEnd::Running; ++i) {
            if (!source->Next(snapshot)) {
                Stop(RunEnd::SourceEnded);
                break;
            }
            if (updates == 0)
                paneCount = snapshot.coreCount > maxSnapshotCores ? maxSnapshotCores : snapshot.coreCount;
            if (record)
                record->Update(&snapshot);
            ++updates;
            if (options.updates != 0 && updates >= options.updates)
                Stop(RunEnd::UpdatesDone);
        }
        ShowStatus();
        if (options.fast && end == RunEnd::Running)
            window.PostPoll();
    }

    void OnPluginCommand(UINT command) override
    {
        if (!record)
            return;
        if (command == hostCommandStart)
            record->Start();
        else if (command == hostCommandStop)
            record->Stop();
        else if (command == hostCommandConfigure && record->Configure)
            record->Configure();
    }

    void OnCloseRequest(bool fromPlugin) override
    {
        if (end == RunEnd::Running)
            Stop(fromPlugin ? RunEnd::ClosedByPlugin : RunEnd::ClosedByUser);
    }

private:
    bool OpenSource(std::wstring& error)
    {
        switch (options.source) {
        case SourceKind::Synthetic:
            source = MakeSyntheticSource(options.cores);
            break;
        case SourceKind::Replay:
            source = OpenReplaySource(options.replayFile, error);
            break;
        case SourceKind::System:
            source = OpenSystemSource(error);
            break;
        }
        if (source)
            PrintOut(L"Source: " + source->Description() + L"\n");
        return source != nullptr;
    }

    bool LoadPlugin(std::wstring& error)
    {
        if (options.withoutPlugin) {
            PrintOut(L"Plug-in: none (--no-plugin)\n");
            return true;
        }
        plugin = PluginLibrary::Load(options.pluginPath.empty() ? DefaultPluginPath() : options.pluginPath, error);
        if (!plugin)
            return false;
        record = plugin->GetPlugin(error);
        if (!record) {
            plugin->ReleasePlugin();
            return false;
        }
        PrintOut(L"Plug-in: " + Text(record->info->nameText) + L" " + Text(record->info->versionText) + L" from " +
                 plugin->Path() + L"\n");
        return true;
    }

    // The message loop checks the end after every message it dispatches.
    void Stop(RunEnd reason) { end = reason; }

    std::wstring EndText() const
    {
        const std::wstring count = std::to_wstring(updates) + (updates == 1 ? L" update" : L" updates");
        const std::wstring took = L" in " + std::to_wstring(GetTickCount64() - started) + L" ms";
        switch (end) {
        case RunEnd::UpdatesDone:
            return count + took + L" (--updates reached)";
        case RunEnd::SourceEnded:
            return count + took + L" (the replay log ended)";
        case RunEnd::ClosedByPlugin:
            return count + took + L" (the plug-in window was closed)";
        case RunEnd::ClosedByUser:
            return count + took + L" (the host window was closed)";
        case RunEnd::Running:
            break;
        }
        return count + took;
    }

    void ShowStatus()
    {
        uint32_t hottestCore = 0;
        uint64_t loadSum = 0;
        const uint32_t cores = snapshot.coreCount > maxSnapshotCores ? maxSnapshotCores : snapshot.coreCount;
        for (uint32_t core = 0; core < cores; ++core) {
            loadSum += snapshot.coreLoad[core];
            if (snapshot.coreTemperature[core] > snapshot.coreTemperature[hottestCore])
                hottestCore = core;
        }
        std::vector<std::wstring> lines;
        lines.push_back(record ? L"Plug-in: " + Text(record->info->nameText) + L" " + Text(record->info->versionText)
                               : L"Plug-in: none");
        lines.push_back(L"Source: " + source->Summary());
        lines.push_back(L"Updates: " + std::to_wstring(updates) +
                        (options.updates ? L" of " + std::to_wstring(options.updates) : std::wstring()));
        if (cores > 0)
            lines.push_back(L"Hottest: Core #" + std::to_wstring(hottestCore) + L" at " +
                            std::to_wstring(static_cast<int>(snapshot.coreTemperature[hottestCore])) +
                            L" \u00B0C; average load " + std::to_wstring(loadSum / cores) + L" %");
        window.SetStatus(std::move(lines));
    }

    bool ExportAndScreenshot()
    {
        if (!options.exportPngs && options.screenshotFile.empty())
            return true;
        const HWND pluginWindow = FindPluginMainWindow();
        if (!pluginWindow) {
            PrintError(L"the plug-in has no window of class MOLTAVIS on the host's thread, so nothing was exported "
                       L"or captured");
            return false;
        }
        bool ok = true;
        std::wstring error;
        if (options.exportPngs) {
            if (ExportPanePngs(pluginWindow, paneCount, options.exportTimeoutMs, error)) {
                PrintOut(L"Exported: " + std::to_wstring(paneCount) + L" PNGs (Core #0.png ...) in " +
                         HostExecutableFolder() + L"\n");
            } else {
                PrintError(error);
                ok = false;
            }
        }
        if (!options.screenshotFile.empty()) {
            if (SaveWindowScreenshot(pluginWindow, options.screenshotFile, error)) {
                PrintOut(L"Screenshot: " + options.screenshotFile + L"\n");
            } else {
                PrintError(error);
                ok = false;
            }
        }
        return ok;
    }

    // Keeps the plug-in loaded, its windows answering, for ms milliseconds; no more updates.
    void Hold(uint32_t ms)
    {
        const ULONGLONG until = GetTickCount64() + ms;
        for (ULONGLONG now = GetTickCount64(); now < until; now = GetTickCount64()) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_ALLINPUT) ==
                WAIT_OBJECT_0) {
                MSG message;
                while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                    if (message.message == WM_QUIT)
                        return;
                    TranslateMessage(&message);
                    DispatchMessageW(&message);
                }
            }
        }
    }

    int Finish(bool ok)
    {
        if (record) {
            record->Stop();
            plugin->ReleasePlugin();
            record = nullptr;
        }
        closeRequestWindow = nullptr;
        PrintOut(L"Process CPU time: " + std::to_wstring(ProcessCpuTimeMs()) + L" ms\n");
        return ok ? exitSuccess : exitRunFailed;
    }

    const HostOptions& options;
    std::unique_ptr<SensorSource> source;
    std::unique_ptr<PluginLibrary> plugin;
    PluginRecord* record = nullptr;
    HostWindow window;
    SensorSnapshot snapshot{};
    uint32_t updates = 0;
    uint32_t paneCount = 0;
    ULONGLONG started = 0;
    RunEnd end = RunEnd::Running;
};

}  // namespace

int RunHost(const HostOptions& options)
{
    HostRun run(options);
    return run.Run();
}
