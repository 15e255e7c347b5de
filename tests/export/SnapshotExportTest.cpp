// SaveSnapshot with the export linked in: files, headers, pixels, failures.
#include "core/ExportPaths.h"
#include "graph/CZiveVazudEx.h"
#include "win32/Handles.h"
#include "tests/export/SnapshotExportFixture.h"
#include "window/MainWindowProc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace exporttest;


uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Read16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}


// What the hook saw of the BMP before GDI+ converted it.
std::vector<std::wstring> bmpPathsSeen;
std::vector<uint8_t> bmpBytesSeen;
void CaptureBmp(const wchar_t* path)
{
    bmpPathsSeen.push_back(path);
    bmpBytesSeen = ReadBytes(path);
}

TEST_F(SnapshotExport, ThousandSamplesWriteTheBmpThenAPngOfTheSameSize)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"), 792, 214);
    PushSamples(pane, 1000, 60, 40);
    bmpPathsSeen.clear();
    SetBmpWrittenHook(CaptureBmp);

    pane->SaveSnapshot();

    ASSERT_EQ(bmpPathsSeen.size(), 1u);
    EXPECT_EQ(bmpPathsSeen[0], InExeFolder(L"Core #0.bmp"));
    const std::vector<uint8_t>& bmp = bmpBytesSeen;
    ASSERT_EQ(bmp.size(), 912550u) << "the Xvfb screen is 24-bit, so BITSPIXEL is 32";
    EXPECT_EQ(Read16(bmp, 0), 0x4D42);
    EXPECT_EQ(Read32(bmp, 2), 912550u);
    EXPECT_EQ(Read32(bmp, 6), 0u);
    EXPECT_EQ(Read32(bmp, 10), 54u);
    EXPECT_EQ(Read32(bmp, 14), 40u);
    EXPECT_EQ(Read32(bmp, 18), 1066u);
    EXPECT_EQ(Read32(bmp, 22), 214u);
    EXPECT_EQ(Read16(bmp, 26), 1);
    EXPECT_EQ(Read16(bmp, 28), 32);
    EXPECT_EQ(Read32(bmp, 30), 0u);
    EXPECT_EQ(Read32(bmp, 34), 912496u);
    EXPECT_EQ(Read32(bmp, 46), 0u);
    EXPECT_EQ(Read32(bmp, 50), 0u);

    // Rows are stored bottom-up: the newest temperature sample (60 at row 93, column 1032).
    const size_t pixel = 54 + size_t(213 - RowOf(60)) * 1066 * 4 + 1032 * 4;
    EXPECT_EQ(bmp[pixel + 0], GetBValue(testTemperature));
    EXPECT_EQ(bmp[pixel + 1], GetGValue(testTemperature));
    EXPECT_EQ(bmp[pixel + 2], GetRValue(testTemperature));

    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 1066);
    EXPECT_EQ(png->height, 214);
    EXPECT_EQ(png->ColourAt(1032, RowOf(60)), testTemperature);
    ExpectNoLeftovers();
}

TEST_F(SnapshotExport, APaneShownAt200PercentSavesTheSame96DpiPicture)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"), 792, 214);
    PushSamples(pane, 500, 60, 40);
    pane->SaveSnapshot();
    const auto at96 = Png(core0Png);
    ASSERT_TRUE(at96);

    // The same pane on a screen at 200 %: its window twice as large, drawn at 192 DPI.
    ::SetWindowPos(pane->PaneWindow(), nullptr, 0, 0, 2 * 792, 2 * 214, SWP_NOMOVE | SWP_NOZORDER);
    pane->SetDpi(192);
    pane->SaveSnapshot();
    const auto at192 = Png(core0Png);
    ASSERT_TRUE(at192);
    EXPECT_EQ(at192->width, at96->width);
    EXPECT_EQ(at192->height, 214);
    EXPECT_TRUE(at192->argb == at96->argb) << "the picture's pixels depend on the display";
    EXPECT_EQ(pane->Dpi(), 192);
}

TEST_F(SnapshotExport, AfterClearingThePictureIs66PixelsWideWithAnEmptyPlot)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 300, 60, 40);
    pane->ClearHistory();

    pane->SaveSnapshot();

    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 66);
    EXPECT_EQ(png->height, 214);
    EXPECT_FALSE(png->Contains(testTemperature));
    EXPECT_FALSE(png->Contains(testLoad));
    EXPECT_EQ(png->ColourAt(5, 100), testBackground);
}

// An export is a record of the history: the views (stacked; a grid, where the pane is compact
// and resized; the heat map, where it is hidden) change the pane on screen, never its picture.
TEST_F(SnapshotExport, EveryViewExportsTheSamePicture)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"), 792, 214);
    for (int i = 0; i < 10; ++i)
        PushSamples(pane, 1, 30 + 5 * i, 80 - 6 * i);
    const HWND window = pane->PaneWindow();
    const auto exported = [&] {
        pane->SaveSnapshot();
        return Png(core0Png);
    };

    const auto stacked = exported();
    ASSERT_TRUE(stacked);
    EXPECT_EQ(stacked->width, 10 + 66);
    EXPECT_EQ(stacked->height, 214);

    // Columns=2 after the window was resized: a compact pane of 501 x 301.
    pane->SetCompact(true);
    ::SetWindowPos(window, nullptr, 0, 0, 501, 301, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto grid = exported();
    // A small grid cell, where the compact layout leaves every text out.
    ::SetWindowPos(window, nullptr, 0, 0, 60, 40, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto smallCell = exported();
    // HeatMap=1: the pane hidden, not compact.
    pane->SetCompact(false);
    ::ShowWindow(window, SW_HIDE);
    ::SetWindowPos(window, nullptr, 0, 0, 30, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const auto heatMap = exported();

    const struct {
        const char* name;
        const std::optional<Picture>& picture;
    } views[] = {{"grid", grid}, {"small grid cell", smallCell}, {"heat map", heatMap}};
    for (const auto& view : views) {
        ASSERT_TRUE(view.picture) << view.name;
        EXPECT_EQ(view.picture->width, stacked->width) << view.name;
        EXPECT_EQ(view.picture->height, stacked->height) << view.name;
        EXPECT_TRUE(view.picture->argb == stacked->argb) << view.name << ": the pixels differ";
    }
    ExpectNoLeftovers();
}

TEST_F(SnapshotExport, LineModeDrawsEverySampleInItsOwnColumnNewestAtTheRight)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 500, 20, 90);  // older half
    PushSamples(pane, 500, 80, 10);  // newer half: columns 533 to 1032

    pane->SaveSnapshot();

    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    ASSERT_EQ(png->width, 1066);
    for (int x : {533, 700, 1032}) {
        EXPECT_EQ(png->ColourAt(x, RowOf(80)), testTemperature) << x;
        EXPECT_EQ(png->ColourAt(x, RowOf(10)), testLoad) << x;
        EXPECT_NE(png->ColourAt(x, RowOf(20)), testTemperature) << x;
    }
    for (int x : {34, 300, 531}) {
        EXPECT_EQ(png->ColourAt(x, RowOf(20)), testTemperature) << x;
        EXPECT_EQ(png->ColourAt(x, RowOf(90)), testLoad) << x;
        EXPECT_NE(png->ColourAt(x, RowOf(80)), testTemperature) << x;
    }
    // Nothing is drawn right of the newest column.
    EXPECT_NE(png->ColourAt(1033, RowOf(80)), testTemperature);
}

TEST_F(SnapshotExport, BarModeDrawsTemperatureOverLoad)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 998, 50, 50);
    PushSamples(pane, 1, 30, 80);  // second newest bar: load shows above the temperature
    PushSamples(pane, 1, 60, 40);  // newest bar: temperature hides the load
    pane->SetUseBars(true);

    pane->SaveSnapshot();

    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    ASSERT_EQ(png->width, 1066);
    // Newest bar: columns 1028 to 1032, from its top down to row 204.
    EXPECT_EQ(png->ColourAt(1030, RowOf(60)), testTemperature);
    EXPECT_EQ(png->ColourAt(1030, 204), testTemperature);
    EXPECT_NE(png->ColourAt(1030, RowOf(60) - 1), testTemperature);
    EXPECT_NE(png->ColourAt(1033, 180), testTemperature) << "the gap right of the newest bar";
    // Second newest: columns 1022 to 1026.
    EXPECT_EQ(png->ColourAt(1024, RowOf(80)), testLoad);
    EXPECT_EQ(png->ColourAt(1024, RowOf(30) - 1), testLoad);
    EXPECT_EQ(png->ColourAt(1024, RowOf(30)), testTemperature);
    EXPECT_NE(png->ColourAt(1027, 180), testTemperature) << "the gap between two bars";
    // Only a sixth as many samples fit as bars: 166 of them, the oldest starting at column 38.
    EXPECT_EQ(png->ColourAt(38, 200), testTemperature);
    EXPECT_NE(png->ColourAt(37, 200), testTemperature);
}

TEST_F(SnapshotExport, ColoursComeFromTheSettingsAndReloadingChangesTheBackground)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 200, 60, 40);
    pane->SaveSnapshot();
    auto png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->ColourAt(5, 100), testBackground);
    EXPECT_EQ(png->ColourAt(32, 100), testFrame) << "left edge of the frame";
    EXPECT_EQ(png->ColourAt(200 + 32, RowOf(60)), testTemperature);
    EXPECT_EQ(png->ColourAt(200 + 32, RowOf(40)), testLoad);

    GraphSettings reloaded = TestSettings(L"ignored");
    reloaded.BGColor = 0x102030;
    reloaded.GraphColor = 0xF00000;
    ASSERT_TRUE(pane->ApplyColors(&reloaded));
    pane->SaveSnapshot();
    png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->ColourAt(5, 100), 0x102030u);
    EXPECT_EQ(png->ColourAt(200 + 32, RowOf(60)), 0xF00000u);
}

TEST_F(SnapshotExport, TwoPanesGiveOnePictureEachAndASecondExportReplacesBoth)
{
    CZiveVazudEx* first = panes.Add(TestSettings(L"Core #0"));
    CZiveVazudEx* second = panes.Add(TestSettings(L"Core #1"));
    PushSamples(first, 100, 60, 40);
    PushSamples(second, 100, 70, 30);

    panes.SaveAll();
    for (const std::wstring& name : {core0Png, core1Png}) {
        const auto png = Png(name);
        ASSERT_TRUE(png);
        EXPECT_EQ(png->width, 166);
    }

    PushSamples(first, 10, 60, 40);
    PushSamples(second, 10, 70, 30);
    panes.SaveAll();
    for (const std::wstring& name : {core0Png, core1Png}) {
        const auto png = Png(name);
        ASSERT_TRUE(png);
        EXPECT_EQ(png->width, 176);
    }
    EXPECT_EQ(FilesInExeFolder(L"*.png").size(), 2u);
    ExpectNoLeftovers();
}

// A reader that has the old picture open while the new one is put in its place, as a viewer
// or a program polling for the picture does for a moment: it lets go 200 ms later.
HANDLE pictureReader = nullptr;
DWORD WINAPI LetGoOfThePicture(LPVOID)
{
    ::Sleep(200);  // the reader's own pace, not a wait of the test's
    ::CloseHandle(pictureReader);
    return 0;
}
void OpenThePictureForAMoment(const wchar_t*)
{
    pictureReader = ::CreateFileW(InExeFolder(core0Png).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr);
    ::CloseHandle(::CreateThread(nullptr, 0, LetGoOfThePicture, nullptr, 0, nullptr));
}

TEST_F(SnapshotExport, APictureReadForAMomentIsStillReplaced)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 100, 60, 40);
    pane->SaveSnapshot();
    ASSERT_EQ(Png(core0Png)->width, 166);

    PushSamples(pane, 10, 60, 40);
    SetBmpWrittenHook(OpenThePictureForAMoment);
    pane->SaveSnapshot();
    SetBmpWrittenHook(nullptr);
    ASSERT_NE(pictureReader, INVALID_HANDLE_VALUE);
    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 176) << "the new picture must replace the old once the reader lets go";
    ExpectNoLeftovers();
}

TEST_F(SnapshotExport, ABmpHeldOpenElsewhereSkipsOnlyThatPane)
{
    panes.Add(TestSettings(L"Core #0"));
    panes.Add(TestSettings(L"Core #1"));
    const std::wstring heldPath = InExeFolder(L"Core #0.bmp");
    ASSERT_TRUE(WriteBytes(heldPath, {'h', 'e', 'l', 'd'}));
    HANDLE held = ::CreateFileW(heldPath.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    panes.SaveAll();
    ::CloseHandle(held);

    EXPECT_FALSE(FileExists(InExeFolder(core0Png)));
    EXPECT_TRUE(Png(core1Png));
    EXPECT_EQ(ReadBytes(heldPath), (std::vector<uint8_t>{'h', 'e', 'l', 'd'}));
    EXPECT_FALSE(FileExists(InExeFolder(L"Core #1.bmp")));
}

TEST_F(SnapshotExport, AReadOnlyPictureKeepsItsContentAndTheBmpIsStillDeleted)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 100, 60, 40);
    pane->SaveSnapshot();
    const std::wstring png = InExeFolder(core0Png);
    const std::vector<uint8_t> before = ReadBytes(png);
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(::SetFileAttributesW(png.c_str(), FILE_ATTRIBUTE_READONLY));

    PushSamples(pane, 50, 20, 90);
    pane->SaveSnapshot();

    EXPECT_EQ(ReadBytes(png), before);
    ExpectNoLeftovers();
}

// The PNG encoder under Wine refuses pictures wider than 1,000,000 pixels: a pane holding
// more samples than that gets the newest that fit, never no picture at all.
TEST_F(SnapshotExport, APaneTooWideForTheEncoderIsSavedWithItsNewestSamples)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"), 792, 40);  // low, to keep the picture small
    PushSamples(pane, 1000, 20, 90);      // older than the widest picture holds
    PushSamples(pane, 999934, 80, 10);    // exactly the 1,000,000 - 66 columns of it

    pane->SaveSnapshot();

    const auto png = Png(core0Png);
    ASSERT_TRUE(png) << "no picture for a pane of 1,000,934 samples";
    EXPECT_EQ(png->width, 1000000);
    EXPECT_EQ(png->height, 40);
    for (int x : {34, 500000, 1000000 - 34}) {
        EXPECT_EQ(png->ColourAt(x, RowOf(80, 40)), testTemperature) << x;
        EXPECT_NE(png->ColourAt(x, RowOf(20, 40)), testTemperature) << x;
    }
    ExpectNoLeftovers();
}

// A pane whose pictures go to a folder the test chooses.
class FolderPane : public CZiveVazudEx {
public:
    FolderPane(HWND window, const GraphSettings* settings, std::wstring f)
        : CZiveVazudEx(window, settings), folder(std::move(f))
    {
    }
    std::wstring OutputFolder() override { return folder; }

private:
    std::wstring folder;
};

TEST_F(SnapshotExport, NoHeightWritesNothing)
{
    CZiveVazudEx* flat = panes.Add(TestSettings(L"Core #0"), 792, 0);
    PushSamples(flat, 100, 60, 40);
    flat->SaveSnapshot();
    EXPECT_TRUE(FilesInExeFolder(L"Core*").empty()) << "a pane of height 0 writes nothing";
}

// Folders past the classic path limit (the monitor installed deep down): every picture is
// written, through the long form of its names, and no temporary is left.
TEST_F(SnapshotExport, FoldersOfAnyLengthGetEveryPicture)
{
    const GraphSettings settings = TestSettings(L"Core #0");
    for (const size_t length : {240u, 243u, 248u, 255u, 259u, 270u, 320u, 400u}) {
        SCOPED_TRACE(length);
        // Nested, as a real install is: no component longer than 120 characters.
        std::wstring folder = ExeFolder();
        std::vector<std::wstring> made;
        while (folder.size() < length) {
            const size_t room = length - folder.size();
            size_t part = std::min<size_t>(room - 1, 120);
            if (room - 1 - part == 1)
                --part;  // never leave room for a separator alone
            folder += L"\\" + std::wstring(part, L'd');
            made.push_back(LongPathForm(folder));
            ASSERT_TRUE(::CreateDirectoryW(made.back().c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        }
        ASSERT_EQ(folder.size(), length);
        CZiveVazudEx* pane = panes.Adopt(std::make_unique<FolderPane>(panes.PaneWindow(792, 214), &settings, folder));
        PushSamples(pane, 100, 60, 40);
        pane->SaveSnapshot();

        const auto png = LoadPicture(LongPathForm(folder + L"\\Core #0.png"));
        ASSERT_TRUE(png);
        EXPECT_EQ(png->width, 166);
        WIN32_FIND_DATAW found{};
        FindHandle search(::FindFirstFileW(LongPathForm(folder + L"\\*.*").c_str(), &found));
        ASSERT_TRUE(search);
        std::vector<std::wstring> names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (::FindNextFileW(search.Get(), &found));
        EXPECT_EQ(names, std::vector<std::wstring>{L"Core #0.png"}) << "no BMP or temporary left";
        EXPECT_TRUE(::DeleteFileW(LongPathForm(folder + L"\\Core #0.png").c_str()));
        for (auto at = made.rbegin(); at != made.rend(); ++at)
            ::RemoveDirectoryW(at->c_str());
    }
}

// "<folder>\Core #0.png" fits up to a folder of 247 characters; the picture must come there,
// whatever name its temporary has.
TEST_F(SnapshotExport, AFolderWhereThePngNameJustFitsGetsThePicture)
{
    const GraphSettings settings = TestSettings(L"Core #0");
    for (const size_t length : {244u, 246u, 247u}) {
        SCOPED_TRACE(length);
        const std::wstring folder = ExeFolder() + L"\\" + std::wstring(length - ExeFolder().size() - 1, L'e');
        ASSERT_EQ(folder.size(), length);
        const std::wstring longFolder = L"\\\\?\\" + folder;
        ASSERT_TRUE(::CreateDirectoryW(longFolder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
        CZiveVazudEx* pane = panes.Adopt(std::make_unique<FolderPane>(panes.PaneWindow(792, 214), &settings, folder));
        PushSamples(pane, 100, 60, 40);
        pane->SaveSnapshot();

        const std::wstring png = longFolder + L"\\Core #0.png";
        EXPECT_NE(::GetFileAttributesW(png.c_str()), INVALID_FILE_ATTRIBUTES);
        ::DeleteFileW(png.c_str());
        EXPECT_TRUE(::RemoveDirectoryW(longFolder.c_str())) << "nothing else left in the folder";
    }
}

struct ShellCall {
    HWND owner;
    std::wstring verb, file, parameters, directory;
    int show;
};
std::vector<ShellCall> shellCalls;
HINSTANCE RecordShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                             const wchar_t* directory, int show)
{
    shellCalls.push_back({owner, verb, file, parameters, directory, show});
    return reinterpret_cast<HINSTANCE>(33);
}

TEST_F(SnapshotExport, OpenFolderOpensThePictureFolderOnlyWhenThereIsAFirstPane)
{
    shellCalls.clear();
    SetShellExecuteProc(RecordShellExecute);
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));

    OpenOutputFolder(panes.Parent(), {});
    OpenOutputFolder(panes.Parent(), {nullptr, pane});
    EXPECT_TRUE(shellCalls.empty());

    OpenOutputFolder(panes.Parent(), {pane});
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].owner, panes.Parent());
    EXPECT_EQ(shellCalls[0].verb, L"open");
    EXPECT_EQ(shellCalls[0].file, ExeFolder());
    EXPECT_EQ(shellCalls[0].parameters, L"");
    EXPECT_EQ(shellCalls[0].directory, L"");
    EXPECT_EQ(shellCalls[0].show, SW_SHOWNORMAL);
}

}  // namespace
