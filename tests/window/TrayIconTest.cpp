// The tray icon through the shell seam: what reaches Shell_NotifyIconW and when, the icon
// generated for the screen's resolution, and the icon found for a window.
#include "tests/support/DibPixels.h"
#include "tests/support/LinkedPlugin.h"
#include "tests/window/NotifyRecorder.h"
#include "tests/window/WindowHarness.h"

#include "win32/Handles.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "window/WindowViews.h"
#include "resources/resource.h"
#include "window/TrayIcon.h"

#include <gtest/gtest.h>

namespace {

using testwindow::Command;
using testwindow::IsChecked;
using testwindow::NotifyCall;
using testwindow::ShellRecorder;

HWND CreateOwnerWindow()
{
    return ::CreateWindowExW(0, L"STATIC", L"tray owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                             nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

SIZE IconSize(HICON icon)
{
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return {0, 0};
    Bitmap mask(info.hbmMask);
    Bitmap colour(info.hbmColor);
    BITMAP bm{};
    ::GetObjectW(mask.Get(), sizeof bm, &bm);
    // A monochrome icon keeps its image under its mask: twice the height.
    return {bm.bmWidth, colour ? bm.bmHeight : bm.bmHeight / 2};
}

// Draws icon onto a 32-bpp surface filled with background; the pixels afterwards.
std::vector<uint32_t> DrawOver(HICON icon, SIZE size, uint32_t background)
{
    testsupport::DibSurface surface(size.cx, size.cy);
    if (!surface)
        return {};
    std::fill(surface.Bits(), surface.Bits() + surface.Count(), background);
    ::DrawIconEx(surface.Dc(), 0, 0, icon, size.cx, size.cy, 0, nullptr, DI_NORMAL);
    return surface.Pixels();
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override { owner = CreateOwnerWindow(); }
    void TearDown() override { ::DestroyWindow(owner); }
    HWND owner = nullptr;
};

TEST_F(TrayIconTest, ANewIconIsNotShownAndCarriesItsRecord)
{
    ShellRecorder shell;
    TrayIcon tray(owner, ::GetModuleHandleW(nullptr));
    EXPECT_FALSE(tray.IsShown());
    const NOTIFYICONDATAW& data = tray.NotifyData();
    EXPECT_EQ(data.cbSize, 968u);
    EXPECT_EQ(data.hWnd, owner);
    EXPECT_EQ(data.uID, 100u);
    EXPECT_EQ(data.uCallbackMessage, 102u);
    EXPECT_EQ(data.hIcon, nullptr);
    EXPECT_EQ(data.szTip[0], L'\0');
    EXPECT_TRUE(shell.notifications.empty());
}

TEST_F(TrayIconTest, ShowAndHideReachTheShellOnlyWhenTheStateChanges)
{
    ShellRecorder shell;
    {
        TrayIcon tray(owner, ::GetModuleHandleW(nullptr));
        tray.HideIcon();
        EXPECT_TRUE(shell.notifications.empty());

        HICON icon = ::CopyIcon(::LoadIconW(nullptr, IDI_APPLICATION));
        tray.SetIcon(icon);
        EXPECT_TRUE(shell.notifications.empty());  // not shown: nothing to update

        EXPECT_TRUE(tray.ShowIcon());
        EXPECT_FALSE(tray.ShowIcon());
        ASSERT_EQ(shell.notifications.size(), 1u);
        const NotifyCall& add = shell.notifications[0];
        EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(add.data.cbSize, 968u);
        EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
        EXPECT_EQ(add.data.uID, 100u);
        EXPECT_EQ(add.data.uCallbackMessage, 102u);
        EXPECT_EQ(add.data.hWnd, owner);
        EXPECT_EQ(add.data.hIcon, icon);

        HICON second = ::CopyIcon(::LoadIconW(nullptr, IDI_WARNING));
        tray.SetIcon(second);
        ASSERT_EQ(shell.notifications.size(), 2u);
        EXPECT_EQ(shell.notifications[1].message, static_cast<DWORD>(NIM_MODIFY));
        EXPECT_EQ(shell.notifications[1].data.uFlags, static_cast<UINT>(NIF_ICON));
        EXPECT_EQ(shell.notifications[1].data.hIcon, second);
        // The icon held before was destroyed.
        ICONINFO info{};
        EXPECT_FALSE(::GetIconInfo(icon, &info));

        tray.HideIcon();
        tray.HideIcon();
        ASSERT_EQ(shell.notifications.size(), 3u);
        EXPECT_EQ(shell.notifications[2].message, static_cast<DWORD>(NIM_DELETE));
        EXPECT_EQ(shell.notifications[2].data.uID, 100u);
        EXPECT_TRUE(tray.ShowIcon());
    }
    // Going away removes the icon that is still shown.
    ASSERT_EQ(shell.notifications.size(), 5u);
    EXPECT_EQ(shell.notifications[4].message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(TrayIconTest, AnIconThatIsNotShownIsNotRemovedAtTheEnd)
{
    ShellRecorder shell;
    { TrayIcon tray(owner, ::GetModuleHandleW(nullptr)); }
    EXPECT_TRUE(shell.notifications.empty());
}

TEST_F(TrayIconTest, TheGeneratedIconScalesWithTheScreenResolution)
{
    const struct {
        int32_t horizontal;
        int32_t vertical;
        SIZE size;
    } cases[] = {{96, 96, {16, 16}}, {120, 120, {20, 20}}, {144, 144, {24, 24}}, {192, 192, {32, 32}},
                 {96, 144, {16, 24}}};
    TrayIcon tray(owner, ::GetModuleHandleW(nullptr));
    tray.SetGreyFill(true);
    for (const auto& c : cases) {
        const ScreenMetrics metrics{true, c.horizontal, c.vertical, ::MulDiv(16, c.vertical, 96)};
        OwnedIcon icon(tray.MakeDefaultIcon(metrics));
        ASSERT_TRUE(icon) << c.vertical;
        const SIZE size = IconSize(icon.Get());
        EXPECT_EQ(size.cx, c.size.cx) << c.horizontal;
        EXPECT_EQ(size.cy, c.size.cy) << c.vertical;
        EXPECT_EQ(metrics.IconSize(), c.size.cy);
    }
}

TEST_F(TrayIconTest, TheGreyIconIsFullyTransparentAndTheFilledOneIsNot)
{
    const ScreenMetrics metrics{true, 96, 96, 16};
    TrayIcon tray(owner, ::GetModuleHandleW(nullptr));
    const uint32_t background = 0x00123456;

    tray.SetGreyFill(true);
    OwnedIcon grey(tray.MakeDefaultIcon(metrics));
    ASSERT_TRUE(grey);
    const std::vector<uint32_t> overGrey = DrawOver(grey.Get(), {16, 16}, background);
    ASSERT_EQ(overGrey.size(), 256u);
    for (uint32_t pixel : overGrey)
        ASSERT_EQ(pixel & 0x00FFFFFF, background);

    tray.SetGreyFill(false);
    OwnedIcon filled(tray.MakeDefaultIcon(metrics));
    ASSERT_TRUE(filled);
    const std::vector<uint32_t> overFilled = DrawOver(filled.Get(), {16, 16}, background);
    ASSERT_EQ(overFilled.size(), 256u);
    EXPECT_NE(overFilled[8 * 16 + 8] & 0x00FFFFFF, background);
}

TEST_F(TrayIconTest, TheMetricsAreReadForTheWindowEachTimeTheyAreAskedFor)
{
    WindowDc screen(owner);
    ASSERT_TRUE(screen);
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    const ScreenMetrics metrics = ScreenMetrics::Read(owner);
    EXPECT_TRUE(metrics.filled);
    EXPECT_EQ(metrics.verticalDpi, dpi);
    EXPECT_EQ(metrics.horizontalDpi, ::GetDeviceCaps(screen.Get(), LOGPIXELSX));
    EXPECT_EQ(metrics.IconSize(), ::MulDiv(16, dpi, 96));
    // Nothing is kept between two readings: a new display scale is seen at the next one.
    EXPECT_EQ(ScreenMetrics::Read(nullptr).verticalDpi, dpi);
}

TEST_F(TrayIconTest, AWindowIconIsItsSmallIconOrItsFileTypeIconOrTheQuestionMark)
{
    HICON small = ::CopyIcon(::LoadIconW(nullptr, IDI_WARNING));
    ::SendMessageW(owner, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    OwnedIcon own(FindWindowIcon(owner));
    ASSERT_TRUE(own);
    EXPECT_NE(own.Get(), small);  // a copy the caller owns
    const SIZE ownSize = IconSize(own.Get());
    EXPECT_EQ(DrawOver(own.Get(), ownSize, 0), DrawOver(small, ownSize, 0));
    ::SendMessageW(owner, WM_SETICON, ICON_SMALL, 0);
    ::DestroyIcon(small);

    OwnedIcon question(::CopyIcon(::LoadIconW(nullptr, IDI_QUESTION)));
    const SIZE questionSize = IconSize(question.Get());
    const std::vector<uint32_t> questionPixels = DrawOver(question.Get(), questionSize, 0x00FFFFFF);

    OwnedIcon fileType(FindWindowIcon(owner));
    ASSERT_TRUE(fileType);
    EXPECT_NE(DrawOver(fileType.Get(), questionSize, 0x00FFFFFF), questionPixels);

    // No window, no process: the question mark.
    OwnedIcon fallback(FindWindowIcon(nullptr));
    ASSERT_TRUE(fallback);
    EXPECT_EQ(DrawOver(fallback.Get(), questionSize, 0x00FFFFFF), questionPixels);
}

// The tray icon as the plug-in drives it, through the same code as the DLL.
class PluginTray : public testsupport::LinkedPlugin {
protected:
    HWND Open(uint32_t cores)
    {
        SensorSnapshot snapshot = testhost::MakeSnapshot(cores);
        record->Update(&snapshot);
        testhost::Pump();
        return mainWindow;
    }
};

TEST_F(PluginTray, TheIconIsAddedAtCreationAndFollowsStopAndStart)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(IsChecked(main, IDM_TRAY_ICON));
    ASSERT_EQ(shell.notifications.size(), 1u);
    const NotifyCall add = shell.notifications[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.hWnd, main);
    EXPECT_EQ(add.data.uID, 100u);
    EXPECT_EQ(add.data.uCallbackMessage, 102u);
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    ASSERT_NE(add.data.hIcon, nullptr);
    // Icon 129 of the module, 32 x 32.
    EXPECT_EQ(IconSize(add.data.hIcon).cx, 32);

    record->Stop();
    EXPECT_FALSE(::IsWindowVisible(main));
    ASSERT_EQ(shell.notifications.size(), 2u);
    EXPECT_EQ(shell.notifications[1].message, static_cast<DWORD>(NIM_DELETE));
    record->Stop();
    EXPECT_EQ(shell.notifications.size(), 2u);

    EXPECT_EQ(record->Start(), 0);
    EXPECT_TRUE(::IsWindowVisible(main));
    ASSERT_EQ(shell.notifications.size(), 3u);
    EXPECT_EQ(shell.notifications[2].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shell.notifications[2].data.hIcon, add.data.hIcon);

    // Released with the icon shown: it leaves the notification area with the plug-in.
    ReleasePlugin();
    ASSERT_EQ(shell.notifications.size(), 4u);
    EXPECT_EQ(shell.notifications[3].message, static_cast<DWORD>(NIM_DELETE));
    EXPECT_EQ(shell.notifications[3].data.uID, 100u);
}

TEST_F(PluginTray, WithoutTheOptionStartAddsNothing)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=0;"});
    HWND main = Open(1);
    ASSERT_NE(main, nullptr);
    record->Stop();
    record->Start();
    EXPECT_EQ(shell.Count(NIM_ADD), 0u);
    EXPECT_FALSE(IsChecked(main, IDM_TRAY_ICON));
}

TEST_F(PluginTray, TurningTheOptionOffAndOnRemovesAndAddsTheSameIcon)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    ASSERT_EQ(shell.notifications.size(), 1u);
    const HICON icon = shell.notifications[0].data.hIcon;

    Command(main, IDM_TRAY_ICON);
    Command(main, IDM_TRAY_ICON);
    ASSERT_EQ(shell.notifications.size(), 3u);
    EXPECT_EQ(shell.notifications[1].message, static_cast<DWORD>(NIM_DELETE));
    const NotifyCall& add = shell.notifications[2];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.uID, 100u);
    EXPECT_EQ(add.data.uCallbackMessage, 102u);
    EXPECT_EQ(add.data.hIcon, icon);
    EXPECT_NE(testwindow::ReadSettingsFile().find("ShowSyatrayIcon=1;"), std::string::npos);
}

TEST_F(PluginTray, ExitTakesTheIconAwayWithTheWindow)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    Command(main, IDM_EXIT);
    EXPECT_EQ(mainWindow, nullptr);
    EXPECT_EQ(graphList, nullptr);
    ASSERT_EQ(shell.notifications.size(), 2u);
    EXPECT_EQ(shell.notifications[1].message, static_cast<DWORD>(NIM_DELETE));
    record->Start();
    EXPECT_EQ(shell.notifications.size(), 2u);
}

// What Explorer sends every top-level window after it restarted or the display scale changed.
void BroadcastTaskbarCreated(HWND main)
{
    ::SendMessageW(main, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
}

TEST_F(PluginTray, ANewTaskbarGetsTheShownIconAgain)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;", "StartMinimized=1;"});
    HWND main = Open(2);
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(::IsWindowVisible(main));  // the icon is the only way back
    ASSERT_EQ(shell.notifications.size(), 1u);
    const NotifyCall first = shell.notifications[0];

    BroadcastTaskbarCreated(main);
    BroadcastTaskbarCreated(main);  // each new taskbar starts empty
    ASSERT_EQ(shell.notifications.size(), 3u);
    for (size_t i = 1; i < 3; ++i) {
        const NotifyCall& again = shell.notifications[i];
        EXPECT_EQ(again.message, static_cast<DWORD>(NIM_ADD));
        EXPECT_EQ(again.data.hWnd, main);
        EXPECT_EQ(again.data.uID, 100u);
        EXPECT_EQ(again.data.uCallbackMessage, 102u);
        EXPECT_EQ(again.data.uFlags, first.data.uFlags);
        EXPECT_EQ(again.data.hIcon, first.data.hIcon);
    }

    // Still one icon to remove at the end.
    ReleasePlugin();
    EXPECT_EQ(shell.Count(NIM_DELETE), 1u);
}

TEST_F(PluginTray, ANewTaskbarGetsNoIconThatIsNotShown)
{
    struct Case {
        const char* name;
        const char* trayOption;
        void (*before)(PluginRecord&, HWND);
    };
    const Case cases[] = {
        {"option off", "ShowSyatrayIcon=0;", [](PluginRecord&, HWND) {}},
        {"after Stop", "ShowSyatrayIcon=1;", [](PluginRecord& plugin, HWND) { plugin.Stop(); }},
        {"turned off in the menu", "ShowSyatrayIcon=1;",
         [](PluginRecord&, HWND main) { Command(main, IDM_TRAY_ICON); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Attach();  // a fresh plug-in for each case
        ShellRecorder shell;
        testwindow::WriteSettings({c.trayOption});
        HWND main = Open(1);
        ASSERT_NE(main, nullptr);
        c.before(*record, main);
        const size_t adds = shell.Count(NIM_ADD);
        BroadcastTaskbarCreated(main);
        EXPECT_EQ(shell.Count(NIM_ADD), adds);
        ReleasePlugin();
        testhost::Pump();
    }
}

// The folder of the host's executable (here the test's), without a trailing backslash: the
// shell mangles a folder that ends in one. The test runs in another folder, so a plug-in
// that opened its current directory would fail here.
std::wstring HostExecutableFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring file(path);
    return file.substr(0, file.find_last_of(L'\\'));
}

TEST_F(PluginTray, OpenFolderAsksTheShellToOpenTheOutputFolder)
{
    ShellRecorder shell;
    testwindow::WriteSettings({});
    HWND main = Open(1);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(Command(main, IDM_OPEN_FOLDER), 0);
    ASSERT_EQ(shell.executions.size(), 1u);
    const testwindow::ShellExecuteCall& call = shell.executions[0];
    EXPECT_EQ(call.owner, main);
    EXPECT_EQ(call.verb, L"open");
    ASSERT_FALSE(HostExecutableFolder().empty());
    EXPECT_EQ(call.file, HostExecutableFolder());
    EXPECT_EQ(call.parameters, L"");
    EXPECT_EQ(call.show, SW_SHOWNORMAL);
}

}  // namespace
