// zentrix-host.exe under Wine, driving the fake plug-in: what each source delivers, how a
// run ends, the export request, the screenshot and the errors a user can run into.
#include "host/SyntheticSource.h"
#include "tests/host/FakePluginFacts.h"
#include "tests/host/HostProcess.h"
#include "tests/host/PngFile.h"
#include "win32/GdiplusSession.h"

#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

// GDI+'s headers use min and max unqualified; NOMINMAX hides the macros.

namespace {


const wchar_t fakePlugin[] = L"fake_plugin.dll";

struct LoggedSnapshot {
    uint32_t cores = 0;
    uint32_t tjMax = 0;
    std::vector<float> temperatures;
    std::vector<uint32_t> loads;
};

// The fake plug-in's record of one run: its calls in order and the snapshots it got.
struct PluginLog {
    std::vector<std::string> calls;  // "GetPlugin", "Start", "Update", ...
    std::vector<std::string> lines;
    std::vector<LoggedSnapshot> snapshots;
};

PluginLog ReadPluginLog(const std::wstring& path)
{
    PluginLog log;
    for (const std::string& line : SplitLines(ReadFileText(path))) {
        log.lines.push_back(line);
        std::istringstream fields(line);
        std::string call;
        fields >> call;
        log.calls.push_back(call);
        if (call != "Update")
            continue;
        LoggedSnapshot snapshot;
        fields >> snapshot.cores >> snapshot.tjMax;
        std::string core;
        while (fields >> core) {
            const uint32_t bits = static_cast<uint32_t>(std::stoul(core.substr(0, 8), nullptr, 16));
            float temperature;
            std::memcpy(&temperature, &bits, sizeof temperature);
            snapshot.temperatures.push_back(temperature);
            snapshot.loads.push_back(static_cast<uint32_t>(std::stoul(core.substr(9))));
        }
        log.snapshots.push_back(snapshot);
    }
    return log;
}

// One case: a folder with the host and the fake plug-in, and the fake's log in it.
struct HostCase {
    explicit HostCase(const std::wstring& name, const std::wstring& plugin = fakePlugin)
        : folder(MakeCaseFolder(name, plugin)), logPath(folder + L"\\plugin-log.txt"),
          logTarget(L"ZENTRIX_FAKE_LOG", logPath)
    {
    }

    HostResult Run(const std::wstring& arguments) { return RunHost(folder, arguments); }
    PluginLog Log() const { return ReadPluginLog(logPath); }

    std::wstring folder;
    std::wstring logPath;
    ScopedEnvironment logTarget;
};

size_t Count(const std::vector<std::string>& calls, const std::string& call)
{
    size_t n = 0;
    for (const std::string& c : calls)
        n += c == call;
    return n;
}

TEST(HostProgram, SyntheticSourceDeliversItsExactSequenceInTheHostsCallOrder)
{
    HostCase run(L"synthetic");
    const HostResult result = run.Run(L"--source synthetic --cores 3 --updates 25 --interval 10");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("25 updates"), std::string::npos) << result.output;

    const PluginLog log = run.Log();
    ASSERT_GE(log.lines.size(), 3u);
    EXPECT_EQ(log.lines[0], "GetPlugin");
    EXPECT_EQ(log.lines[1], "Info window=1 instance=self close=1");
    EXPECT_EQ(log.lines[2], "Start");
    ASSERT_EQ(log.snapshots.size(), 25u);
    EXPECT_EQ(log.calls.end()[-2], "Stop");
    EXPECT_EQ(log.calls.back(), "Release");

    SyntheticSource expected(3);
    SensorSnapshot snapshot;
    for (size_t poll = 0; poll < log.snapshots.size(); ++poll) {
        expected.Next(snapshot);
        const LoggedSnapshot& got = log.snapshots[poll];
        ASSERT_EQ(got.cores, 3u);
        EXPECT_EQ(got.tjMax, 100u);
        for (uint32_t core = 0; core < 3; ++core) {
            EXPECT_EQ(got.temperatures[core], snapshot.coreTemperature[core]) << poll << " " << core;
            EXPECT_EQ(got.loads[core], snapshot.coreLoad[core]) << poll << " " << core;
        }
    }
}

TEST(HostProgram, FastRunsDeliverEveryUpdateWithoutWaiting)
{
    HostCase run(L"fast");
    const HostResult result = run.Run(L"--source synthetic --cores 2 --updates 3000 --fast");
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    const PluginLog log = run.Log();
    ASSERT_EQ(log.snapshots.size(), 3000u);
    SyntheticSource expected(2);
    SensorSnapshot snapshot;
    for (int i = 0; i < 3000; ++i)
        expected.Next(snapshot);
    EXPECT_EQ(log.snapshots.back().temperatures[1], snapshot.coreTemperature[1]);
    EXPECT_EQ(log.snapshots.back().loads[0], snapshot.coreLoad[0]);
}

TEST(HostProgram, ReplayDeliversTheLogRowByRowAndEndsWithIt)
{
    HostCase run(L"replay");
    WriteFileText(run.folder + L"\\log.csv",
                  "time,tjmax,temp0,load0,temp1,load1\r\n"
                  "0,95,41.5,10,40.25,0\r\n"
                  "1,95,55,100,47.75,33\r\n"
                  "2,95,62.5,87,-1.5,12\r\n");
    for (const wchar_t* pace : {L"--fast", L"--interval 10"}) {
        DeleteFileW(run.logPath.c_str());
        const HostResult result = run.Run(std::wstring(L"--source replay log.csv ") + pace);
        EXPECT_EQ(result.exitCode, 0u) << result.output;
        EXPECT_NE(result.output.find("the replay log ended"), std::string::npos) << result.output;
        const PluginLog log = run.Log();
        ASSERT_EQ(log.snapshots.size(), 3u);
        const LoggedSnapshot& last = log.snapshots[2];
        EXPECT_EQ(last.cores, 2u);
        EXPECT_EQ(last.tjMax, 95u);
        EXPECT_EQ(last.temperatures, (std::vector<float>{62.5f, -1.5f}));
        EXPECT_EQ(last.loads, (std::vector<uint32_t>{87, 12}));
        EXPECT_EQ(log.snapshots[0].temperatures, (std::vector<float>{41.5f, 40.25f}));
        EXPECT_EQ(log.snapshots[1].loads, (std::vector<uint32_t>{100, 33}));
    }

    DeleteFileW(run.logPath.c_str());
    const HostResult limited = run.Run(L"--source replay log.csv --fast --updates 2");
    EXPECT_EQ(limited.exitCode, 0u);
    EXPECT_EQ(run.Log().snapshots.size(), 2u);
}

TEST(HostProgram, MalformedReplayLogIsRefusedNamingLineAndColumn)
{
    HostCase run(L"badcsv");
    WriteFileText(run.folder + L"\\bad.csv", "temp0,load0\n40,10\n41,lots\n");
    const HostResult result = run.Run(L"--source replay bad.csv");
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_NE(result.output.find("line 3, column 2 (load0): 'lots' is not a number"), std::string::npos)
        << result.output;
    EXPECT_TRUE(run.Log().calls.empty());  // the plug-in is not even loaded

    // Raw bytes of the file reach the console escaped: a NUL, an escape and invalid UTF-8.
    const char rawLog[] = "temp0,load0\n4\0\x1B\xFF,1\n";
    WriteFileText(run.folder + L"\\raw.csv", std::string(rawLog, sizeof rawLog - 1));
    const HostResult raw = run.Run(L"--source replay raw.csv");
    EXPECT_EQ(raw.exitCode, 1u);
    EXPECT_NE(raw.output.find("line 2, column 1 (temp0): '4\\x00\\x1B\\xFF' is not a number"), std::string::npos)
        << raw.output;
    EXPECT_EQ(raw.output.find_first_of(std::string("\0\x1B", 2)), std::string::npos);

    const HostResult missing = run.Run(L"--source replay nowhere.csv");
    EXPECT_EQ(missing.exitCode, 1u);
    EXPECT_NE(missing.output.find("cannot open the replay log"), std::string::npos) << missing.output;
}

TEST(HostProgram, SystemSourceMeasuresEveryLogicalProcessor)
{
    HostCase run(L"system");
    const HostResult result = run.Run(L"--source system --updates 3 --interval 100");
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("temperatures"), std::string::npos) << result.output;

    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const PluginLog log = run.Log();
    ASSERT_EQ(log.snapshots.size(), 3u);
    for (const LoggedSnapshot& s : log.snapshots) {
        EXPECT_GT(s.cores, 0u);
        EXPECT_EQ(s.cores, std::min<DWORD>(system.dwNumberOfProcessors, 256));
        EXPECT_GT(s.tjMax, 0u);
        for (uint32_t core = 0; core < s.cores; ++core) {
            EXPECT_LE(s.loads[core], 100u);
            EXPECT_GT(s.temperatures[core], -40.0f);
            EXPECT_LT(s.temperatures[core], 150.0f);
        }
    }
}

TEST(HostProgram, ClosingThePluginWindowEndsTheRunAndReleasesThePlugin)
{
    HostCase run(L"close");
    ScopedEnvironment closeAfter(L"ZENTRIX_FAKE_CLOSE_AFTER", L"4");
    const HostResult result = run.Run(L"--source synthetic --interval 10");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("the plug-in window was closed"), std::string::npos) << result.output;
    const PluginLog log = run.Log();
    EXPECT_EQ(log.snapshots.size(), 4u);
    EXPECT_EQ(log.calls.back(), "Release");
}

TEST(HostProgram, ExportWaitsForEveryPaneToBeWrittenAnew)
{
    HostCase run(L"export");
    // A PNG from an earlier run must not count as this run's.
    WriteFileText(run.folder + L"\\Core #0.png", "an old picture");
    const HostResult result = run.Run(L"--source synthetic --cores 2 --updates 5 --interval 10 --export");
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    EXPECT_NE(result.output.find("Exported: 2 PNGs"), std::string::npos) << result.output;
    for (const wchar_t* name : {L"\\Core #0.png", L"\\Core #1.png"})
        EXPECT_EQ(ReadFileText(run.folder + name), fakePngContent);
    EXPECT_FALSE(FileExists(run.folder + L"\\Core #2.png"));
    const PluginLog log = run.Log();
    EXPECT_EQ(Count(log.calls, "CreatePng"), 1u);
    EXPECT_EQ(log.calls.back(), "Release");
}

TEST(HostProgram, ExportThatNeverCompletesTimesOutWithTheMissingFilesNamed)
{
    HostCase run(L"exporttimeout");
    ScopedEnvironment noExport(L"ZENTRIX_FAKE_EXPORT", L"none");
    const HostResult result =
        run.Run(L"--source synthetic --cores 2 --updates 2 --interval 10 --export --export-timeout 500");
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_NE(result.output.find("wrote 0 of 2 PNGs"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("Core #0.png, Core #1.png"), std::string::npos) << result.output;
    EXPECT_EQ(run.Log().calls.back(), "Release");
}

TEST(HostProgram, ScreenshotHoldsThePluginWindowsPixels)
{
    HostCase run(L"screenshot");
    const HostResult result = run.Run(L"--source synthetic --cores 1 --updates 2 --interval 10 --screenshot shot.png");
    EXPECT_EQ(result.exitCode, 0u) << result.output;
    const PngFacts png = InspectPng(ReadFileText(run.folder + L"\\shot.png"));
    ASSERT_TRUE(png.valid);
    // The whole window: the client area and a frame around it.
    const uint32_t width = png.width;
    const uint32_t height = png.height;
    EXPECT_GE(width, static_cast<uint32_t>(fakeClientWidth));
    EXPECT_GT(height, static_cast<uint32_t>(fakeClientHeight));

    // The middle of the picture lies in the client area, which the fake fills in one colour.
    GdiplusSession gdiplus;
    Gdiplus::GpBitmap* picture = nullptr;
    ASSERT_EQ(Gdiplus::DllExports::GdipCreateBitmapFromFile((run.folder + L"\\shot.png").c_str(), &picture),
              Gdiplus::Ok);
    Gdiplus::ARGB pixel = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(picture, static_cast<INT>(width / 2), static_cast<INT>(height / 2), &pixel);
    Gdiplus::DllExports::GdipDisposeImage(picture);
    EXPECT_EQ(pixel & 0xFFFFFFu, (static_cast<uint32_t>(GetRValue(fakeWindowColour)) << 16) |
                                     (static_cast<uint32_t>(GetGValue(fakeWindowColour)) << 8) |
                                     GetBValue(fakeWindowColour));
}

TEST(HostProgram, PluginProblemsGiveAClearErrorAndExitCode)
{
    struct Case {
        const wchar_t* name;
        const wchar_t* arguments;
        const char* message;
    };
    const Case cases[] = {
        {L"nodll", L"--source synthetic --updates 1", "does not exist"},
        {L"wrongdll", L"--source synthetic --updates 1 --plugin elsewhere\\Vaderur.dll", "does not exist"},
        {L"notplugin", L"--source synthetic --updates 1 --plugin not_a_plugin.dll", "does not export GetPlugin"},
        {L"notdll", L"--source synthetic --updates 1 --plugin text.dll", "cannot load the plug-in"},
    };
    for (const Case& c : cases) {
        HostCase run(c.name, L"");
        CopyFileW((TestBinaryFolder() + L"\\not_a_plugin.dll").c_str(), (run.folder + L"\\not_a_plugin.dll").c_str(), FALSE);
        WriteFileText(run.folder + L"\\text.dll", "this is no DLL");
        const HostResult result = run.Run(c.arguments);
        ASSERT_FALSE(result.timedOut);
        EXPECT_EQ(result.exitCode, 1u) << result.output;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
        EXPECT_EQ(result.output.find('%'), std::string::npos) << result.output;  // no unfilled "%1"
    }
}

TEST(HostProgram, CommandLineMistakesExitWithCode2AndHelpWith0)
{
    HostCase run(L"options", L"");
    const HostResult bad = run.Run(L"--updates many");
    EXPECT_EQ(bad.exitCode, 2u);
    EXPECT_NE(bad.output.find("--updates needs a whole number"), std::string::npos) << bad.output;

    const HostResult help = run.Run(L"--help");
    EXPECT_EQ(help.exitCode, 0u);
    EXPECT_NE(help.output.find("Usage: zentrix-host"), std::string::npos) << help.output;

    const HostResult alone = run.Run(L"--source synthetic --updates 3 --interval 10 --no-plugin");
    EXPECT_EQ(alone.exitCode, 0u) << alone.output;
    EXPECT_NE(alone.output.find("Process CPU time:"), std::string::npos) << alone.output;
}

}  // namespace
