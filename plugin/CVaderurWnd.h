// The one plug-in object behind the PluginRecord handed to the host. Created by GetPlugin,
// destroyed by ReleasePlugin; owns the PluginInfo, the settings record, the tray icon and
// (through its teardown) the main window.
#pragma once

#include "plugin/HostRecords.h"
#include "settings/GraphSettings.h"

#include <windows.h>

#include <memory>

class TrayIcon;

class CVaderurWnd {
public:
    CVaderurWnd();
    virtual ~CVaderurWnd();
    CVaderurWnd(const CVaderurWnd&) = delete;
    CVaderurWnd& operator=(const CVaderurWnd&) = delete;

    // Two operations the host table reserves; nothing calls them.
    virtual int Reserved1() { return 1; }
    virtual int Reserved2() { return 1; }
    virtual int Start();
    virtual void Update(const SensorSnapshot* snapshot);
    virtual void Stop();
    virtual int Configure();
    virtual PluginRecord* Record() { return &record; }

    PluginInfo* Info() const { return record.info; }
    HINSTANCE HostInstance() const { return static_cast<HINSTANCE>(record.info->hostInstance); }
    GraphSettings* Settings() const { return settings.get(); }
    TrayIcon* Tray() const { return trayIcon.get(); }
    bool WindowCreated() const { return windowCreated; }

    // Set by the main window creation.
    void AdoptSettings(std::unique_ptr<GraphSettings> record);
    void AdoptTrayIcon(std::unique_ptr<TrayIcon> icon);

private:
    PluginRecord record{};
    std::unique_ptr<TrayIcon> trayIcon;
    bool windowCreated = false;
    std::unique_ptr<GraphSettings> settings;
};
