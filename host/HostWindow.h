// The host's own top-level window: the owner of the plug-in's Configure notice, the target
// of the poll timer and of the plug-in's close request, a menu that calls the plug-in's
// Start, Stop and Configure, and a few lines of status. Owned by the host's run.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// What the window asks of the run; called on the host's thread from its window procedure.
class HostWindowEvents {
public:
    virtual ~HostWindowEvents() = default;
    virtual void OnPoll() = 0;
    virtual void OnPluginCommand(UINT command) = 0;
    // The host window was closed, or the plug-in asked the host to close.
    virtual void OnCloseRequest(bool fromPlugin) = 0;
};

// Host menu commands, handed to OnPluginCommand.
constexpr UINT hostCommandStart = 1;
constexpr UINT hostCommandStop = 2;
constexpr UINT hostCommandConfigure = 3;

class HostWindow {
public:
    HostWindow() = default;
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Creates and shows the window in the lower right corner of the work area.
    bool Create(HostWindowEvents* events, bool withPluginMenu);
    HWND Handle() const { return window; }

    void SetStatus(std::vector<std::wstring> lines);
    void StartPollTimer(UINT intervalMs);
    void StopPollTimer();
    // Asks for another OnPoll as soon as the queue is free (fast runs).
    void PostPoll();
    // Safe from any callback the plug-in makes: the request arrives through the queue.
    void PostPluginCloseRequest();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Paint();

    HWND window = nullptr;
    HostWindowEvents* events = nullptr;
    std::vector<std::wstring> status;
};
