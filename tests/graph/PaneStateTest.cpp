// The panes' style, histories, mutex name and locking, on real pane windows under Wine.
#include "PaneTestSupport.h"

#include "graph/CZiveVazud.h"
#include "graph/CZiveVazudEx.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

namespace {

using panetest::Worker;

constexpr COLORREF black = 0x000000;

class PaneState : public ::testing::Test {
protected:
    panetest::PaneWindow window{792, 214};
    GraphSettings record = panetest::DefaultRecord();
};

// Two pages, the second one unreadable: a record can be placed so that any part of it falls
// on the unreadable page.
class PageEdge {
public:
    PageEdge()
    {
        SYSTEM_INFO info{};
        ::GetSystemInfo(&info);
        page = info.dwPageSize;
        base = static_cast<BYTE*>(::VirtualAlloc(nullptr, page * 2, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        if (base)
            ::VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
    }
    ~PageEdge()
    {
        if (base)
            ::VirtualFree(base, 0, MEM_RELEASE);
    }
    // A record whose first readableBytes bytes are readable, the rest not.
    const GraphSettings* RecordWithReadablePrefix(const GraphSettings& source, size_t readableBytes)
    {
        BYTE* at = base + page - readableBytes;
        std::memcpy(at, &source, readableBytes);
        return reinterpret_cast<const GraphSettings*>(at);
    }
    const GraphSettings* Unreadable() const { return reinterpret_cast<const GraphSettings*>(base + page); }

private:
    size_t page = 0;
    BYTE* base = nullptr;
};

void ExpectDefaultStyle(const CZiveVazudEx& pane)
{
    EXPECT_FALSE(pane.SettingsValid());
    EXPECT_TRUE(pane.ShowsXAxis());
    EXPECT_EQ(pane.RangeMax(), 100);
    EXPECT_EQ(pane.RangeMin(), 0);
    EXPECT_EQ(pane.BackgroundColour(), 0x000000u);
    EXPECT_EQ(pane.FrameColour(), 0x00F0F0u);
    EXPECT_EQ(pane.LoadColour(), 0x0000F0u);
    EXPECT_EQ(pane.GridColour(), 0x00004Fu);
    EXPECT_EQ(pane.MessageColour(), 0xF0F000u);
    EXPECT_EQ(pane.TextColour(), 0xFFFFFFu);
    EXPECT_EQ(pane.TitleColour(), 0xFFFFFFu);
    EXPECT_EQ(pane.XAxisColour(), 0x007070u);
    EXPECT_EQ(pane.TemperatureColour(), 0x00F000u);
    EXPECT_EQ(std::wstring(pane.UnitText()), L"C\u00B0");
    EXPECT_EQ(std::wstring(pane.LoadUnitText()), L"%");
    EXPECT_EQ(std::wstring(pane.TitleText()), L"Untitled");
}

TEST_F(PaneState, RefusedRecordsGiveTheDefaultStyle)
{
    PageEdge edge;
    GraphSettings small = record;
    small.Size = 147;
    GraphSettings large = record;
    large.Size = 149;
    // Readable up to and including Size, but not the colours after it.
    const GraphSettings* cutAfterSize = edge.RecordWithReadablePrefix(record, offsetof(GraphSettings, TextColor));
    const GraphSettings* refusedRecords[] = {nullptr, &small, &large, edge.Unreadable(), cutAfterSize};
    for (size_t i = 0; i < std::size(refusedRecords); ++i) {
        SCOPED_TRACE(i);
        CZiveVazudEx pane(window.Get(), refusedRecords[i]);
        ExpectDefaultStyle(pane);
        EXPECT_EQ(pane.PlotRect().right, 0);
        EXPECT_EQ(pane.VisibleCount(), 0);
        EXPECT_EQ(pane.Scale(), 0.0f);
    }
}

TEST_F(PaneState, AcceptedRecordIsCopiedWithBoundedTexts)
{
    GraphSettings custom = panetest::DefaultRecord(L"A title of exactly forty characters long");
    custom.ShowXAxis = false;
    custom.RangeMin = -20;
    custom.RangeMax = 120;
    custom.BGColor = 0x010203;
    custom.GraphColor = 0x0A0B0C;
    custom.MessageColor = 0x111111;
    custom.TempUnit[0] = u'K';
    custom.TempUnit[1] = u'x';
    custom.TempUnit[2] = u'y';  // no terminator within the field: two characters are kept
    custom.LoadUnit[0] = u'p';
    custom.LoadUnit[1] = u'\0';
    CZiveVazudEx pane(window.Get(), &custom);
    EXPECT_TRUE(pane.SettingsValid());
    EXPECT_FALSE(pane.ShowsXAxis());
    EXPECT_EQ(pane.RangeMin(), -20);
    EXPECT_EQ(pane.RangeMax(), 120);
    EXPECT_EQ(pane.BackgroundColour(), 0x010203u);
    EXPECT_EQ(pane.TemperatureColour(), 0x0A0B0Cu);
    EXPECT_EQ(pane.MessageColour(), 0x111111u);
    EXPECT_EQ(std::wstring(pane.UnitText()), L"Kx");
    EXPECT_EQ(std::wstring(pane.LoadUnitText()), L"p");
    EXPECT_EQ(std::wstring(pane.TitleText()), L"A title of exactly forty characters long");
}

TEST_F(PaneState, UnreadableTitleBecomesUntitled)
{
    PageEdge edge;
    const GraphSettings* cut = edge.RecordWithReadablePrefix(record, offsetof(GraphSettings, Title));
    CZiveVazudEx pane(window.Get(), cut);
    EXPECT_TRUE(pane.SettingsValid());
    EXPECT_EQ(std::wstring(pane.TitleText()), L"Untitled");
    EXPECT_EQ(std::wstring(pane.LoadUnitText()), L"%");
    EXPECT_EQ(pane.TemperatureColour(), record.GraphColor);
}

TEST_F(PaneState, ApplyColorsChangesOnlyTheColours)
{
    record.RangeMin = -20;
    CZiveVazudEx pane(window.Get(), &record);

    GraphSettings reload = panetest::DefaultRecord(L"Other");
    reload.RangeMin = 5;
    reload.RangeMax = 50;
    reload.ShowXAxis = false;
    reload.TempUnit[0] = u'F';
    const COLORREF colours[] = {0x000001, 0x000002, 0x000003, 0x000004, 0x000005, 0x000006, 0x000007, 0x000008,
                                0x000009};
    reload.BGColor = colours[0];
    reload.FrameColor = colours[1];
    reload.LoadGraphColor = colours[2];
    reload.GridColor = colours[3];
    reload.MessageColor = colours[4];
    reload.TextColor = colours[5];
    reload.TitleColor = colours[6];
    reload.XAxisColor = colours[7];
    reload.GraphColor = colours[8];

    GraphSettings wrongSize = reload;
    wrongSize.Size = 147;
    EXPECT_FALSE(pane.ApplyColors(nullptr));
    EXPECT_FALSE(pane.ApplyColors(&wrongSize));
    EXPECT_EQ(pane.BackgroundColour(), 0x000000u);

    ASSERT_TRUE(pane.ApplyColors(&reload));
    const COLORREF now[] = {pane.BackgroundColour(), pane.FrameColour(), pane.LoadColour(),
                            pane.GridColour(), pane.MessageColour(), pane.TextColour(),
                            pane.TitleColour(), pane.XAxisColour(), pane.TemperatureColour()};
    for (size_t i = 0; i < 9; ++i)
        EXPECT_EQ(now[i], colours[i]) << i;
    EXPECT_EQ(pane.RangeMin(), -20);
    EXPECT_EQ(pane.RangeMax(), 100);
    EXPECT_TRUE(pane.ShowsXAxis());
    EXPECT_EQ(std::wstring(pane.UnitText()), L"C\u00B0");
    EXPECT_EQ(std::wstring(pane.TitleText()), L"Core #0");
}

TEST_F(PaneState, CreateSettingsHandsBackTheColours)
{
    CZiveVazudEx pane(window.Get(), &record);
    std::unique_ptr<GraphSettings> made(pane.CreateSettings());
    ASSERT_TRUE(made);
    EXPECT_EQ(made->Size, graphSettingsSize);
    EXPECT_EQ(made->FrameColor, record.FrameColor);
    EXPECT_EQ(made->LoadGraphColor, record.LoadGraphColor);
    EXPECT_EQ(made->MessageColor, record.MessageColor);
    EXPECT_EQ(made->XAxisColor, record.XAxisColor);
    EXPECT_EQ(made->GraphColor, 0u);
    EXPECT_EQ(made->RangeMax, 0);
    EXPECT_FALSE(made->ShowXAxis);
    EXPECT_EQ(made->Title[0], u'\0');
}

TEST_F(PaneState, HistoriesStartAtTheScreenWidthAndClearBackToIt)
{
    int screenWidth = 0;
    {
        WindowDc screen(nullptr);
        screenWidth = ::GetDeviceCaps(screen.Get(), HORZRES);
    }
    CZiveVazudEx pane(window.Get(), &record);
    EXPECT_TRUE(pane.HistoryValid());
    EXPECT_EQ(pane.InitialCapacity(), screenWidth);
    ASSERT_TRUE(pane.History().IsValid() && pane.TempHistory().IsValid());
    EXPECT_EQ(pane.History().Capacity(), screenWidth);
    EXPECT_EQ(pane.TempHistory().Capacity(), screenWidth);

    for (int i = 0; i < 3 * screenWidth; ++i)
        pane.PushSamples(70, 30);
    EXPECT_EQ(pane.TempHistory().Count(), 3 * screenWidth);
    EXPECT_EQ(pane.TempHistory().Latest(), 70);
    EXPECT_EQ(pane.History().Latest(), 30);

    pane.ClearHistory();
    EXPECT_EQ(pane.History().Count(), 0);
    EXPECT_EQ(pane.TempHistory().Count(), 0);
    EXPECT_EQ(pane.History().Capacity(), screenWidth);
    EXPECT_EQ(pane.TempHistory().Capacity(), screenWidth);

    // Nothing but frame, grid and texts until the next samples arrive.
    panetest::Canvas canvas(792, 214);
    ASSERT_TRUE(pane.Paint(canvas.Dc(), WM_PAINT));
    const RECT all{0, 0, 792, 214};
    EXPECT_EQ(panetest::CountColour(canvas, all, record.LoadGraphColor), 0);
    EXPECT_EQ(panetest::CountColour(canvas, all, record.GraphColor), 0);
    const RECT rightOfPlot{761, 0, 792, 214};
    EXPECT_EQ(panetest::CountColour(canvas, rightOfPlot, black), 31 * 214);
}

TEST_F(PaneState, EqualTitlesGetDifferentMutexNames)
{
    CZiveVazudEx first(window.Get(), &record);
    CZiveVazudEx second(window.Get(), &record);
    EXPECT_NE(std::wstring(first.MutexName()), std::wstring(second.MutexName()));
    for (const CZiveVazudEx* pane : {&first, &second}) {
        std::wostringstream expected;
        expected << L"Core #0" << std::hex << std::uppercase << reinterpret_cast<uintptr_t>(pane);
        EXPECT_EQ(std::wstring(pane->MutexName()), expected.str());
    }
}

TEST_F(PaneState, PaintWaitsForThePaneMutex)
{
    CZiveVazudEx pane(window.Get(), &record);
    pane.PushSamples(60, 40);
    KernelHandle held(::CreateMutexW(nullptr, TRUE, pane.MutexName()));
    ASSERT_TRUE(held);

    panetest::Canvas canvas(792, 214);
    bool painted = false;
    {
        Worker paint([&] { painted = pane.Paint(canvas.Dc(), WM_PAINT); });
        EXPECT_FALSE(paint.Finished(200));
        ::ReleaseMutex(held.Get());
        EXPECT_TRUE(paint.Finished(10000));
    }
    EXPECT_TRUE(painted);
    EXPECT_EQ(canvas.At(758, 93), record.GraphColor);
}

TEST_F(PaneState, WindowThreadChangesWaitForARunningExport)
{
    CZiveVazudEx pane(window.Get(), &record);
    GraphSettings recolour = record;
    recolour.BGColor = 0x123456;
    struct Change {
        const char* name;
        std::function<void()> run;
        std::function<bool()> done;
    };
    const Change changes[] = {
        {"pushing samples, as the distribution does",
         [&] {
             PaneLock::Exclusive distributing(PanesLock());
             pane.PushSamples(61, 41);
         },
         [&] { return pane.TempHistory().Count() == 1; }},
        {"SetUseBars", [&] { pane.SetUseBars(true); }, [&] { return pane.UsesBars(); }},
        {"ApplyColors", [&] { pane.ApplyColors(&recolour); }, [&] { return pane.BackgroundColour() == 0x123456u; }},
        {"ClearHistory", [&] { pane.ClearHistory(); }, [&] { return pane.TempHistory().Count() == 0; }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        std::optional<PaneLock::Shared> exporting(std::in_place, pane.Lock());
        Worker worker(change.run);
        EXPECT_FALSE(worker.Finished(100));
        exporting.reset();
        EXPECT_TRUE(worker.Finished(10000));
        EXPECT_TRUE(change.done());
    }
}

}  // namespace
