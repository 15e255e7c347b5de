// The cores as a screen reader and a keyboard user meet them: a real Active Accessibility
// client (oleacc) reads names, values, roles, places and focus of every core in the stacked
// panes, the grid and the heat map; keys move the focus and the time cursor, whose events and
// tooltip are checked; the focus rectangle stays out of exports; objects and handles come back.
// The same code as the DLL, linked into the test so the panes and the window can be seen.
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

namespace {

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

Accessible FromWindow(HWND window)
{
    IAccessible* object = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(window, OBJID_CLIENT, iidAccessible, reinterpret_cast<void**>(&object))))
        return Accessible();
    return Accessible(object);
}

// The IAccessible behind a VT_DISPATCH answer; the variant is cleared.
Accessible FromVariant(VARIANT& answer)
{
    IAccessible* object = nullptr;
    if (answer.vt == VT_DISPATCH && answer.pdispVal)
        answer.pdispVal->QueryInterface(iidAccessible, reinterpret_cast<void**>(&object));
    ::VariantClear(&answer);
    return Accessible(object);
}

VARIANT Child(LONG id)
{
    VARIANT child;
    ::VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
std::wstring Read(const Accessible& object, TextGetter getter, LONG child = CHILDID_SELF)
{
    BSTR text = nullptr;
    if (!object || FAILED((object.Get()->*getter)(Child(child), &text)) || !text)
        return L"";
    std::wstring result(text);
    ::SysFreeString(text);
    return result;
}
std::wstring Name(const Accessible& object, LONG child = CHILDID_SELF)
{
    return Read(object, &IAccessible::get_accName, child);
}
std::wstring Value(const Accessible& object, LONG child = CHILDID_SELF)
{
    return Read(object, &IAccessible::get_accValue, child);
}

LONG Role(const Accessible& object, LONG child = CHILDID_SELF)
{
    VARIANT role;
    ::VariantInit(&role);
    if (!object)
        return -1;
    object->get_accRole(Child(child), &role);
    return role.vt == VT_I4 ? role.lVal : -1;
}

RECT Location(const Accessible& object, LONG child = CHILDID_SELF)
{
    long left = 0, top = 0, width = 0, height = 0;
    if (!object)
        return {};
    object->accLocation(&left, &top, &width, &height, Child(child));
    return {left, top, left + width, top + height};
}

RECT ToScreen(HWND window, RECT rect)
{
    ::MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

POINT Centre(const RECT& rect)
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
std::vector<WinEvent> events;
void CALLBACK RecordEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD)
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

class StackedCores : public Accessibility, public ::testing::WithParamInterface<uint32_t> {};
class HeatMapCells : public Accessibility, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(StackedCores, EveryPaneIsAChartNamedAndValuedLikeTheTrayAndPlacedOnItsPlot)
{
    const uint32_t cores = GetParam();
    Feed(cores);
    ASSERT_EQ(graphCount, cores);
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    long count = 0;
    ASSERT_EQ(client->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, static_cast<long>(cores));

    std::vector<VARIANT> children(cores);
    long got = 0;
    ASSERT_EQ(::AccessibleChildren(client.Get(), 0, static_cast<long>(cores), children.data(), &got), S_OK);
    ASSERT_EQ(got, static_cast<long>(cores));
    for (uint32_t i = 0; i < cores; ++i) {
        Accessible pane = FromVariant(children[i]);
        ASSERT_TRUE(pane) << i;
        const std::wstring name = L"Core #" + std::to_wstring(i);
        EXPECT_EQ(Name(pane), name);
        EXPECT_EQ(Role(pane), ROLE_SYSTEM_CHART);
        EXPECT_EQ(Value(pane), L"55 C\u00B0, load 40 %");
        const CZiveVazudEx& shown = *graphList[i];
        EXPECT_TRUE(Location(pane) == ToScreen(shown.PaneWindow(), shown.PlotRect())) << i;
        // The pane window answers with the same core.
        EXPECT_EQ(Name(FromWindow(shown.PaneWindow())), name);
    }

    Accessible first = FromWindow(graphList[0]->PaneWindow());
    ASSERT_TRUE(first);
    EXPECT_EQ(Read(first, &IAccessible::get_accDescription),
              L"History (1 samples): temperature min 55C\u00B0, max 55C\u00B0, avg 55.0C\u00B0; "
              L"load min 40%, max 40%, avg 40.0%");
    // Hit tests and navigation land on the core there and on the next one.
    const uint32_t last = cores - 1;
    RECT lastArea{};
    ::GetClientRect(graphList[last]->PaneWindow(), &lastArea);
    const POINT middle = Centre(ToScreen(graphList[last]->PaneWindow(), lastArea));
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(middle.x, middle.y, &hit), S_OK);
    EXPECT_EQ(Name(FromVariant(hit)), L"Core #" + std::to_wstring(last));
    VARIANT next;
    ASSERT_EQ(first->accNavigate(NAVDIR_NEXT, Child(CHILDID_SELF), &next), S_OK);
    EXPECT_EQ(Name(FromVariant(next)), L"Core #1");
    Accessible lastPane = FromWindow(graphList[last]->PaneWindow());
    ASSERT_TRUE(lastPane);
    VARIANT beyond;
    EXPECT_EQ(lastPane->accNavigate(NAVDIR_NEXT, Child(CHILDID_SELF), &beyond), S_FALSE);
    EXPECT_EQ(beyond.vt, VT_EMPTY);

    // The value is read at every call: it follows the next update.
    Feed(cores, 61.0f);
    EXPECT_EQ(Value(first), L"61 C\u00B0, load 40 %");
    EXPECT_EQ(Value(lastPane), L"61 C\u00B0, load 40 %");
}

INSTANTIATE_TEST_SUITE_P(Cores, StackedCores, ::testing::Values(4u, 16u, 256u));

TEST_P(HeatMapCells, EveryCellIsAChildOfTheWindowPlacedOnItsCell)
{
    const uint32_t cores = GetParam();
    testwindow::WriteSettings({"HeatMap=1;"});
    Feed(cores);
    ASSERT_EQ(graphCount, cores);
    const auto& grid = dynamic_cast<const GridView&>(pluginInstance->Window().CurrentView());
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    std::vector<VARIANT> children(cores);
    long got = 0;
    ASSERT_EQ(::AccessibleChildren(client.Get(), 0, static_cast<long>(cores), children.data(), &got), S_OK);
    ASSERT_EQ(got, static_cast<long>(cores));
    for (uint32_t i = 0; i < cores; ++i) {
        ASSERT_EQ(children[i].vt, VT_I4) << i;
        const LONG id = children[i].lVal;
        EXPECT_EQ(id, static_cast<LONG>(i + 1));
        EXPECT_EQ(Name(client, id), L"Core #" + std::to_wstring(i));
        EXPECT_EQ(Role(client, id), ROLE_SYSTEM_CELL);
        EXPECT_EQ(Value(client, id), L"55 C\u00B0, load 40 %");
        const RECT cell = ToScreen(mainWindow, grid.CellRect(mainWindow, i));
        EXPECT_TRUE(Location(client, id) == cell) << i;
        VARIANT hit;
        const POINT middle = Centre(cell);
        ASSERT_EQ(client->accHitTest(middle.x, middle.y, &hit), S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, id);
    }
    // Down goes a row further, Next one cell; nothing past the last.
    VARIANT below;
    ASSERT_EQ(client->accNavigate(NAVDIR_DOWN, Child(1), &below), cores > grid.Columns() ? S_OK : S_FALSE);
    if (cores > grid.Columns()) {
        EXPECT_EQ(below.lVal, static_cast<LONG>(1 + grid.Columns()));
    }
    VARIANT next;
    ASSERT_EQ(client->accNavigate(NAVDIR_NEXT, Child(1), &next), S_OK);
    EXPECT_EQ(next.lVal, 2);
    VARIANT none;
    EXPECT_EQ(client->accNavigate(NAVDIR_NEXT, Child(static_cast<LONG>(cores)), &none), S_FALSE);
    // Pane windows under the heat map have no object of their own.
    EXPECT_NE(Role(FromWindow(graphList[0]->PaneWindow())), ROLE_SYSTEM_CHART);

    Feed(cores, 70.0f);
    EXPECT_EQ(Value(client, static_cast<LONG>(cores)), L"70 C\u00B0, load 40 %");
}

INSTANTIATE_TEST_SUITE_P(Cores, HeatMapCells, ::testing::Values(4u, 16u, 256u));

TEST_F(Accessibility, TheGridsCoresAreElementsOfTheWindowSoAOnePassPaintKeepsThem)
{
    testwindow::WriteSettings({"Columns=2;"});
    Feed(4);
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    VARIANT child = Child(3);
    IDispatch* object = nullptr;
    EXPECT_EQ(client->get_accChild(child, &object), S_FALSE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(Role(client, 3), ROLE_SYSTEM_CELL);
    VARIANT below;
    ASSERT_EQ(client->accNavigate(NAVDIR_DOWN, Child(2), &below), S_OK);
    EXPECT_EQ(below.lVal, 4);
}

TEST_F(Accessibility, KeysMoveTheFocusInReadingOrderWithOneFocusEventEachAndTheClientSeesIt)
{
    testwindow::WriteSettings({"HeatMap=1;", "Columns=4;"});
    Feed(8);
    TakeFocus();
    Hook();
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    const struct {
        WPARAM key;
        std::vector<int> modifiers;
        LONG focused;  // child id afterwards
    } steps[] = {
        {VK_RIGHT, {}, 1},         // the first key finds the first core
        {VK_RIGHT, {}, 2},         //
        {VK_DOWN, {}, 6},          // a row of four further
        {VK_DOWN, {}, 6},          // no row below
        {VK_UP, {}, 2},            //
        {VK_LEFT, {}, 1},          //
        {VK_LEFT, {}, 1},          // nothing before the first
        {VK_TAB, {VK_SHIFT}, 8},   // Tab goes round
        {VK_TAB, {}, 1},           //
    };
    LONG before = CHILDID_SELF;
    for (const auto& step : steps) {
        events.clear();
        Press(step.key, step.modifiers);
        VARIANT focus;
        ASSERT_EQ(client->get_accFocus(&focus), S_OK);
        ASSERT_EQ(focus.vt, VT_I4);
        EXPECT_EQ(focus.lVal, step.focused) << step.key;
        const std::vector<WinEvent> focusEvents = EventsOf(EVENT_OBJECT_FOCUS);
        if (step.focused == before) {
            EXPECT_TRUE(focusEvents.empty()) << step.key;
        } else {
            ASSERT_EQ(focusEvents.size(), 1u) << step.key;
            EXPECT_EQ(focusEvents[0].window, mainWindow);
            EXPECT_EQ(focusEvents[0].object, OBJID_CLIENT);
            EXPECT_EQ(focusEvents[0].child, step.focused);
        }
        before = step.focused;
    }
    VARIANT state;
    ASSERT_EQ(client->get_accState(Child(1), &state), S_OK);
    EXPECT_NE(state.lVal & STATE_SYSTEM_FOCUSED, 0);
    ASSERT_EQ(client->get_accState(Child(2), &state), S_OK);
    EXPECT_EQ(state.lVal & STATE_SYSTEM_FOCUSED, 0);
}

TEST_F(Accessibility, OnlyTheFocusedCoreTellsOfNewValuesAndAtMostOnceInTenSeconds)
{
    Feed(4);
    TakeFocus();
    Hook();
    Feed(4, 56.0f, 3);
    EXPECT_TRUE(EventsOf(EVENT_OBJECT_VALUECHANGE).empty()) << "no core has the focus";

    Press(VK_DOWN);  // core 0, a pane window of its own
    const std::vector<WinEvent> focusEvents = EventsOf(EVENT_OBJECT_FOCUS);
    ASSERT_EQ(focusEvents.size(), 1u);
    EXPECT_EQ(focusEvents[0].window, graphList[0]->PaneWindow());
    EXPECT_EQ(focusEvents[0].child, CHILDID_SELF);
    Accessible pane = FromWindow(focusEvents[0].window);
    EXPECT_EQ(Name(pane), L"Core #0");
    VARIANT focus;
    ASSERT_EQ(pane->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, CHILDID_SELF);

    events.clear();
    Feed(4, 57.0f, 5);
    const std::vector<WinEvent> changes = EventsOf(EVENT_OBJECT_VALUECHANGE);
    ASSERT_EQ(changes.size(), 1u) << "five updates within ten seconds";
    EXPECT_EQ(changes[0].window, graphList[0]->PaneWindow());
}

TEST_F(Accessibility, TheTimeCursorWalksTheSamplesWithTheMousesReadoutAndTheValueReadsItsTime)
{
    Feed(2, 50.0f);
    Feed(2, 51.0f);
    Feed(2, 52.0f);
    Feed(2, 53.0f);
    TakeFocus();
    Press(VK_RIGHT);
    Press(VK_RIGHT);  // core 1
    Accessible pane = FromWindow(graphList[1]->PaneWindow());
    ASSERT_TRUE(pane);
    EXPECT_EQ(Value(pane), L"53 C\u00B0, load 40 %");
    EXPECT_EQ(TipText(), L"");

    const struct {
        WPARAM key;
        std::vector<int> modifiers;
        int temperature;
    } steps[] = {
        {VK_LEFT, {VK_CONTROL}, 53},  // the cursor starts on the newest
        {VK_LEFT, {VK_CONTROL}, 52},  // older to the left
        {VK_LEFT, {VK_CONTROL}, 51},  //
        {VK_RIGHT, {VK_CONTROL}, 52}, //
        {VK_HOME, {}, 50},            // the oldest
        {VK_LEFT, {VK_CONTROL}, 50},  // none older
        {VK_END, {}, 53},             // the newest
    };
    for (const auto& step : steps) {
        Press(step.key, step.modifiers);
        const std::wstring value = Value(pane);
        const std::wstring reading = std::to_wstring(step.temperature) + L" C\u00B0, load 40 % at 20";
        EXPECT_EQ(value.substr(0, reading.size()), reading) << step.key;
        const std::wstring tip = TipText();
        EXPECT_EQ(tip.substr(0, 9), L"Core #1\r\n");
        EXPECT_NE(tip.find(L"Temperature " + std::to_wstring(step.temperature) + L"C\u00B0, load 40%"),
                  std::wstring::npos)
            << step.key;
    }
    // A new update comes in front: the cursor stays on its sample.
    Press(VK_HOME);
    Feed(2, 54.0f);
    EXPECT_EQ(Value(pane).substr(0, 9), L"50 C\u00B0, lo");
    Press(VK_ESCAPE);
    EXPECT_EQ(Value(pane), L"54 C\u00B0, load 40 %");
    EXPECT_EQ(TipText(), L"");
}

std::string ReadFile(const std::wstring& path)
{
    std::string bytes;
    FILE* file = ::_wfopen(path.c_str(), L"rb");
    if (!file)
        return bytes;
    char chunk[4096];
    for (size_t got = 0; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
        bytes.append(chunk, got);
    std::fclose(file);
    return bytes;
}

std::string ExportOfFirstPane()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring picture(path);
    picture = picture.substr(0, picture.find_last_of(L'\\') + 1) + L"Core #0.png";
    ::DeleteFileW(picture.c_str());
    pluginInstance->Window().StartExport();
    // Bounded by the clock: pending messages end a wait at once.
    const ULONGLONG deadline = ::GetTickCount64() + 20000;
    while (::GetFileAttributesW(picture.c_str()) == INVALID_FILE_ATTRIBUTES && ::GetTickCount64() < deadline) {
        testhost::Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    std::string bytes = ReadFile(picture);
    ::DeleteFileW(picture.c_str());
    return bytes;
}

// What the pane shows on screen: its part of a picture of the main window (frame included,
// whose colours change with the activation).
std::vector<uint32_t> PanePixels(HWND pane)
{
    WindowPicture picture;
    if (!CaptureWindow(mainWindow, picture))
        return {};
    RECT window{};
    RECT area{};
    ::GetWindowRect(mainWindow, &window);
    ::GetClientRect(pane, &area);
    area = ToScreen(pane, area);
    std::vector<uint32_t> pixels;
    for (LONG y = area.top - window.top; y < area.bottom - window.top && y < picture.height; ++y)
        for (LONG x = area.left - window.left; x < area.right - window.left && x < picture.width; ++x)
            pixels.push_back(picture.pixels[static_cast<size_t>(y) * static_cast<size_t>(picture.width) + x] &
                             0xFFFFFFu);  // Wine 10 sets the top byte
    return pixels;
}

TEST_F(Accessibility, TheFocusRectangleShowsOnScreenAndNeverInAnExport)
{
    Feed(1, 55.0f, 30);
    const HWND pane = graphList[0]->PaneWindow();
    const std::vector<uint32_t> unfocused = PanePixels(pane);
    ASSERT_FALSE(unfocused.empty());
    const std::string plain = ExportOfFirstPane();
    ASSERT_FALSE(plain.empty());

    TakeFocus();
    Press(VK_RIGHT);
    ::UpdateWindow(pane);
    EXPECT_NE(PanePixels(pane), unfocused) << "the focus rectangle is drawn on screen";
    EXPECT_EQ(ExportOfFirstPane(), plain);

    // The window loses the keyboard focus: the rectangle goes. (Wine keeps the keyboard
    // cues shown whatever a window is told, so the hidden cues cannot be seen here.)
    ::SetFocus(nullptr);
    testhost::Pump();
    ::UpdateWindow(pane);
    EXPECT_EQ(PanePixels(pane), unfocused);
}

// Windows' high-contrast mode for one test, as a user turns it on; the old state comes back.
class HighContrast {
public:
    HighContrast()
    {
        before.cbSize = sizeof before;
        ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof before, &before, 0);
        HIGHCONTRASTW on{};
        on.cbSize = sizeof on;
        on.dwFlags = before.dwFlags | HCF_HIGHCONTRASTON;
        set = ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof on, &on, 0) != FALSE;
        ::SendMessageW(mainWindow, WM_SYSCOLORCHANGE, 0, 0);
    }
    ~HighContrast()
    {
        HIGHCONTRASTW off{};
        off.cbSize = sizeof off;
        off.dwFlags = before.dwFlags & ~HCF_HIGHCONTRASTON;
        ::SystemParametersInfoW(SPI_SETHIGHCONTRAST, sizeof off, &off, 0);
        ::SendMessageW(mainWindow, WM_SYSCOLORCHANGE, 0, 0);
    }
    HighContrast(const HighContrast&) = delete;
    HighContrast& operator=(const HighContrast&) = delete;
    bool Set() const { return set; }

private:
    HIGHCONTRASTW before{};
    bool set = false;
};

uint32_t PictureColour(COLORREF colour)
{
    return static_cast<uint32_t>(GetRValue(colour)) << 16 | static_cast<uint32_t>(GetGValue(colour)) << 8 |
           GetBValue(colour);
}

TEST_F(Accessibility, HighContrastPaintsTheScreenInSystemColoursAndExportsInTheSettings)
{
    Feed(1, 55.0f, 30);
    const HWND pane = graphList[0]->PaneWindow();
    const std::string plain = ExportOfFirstPane();
    ASSERT_FALSE(plain.empty());
    const std::vector<uint32_t> settingsColours = PanePixels(pane);
    ASSERT_FALSE(settingsColours.empty());
    const COLORREF own = graphList[0]->BackgroundColour();
    EXPECT_EQ(settingsColours[0], PictureColour(own));
    {
        HighContrast contrast;
        if (!contrast.Set())
            GTEST_SKIP() << "this system cannot be switched to high contrast (Wine 8)";
        ::UpdateWindow(pane);
        const std::vector<uint32_t> system = PanePixels(pane);
        ASSERT_FALSE(system.empty());
        EXPECT_EQ(system[0], PictureColour(::GetSysColor(COLOR_WINDOW)));
        EXPECT_EQ(ExportOfFirstPane(), plain);
        // The pane's own colours are untouched: the next reload or export reads them.
        EXPECT_EQ(graphList[0]->BackgroundColour(), own);
    }
    ::UpdateWindow(pane);
    EXPECT_EQ(PanePixels(pane), settingsColours);
}

// What the window does in high contrast, where the system cannot be switched: a pane painted on
// screen in other colours, while its export and its own colours stay.
TEST_F(Accessibility, APanePaintsInScreenColoursWhileItsExportKeepsItsOwn)
{
    Feed(1, 55.0f, 30);
    CZiveVazudEx& pane = *graphList[0];
    const std::string plain = ExportOfFirstPane();
    ASSERT_FALSE(plain.empty());
    const COLORREF own = pane.BackgroundColour();
    PaneColours screen;
    screen.background = RGB(0xFF, 0xFF, 0xFF);
    screen.temperature = RGB(0x00, 0x78, 0xD7);
    RECT client{};
    ::GetClientRect(pane.PaneWindow(), &client);
    WindowDc screenDc(nullptr);
    MemoryDc memory(::CreateCompatibleDC(screenDc.Get()));
    Bitmap bitmap(::CreateCompatibleBitmap(screenDc.Get(), client.right, client.bottom));
    ASSERT_TRUE(memory && bitmap);
    Selection selected(memory.Get(), bitmap.Get());
    pane.UseScreenColours(&screen);
    pane.Paint(memory.Get(), WM_PAINT);
    pane.UseScreenColours(nullptr);
    EXPECT_EQ(::GetPixel(memory.Get(), 0, 0), screen.background);
    EXPECT_EQ(pane.BackgroundColour(), own);
    EXPECT_EQ(ExportOfFirstPane(), plain);
    pane.Paint(memory.Get(), WM_PAINT);
    EXPECT_EQ(::GetPixel(memory.Get(), 0, 0), own);
}

TEST_F(Accessibility, TenThousandRequestsLeaveNoObjectNorHandleAndALateCallerIsToldTheWindowIsGone)
{
    Feed(4);
    Accessible warmUp = FromWindow(mainWindow);  // the system's first-use costs, paid once
    ReleasePlugin();
    testhost::Pump();
    Attach();
    const DWORD handles = testsupport::KernelHandleCount();
    const int gdiObjects = testsupport::GdiObjectCount();

    Feed(4);
    for (int i = 0; i < 10000; ++i) {
        Accessible client = FromWindow(i % 2 == 0 ? mainWindow : graphList[i % 4]->PaneWindow());
        ASSERT_TRUE(client) << i;
    }
    EXPECT_EQ(LiveAccessibleObjects(), 1);  // the warm-up's, still held
    Accessible late = FromWindow(graphList[2]->PaneWindow());
    ReleasePlugin();
    testhost::Pump();
    EXPECT_EQ(Value(late), L"");
    BSTR name = nullptr;
    EXPECT_EQ(late->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    long count = 0;
    EXPECT_EQ(warmUp->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);

    EXPECT_EQ(testsupport::KernelHandleCount(), handles);
    EXPECT_EQ(testsupport::GdiObjectCount(), gdiObjects);
    Attach();  // for the fixture's own release
}

}  // namespace
