#include "plugin/CVaderurWnd.h"

#include "core/SnapshotCopy.h"
#include "plugin/PluginState.h"
#include "plugin/SampleDistribution.h"
#include "plugin/SampleSinks.h"
#include "settings/SettingsReader.h"

namespace {
const wchar_t versionText[] = L"1.2";
const wchar_t nameText[] = L"Zentrix Vaderur";
const wchar_t descriptionText[] = L"Zentrix Vaderur plugin by MOLTAVIS";
}  // namespace

CVaderurWnd::CVaderurWnd() : window(*this, this)
{
    ClearSnapshotCopy();
    record.info = new PluginInfo{versionText, nameText, descriptionText, nullptr, nullptr, nullptr};
}

CVaderurWnd::~CVaderurWnd()
{
    delete record.info;
    record.info = nullptr;
    // The window object goes after this body: it removes the tray icon and destroys the window.
}

int CVaderurWnd::Start()
{
    if (windowCreated)
        window.Show();
    return 0;
}

void CVaderurWnd::Update(const SensorSnapshot* snapshot)
{
    if (!snapshot)
        return;
    StoreSnapshot(*snapshot);
    if (!windowCreated) {
        // Creation is tried once, whatever it returns.
        windowCreated = true;
        CreateWindowAndSinks();
    }
    DistributeSamples(window, sinks);
}

void CVaderurWnd::CreateWindowAndSinks()
{
    WindowOptions options{};
    std::unique_ptr<GraphSettings> settings = ReadSettings(&options, SnapshotTjMax());
    if (window.Create(HostInstance(), SnapshotCoreCount(), SnapshotTjMax(), options, std::move(settings)))
        sinks = MakeSampleSinks(options, SnapshotCoreCount());
}

void CVaderurWnd::Stop()
{
    if (windowCreated)
        window.Hide();
}

int CVaderurWnd::Configure()
{
    ::MessageBoxW(static_cast<HWND>(record.info->hostWindow), L"Please use the plugin menu for settings.",
                  L"Notice", MB_ICONINFORMATION);
    return 1;
}

void CVaderurWnd::RequestClose()
{
    // Only the host may unload the plug-in; its teardown destroys the window.
    if (record.info && record.info->closeRequest)
        record.info->closeRequest(&record);
}
