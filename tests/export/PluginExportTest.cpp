// The export through the real Vaderur.dll: menu commands, the log timer, the settings file.
#include "resources/resource.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/PluginHostSupport.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace exporttest;

constexpr COLORREF temperatureColour = 0x0000F0;
constexpr COLORREF loadColour = 0x00F000;
constexpr DWORD exportTimeoutMs = 20000;

class PluginExport : public ::testing::Test {
protected:
    void SetUp() override { RemoveExportFiles(); }
    void TearDown() override { RemoveExportFiles(); }

    // Waits until the pane's picture exists with the given width and returns it.
    std::optional<Picture> WaitForPicture(const wchar_t* name, int width)
    {
        std::optional<Picture> picture;
        WaitUntil(
            [&] {
                picture = LoadPicture(InExeFolder(name));
                return picture && picture->width == width;
            },
            exportTimeoutMs);
        return picture;
    }
    bool WaitForNoBmp()
    {
        return WaitUntil([] { return FilesInExeFolder(L"*.bmp").empty() && FilesInExeFolder(L"*.tmp").empty(); },
                         exportTimeoutMs);
    }

    GdiplusSession gdiplus;
};

TEST_F(PluginExport, CreatePngWritesOnePicturePerCoreAndAgainReplacesThem)
{
    WriteSettingsFile(214, 0, 0x403020);
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    for (int i = 0; i < 100; ++i)
        host.Update(2, 60.0f, 40);

    host.Command(IDM_CREATE_PNG);
    for (const wchar_t* name : {L"Core #0.png", L"Core #1.png"}) {
        const auto picture = WaitForPicture(name, 166);
        ASSERT_TRUE(picture) << name;
        EXPECT_EQ(picture->width, 166);
        EXPECT_EQ(picture->height, 214);
        EXPECT_EQ(picture->ColourAt(5, 100), 0x403020u);
        EXPECT_EQ(picture->ColourAt(132, 93), temperatureColour) << "newest temperature, 60";
        EXPECT_EQ(picture->ColourAt(132, 130), loadColour) << "newest load, 40";
    }

    for (int i = 0; i < 10; ++i)
        host.Update(2, 60.0f, 40);
    host.Command(IDM_CREATE_PNG);
    EXPECT_TRUE(WaitForPicture(L"Core #0.png", 176));
    EXPECT_TRUE(WaitForPicture(L"Core #1.png", 176));
    EXPECT_TRUE(WaitForNoBmp());
    EXPECT_EQ(FilesInExeFolder(L"*.png").size(), 2u);
    EXPECT_TRUE(host.ReleaseAndUnload(10000));
}

TEST_F(PluginExport, RightAfterClearHistoryThePictureIsAnEmptyPlot)
{
    WriteSettingsFile(214, 0, 0x403020);
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    for (int i = 0; i < 200; ++i)
        host.Update(2, 60.0f, 40);

    host.Command(IDM_CLEAR_HISTORY);
    host.Command(IDM_CREATE_PNG);

    const auto picture = WaitForPicture(L"Core #0.png", 66);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->height, 214);
    EXPECT_FALSE(picture->Contains(temperatureColour));
    EXPECT_FALSE(picture->Contains(loadColour));
}

TEST_F(PluginExport, BarsFromTheMenuAreExportedAsBars)
{
    WriteSettingsFile(214, 0, 0x403020);
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    for (int i = 0; i < 60; ++i)
        host.Update(1, 60.0f, 40);

    host.Command(IDM_USE_BARS);
    host.Command(IDM_CREATE_PNG);

    // 60 samples: the plot is 62 pixels wide, room for 10 bars; the newest at columns 88 to 92.
    const auto picture = WaitForPicture(L"Core #0.png", 126);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->ColourAt(90, 150), temperatureColour);
    EXPECT_NE(picture->ColourAt(93, 150), temperatureColour);
    EXPECT_EQ(picture->ColourAt(40, 150), temperatureColour) << "the tenth bar covers columns 34 to 38";
    EXPECT_NE(picture->ColourAt(33, 150), temperatureColour);
}

TEST_F(PluginExport, ReloadColorsChangesTheExportedBackground)
{
    WriteSettingsFile(214, 0, 0x403020);
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    for (int i = 0; i < 30; ++i)
        host.Update(1, 60.0f, 40);
    host.Command(IDM_CREATE_PNG);
    auto picture = WaitForPicture(L"Core #0.png", 96);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->ColourAt(5, 100), 0x403020u);

    WriteSettingsFile(214, 0, 0x102030);
    host.Command(IDM_RELOAD_COLORS);
    host.Update(1, 60.0f, 40);
    host.Command(IDM_CREATE_PNG);
    picture = WaitForPicture(L"Core #0.png", 97);
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->ColourAt(5, 100), 0x102030u);
}

constexpr UINT_PTR logTimerId = 2;

TEST_F(PluginExport, ALogIntervalOfZeroSetsNoTimer)
{
    WriteSettingsFile(214, 0, 0x403020);
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    host.Update(1, 60.0f, 40);
    ASSERT_NE(host.MainWindow(), nullptr);
    EXPECT_FALSE(::KillTimer(host.MainWindow(), logTimerId));
}

TEST_F(PluginExport, ALogIntervalInMinutesSetsTheTimer)
{
    WriteSettingsFile(214, 1, 0x403020);
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    host.Update(1, 60.0f, 40);
    ASSERT_NE(host.MainWindow(), nullptr);
    EXPECT_TRUE(::KillTimer(host.MainWindow(), logTimerId));
}

}  // namespace
