#include "tests/export/PaneTestSupport.h"

#include "export/ExportWorkers.h"

namespace exporttest {

GraphSettings TestSettings(const wchar_t* title)
{
    PaneStyle style;
    style.showXAxis = false;
    style.bgColor = testBackground;
    style.frameColor = testFrame;
    style.loadGraphColor = testLoad;
    style.graphColor = testTemperature;
    style.gridColor = testGrid;
    return RecordOf(style, title);
}

int RowOf(int value, int paneHeight)
{
    const int plotTop = 17;
    const int plotBottom = paneHeight - 8;
    const float scale = static_cast<float>(plotBottom - plotTop - 4) / 100.0f;
    return plotBottom - static_cast<int>(static_cast<float>(value) * scale) - 2;
}

TestPanes::TestPanes()
{
    parent = ::CreateWindowExW(0, L"STATIC", L"export test panes", WS_OVERLAPPEDWINDOW, 0, 0, 900, 700, nullptr,
                               nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

TestPanes::~TestPanes()
{
    workers.WaitForAll();
    panes.clear();
    if (parent)
        ::DestroyWindow(parent);
}

HWND TestPanes::PaneWindow(int width, int height)
{
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, nextTop, width, height, parent,
                                    nullptr, ::GetModuleHandleW(nullptr), nullptr);
    nextTop += height;
    return window;
}

CZiveVazudEx* TestPanes::Add(const GraphSettings& settings, int width, int height)
{
    return Adopt(std::make_unique<CZiveVazudEx>(PaneWindow(width, height), &settings));
}

CZiveVazudEx* TestPanes::Adopt(std::unique_ptr<CZiveVazudEx> pane)
{
    panes.push_back(std::move(pane));
    list.push_back(panes.back().get());
    return list.back();
}

void TestPanes::SaveAll()
{
    SRWLOCK turn = SRWLOCK_INIT;
    const std::atomic<bool> notCancelled{false};
    SaveEveryPane(list, turn, notCancelled);
}

void PushSamples(CZiveVazudEx* pane, int count, int temperature, int load)
{
    PaneLock::Exclusive pushing(pane->Lock());
    for (int i = 0; i < count; ++i)
        pane->PushSamples(temperature, load);
}

}  // namespace exporttest
