// A picture of the running window: Vaderur.dll with four cores fed a few hundred readings,
// read back from the window's own surface and saved as PNG among the build's artefacts.
#include "tests/window/WindowHarness.h"

#include "core/HeatColourScale.h"
#include "core/HottestCore.h"
#include "settings/SettingsReader.h"
#include "tests/support/DibPixels.h"
#include "tests/support/VaderurDll.h"
#include "win32/GdiplusSession.h"
#include "win32/DpiAwareness.h"
#include "win32/Handles.h"
#include "win32/WindowCapture.h"
#include "window/TemperatureIcon.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>
#include <string>

namespace {

// The artefact folder of the build, as Wine sees the Unix path.
std::wstring ArtifactPath(const char* name)
{
    std::wstring path = L"Z:";
    for (const char* c = VADERUR_ARTIFACT_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    path += L'\\';
    for (const char* c = name; *c; ++c)
        path += static_cast<wchar_t>(*c);
    return path;
}

// Readings that move like a busy machine's: a slow wave per core plus a little noise.
SensorSnapshot Reading(int step, uint32_t& noise)
{
    SensorSnapshot s = testhost::MakeSnapshot(4);
    for (uint32_t core = 0; core < 4; ++core) {
        const double phase = step / 23.0 + core * 1.3;
        noise = noise * 1664525u + 1013904223u;
        const double jitter = (noise >> 24) / 64.0;  // 0 .. 4
        s.coreTemperature[core] = static_cast<float>(52.0 + 14.0 * std::sin(phase) + jitter);
        const double load = 45.0 + 40.0 * std::sin(phase * 1.7 + 0.5) + jitter * 2.0;
        s.coreLoad[core] = static_cast<uint32_t>(load < 0 ? 0 : load > 100 ? 100 : load);
    }
    return s;
}

// Lets Wine carry what was drawn to the window's surface, bounded to about half a second.
void Settle()
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 500) {
        testhost::Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// The plug-in window brought to the top, painted through and captured, frame included.
bool CapturePluginWindow(WindowPicture& picture)
{
    HWND main = testhost::PluginMainWindow();
    if (!main)
        return false;
    ::SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ::RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Settle();
    // In the monitor's pixels: the window is per-monitor aware, this program need not be.
    const PerMonitorDpiScope physical;
    return CaptureWindow(main, picture);
}

TEST(WindowScreenshot, FourCoresAfterThreeHundredUpdates)
{
    testwindow::RemoveSettings();  // the default settings file is created
    testsupport::VaderurDll dll;
    ASSERT_TRUE(dll.Loaded());
    PluginRecord* record = dll.GetPlugin()();
    record->info->hostInstance = dll.Module();

    uint32_t noise = 12345;
    for (int step = 0; step < 300; ++step) {
        const SensorSnapshot s = Reading(step, noise);
        record->Update(&s);
        testhost::Pump();
    }
    WindowPicture picture;
    ASSERT_TRUE(CapturePluginWindow(picture));
    const int width = picture.width;
    const int height = picture.height;

    // The panes show both series in their default colours: red temperature, green load.
    const uint32_t* pixels = picture.pixels.data();
    std::set<uint32_t> colours;
    bool red = false;
    bool green = false;
    for (int i = 0; i < width * height; ++i) {
        const uint32_t rgb = pixels[i] & 0x00FFFFFF;
        colours.insert(rgb);
        red = red || rgb == 0x00F00000;
        green = green || rgb == 0x0000F000;
    }
    EXPECT_TRUE(red);
    EXPECT_TRUE(green);
    EXPECT_GT(colours.size(), 8u);

    {
        GdiplusSession gdiplus;
        ASSERT_TRUE(gdiplus.Started());
        const std::wstring path = ArtifactPath("vaderur-window.png");
        EXPECT_TRUE(SavePixelsAsPng(width, height, pixels, path.c_str())) << "could not write the picture";
        EXPECT_NE(::GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
    }

    dll.ReleasePlugin()();
    testhost::Pump();
    dll.Unload();
    testwindow::RemoveSettings();
}

// Many cores as a busy server shows them: each core has its own level (a few run hot, most
// warm, some idle) with a slow wave and a little noise on top.
SensorSnapshot ManyCoreReading(uint32_t cores, int step, uint32_t& noise)
{
    SensorSnapshot s = testhost::MakeSnapshot(cores);
    for (uint32_t core = 0; core < cores; ++core) {
        const double level = ((core * 37u + 11u) % 97u) / 96.0;  // 0 .. 1, scattered over the cores
        const double phase = step / 17.0 + core * 0.7;
        noise = noise * 1664525u + 1013904223u;
        const double jitter = (noise >> 24) / 64.0;  // 0 .. 4
        s.coreTemperature[core] = static_cast<float>(38.0 + 50.0 * level + 6.0 * std::sin(phase) + jitter);
        const double load = 100.0 * level + 15.0 * std::sin(phase * 1.3) + jitter * 2.0;
        s.coreLoad[core] = static_cast<uint32_t>(load < 0 ? 0 : load > 100 ? 100 : load);
    }
    return s;
}

// The default settings text with the given keys in place of their defaults: the pictures show
// what a user gets who adds those keys to the file the plug-in wrote.
std::vector<std::string> DefaultSettingsWith(const std::vector<std::string>& keys)
{
    std::vector<std::string> entries = keys;
    const auto keyOf = [](const std::string& line) { return line.substr(0, line.find('=')); };
    std::string line;
    bool header = true;
    for (const char16_t* c = defaultSettingsText; *c; ++c) {
        if (*c != u'\n') {
            line += static_cast<char>(*c);  // the default text is ASCII
            continue;
        }
        const bool replaced = std::any_of(keys.begin(), keys.end(),
                                          [&](const std::string& key) { return keyOf(key) == keyOf(line); });
        if (!header && !replaced)
            entries.push_back(line);
        header = false;
        line.clear();
    }
    return entries;
}

struct ManyCoresPicture {
    const char* file;
    uint32_t cores;
    std::vector<std::string> settings;
};

// The pictures of the grid views in the README.
const ManyCoresPicture manyCoresPictures[] = {
    {"vaderur-grid-16.png", 16, {"Columns=-1;"}},
    {"vaderur-grid-64.png", 64, {"Columns=-1;"}},
    {"vaderur-grid-256.png", 256, {"Columns=-1;"}},
    {"vaderur-heatmap-256.png", 256, {"HeatMap=1;", "RangeMin=30;", "RangeMax=95;"}},
};

TEST(WindowScreenshot, ManyCoresAsGridsAndHeatMap)
{
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Started());
    for (const ManyCoresPicture& shot : manyCoresPictures) {
        SCOPED_TRACE(shot.file);
        testwindow::WriteSettings(DefaultSettingsWith(shot.settings));
        testsupport::VaderurDll dll;
        ASSERT_TRUE(dll.Loaded());
        PluginRecord* record = dll.GetPlugin()();
        record->info->hostInstance = dll.Module();

        // Painted every twenty updates: what a second's worth of updates shows, in less time.
        uint32_t noise = 777;
        for (int step = 0; step < 160; ++step) {
            const SensorSnapshot s = ManyCoreReading(shot.cores, step, noise);
            record->Update(&s);
            if (step % 20 == 19)
                testhost::Pump();
        }
        WindowPicture picture;
        ASSERT_TRUE(CapturePluginWindow(picture));
        const std::wstring path = ArtifactPath(shot.file);
        EXPECT_TRUE(SavePixelsAsPng(picture.width, picture.height, picture.pixels.data(), path.c_str()))
            << "could not write the picture";

        dll.ReleasePlugin()();
        testhost::Pump();
        dll.Unload();
        testwindow::RemoveSettings();
    }
}

// The temperature tray icon at 16 and 32 pixels, for the README: 72 degrees within 20..100,
// on a light and a dark strip as a notification area shows it.
TEST(TrayIconPicture, ShowsTheTemperatureIconAtBothSizes)
{
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Started());
    for (int size : {16, 32}) {
        OwnedIcon icon(DrawTemperatureIcon(L"72", HeatColourOf(72, 20, 100), size));
        ASSERT_TRUE(icon);
        const testsupport::IconPixels read = testsupport::ReadIconPixels(icon.Get());
        ASSERT_EQ(read.width, size);
        ASSERT_EQ(read.height, size);
        const std::wstring path = ArtifactPath(size == 16 ? "vaderur-tray-16.png" : "vaderur-tray-32.png");
        EXPECT_TRUE(SavePixelsAsPng(size, size, read.pixels.data(), path.c_str())) << "could not write the picture";
    }
}

// The README's pictures of the window at the display's scale: two cores, as at 100 % when the
// prefix has 96 DPI and as at 150 % and 200 % when window_dpi_scales runs this at 144 and 192.
TEST(WindowScreenshot, TwoCoresAtTheDisplayScale)
{
    GdiplusSession gdiplus;
    ASSERT_TRUE(gdiplus.Started());
    testwindow::WriteSettings(DefaultSettingsWith({"GraphWidth=420;", "GraphHeight=150;"}));
    testsupport::VaderurDll dll;
    ASSERT_TRUE(dll.Loaded());
    PluginRecord* record = dll.GetPlugin()();
    record->info->hostInstance = dll.Module();
    uint32_t noise = 4242;
    for (int step = 0; step < 200; ++step) {
        SensorSnapshot s = Reading(step, noise);
        s.coreCount = 2;
        record->Update(&s);
        testhost::Pump();
    }
    WindowPicture picture;
    ASSERT_TRUE(CapturePluginWindow(picture));
    const int percent = WindowDpi(testhost::PluginMainWindow()) * 100 / 96;
    const std::wstring path = ArtifactPath(("vaderur-scale-" + std::to_string(percent) + ".png").c_str());
    EXPECT_TRUE(SavePixelsAsPng(picture.width, picture.height, picture.pixels.data(), path.c_str()));
    dll.Unload();
    testwindow::RemoveSettings();
}

}  // namespace
