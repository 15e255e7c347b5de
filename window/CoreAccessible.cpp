// The IAccessible of the cores. The DLL that holds this code may be unloaded while a client
// still holds an object: the first object handed out pins the module for the life of the
// process, so a late call or Release never runs into unloaded code; what the object reads
// is guarded by the window's handle instead (see Connect).
#include "window/CoreAccessible.h"

#include "window/CoreAccessibleObject.h"

#include "core/HottestCore.h"
#include "core/HoverReadout.h"
#include "graph/CZiveVazudEx.h"
#include "win32/Clock.h"
#include "window/ComApartment.h"
#include "window/CoreFocus.h"
#include "window/MainWindow.h"
#include "window/View.h"

#include <oleacc.h>

#include <atomic>
#include <new>
#include <string>

namespace {

bool modulePinned = false;  // touched on the window's thread only

void PinModule()
{
    if (modulePinned)
        return;
    HMODULE module = nullptr;
    modulePinned = ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                        reinterpret_cast<LPCWSTR>(&PinModule), &module) != FALSE;
}

}  // namespace

namespace accessible {

std::atomic<long> liveObjects{0};

HRESULT Text(const std::wstring& text, BSTR* out)
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (text.empty())
        return S_FALSE;
    *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

void Empty(VARIANT* out)
{
    ::VariantInit(out);
    out->vt = VT_EMPTY;
}

void Number(VARIANT* out, LONG value)
{
    ::VariantInit(out);
    out->vt = VT_I4;
    out->lVal = value;
}

const CZiveVazudEx& PaneAt(const Live& live, int32_t index)
{
    return *(*live.inputs.panes)[static_cast<size_t>(index)];
}

bool CoreAccessible::Connect(Live& live) const
{
    // A window that is gone has no thread; the panes are read on the window's thread only.
    if (::GetWindowThreadProcessId(window, nullptr) != ::GetCurrentThreadId())
        return false;
    MainWindow* owner = MainWindow::Of(window);
    if (!owner || owner->Handle() != window || !owner->Ready())
        return false;
    live.owner = owner;
    live.view = &owner->CurrentView();
    live.inputs = owner->Inputs();
    live.count = CoreFocus::Count(live.inputs);
    for (uint32_t i = 0; i < live.count; ++i) {
        if (!(*live.inputs.panes)[i])
            return false;  // a pane being replaced
    }
    // A pane object outlives its core when a later snapshot reports fewer.
    return core == wholeWindowObject || static_cast<uint32_t>(core) < live.count;
}

HRESULT CoreAccessible::Reach(Live& live, const VARIANT& child, int32_t& target) const
{
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    target = Target(live, child);
    return target == noTarget ? E_INVALIDARG : S_OK;
}

int32_t CoreAccessible::Target(const Live& live, const VARIANT& child) const
{
    if (child.vt != VT_I4)
        return noTarget;
    const LONG id = child.lVal;
    if (core != wholeWindowObject)
        return id == CHILDID_SELF ? core : noTarget;
    if (id == CHILDID_SELF)
        return selfTarget;
    return id >= 1 && static_cast<uint32_t>(id) <= live.count ? id - 1 : noTarget;
}

HRESULT CoreAccessible::Answer(const Live& live, int32_t target, VARIANT* out) const
{
    if (target == noTarget) {
        Empty(out);
        return S_FALSE;
    }
    if (target == selfTarget || target == core) {
        Number(out, CHILDID_SELF);
        return S_OK;
    }
    if (!live.view->CoresAreWindows()) {
        Number(out, target + 1);
        return S_OK;
    }
    ::VariantInit(out);
    out->vt = VT_DISPATCH;
    out->pdispVal = new (std::nothrow) CoreAccessible(window, target);
    return S_OK;
}

std::wstring CoreAccessible::ValueOf(const Live& live, uint32_t index) const
{
    const CZiveVazudEx& pane = PaneAt(live, static_cast<int32_t>(index));
    const SampleHistory& temperatures = pane.TempHistory();
    const SampleHistory& loads = pane.History();
    if (temperatures.Count() == 0)
        return {};
    const CoreFocus& focus = live.owner->Focus();
    const bool atCursor = focus.Focused() == static_cast<int32_t>(index) && focus.Cursor() != CoreFocus::none;
    const int32_t k = atCursor ? focus.Cursor() : 0;
    char16_t text[64] = {};
    FormatCoreValue(temperatures.ValueAt(k), loads.ValueAt(k), reinterpret_cast<const char16_t*>(pane.UnitText()),
                    reinterpret_cast<const char16_t*>(pane.LoadUnitText()), text, 0, 64);
    std::wstring value(reinterpret_cast<const wchar_t*>(text));
    if (atCursor) {
        LogClockTime time{};
        const int64_t at = live.inputs.times ? live.inputs.times->TimeAt(k) : 0;
        value += at != 0 && LocalTimeOf(at, time) ? L" at " + FormatClockTime(time) : L", time unknown";
    }
    return value;
}

HRESULT CoreAccessible::get_accParent(IDispatch** parent)
{
    if (!parent)
        return E_POINTER;
    *parent = nullptr;
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    if (core == wholeWindowObject)
        return ::CreateStdAccessibleObject(window, OBJID_WINDOW, iidDispatch, reinterpret_cast<void**>(parent));
    *parent = new (std::nothrow) CoreAccessible(window, wholeWindowObject);
    return S_OK;
}

HRESULT CoreAccessible::get_accChildCount(long* count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    *count = core == wholeWindowObject ? static_cast<long>(live.count) : 0;
    return S_OK;
}

HRESULT CoreAccessible::get_accChild(VARIANT child, IDispatch** object)
{
    if (!object)
        return E_POINTER;
    *object = nullptr;
    Live live;
    int32_t target = noTarget;
    if (const HRESULT reached = Reach(live, child, target); reached != S_OK)
        return reached;
    if (core != wholeWindowObject || target == selfTarget || !live.view->CoresAreWindows())
        return S_FALSE;  // an element without an object of its own
    *object = new (std::nothrow) CoreAccessible(window, target);
    return S_OK;
}

HRESULT CoreAccessible::TextProperty(VARIANT child, BSTR* out, Property property) const
{
    if (!out)
        return E_POINTER;
    *out = nullptr;
    try {
        Live live;
        int32_t target = noTarget;
        if (const HRESULT reached = Reach(live, child, target); reached != S_OK)
            return reached;
        if (target != selfTarget) {
            const CZiveVazudEx& pane = PaneAt(live, target);
            switch (property) {
            case Property::name:
                return Text(pane.TitleText(), out);
            case Property::value:
                return Text(ValueOf(live, static_cast<uint32_t>(target)), out);
            case Property::description:
                return Text(HistoryLine(pane.TemperatureFigures(), pane.LoadFigures(), pane.UnitText(),
                                        pane.LoadUnitText()),
                            out);
            }
        }
        if (property != Property::name)
            return Text({}, out);
        wchar_t title[256] = {};
        ::GetWindowTextW(window, title, 256);
        return Text(title, out);
    } catch (...) {
        return E_OUTOFMEMORY;  // no exception reaches the client
    }
}

HRESULT CoreAccessible::get_accRole(VARIANT child, VARIANT* role)
{
    if (!role)
        return E_POINTER;
    Empty(role);
    Live live;
    int32_t target = noTarget;
    if (const HRESULT reached = Reach(live, child, target); reached != S_OK)
        return reached;
    Number(role, target == selfTarget                ? ROLE_SYSTEM_CLIENT
                 : live.view->CoresAreWindows() ? ROLE_SYSTEM_CHART
                                                 : ROLE_SYSTEM_CELL);
    return S_OK;
}

HRESULT CoreAccessible::get_accState(VARIANT child, VARIANT* state)
{
    if (!state)
        return E_POINTER;
    Empty(state);
    Live live;
    int32_t target = noTarget;
    if (const HRESULT reached = Reach(live, child, target); reached != S_OK)
        return reached;
    const bool windowFocused = ::GetFocus() == window;
    LONG flags = STATE_SYSTEM_FOCUSABLE;
    if (!::IsWindowVisible(window))
        flags |= STATE_SYSTEM_INVISIBLE;
    if (target == selfTarget) {
        if (windowFocused && live.owner->Focus().Focused() == CoreFocus::none)
            flags |= STATE_SYSTEM_FOCUSED;
    } else {
        flags |= STATE_SYSTEM_READONLY;
        if (windowFocused && live.owner->Focus().Focused() == target)
            flags |= STATE_SYSTEM_FOCUSED;
    }
    Number(state, flags);
    return S_OK;
}

}  // namespace accessible

using accessible::CoreAccessible;
using accessible::iidAccessible;
using accessible::liveObjects;

bool AnswerGetObject(HWND mainWindow, int32_t core, WPARAM wParam, LPARAM lParam, ComApartment& com,
                     LRESULT& result)
{
    // Wine passes the object id zero-extended: compared as the 32-bit value it is.
    if (static_cast<LONG>(lParam) != OBJID_CLIENT)
        return false;
    const MainWindow* owner = MainWindow::Of(mainWindow);
    if (!owner || owner->Handle() != mainWindow || !owner->Ready())
        return false;
    if (core != wholeWindowObject && !owner->CurrentView().CoresAreWindows())
        return false;
    PinModule();
    com.Join();
    auto* object = new (std::nothrow) CoreAccessible(mainWindow, core);
    // The reference passes to the client; the object's own first one ends here.
    result = ::LresultFromObject(iidAccessible, wParam, object);
    object->Release();
    return true;
}

long LiveAccessibleObjects()
{
    return liveObjects.load();
}
