// zentrix-host.exe driving the real Vaderur.dll under Wine, each case from a folder of its
// own: the plug-in's window, its PNG export and the host's screenshot.
#include "tests/host/HostProcess.h"
#include "tests/host/PngFile.h"

#include <gtest/gtest.h>

namespace {

const wchar_t plugin[] = L"Vaderur.dll";

std::wstring Pane(const std::wstring& folder, uint32_t pane)
{
    return folder + L"\\Core #" + std::to_wstring(pane) + L".png";
}

bool AnyBmpLeft(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\*.bmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

TEST(HostWithPlugin, SyntheticRunExportsOnePngPerCoreAndTakesAScreenshot)
{
    const std::wstring folder = MakeCaseFolder(L"e2e-synthetic", plugin);
    const HostResult result =
        RunHost(folder, L"--source synthetic --cores 3 --updates 40 --interval 10 --export --screenshot shot.png");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("Plug-in: Zentrix Vaderur 1.2"), std::string::npos) << result.output;

    for (uint32_t pane = 0; pane < 3; ++pane) {
        const PngFacts png = InspectPng(ReadFileText(Pane(folder, pane)));
        EXPECT_TRUE(png.valid) << pane;
        EXPECT_EQ(png.width, 40u + 66u) << pane;  // one column per held sample and the margins
        EXPECT_GT(png.height, 0u) << pane;
    }
    EXPECT_FALSE(FileExists(Pane(folder, 3)));
    EXPECT_FALSE(AnyBmpLeft(folder));
    EXPECT_TRUE(FileExists(folder + L"\\Vaderur.ini"));  // the plug-in's settings, in the current folder

    const PngFacts shot = InspectPng(ReadFileText(folder + L"\\shot.png"));
    EXPECT_TRUE(shot.valid);
    EXPECT_GT(shot.width, 400u);
    EXPECT_GT(shot.height, 300u);
}

TEST(HostWithPlugin, ReplayOfTheSampleLogBecomesFourPanesOfItsWholeHistory)
{
    const std::wstring folder = MakeCaseFolder(L"e2e-replay", plugin);
    ASSERT_TRUE(CopyFileW((TestBinaryFolder() + L"\\replay-4-cores.csv").c_str(),
                          (folder + L"\\replay-4-cores.csv").c_str(), FALSE));
    const HostResult result = RunHost(folder, L"--source replay replay-4-cores.csv --fast --export");
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("600 updates"), std::string::npos) << result.output;
    for (uint32_t pane = 0; pane < 4; ++pane) {
        const PngFacts png = InspectPng(ReadFileText(Pane(folder, pane)));
        EXPECT_TRUE(png.valid) << pane;
        EXPECT_EQ(png.width, 600u + 66u) << pane;
    }
}

// The one "Vaderur log *.csv" in folder, or an empty name when there is none or more than one.
std::wstring OnlyCsvLog(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW((folder + L"\\Vaderur log *.csv").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return {};
    std::wstring name = found.cFileName;
    if (FindNextFileW(search, &found))
        name.clear();
    FindClose(search);
    return name;
}

TEST(HostWithPlugin, TheCsvLogOfARunReplaysIntoTheSamePictures)
{
    const std::string settings = "[Zentrix Vaderur]\r\nShowXAxis=1;\r\n\r\n[General]\r\nPollInterval=1;\r\nCsvLog=1;\r\n";
    const std::wstring live = MakeCaseFolder(L"e2e-csvlog-live", plugin);
    WriteFileText(live + L"\\Vaderur.ini", settings);
    const HostResult recorded =
        RunHost(live, L"--source synthetic --cores 3 --updates 40 --interval 10 --export");
    ASSERT_EQ(recorded.exitCode, 0u) << recorded.output;
    const std::wstring logName = OnlyCsvLog(live);
    ASSERT_FALSE(logName.empty()) << "one log expected (a run across midnight makes two)";
    const std::vector<std::string> lines = SplitLines(ReadFileText(live + L"\\" + logName));
    ASSERT_GE(lines.size(), 41u);
    EXPECT_EQ(lines[0].rfind("time,tjmax,temp0,load0,temp1,load1,temp2,load2", 0), 0u) << lines[0];

    const std::wstring replayed = MakeCaseFolder(L"e2e-csvlog-replay", plugin);
    WriteFileText(replayed + L"\\Vaderur.ini", settings);
    ASSERT_TRUE(CopyFileW((live + L"\\" + logName).c_str(), (replayed + L"\\recorded.csv").c_str(), FALSE));
    const HostResult replay = RunHost(replayed, L"--source replay recorded.csv --fast --export");
    ASSERT_EQ(replay.exitCode, 0u) << replay.output;
    EXPECT_NE(replay.output.find("40 updates"), std::string::npos) << replay.output;
    for (uint32_t pane = 0; pane < 3; ++pane) {
        const std::string livePicture = ReadFileText(Pane(live, pane));
        EXPECT_TRUE(InspectPng(livePicture).valid) << pane;
        EXPECT_TRUE(livePicture == ReadFileText(Pane(replayed, pane))) << "pane " << pane << " differs";
    }
}

TEST(HostWithPlugin, WithoutTheCsvLogKeyNoLogIsWritten)
{
    const std::wstring folder = MakeCaseFolder(L"e2e-no-csvlog", plugin);
    const HostResult result = RunHost(folder, L"--source synthetic --cores 2 --updates 5 --interval 10");
    ASSERT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_TRUE(FileExists(folder + L"\\Vaderur.ini"));
    EXPECT_TRUE(OnlyCsvLog(folder).empty());
}

TEST(HostWithPlugin, SystemSourceGivesAPanePerLogicalProcessor)
{
    const std::wstring folder = MakeCaseFolder(L"e2e-system", plugin);
    const HostResult result = RunHost(folder, L"--updates 3 --interval 100 --export");
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const uint32_t processors = system.dwNumberOfProcessors < 256 ? system.dwNumberOfProcessors : 256;
    for (uint32_t pane = 0; pane < processors; ++pane)
        EXPECT_TRUE(InspectPng(ReadFileText(Pane(folder, pane))).valid) << pane;
    EXPECT_FALSE(FileExists(Pane(folder, processors)));
}

BOOL CALLBACK RememberPluginWindow(HWND window, LPARAM found)
{
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (lstrcmpW(className, L"MOLTAVIS") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST(HostWithPlugin, ClosingThePluginWindowEndsTheHostCleanly)
{
    const std::wstring folder = MakeCaseFolder(L"e2e-close", plugin);
    bool closed = false;
    const HostResult result = RunHost(folder, L"--source synthetic --cores 2 --interval 20 --export", 60000,
                                      [&closed](DWORD hostThread) {
                                          // The window appears with the first update; wait for it, with a bound.
                                          for (int attempt = 0; attempt < 200 && !closed; ++attempt) {
                                              HWND window = nullptr;
                                              EnumThreadWindows(hostThread, RememberPluginWindow,
                                                                reinterpret_cast<LPARAM>(&window));
                                              if (window)
                                                  closed = PostMessageW(window, WM_CLOSE, 0, 0) != FALSE;
                                              else
                                                  MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
                                          }
                                      });
    ASSERT_TRUE(closed);
    ASSERT_FALSE(result.timedOut) << result.output;
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("the plug-in window was closed"), std::string::npos) << result.output;
    // The export still runs after a close: the window stays until the plug-in is released.
    EXPECT_TRUE(InspectPng(ReadFileText(Pane(folder, 1))).valid);
}

}  // namespace
