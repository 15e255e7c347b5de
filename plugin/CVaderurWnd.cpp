#include "plugin/CVaderurWnd.h"

#include "plugin/PluginState.h"
#include "plugin/SampleDistribution.h"
#include "plugin/SnapshotCopy.h"
#include "window/MainWindow.h"
#include "window/TrayIcon.h"

namespace {
const wchar_t versionText[] = L"1.2";
const wchar_t nameText[] = L"Zentrix Vaderur";
const wchar_t descriptionText[] = L"Zentrix Vaderur plugin by MOLTAVIS";
}  // namespace

CVaderurWnd::CVaderurWnd()
{
    ClearSnapshotCopy();
    graphCount = 0;
    record = PluginRecord{};
    record.info = new PluginInfo{versionText, nameText, descriptionText, nullptr, nullptr, nullptr};
    pluginInstance = this;
}

CVaderurWnd::~CVaderurWnd()
{
    settings.reset();
    // Removed while its window still exists: a dead icon would otherwise stay in the
    // notification area until the mouse passes over it.
    trayIcon.reset();
    if (mainWindow)
        ::DestroyWindow(mainWindow);
    delete record.info;
    record.info = nullptr;
    pluginInstance = nullptr;
}

int CVaderurWnd::Start()
{
    if (!windowCreated || !mainWindow)
        return 0;
    ::ShowWindow(mainWindow, SW_SHOW);
    if (settings && settings->ShowSyatrayIcon && trayIcon)
        trayIcon->ShowIcon();
    return 0;
}

void CVaderurWnd::Update(const SensorSnapshot* snapshot)
{
    if (!snapshot)
        return;
    StoreSnapshot(*snapshot);
    if (!windowCreated) {
        graphCount = SnapshotCoreCount();
        // Creation is tried once, whatever it returns.
        windowCreated = true;
        InitMainWindow(this, HostInstance());
    }
    DistributeSamples();
}

void CVaderurWnd::Stop()
{
    if (!windowCreated || !mainWindow)
        return;
    ::ShowWindow(mainWindow, SW_HIDE);
    if (trayIcon)
        trayIcon->HideIcon();
}

int CVaderurWnd::Configure()
{
    ::MessageBoxW(static_cast<HWND>(record.info->hostWindow), L"Please use the plugin menu for settings.",
                  L"Notice", MB_ICONINFORMATION);
    return 1;
}

void CVaderurWnd::AdoptSettings(std::unique_ptr<GraphSettings> newSettings)
{
    settings = std::move(newSettings);
}

void CVaderurWnd::AdoptTrayIcon(std::unique_ptr<TrayIcon> icon)
{
    trayIcon = std::move(icon);
}
