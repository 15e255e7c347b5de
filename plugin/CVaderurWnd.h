// The one plug-in object behind the PluginRecord handed to the host. Created by GetPlugin,
// destroyed by ReleasePlugin; owns the PluginInfo, the main window object and the sample sinks.
#pragma once

#include "core/HostRecords.h"
#include "core/SampleSink.h"
#include "window/MainWindow.h"

#include <windows.h>

class CVaderurWnd : private MainWindow::Owner {
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
    MainWindow& Window() { return window; }
    GraphSettings* Settings() const { return window.Settings(); }
    TrayIcon* Tray() const { return window.Tray(); }
    bool WindowCreated() const { return windowCreated; }

private:
    void RequestClose() override;
    void CreateWindowAndSinks();

    PluginRecord record{};
    bool windowCreated = false;
    MainWindow window;
    SampleSinks sinks;
};
