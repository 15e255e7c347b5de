// The plug-in under load: updates at full speed on 16 cores while "Create &PNG" and
// "Clear &history" fire again and again; then the window goes ("E&xit", or ReleasePlugin
// alone) and the DLL is unloaded while exports still run; once more with the grid view, which
// paints every pane in one pass while the exports render them. Nothing may crash or hang, and
// every picture left behind must be a whole image.
#include "resources/resource.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/PluginHostSupport.h"
#include "tests/plugin/HostHarness.h"

#include <gtest/gtest.h>

namespace {

using namespace exporttest;

constexpr uint32_t cores = 16;
constexpr int paneHeight = 40;
constexpr int updates = 3000;

void Hammer(PluginHost& host)
{
    for (int i = 1; i <= updates; ++i) {
        host.Update(cores, static_cast<float>(30 + i % 60), static_cast<uint32_t>(i % 101));
        if (i % 60 == 0)
            host.Command(IDM_CREATE_PNG);
        if (i % 250 == 0 && i <= updates - 1000)
            host.Command(IDM_CLEAR_HISTORY);
        if (i % 400 == 0)
            host.Command((i / 400) % 2 ? IDM_USE_BARS : IDM_USE_LINE);
        if (i % 10 == 0)
            testhost::Pump();
    }
    // The teardown below finds these still running.
    for (int i = 0; i < 3; ++i)
        host.Command(IDM_CREATE_PNG);
}

// Once the window is gone no export may be half done: no BMP, no temporary picture.
void ExpectNoExportInProgress()
{
    EXPECT_TRUE(FilesInExeFolder(L"*.bmp").empty());
    EXPECT_TRUE(FilesInExeFolder(L"*.tmp").empty());
}

void ExpectOnlyWholePictures()
{
    GdiplusSession gdiplus;
    const auto pictures = FilesInExeFolder(L"*.png");
    EXPECT_FALSE(pictures.empty());
    for (const std::wstring& name : pictures) {
        const auto picture = LoadPicture(InExeFolder(name));
        ASSERT_TRUE(picture) << "not a valid image";
        EXPECT_EQ(picture->height, paneHeight);
        EXPECT_GE(picture->width, 66);
        EXPECT_LE(picture->width, updates + 66);
    }
    EXPECT_TRUE(FilesInExeFolder(L"*.bmp").empty());
    EXPECT_TRUE(FilesInExeFolder(L"*.tmp").empty());
}

class ExportStress : public ::testing::Test {
protected:
    void SetUp() override
    {
        FailTheTestOnCrash();
        RemoveExportFiles();
        WriteSettingsFile(paneHeight, 0, 0x403020);
    }
    void TearDown() override { RemoveExportFiles(); }
};

TEST_F(ExportStress, ExitThenReleaseThenUnloadWhileExportsRun)
{
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    Hammer(host);
    host.Command(IDM_EXIT);
    EXPECT_EQ(host.MainWindow(), nullptr);
    ExpectNoExportInProgress();
    EXPECT_TRUE(host.ReleaseAndUnload(20000)) << "a worker kept the DLL loaded";
    ExpectOnlyWholePictures();
}

TEST_F(ExportStress, ReleaseAloneThenUnloadWhileExportsRun)
{
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    Hammer(host);
    host.Release();
    ExpectNoExportInProgress();
    EXPECT_TRUE(host.ReleaseAndUnload(20000)) << "a worker kept the DLL loaded";
    ExpectOnlyWholePictures();
}

TEST_F(ExportStress, GridPaintsWhileExportsRun)
{
    WriteSettingsFile(paneHeight, 0, 0x403020, "Columns=-1");
    PluginHost host;
    ASSERT_TRUE(host.Loaded());
    Hammer(host);
    // The grid it was: the pane windows are there but hidden, the main window drew the cells.
    const HWND pane = ::GetWindow(host.MainWindow(), GW_CHILD);
    ASSERT_NE(pane, nullptr);
    EXPECT_FALSE(::IsWindowVisible(pane));
    host.Command(IDM_EXIT);
    ExpectNoExportInProgress();
    EXPECT_TRUE(host.ReleaseAndUnload(20000)) << "a worker kept the DLL loaded";
    ExpectOnlyWholePictures();
}

}  // namespace
