// The main window as a host sees it: Vaderur.dll loaded by name and driven through its
// exports, then the real window, panes, menu and settings file inspected and exercised.
#include "tests/window/DefaultProcedureRecorder.h"
#include "tests/window/WindowHarness.h"

#include "resources/resource.h"

#include "tests/support/DllFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testwindow::ChildRect;
using testwindow::ClientSize;
using testwindow::Command;
using testwindow::IsChecked;

class MainWindowDll : public testsupport::DllFixture {
protected:
    void SetUp() override
    {
        DllFixture::SetUp();
        if (HasFatalFailure())
            return;
        record = getPlugin();
        ASSERT_NE(record, nullptr);
        record->info->hostInstance = module;
        record->info->closeRequest = RecordCloseRequest;
    }
    void TearDown() override
    {
        DllFixture::TearDown();
        testwindow::RemoveSettings();
    }

    // The first Update: builds the window for this many cores.
    HWND Open(uint32_t cores)
    {
        SensorSnapshot snapshot = testhost::MakeSnapshot(cores);
        record->Update(&snapshot);
        testhost::Pump();
        return testhost::PluginMainWindow();
    }

    PluginRecord* record = nullptr;
};

TEST_F(MainWindowDll, TheWindowCarriesTheTitleClassStyleAndMenu)
{
    testwindow::RemoveSettings();
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    wchar_t text[100] = {};
    ::GetWindowTextW(main, text, 100);
    EXPECT_STREQ(text, L"Zentrix Vaderur Beta 1.2 - 64bit");
    const LONG style = ::GetWindowLongW(main, GWL_STYLE);
    EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
    EXPECT_NE(::GetMenu(main), nullptr);
    EXPECT_NE(::GetWindowLongPtrW(main, GWLP_USERDATA), 0);
    EXPECT_EQ(::GetClassLongPtrW(main, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_EQ(::GetClassLongW(main, GCL_STYLE), static_cast<DWORD>(CS_VREDRAW | CS_HREDRAW));
    EXPECT_NE(::GetClassLongPtrW(main, GCLP_HICON), 0);
    EXPECT_TRUE(::IsWindowVisible(main));
    // With no settings file, one is created with the default text.
    EXPECT_TRUE(testwindow::SettingsFileExists());
    for (HWND pane : testhost::ChildWindows(main)) {
        wchar_t cls[32] = {};
        ::GetClassNameW(pane, cls, 32);
        EXPECT_EQ(::lstrcmpiW(cls, L"static"), 0);
        EXPECT_EQ(::GetWindowLongW(pane, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
        EXPECT_EQ(::GetDlgCtrlID(pane), 0);
    }
}

TEST_F(MainWindowDll, FourPanesOf600By150FillA600By600ClientArea)
{
    testwindow::WriteSettings({"GraphWidth=600;", "GraphHeight=150;"});
    testwindow::StaticCreationRecorder created;
    HWND main = Open(4);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ClientSize(main).cx, 600);
    EXPECT_EQ(ClientSize(main).cy, 600);
    ASSERT_EQ(created.created.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(created.created[i].left, 0);
        EXPECT_EQ(created.created[i].top, static_cast<LONG>(150 * i));
        EXPECT_EQ(created.created[i].right, 600);
        EXPECT_EQ(created.created[i].bottom, 150);
    }
    const std::vector<HWND> panes = testwindow::PanesByRow(main);
    ASSERT_EQ(panes.size(), 4u);
    for (size_t i = 0; i < panes.size(); ++i) {
        const RECT r = ChildRect(panes[i]);
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.top, static_cast<LONG>(150 * i));
        EXPECT_EQ(r.right - r.left, 600);
        EXPECT_EQ(r.bottom - r.top, 150);
    }
}

TEST_F(MainWindowDll, WithoutAPaneSizeTheClientIsTheDefaultAndPanesWaitForASizeMessage)
{
    const struct {
        std::vector<std::string> file;
        LONG width;   // of the panes as created
        LONG height;
    } cases[] = {{{"ShowXAxis=1;"}, 0, 0},
                 {{"GraphWidth=0;", "GraphHeight=150;"}, 0, 150},
                 {{"GraphWidth=500;", "GraphHeight=0;"}, 500, 0}};
    for (const auto& c : cases) {
        testwindow::WriteSettings(c.file);
        testwindow::StaticCreationRecorder created;
        HWND main = Open(2);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(ClientSize(main).cx, 792) << c.file.front();
        EXPECT_EQ(ClientSize(main).cy, 428) << c.file.front();
        // Created as the options were read, one below the other by the height read.
        ASSERT_EQ(created.created.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            const RECT& r = created.created[i];
            EXPECT_EQ(r.left, 0);
            EXPECT_EQ(r.top, static_cast<LONG>(i) * c.height) << c.file.front();
            EXPECT_EQ(r.right, c.width) << c.file.front();
            EXPECT_EQ(r.bottom, c.height) << c.file.front();
        }
        ::SendMessageW(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(792, 428));
        const std::vector<HWND> panes = testwindow::PanesByRow(main);
        ASSERT_EQ(panes.size(), 2u);
        EXPECT_EQ(ChildRect(panes[1]).top, 214);
        EXPECT_EQ(ChildRect(panes[1]).right, 792);
        EXPECT_EQ(ChildRect(panes[1]).bottom, 428);

        releasePlugin();
        record = getPlugin();
        record->info->hostInstance = module;
        record->info->closeRequest = RecordCloseRequest;
    }
}

TEST_F(MainWindowDll, AWidthWithoutAHeightCreatesFlatPanesAtTheTop)
{
    testwindow::WriteSettings({"GraphWidth=600;", "GraphHeight=0;"});
    testwindow::StaticCreationRecorder created;
    HWND main = Open(3);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(ClientSize(main).cx, 792);
    ASSERT_EQ(created.created.size(), 3u);
    for (const RECT& r : created.created) {
        EXPECT_EQ(r.top, 0);
        EXPECT_EQ(r.right, 600);
        EXPECT_EQ(r.bottom, 0);
    }
}

TEST_F(MainWindowDll, TransparencyMakesTheWindowLayeredWithTheRemainingOpacity)
{
    const struct {
        const char* entry;
        bool layered;
        BYTE alpha;
    } cases[] = {{"Transparency=0;", false, 0}, {"Transparency=100;", true, 155}, {"Transparency=255;", true, 0}};
    for (const auto& c : cases) {
        testwindow::WriteSettings({c.entry});
        HWND main = Open(1);
        ASSERT_NE(main, nullptr);
        const bool layered = (::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
        EXPECT_EQ(layered, c.layered) << c.entry;
        if (c.layered) {
            BYTE alpha = 1;
            DWORD flags = 0;
            ASSERT_TRUE(::GetLayeredWindowAttributes(main, nullptr, &alpha, &flags)) << c.entry;
            EXPECT_EQ(alpha, c.alpha) << c.entry;
            EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA)) << c.entry;
        }
        releasePlugin();
        record = getPlugin();
        record->info->hostInstance = module;
    }
}

TEST_F(MainWindowDll, AlwaysOnTopMakesTheWindowTopmost)
{
    testwindow::WriteSettings({"AlwaysOnTop=1;"});
    HWND main = Open(1);
    ASSERT_NE(main, nullptr);
    EXPECT_NE(::GetWindowLongW(main, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(MainWindowDll, TrayAndStartMinimizedDecideHowTheWindowStarts)
{
    const struct {
        bool tray;
        bool minimized;
        bool visible;
        bool iconic;
    } cases[] = {
        {false, false, true, false},
        {true, false, true, false},
        {false, true, true, true},
        {true, true, false, true},  // only the tray icon remains
    };
    for (const auto& c : cases) {
        testwindow::WriteSettings({std::string("ShowSyatrayIcon=") + (c.tray ? "1;" : "0;"),
                                   std::string("StartMinimized=") + (c.minimized ? "1;" : "0;")});
        HWND main = Open(2);
        ASSERT_NE(main, nullptr);
        const std::string name = std::string(c.tray ? "tray" : "-") + (c.minimized ? " minimized" : " -");
        EXPECT_EQ(::IsWindowVisible(main) != FALSE, c.visible) << name;
        EXPECT_EQ(::IsIconic(main) != FALSE, c.iconic) << name;
        EXPECT_EQ(testwindow::HasMinimizeStyle(main), c.iconic) << name;
        EXPECT_EQ(IsChecked(main, IDM_TRAY_ICON), c.tray) << name;
        EXPECT_EQ(IsChecked(main, IDM_START_MINIMIZED), c.minimized) << name;
        for (UINT id : {IDM_USE_BARS, IDM_USE_LINE})
            EXPECT_FALSE(IsChecked(main, id)) << name;
        releasePlugin();
        record = getPlugin();
        record->info->hostInstance = module;
    }
}

TEST_F(MainWindowDll, NoCoresGiveAWindowWithoutPanesThatKeepsItsHeight)
{
    testwindow::WriteSettings({"GraphWidth=600;", "GraphHeight=150;"});
    HWND main = Open(0);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(testhost::ChildWindows(main).empty());
    EXPECT_EQ(::SendMessageW(main, WM_SIZE, SIZE_RESTORED, MAKELPARAM(600, 301)), 1);
    testwindow::SetClientSize(main, 500, 301);
    EXPECT_EQ(ClientSize(main).cy, 301);
    for (UINT id : {IDM_USE_BARS, IDM_USE_LINE, IDM_CLEAR_HISTORY, IDM_RELOAD_COLORS})
        EXPECT_EQ(Command(main, id), 0);
    EXPECT_TRUE(::IsWindow(main));
}

TEST_F(MainWindowDll, PanesShareTheClientHeightAndTheHeightSnapsToTheirCount)
{
    testwindow::WriteSettings({"GraphWidth=600;", "GraphHeight=150;"});
    HWND main = Open(3);
    ASSERT_NE(main, nullptr);

    testwindow::SetClientSize(main, 900, 600);
    std::vector<HWND> panes = testwindow::PanesByRow(main);
    ASSERT_EQ(panes.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const RECT r = ChildRect(panes[i]);
        EXPECT_EQ(r.top, static_cast<LONG>(200 * i));
        EXPECT_EQ(r.right - r.left, 900);
        EXPECT_EQ(r.bottom - r.top, 200);
    }

    const struct {
        int asked;
        int snapped;
    } heights[] = {{601, 603}, {301, 303}, {302, 303}, {450, 450}};
    for (const auto& h : heights) {
        RECT before{};
        ::GetWindowRect(main, &before);
        testwindow::SetClientSize(main, 900, h.asked);
        EXPECT_EQ(ClientSize(main).cy, h.snapped) << h.asked;
        RECT after{};
        ::GetWindowRect(main, &after);
        EXPECT_EQ(before.left, after.left);
        EXPECT_EQ(before.top, after.top);
        panes = testwindow::PanesByRow(main);
        for (size_t i = 0; i < 3; ++i) {
            const RECT r = ChildRect(panes[i]);
            EXPECT_EQ(r.top, static_cast<LONG>(h.snapped / 3 * i)) << h.asked;
            EXPECT_EQ(r.bottom - r.top, h.snapped / 3) << h.asked;
        }
    }
}

TEST_F(MainWindowDll, TheWindowCannotShrinkBelowA400By300Client)
{
    testwindow::WriteSettings({});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    RECT minimum{0, 0, 400, 300};
    ::AdjustWindowRect(&minimum, static_cast<DWORD>(::GetWindowLongW(main, GWL_STYLE)), TRUE);

    MINMAXINFO limits{};
    limits.ptMaxSize = {1234, 567};
    limits.ptMaxTrackSize = {2345, 678};
    EXPECT_EQ(::SendMessageW(main, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)), 0);
    EXPECT_EQ(limits.ptMinTrackSize.x, minimum.right - minimum.left);
    EXPECT_EQ(limits.ptMinTrackSize.y, minimum.bottom - minimum.top);
    EXPECT_EQ(limits.ptMaxSize.x, 1234);
    EXPECT_EQ(limits.ptMaxTrackSize.y, 678);

    ::SetWindowPos(main, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    RECT window{};
    ::GetWindowRect(main, &window);
    EXPECT_GE(window.right - window.left, minimum.right - minimum.left);
    EXPECT_GE(window.bottom - window.top, minimum.bottom - minimum.top);
}

TEST_F(MainWindowDll, MinimizingHidesTheWindowOnlyWithTheTrayOption)
{
    for (bool tray : {false, true}) {
        testwindow::WriteSettings({std::string("ShowSyatrayIcon=") + (tray ? "1;" : "0;")});
        HWND main = Open(2);
        ASSERT_NE(main, nullptr);
        ::ShowWindow(main, SW_MINIMIZE);
        EXPECT_TRUE(::IsIconic(main)) << tray;
        EXPECT_EQ(::IsWindowVisible(main) != FALSE, !tray) << tray;
        releasePlugin();
        record = getPlugin();
        record->info->hostInstance = module;
    }
}

TEST_F(MainWindowDll, ADoubleClickOnTheTrayIconRestoresOrMinimizes)
{
    testwindow::WriteSettings({"ShowSyatrayIcon=1;", "StartMinimized=1;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    ASSERT_FALSE(::IsWindowVisible(main));

    // Single clicks and the right button change nothing.
    for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK})
        EXPECT_EQ(::SendMessageW(main, 102, 100, mouse), 0);
    EXPECT_FALSE(::IsWindowVisible(main));

    EXPECT_EQ(::SendMessageW(main, 102, 100, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_FALSE(::IsIconic(main));

    EXPECT_EQ(::SendMessageW(main, 102, 100, WM_LBUTTONDBLCLK), 0);
    EXPECT_TRUE(::IsIconic(main));
    EXPECT_FALSE(::IsWindowVisible(main));

    // Start shows it minimized on the taskbar; a double-click restores it from there too.
    record->Start();
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_TRUE(::IsIconic(main));
    ::SendMessageW(main, 102, 100, WM_LBUTTONDBLCLK);
    EXPECT_FALSE(::IsIconic(main));
}

TEST_F(MainWindowDll, CloseAsksTheHostAndExitDestroysWithoutAsking)
{
    testwindow::WriteSettings({});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(::SendMessageW(main, WM_CLOSE, 0, 0), 0);
    ASSERT_EQ(closeRequests.size(), 1u);
    EXPECT_EQ(closeRequests[0], record);
    EXPECT_TRUE(::IsWindow(main));

    EXPECT_EQ(Command(main, IDM_EXIT), 0);
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_EQ(closeRequests.size(), 1u);
    // Without a window, Start and Stop find nothing to show or hide.
    EXPECT_EQ(record->Start(), 0);
    record->Stop();
    EXPECT_EQ(testhost::PluginMainWindow(), nullptr);
}

TEST_F(MainWindowDll, CloseWithoutAHostCallbackKeepsTheWindow)
{
    testwindow::WriteSettings({});
    record->info->closeRequest = nullptr;
    HWND main = Open(1);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(::SendMessageW(main, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(::IsWindow(main));
}

TEST_F(MainWindowDll, DrawingModeCommandsNeverMarkTheMenuAndUnknownIdsArePassedOnUntouched)
{
    testwindow::WriteSettings({"ShowSyatrayIcon=1;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    // A command the window handles stops there; any other goes to the default procedure
    // (which answers 0 as the window does, so only the recorder can tell them apart).
    testwindow::DefaultProcedureRecorder passedOn(module);
    ASSERT_TRUE(passedOn.Installed());
    for (UINT id : {IDM_USE_BARS, IDM_USE_LINE, IDM_USE_BARS, IDM_CLEAR_HISTORY, IDM_RELOAD_COLORS}) {
        EXPECT_EQ(Command(main, id), 0) << id;
        EXPECT_FALSE(IsChecked(main, IDM_USE_BARS)) << id;
        EXPECT_FALSE(IsChecked(main, IDM_USE_LINE)) << id;
    }
    EXPECT_TRUE(passedOn.commands.empty());
    for (UINT id : {0u, 1u, 2u, 106u, 32770u, 32775u, 40000u, 65535u}) {
        passedOn.commands.clear();
        EXPECT_EQ(::SendMessageW(main, WM_COMMAND, MAKEWPARAM(id, 1), 0), 0) << id;
        const std::vector<std::pair<HWND, WPARAM>> expected{{main, MAKEWPARAM(id, 1)}};
        EXPECT_EQ(passedOn.commands, expected) << id;
        EXPECT_TRUE(::IsWindow(main)) << id;
        EXPECT_TRUE(IsChecked(main, IDM_TRAY_ICON)) << id;
        EXPECT_FALSE(IsChecked(main, IDM_START_MINIMIZED)) << id;
    }
    EXPECT_TRUE(closeRequests.empty());
}

TEST_F(MainWindowDll, TogglesFollowTheMenuMarkAndRewriteTheirKey)
{
    testwindow::WriteSettings({"ShowSyatrayIcon=0; keep this note", "StartMinimized=0;", "GraphWidth=600;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    const struct {
        UINT id;
        const char* key;
    } toggles[] = {{IDM_TRAY_ICON, "ShowSyatrayIcon"}, {IDM_START_MINIMIZED, "StartMinimized"}};
    for (const auto& t : toggles) {
        EXPECT_EQ(Command(main, t.id), 0);
        EXPECT_TRUE(IsChecked(main, t.id)) << t.key;
        std::string text = testwindow::ReadSettingsFile();
        EXPECT_NE(text.find(std::string(t.key) + "=1;"), std::string::npos) << text;
        EXPECT_EQ(text.find(std::string(t.key) + "=0;"), std::string::npos) << text;

        EXPECT_EQ(Command(main, t.id), 0);
        EXPECT_FALSE(IsChecked(main, t.id)) << t.key;
        text = testwindow::ReadSettingsFile();
        EXPECT_NE(text.find(std::string(t.key) + "=0;"), std::string::npos) << text;
        EXPECT_EQ(text.find(std::string(t.key) + "=1;"), std::string::npos) << text;
    }
    const std::string text = testwindow::ReadSettingsFile();
    EXPECT_NE(text.find("ShowSyatrayIcon=0; keep this note\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("GraphWidth=600;\r\n"), std::string::npos) << text;

    // The tray flag in memory follows the mark: minimizing now hides the window.
    Command(main, IDM_TRAY_ICON);
    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_FALSE(::IsWindowVisible(main));
}

TEST_F(MainWindowDll, TogglesWithoutASettingsFileChangeTheMarkButCreateNoFile)
{
    testwindow::WriteSettings({});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    testwindow::RemoveSettings();
    for (UINT id : {IDM_TRAY_ICON, IDM_START_MINIMIZED}) {
        Command(main, id);
        EXPECT_TRUE(IsChecked(main, id)) << id;
        Command(main, id);
        EXPECT_FALSE(IsChecked(main, id)) << id;
        Command(main, id);
        EXPECT_TRUE(IsChecked(main, id)) << id;
    }
    EXPECT_FALSE(testwindow::SettingsFileExists());
    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_FALSE(::IsWindowVisible(main));
}

TEST_F(MainWindowDll, ReloadingColoursLeavesTheTrayFlagAsItWas)
{
    testwindow::WriteSettings({"ShowSyatrayIcon=0;", "BGColor=000000;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    testwindow::WriteSettings({"ShowSyatrayIcon=1;", "BGColor=FF0000;"});
    EXPECT_EQ(Command(main, IDM_RELOAD_COLORS), 0);
    EXPECT_FALSE(IsChecked(main, IDM_TRAY_ICON));
    ::ShowWindow(main, SW_MINIMIZE);
    EXPECT_TRUE(::IsIconic(main));
    EXPECT_TRUE(::IsWindowVisible(main));
}

struct AboutSeen {
    std::wstring caption;
    std::wstring title;
    std::wstring copyright;
    HWND owner = nullptr;
    bool escape = false;
};

void ReadAndEndAbout(HWND dialog, void* context)
{
    auto* seen = static_cast<AboutSeen*>(context);
    wchar_t text[200] = {};
    ::GetWindowTextW(dialog, text, 200);
    seen->caption = text;
    ::GetDlgItemTextW(dialog, IDC_ABOUT_TITLE, text, 200);
    seen->title = text;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(c) == 0xFFFF || ::GetDlgCtrlID(c) == -1) {
            ::GetWindowTextW(c, text, 200);
            seen->copyright = text;
        }
    }
    seen->owner = ::GetWindow(dialog, GW_OWNER);
    if (seen->escape) {
        // The key goes to the focused button; the dialog manager turns it into IDCANCEL.
        HWND focus = ::GetDlgItem(dialog, IDOK);
        ::PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    } else {
        ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
}

TEST_F(MainWindowDll, AboutShowsTheWindowTitleAndClosesWithOkAndEscape)
{
    testwindow::WriteSettings({});
    HWND main = Open(1);
    ASSERT_NE(main, nullptr);
    for (bool escape : {false, true}) {
        AboutSeen seen;
        seen.escape = escape;
        testwindow::ModalDialogDriver driver(ReadAndEndAbout, &seen);
        EXPECT_EQ(Command(main, IDM_ABOUT), 0);
        ASSERT_TRUE(driver.seen) << escape;
        EXPECT_FALSE(driver.forced) << escape;
        EXPECT_EQ(seen.caption, L"About");
        EXPECT_EQ(seen.title, L"Zentrix Vaderur Beta 1.2 - 64bit");
        EXPECT_FALSE(seen.copyright.empty());
        EXPECT_EQ(seen.owner, main);
    }
    EXPECT_TRUE(::IsWindow(main));
}

}  // namespace
