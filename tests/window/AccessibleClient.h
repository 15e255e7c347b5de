// A screen reader's side of the window for the tests: references of an Active Accessibility
// client, its reads, the events it hears, and a fixture with the plug-in linked in, COM started
// and keys pressed as the window reads them.
#pragma once

#include "tests/support/LinkedPlugin.h"
#include "tests/support/ProcessCounts.h"
#include "tests/window/WindowHarness.h"

#include "graph/CZiveVazudEx.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "win32/Handles.h"
#include "win32/WindowCapture.h"
#include "window/CoreAccessible.h"
#include "window/GridView.h"
#include "window/HoverTip.h"
#include "window/MainWindow.h"
#include "window/WindowViews.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace testaccess {

constexpr GUID iidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// One reference of a client, released when it goes.
class Accessible {
public:
    Accessible() = default;
    explicit Accessible(IAccessible* object) : object(object) {}
    Accessible(Accessible&& other) noexcept : object(other.object) { other.object = nullptr; }
    Accessible& operator=(Accessible&&) = delete;
    ~Accessible()
    {
        if (object)
            object->Release();
    }
    IAccessible* operator->() const { return object; }
    explicit operator bool() const { return object != nullptr; }
    IAccessible* Get() const { return object; }

private:
    IAccessible* object = nullptr;
};

inline Accessible FromWindow(HWND window)
{
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, iidAccessible, reinterpret_cast<void**>(&object))))
        return Accessible();
    return Accessible(object);
}

// The IAccessible behind a VT_DISPATCH answer; the variant is cleared.
inline Accessible FromVariant(VARIANT& answer)
{
    IAccessible* object = nullptr;
    if (answer.vt == VT_DISPATCH && answer.pdispVal)
        answer.pdispVal->QueryInterface(iidAccessible, reinterpret_cast<void**>(&object));
    ::VariantClear(&answer);
    return Accessible(object);
}

inline VARIANT Child(LONG id)
{
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
inline std::wstring Read(const Accessible& object, TextGetter getter, LONG child = CHILDID_SELF)
{
    BSTR text = nullptr;
    if (!object || FAILED((object.Get()->*getter)(Child(child), &text)) || !text)
        return L"";
    std::wstring result(text);
    ::SysFreeString(text);
    return result;
}
inline std::wstring Name(const Accessible& object, LONG child = CHILDID_SELF)
{
    return Read(object, &IAccessible::get_accName, child);
}
inline std::wstring Value(const Accessible& object, LONG child = CHILDID_SELF)
{
    return Read(object, &IAccessible::get_accValue, child);
}

inline LONG Role(const Accessible& object, LONG child = CHILDID_SELF)
{
    VARIANT role;
    ::VariantInit(&role);
    if (!object)
        return -1;
    object->get_accRole(Child(child), &role);
    return role.vt == VT_I4 ? role.lVal : -1;
}

inline RECT Location(const Accessible& object, LONG child = CHILDID_SELF)
{
    long left = 0, top = 0, width = 0, height = 0;
    if (!object)
        return {};
    object->accLocation(&left, &top, &width, &height, Child(child));
    return {left, top, left + width, top + height};
}

inline RECT ToScreen(HWND window, RECT rect)
{
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline POINT Centre(const RECT& rect)
{
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// The events a screen reader would follow, as it would hear them: out of context.
struct WinEvent {
    DWORD event;
    HWND window;
    LONG object;
    LONG child;
};
inline std::vector<WinEvent> events;
inline void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    events.push_back({event, window, object, child});
}

class Accessibility : public testsupport::LinkedPlugin {
protected:
    void SetUp() override
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        LinkedPlugin::SetUp();
    }
    void TearDown() override
    {
        if (hook)
            ::UnhookWinEvent(hook);
        SetKeys({});
        LinkedPlugin::TearDown();
        EXPECT_EQ(LiveAccessibleObjects(), 0);
        ::CoUninitialize();
    }
    void Feed(uint32_t cores, float temperature = 55.0f, int updates = 1)
    {
        SensorSnapshot snapshot = testhost::MakeSnapshot(cores, temperature, 40);
        for (int i = 0; i < updates; ++i)
            record->Update(&snapshot);
        testhost::Pump();
    }
    void Hook()
    {
        events.clear();
        hook = ::SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, RecordEvent,
                                 ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        ASSERT_NE(hook, nullptr);
    }
    std::vector<WinEvent> EventsOf(DWORD kind)
    {
        testhost::Pump();
        std::vector<WinEvent> found;
        for (const WinEvent& e : events)
            if (e.event == kind)
                found.push_back(e);
        return found;
    }
    // The modifier keys as the window reads them (GetKeyState) while it handles a key.
    static void SetKeys(std::vector<int> down)
    {
        BYTE keys[256] = {};
        for (int key : down)
            keys[key] = 0x80;
        ::SetKeyboardState(keys);
    }
    static void Press(WPARAM key, std::vector<int> modifiers = {})
    {
        SetKeys(modifiers);
        ::SendMessageW(mainWindow, WM_KEYDOWN, key, 0);
        SetKeys({});
        testhost::Pump();
    }
    static void TakeFocus()
    {
        ::SetForegroundWindow(mainWindow);
        ::SetFocus(mainWindow);
        testhost::Pump();
        ASSERT_EQ(::GetFocus(), mainWindow);
    }
    static std::wstring TipText()
    {
        const HoverTip* hover = pluginInstance->Window().Hover();
        if (!hover || !::IsWindowVisible(hover->Handle()))
            return L"";
        wchar_t text[1024] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = mainWindow;
        tool.uId = 0;
        tool.lpszText = text;
        ::SendMessageW(hover->Handle(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
        return text;
    }

    HWINEVENTHOOK hook = nullptr;
};


}  // namespace testaccess
