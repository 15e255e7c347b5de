// The cores as a screen reader's client meets them: names, values, roles, places, hit tests
// and navigation of every core in the stacked panes, the grid and the heat map, for 4, 16 and
// 256 cores; and what ten thousand requests and a client that outlives the window leave behind.
#include "tests/window/AccessibleClient.h"

namespace {

using namespace testaccess;

class StackedCores : public Accessibility, public ::testing::WithParamInterface<uint32_t> {};
class HeatMapCells : public Accessibility, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(StackedCores, EveryPaneIsAChartNamedAndValuedLikeTheTrayAndPlacedOnItsPlot)
{
    const uint32_t cores = GetParam();
    Feed(cores);
    ASSERT_EQ(graphCount, cores);
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    long count = 0;
    ASSERT_EQ(client->get_accChildCount(&count), S_OK);
    EXPECT_EQ(count, static_cast<long>(cores));

    std::vector<VARIANT> children(cores);
    long got = 0;
    ASSERT_EQ(::AccessibleChildren(client.Get(), 0, static_cast<long>(cores), children.data(), &got), S_OK);
    ASSERT_EQ(got, static_cast<long>(cores));
    for (uint32_t i = 0; i < cores; ++i) {
        Accessible pane = FromVariant(children[i]);
        ASSERT_TRUE(pane) << i;
        const std::wstring name = L"Core #" + std::to_wstring(i);
        EXPECT_EQ(Name(pane), name);
        EXPECT_EQ(Role(pane), ROLE_SYSTEM_CHART);
        EXPECT_EQ(Value(pane), L"55 C\u00B0, load 40 %");
        const CZiveVazudEx& shown = *graphList[i];
        EXPECT_TRUE(Location(pane) == ToScreen(shown.PaneWindow(), shown.PlotRect())) << i;
        // The pane window answers with the same core.
        EXPECT_EQ(Name(FromWindow(shown.PaneWindow())), name);
    }

    Accessible first = FromWindow(graphList[0]->PaneWindow());
    ASSERT_TRUE(first);
    EXPECT_EQ(Read(first, &IAccessible::get_accDescription),
              L"History (1 samples): temperature min 55C\u00B0, max 55C\u00B0, avg 55.0C\u00B0; "
              L"load min 40%, max 40%, avg 40.0%");
    // Hit tests and navigation land on the core there and on the next one.
    const uint32_t last = cores - 1;
    RECT lastArea{};
    ::GetClientRect(graphList[last]->PaneWindow(), &lastArea);
    const POINT middle = Centre(ToScreen(graphList[last]->PaneWindow(), lastArea));
    VARIANT hit;
    ASSERT_EQ(client->accHitTest(middle.x, middle.y, &hit), S_OK);
    EXPECT_EQ(Name(FromVariant(hit)), L"Core #" + std::to_wstring(last));
    VARIANT next;
    ASSERT_EQ(first->accNavigate(NAVDIR_NEXT, Child(CHILDID_SELF), &next), S_OK);
    EXPECT_EQ(Name(FromVariant(next)), L"Core #1");
    Accessible lastPane = FromWindow(graphList[last]->PaneWindow());
    ASSERT_TRUE(lastPane);
    VARIANT beyond;
    EXPECT_EQ(lastPane->accNavigate(NAVDIR_NEXT, Child(CHILDID_SELF), &beyond), S_FALSE);
    EXPECT_EQ(beyond.vt, VT_EMPTY);

    // The value is read at every call: it follows the next update.
    Feed(cores, 61.0f);
    EXPECT_EQ(Value(first), L"61 C\u00B0, load 40 %");
    EXPECT_EQ(Value(lastPane), L"61 C\u00B0, load 40 %");
}

INSTANTIATE_TEST_SUITE_P(Cores, StackedCores, ::testing::Values(4u, 16u, 256u));

TEST_P(HeatMapCells, EveryCellIsAChildOfTheWindowPlacedOnItsCell)
{
    const uint32_t cores = GetParam();
    testwindow::WriteSettings({"HeatMap=1;"});
    Feed(cores);
    ASSERT_EQ(graphCount, cores);
    const auto& grid = dynamic_cast<const GridView&>(pluginInstance->Window().CurrentView());
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    std::vector<VARIANT> children(cores);
    long got = 0;
    ASSERT_EQ(::AccessibleChildren(client.Get(), 0, static_cast<long>(cores), children.data(), &got), S_OK);
    ASSERT_EQ(got, static_cast<long>(cores));
    for (uint32_t i = 0; i < cores; ++i) {
        ASSERT_EQ(children[i].vt, VT_I4) << i;
        const LONG id = children[i].lVal;
        EXPECT_EQ(id, static_cast<LONG>(i + 1));
        EXPECT_EQ(Name(client, id), L"Core #" + std::to_wstring(i));
        EXPECT_EQ(Role(client, id), ROLE_SYSTEM_CELL);
        EXPECT_EQ(Value(client, id), L"55 C\u00B0, load 40 %");
        const RECT cell = ToScreen(mainWindow, grid.CellRect(mainWindow, i));
        EXPECT_TRUE(Location(client, id) == cell) << i;
        VARIANT hit;
        const POINT middle = Centre(cell);
        ASSERT_EQ(client->accHitTest(middle.x, middle.y, &hit), S_OK);
        EXPECT_EQ(hit.vt, VT_I4);
        EXPECT_EQ(hit.lVal, id);
    }
    // Down goes a row further, Next one cell; nothing past the last.
    VARIANT below;
    ASSERT_EQ(client->accNavigate(NAVDIR_DOWN, Child(1), &below), cores > grid.Columns() ? S_OK : S_FALSE);
    if (cores > grid.Columns()) {
        EXPECT_EQ(below.lVal, static_cast<LONG>(1 + grid.Columns()));
    }
    VARIANT next;
    ASSERT_EQ(client->accNavigate(NAVDIR_NEXT, Child(1), &next), S_OK);
    EXPECT_EQ(next.lVal, 2);
    VARIANT none;
    EXPECT_EQ(client->accNavigate(NAVDIR_NEXT, Child(static_cast<LONG>(cores)), &none), S_FALSE);
    // Pane windows under the heat map have no object of their own.
    EXPECT_NE(Role(FromWindow(graphList[0]->PaneWindow())), ROLE_SYSTEM_CHART);

    Feed(cores, 70.0f);
    EXPECT_EQ(Value(client, static_cast<LONG>(cores)), L"70 C\u00B0, load 40 %");
}

INSTANTIATE_TEST_SUITE_P(Cores, HeatMapCells, ::testing::Values(4u, 16u, 256u));

TEST_F(Accessibility, TheGridsCoresAreElementsOfTheWindowSoAOnePassPaintKeepsThem)
{
    testwindow::WriteSettings({"Columns=2;"});
    Feed(4);
    Accessible client = FromWindow(mainWindow);
    ASSERT_TRUE(client);
    VARIANT child = Child(3);
    IDispatch* object = nullptr;
    EXPECT_EQ(client->get_accChild(child, &object), S_FALSE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(Role(client, 3), ROLE_SYSTEM_CELL);
    VARIANT below;
    ASSERT_EQ(client->accNavigate(NAVDIR_DOWN, Child(2), &below), S_OK);
    EXPECT_EQ(below.lVal, 4);
}

TEST_F(Accessibility, TenThousandRequestsLeaveNoObjectNorHandleAndALateCallerIsToldTheWindowIsGone)
{
    Feed(4);
    Accessible warmUp = FromWindow(mainWindow);  // the system's first-use costs, paid once
    ReleasePlugin();
    testhost::Pump();
    Attach();
    const DWORD handles = testsupport::KernelHandleCount();
    const int gdiObjects = testsupport::GdiObjectCount();

    Feed(4);
    for (int i = 0; i < 10000; ++i) {
        Accessible client = FromWindow(i % 2 == 0 ? mainWindow : graphList[i % 4]->PaneWindow());
        ASSERT_TRUE(client) << i;
    }
    EXPECT_EQ(LiveAccessibleObjects(), 1);  // the warm-up's, still held
    Accessible late = FromWindow(graphList[2]->PaneWindow());
    ReleasePlugin();
    testhost::Pump();
    EXPECT_EQ(Value(late), L"");
    BSTR name = nullptr;
    EXPECT_EQ(late->get_accName(Child(CHILDID_SELF), &name), CO_E_OBJNOTCONNECTED);
    EXPECT_EQ(name, nullptr);
    long count = 0;
    EXPECT_EQ(warmUp->get_accChildCount(&count), CO_E_OBJNOTCONNECTED);

    EXPECT_EQ(testsupport::KernelHandleCount(), handles);
    EXPECT_EQ(testsupport::GdiObjectCount(), gdiObjects);
    Attach();  // for the fixture's own release
}

}  // namespace
