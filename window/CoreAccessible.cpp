// The IAccessible of the cores. The DLL that holds this code may be unloaded while a client
// still holds an object: the first object handed out pins the module for the life of the
// process, so a late call or Release never runs into unloaded code; what the object reads
// is guarded by the window's handle instead (see Connect).
#include "window/CoreAccessible.h"

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

// Spelled out: the statically linked import libraries carry wrong bytes for some of them.
constexpr GUID iidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID iidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID iidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

std::atomic<long> liveObjects{0};
bool modulePinned = false;  // touched on the window's thread only

constexpr int32_t noTarget = -2;
constexpr int32_t selfTarget = -1;

void PinModule()
{
    if (modulePinned)
        return;
    HMODULE module = nullptr;
    modulePinned = ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                        reinterpret_cast<LPCWSTR>(&PinModule), &module) != FALSE;
}

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

// What the object reads at a call: the live window's view and panes.
struct Live {
    MainWindow* owner = nullptr;
    const View* view = nullptr;
    ViewInputs inputs;
    uint32_t count = 0;
};

// Connect saw to it that every pane below the count exists.
const CZiveVazudEx& PaneAt(const Live& live, int32_t index)
{
    return *(*live.inputs.panes)[static_cast<size_t>(index)];
}

class CoreAccessible final : public IAccessible {
public:
    CoreAccessible(HWND mainWindow, int32_t core) : window(mainWindow), core(core) { ++liveObjects; }
    CoreAccessible(const CoreAccessible&) = delete;
    CoreAccessible& operator=(const CoreAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualGUID(iid, iidUnknown) || IsEqualGUID(iid, iidDispatch) || IsEqualGUID(iid, iidAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: a client of this object calls IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override
    {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override;
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override;
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override;
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override
    {
        return TextProperty(child, name, Property::name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override
    {
        return TextProperty(child, value, Property::value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override
    {
        return TextProperty(child, description, Property::description);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override;
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override;
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Text({}, help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override
    {
        if (topic)
            *topic = 0;
        return Text({}, file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* keys) override { return Text({}, keys); }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override;
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override
    {
        if (!selection)
            return E_POINTER;
        Empty(selection);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* action) override { return Text({}, action); }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override;
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~CoreAccessible() { --liveObjects; }

    bool Connect(Live& live) const;
    // The core a child id names, selfTarget for this object as a whole, noTarget for none.
    int32_t Target(const Live& live, const VARIANT& child) const;
    // The answer that names target to a client of this object.
    HRESULT Answer(const Live& live, int32_t target, VARIANT* out) const;
    std::wstring ValueOf(const Live& live, uint32_t index) const;
    enum class Property { name, value, description };
    HRESULT TextProperty(VARIANT child, BSTR* out, Property property) const;

    std::atomic<ULONG> references{1};
    HWND window;
    int32_t core;
};

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
    const SampleHistory* temperatures = pane.TempHistory();
    const SampleHistory* loads = pane.History();
    if (!temperatures || !loads || temperatures->Count() == 0)
        return {};
    const CoreFocus& focus = live.owner->Focus();
    const bool atCursor = focus.Focused() == static_cast<int32_t>(index) && focus.Cursor() != CoreFocus::none;
    const int32_t k = atCursor ? focus.Cursor() : 0;
    char16_t text[64] = {};
    FormatCoreValue(temperatures->ValueAt(k), loads->ValueAt(k), reinterpret_cast<const char16_t*>(pane.UnitText()),
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
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    const int32_t target = Target(live, child);
    if (target == noTarget)
        return E_INVALIDARG;
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
        if (!Connect(live))
            return CO_E_OBJNOTCONNECTED;
        const int32_t target = Target(live, child);
        if (target == noTarget)
            return E_INVALIDARG;
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
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    const int32_t target = Target(live, child);
    if (target == noTarget)
        return E_INVALIDARG;
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
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    const int32_t target = Target(live, child);
    if (target == noTarget)
        return E_INVALIDARG;
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

HRESULT CoreAccessible::get_accFocus(VARIANT* focus)
{
    if (!focus)
        return E_POINTER;
    Empty(focus);
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    if (::GetFocus() != window)
        return S_FALSE;
    const int32_t focused = live.owner->Focus().Focused();
    if (core == wholeWindowObject)
        return Answer(live, focused == CoreFocus::none ? selfTarget : focused, focus);
    return Answer(live, focused == core ? selfTarget : noTarget, focus);
}

HRESULT CoreAccessible::accSelect(long flags, VARIANT child)
{
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    const int32_t target = Target(live, child);
    if (target == noTarget)
        return E_INVALIDARG;
    if ((flags & SELFLAG_TAKEFOCUS) == 0)
        return DISP_E_MEMBERNOTFOUND;
    ::SetFocus(window);
    live.owner->Focus().Focus(*live.view, live.inputs, target == selfTarget ? CoreFocus::none : target);
    return S_OK;
}

HRESULT CoreAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    const int32_t target = Target(live, child);
    if (target == noTarget)
        return E_INVALIDARG;
    RECT rect{};
    HWND from = window;
    if (target == selfTarget) {
        ::GetClientRect(window, &rect);
    } else if (live.view->CoresAreWindows()) {
        // The pane's plot, where its readings are.
        const CZiveVazudEx& pane = PaneAt(live, target);
        rect = pane.PlotRect();
        from = pane.PaneWindow();
    } else {
        rect = live.view->CoreArea(live.inputs, static_cast<uint32_t>(target));
    }
    ::MapWindowPoints(from, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT CoreAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!end)
        return E_POINTER;
    Empty(end);
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    const int32_t from = Target(live, start);
    if (from == noTarget)
        return E_INVALIDARG;
    const auto count = static_cast<int32_t>(live.count);
    const auto row = static_cast<int32_t>(live.view->CoresPerRow());
    int32_t to = noTarget;
    if (from == selfTarget) {
        // Into the children; the whole window's siblings are its frame's business.
        if (direction == NAVDIR_FIRSTCHILD && count > 0)
            to = 0;
        else if (direction == NAVDIR_LASTCHILD && count > 0)
            to = count - 1;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT) {
        to = from + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT) {
        to = from - 1;
    } else if (direction == NAVDIR_DOWN) {
        to = from + row;
    } else if (direction == NAVDIR_UP) {
        to = from - row;
    }
    if (to < 0 || to >= count)
        return S_FALSE;
    // From a pane object its neighbours are objects of their own.
    if (core != wholeWindowObject && to != core) {
        end->vt = VT_DISPATCH;
        end->pdispVal = new (std::nothrow) CoreAccessible(window, to);
        return S_OK;
    }
    return Answer(live, to, end);
}

HRESULT CoreAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!child)
        return E_POINTER;
    Empty(child);
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    POINT point{x, y};
    ::ScreenToClient(window, &point);
    RECT client{};
    ::GetClientRect(window, &client);
    if (!::PtInRect(&client, point))
        return S_FALSE;
    if (core != wholeWindowObject) {
        const RECT area = live.view->CoreArea(live.inputs, static_cast<uint32_t>(core));
        return Answer(live, ::PtInRect(&area, point) ? selfTarget : noTarget, child);
    }
    for (uint32_t i = 0; i < live.count; ++i) {
        const RECT area = live.view->CoreArea(live.inputs, i);
        if (::PtInRect(&area, point))
            return Answer(live, static_cast<int32_t>(i), child);
    }
    return Answer(live, selfTarget, child);
}

}  // namespace

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
