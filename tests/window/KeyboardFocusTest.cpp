// The cores as a keyboard user meets them: keys move the focus and the time cursor, whose
// events, readout tooltip and value are checked; the focus rectangle shows on screen and never
// in an export; high contrast paints the screen in other colours than the export.
#include "tests/window/AccessibleClient.h"

namespace {

using namespace testaccess;

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

}  // namespace
