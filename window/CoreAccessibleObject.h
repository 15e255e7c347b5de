// The IAccessible object of the cores, shared by the files that implement it
// (CoreAccessible.cpp: the object, its texts and tree; CoreAccessibleNavigation.cpp: focus,
// location, navigation and hit testing). Made by AnswerGetObject; owned by its client's
// references. Not for other files: CoreAccessible.h is the window's way in.
#pragma once

#include "window/CoreAccessible.h"
#include "window/MainWindow.h"
#include "window/View.h"

#include <oleacc.h>

#include <atomic>
#include <string>

class CZiveVazudEx;

namespace accessible {

// Spelled out: the statically linked import libraries carry wrong bytes for some of them.
constexpr GUID iidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID iidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
constexpr GUID iidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

constexpr int32_t noTarget = -2;
constexpr int32_t selfTarget = -1;

// The objects alive in the process.
extern std::atomic<long> liveObjects;

HRESULT Text(const std::wstring& text, BSTR* out);
void Empty(VARIANT* out);
void Number(VARIANT* out, LONG value);

// What the object reads at a call: the live window's view and panes.
struct Live {
    MainWindow* owner = nullptr;
    const View* view = nullptr;
    ViewInputs inputs;
    uint32_t count = 0;
};

// Connect saw to it that every pane below the count exists.
const CZiveVazudEx& PaneAt(const Live& live, int32_t index);

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
    // Connect, then the target of child: S_OK, CO_E_OBJNOTCONNECTED or E_INVALIDARG.
    HRESULT Reach(Live& live, const VARIANT& child, int32_t& target) const;
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

}  // namespace accessible
