// SaveSnapshot and the worker with the export linked in: files, headers, pixels, failures.
#include "graph/CZiveVazudEx.h"
#include "export/ExportWorkers.h"
#include "export/SnapshotExport.h"
#include "win32/PictureFileSeam.h"
#include "plugin/PluginState.h"
#include "window/WindowViews.h"
#include "tests/export/ExportTestSupport.h"
#include "tests/export/PaneTestSupport.h"
#include "window/MainWindow.h"
#include "window/MainWindowProc.h"
#include "window/ShellSeam.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <atomic>
#include <cstring>
#include <string>

namespace {

using namespace exporttest;

const std::wstring core0Png = L"Core #0.png";
const std::wstring core1Png = L"Core #1.png";

uint32_t Read32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t Read16(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

class SnapshotExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        FailTheTestOnCrash();
        RemoveExportFiles();
    }
    void TearDown() override
    {
        SetBmpWrittenHook(nullptr);
        SetShellExecuteProc(nullptr);
        RemoveExportFiles();
    }
    std::optional<Picture> Png(const std::wstring& name) { return LoadPicture(InExeFolder(name)); }
    void ExpectNoLeftovers()
    {
        EXPECT_TRUE(FilesInExeFolder(L"*.bmp").empty());
        EXPECT_TRUE(FilesInExeFolder(L"*.tmp").empty());
    }

    GdiplusSession gdiplus;
    TestPanes panes;
};

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
    bool GetOutputFolder(wchar_t* out) override
    {
        if (folder.size() >= 260)
            return false;
        std::memcpy(out, folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
        return true;
    }

private:
    std::wstring folder;
};

TEST_F(SnapshotExport, NoHeightOrNoRoomForTheNameWritesNothing)
{
    const GraphSettings settings = TestSettings(L"Core #0");
    CZiveVazudEx* flat = panes.Add(settings, 792, 0);
    PushSamples(flat, 100, 60, 40);
    flat->SaveSnapshot();
    EXPECT_TRUE(FilesInExeFolder(L"Core*").empty()) << "a pane of height 0 writes nothing";

    // "<folder>\Core #0.bmp" needs 12 characters after the folder: 250 + 12 > 259.
    const std::wstring folder = ExeFolder() + L"\\" + std::wstring(250 - ExeFolder().size() - 1, L'd');
    ASSERT_EQ(folder.size(), 250u);
    ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr) ||
                ::GetLastError() == ERROR_ALREADY_EXISTS);
    CZiveVazudEx* longName =
        panes.Adopt(std::make_unique<FolderPane>(panes.PaneWindow(792, 214), &settings, folder));
    PushSamples(longName, 100, 60, 40);
    longName->SaveSnapshot();

    WIN32_FIND_DATAW found{};
    int entries = 0;
    HANDLE search = ::FindFirstFileW((L"\\\\?\\" + folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (std::wcscmp(found.cFileName, L".") != 0 && std::wcscmp(found.cFileName, L"..") != 0)
                ++entries;
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    EXPECT_EQ(entries, 0) << "no file under a cut name";
    EXPECT_TRUE(FilesInExeFolder(L"Core*").empty());
    ::RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
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

std::atomic<int> bmpsWritten{0};

// A slow export: each BMP waits at the gate until the test opens it.
KernelHandle exportGate;
KernelHandle exportAtGate;
void WaitAtTheGate(const wchar_t*)
{
    ::SetEvent(exportAtGate.Get());
    ::WaitForSingleObject(exportGate.Get(), INFINITE);
    ++bmpsWritten;
}

// The threads of this process now: a worker that is started is a thread more.
int ThreadsOfThisProcess()
{
    KernelHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot)
        return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry))
        count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
    return count;
}

TEST_F(SnapshotExport, StartsWhileAnExportRunsQueueAtMostOneMore)
{
    CZiveVazudEx* first = panes.Add(TestSettings(L"Core #0"));
    CZiveVazudEx* second = panes.Add(TestSettings(L"Core #1"));
    PushSamples(first, 400, 60, 40);
    PushSamples(second, 400, 60, 40);
    bmpsWritten = 0;
    exportGate.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    exportAtGate.Reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(exportGate && exportAtGate);
    SetBmpWrittenHook(WaitAtTheGate);

    // The first export is held at its first BMP; of the three ticks after it, only the first
    // queues an export (one thread more), the others find it waiting and add nothing.
    ASSERT_TRUE(panes.Workers().Start(panes.List()));
    ASSERT_EQ(::WaitForSingleObject(exportAtGate.Get(), 20000), WAIT_OBJECT_0);
    const int threadsWithOneExport = ThreadsOfThisProcess();
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_EQ(ThreadsOfThisProcess(), threadsWithOneExport + 1);

    ::SetEvent(exportGate.Get());
    EXPECT_TRUE(WaitUntil([] { return bmpsWritten.load() >= 4; }, 20000)) << bmpsWritten.load();
    panes.Workers().WaitForAll();
    EXPECT_EQ(bmpsWritten.load(), 4) << "two exports of two panes";
    EXPECT_FALSE(panes.Workers().Cancelled());
    for (const std::wstring& name : {core0Png, core1Png}) {
        const auto png = Png(name);
        ASSERT_TRUE(png);
        EXPECT_EQ(png->width, 466);
    }
    ExpectNoLeftovers();

    // Once both ended, a start runs an export again.
    EXPECT_TRUE(panes.Workers().Start(panes.List()));
    EXPECT_TRUE(WaitUntil([] { return bmpsWritten.load() == 6; }, 20000)) << bmpsWritten.load();
    panes.Workers().WaitForAll();
}

std::atomic<int> bmpsSeen{0};
void CountBmp(const wchar_t*)
{
    ++bmpsSeen;
}

// The pane's named mutex keeps an export from drawing while a paint (of this or another
// process) draws the same pane: held here, the export must wait for it.
TEST_F(SnapshotExport, AnExportWaitsWhileThePanesNamedMutexIsHeld)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"));
    PushSamples(pane, 100, 60, 40);
    bmpsSeen = 0;
    SetBmpWrittenHook(CountBmp);
    KernelHandle mutex(::CreateMutexW(nullptr, FALSE, pane->MutexName()));
    ASSERT_TRUE(mutex);
    ASSERT_EQ(::WaitForSingleObject(mutex.Get(), 10000), WAIT_OBJECT_0);

    ASSERT_TRUE(panes.Workers().Start(panes.List()));
    // Unheld, this export writes its BMP within milliseconds.
    EXPECT_FALSE(WaitUntil([] { return bmpsSeen.load() > 0; }, 2000)) << "the export did not wait for the mutex";
    EXPECT_FALSE(FileExists(InExeFolder(core0Png)));

    ASSERT_TRUE(::ReleaseMutex(mutex.Get()));
    EXPECT_TRUE(WaitUntil([&] { return Png(core0Png).has_value(); }, 20000));
    panes.Workers().WaitForAll();
    EXPECT_EQ(bmpsSeen.load(), 1);
    const auto png = Png(core0Png);
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 166);
}

// The window thread's side of a pane under export: grow the histories past the size that
// lives in memory of its own (freed straight back to the system), then clear them, again
// and again until told to stop.
struct GrowAndClear {
    CZiveVazudEx* pane;
    std::atomic<bool> stop{false};
    std::atomic<int> clears{0};
};
DWORD WINAPI GrowAndClearThread(LPVOID parameter)
{
    auto* job = static_cast<GrowAndClear*>(parameter);
    while (!job->stop.load()) {
        for (int chunk = 0; chunk < 15; ++chunk)
            PushSamples(job->pane, 10000, 70, 30);
        job->pane->ClearHistory();
        ++job->clears;
    }
    return 0;
}

TEST_F(SnapshotExport, ExportsDuringGrowthAndClearingDrawOneWholeHistory)
{
    CZiveVazudEx* pane = panes.Add(TestSettings(L"Core #0"), 792, 40);
    GrowAndClear job{pane};
    HANDLE writer = ::CreateThread(nullptr, 0, GrowAndClearThread, &job, 0, nullptr);
    ASSERT_NE(writer, nullptr);

    for (int i = 0; i < 4; ++i) {
        pane->SaveSnapshot();
        const auto png = Png(core0Png);
        ASSERT_TRUE(png);
        // Any width from empty to full is fine; every held column must carry the series.
        const int held = png->width - 66;
        ASSERT_GE(held, 0);
        ASSERT_LE(held, 150000);
        // Columns 33 (under the left frame's inner column) to held + 32 carry samples.
        for (int x = 34; x <= held + 32; x += 997)
            EXPECT_EQ(png->ColourAt(x, RowOf(70, 40)), testTemperature) << "column " << x << " of " << held;
    }
    job.stop = true;
    EXPECT_EQ(::WaitForSingleObject(writer, 20000), WAIT_OBJECT_0);
    ::CloseHandle(writer);
    EXPECT_GT(job.clears.load(), 0);
}

// The hook holds the worker inside pane 0 until the test lets it go.
HANDLE insidePane = nullptr;
HANDLE letGo = nullptr;
void HoldInsidePane(const wchar_t*)
{
    ::SetEvent(insidePane);
    ::WaitForSingleObject(letGo, 10000);
}

DWORD WINAPI WaitForWorkersThread(LPVOID workers)
{
    static_cast<ExportWorkers*>(workers)->WaitForAll();
    return 0;
}

TEST_F(SnapshotExport, TeardownWaitsForTheRunningPaneAndStopsBeforeTheNext)
{
    panes.Add(TestSettings(L"Core #0"));
    panes.Add(TestSettings(L"Core #1"));
    insidePane = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    letGo = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetBmpWrittenHook(HoldInsidePane);

    ASSERT_TRUE(panes.Workers().Start(panes.List()));
    ASSERT_EQ(::WaitForSingleObject(insidePane, 10000), WAIT_OBJECT_0);
    HANDLE waiter = ::CreateThread(nullptr, 0, WaitForWorkersThread, &panes.Workers(), 0, nullptr);
    ASSERT_NE(waiter, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return panes.Workers().Cancelled(); }, 10000));
    EXPECT_EQ(::WaitForSingleObject(waiter, 100), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the teardown must not return while a worker is inside a pane";

    ::SetEvent(letGo);
    EXPECT_EQ(::WaitForSingleObject(waiter, 20000), WAIT_OBJECT_0);
    ::CloseHandle(waiter);
    ::CloseHandle(insidePane);
    ::CloseHandle(letGo);

    EXPECT_TRUE(Png(core0Png)) << "the pane in progress is finished";
    EXPECT_FALSE(FileExists(InExeFolder(core1Png))) << "the next pane is never started";
    EXPECT_FALSE(panes.Workers().Cancelled());
}

}  // namespace
