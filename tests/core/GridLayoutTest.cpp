// The arithmetic of the grid views: columns for a pane count, the client size asked for and
// the cells.
#include "core/GridLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(GridLayout, ColumnsFollowTheSettingAndTheAutomaticRule)
{
    const struct {
        int32_t setting;
        uint32_t panes;
        uint32_t columns;
        uint32_t rows;
    } cases[] = {
        // Absent, 0, 1 and anything below -1: one column, as the stacked window.
        {0, 16, 1, 16}, {1, 16, 1, 16}, {-2, 16, 1, 16}, {-2147483647 - 1, 4, 1, 4},
        // N columns, at most one per pane.
        {2, 4, 2, 2}, {3, 7, 3, 3}, {8, 4, 4, 1}, {2, 1, 1, 1}, {2, 0, 1, 0},
        // Automatic: the most square grid whose rows divide the count, else floor(sqrt(n)) rows.
        {-1, 1, 1, 1}, {-1, 2, 2, 1}, {-1, 3, 3, 1}, {-1, 4, 2, 2}, {-1, 5, 3, 2}, {-1, 7, 4, 2},
        {-1, 12, 4, 3}, {-1, 16, 4, 4}, {-1, 24, 6, 4}, {-1, 64, 8, 8}, {-1, 256, 16, 16}, {-1, 0, 1, 0},
    };
    for (const auto& c : cases) {
        const uint32_t columns = GridColumns(c.setting, c.panes);
        EXPECT_EQ(columns, c.columns) << "Columns=" << c.setting << ", " << c.panes << " panes";
        EXPECT_EQ(GridRows(c.panes, columns), c.rows) << "Columns=" << c.setting << ", " << c.panes << " panes";
    }
    EXPECT_FALSE(WantsGrid(columnsAbsent));
    EXPECT_FALSE(WantsGrid(1));
    EXPECT_FALSE(WantsGrid(-2));
    EXPECT_TRUE(WantsGrid(automaticColumns));
    EXPECT_TRUE(WantsGrid(2));
}

TEST(GridLayout, ClientSizeIsColumnsTimesRowsOfPanesAndOneColumnIsTheStackedSize)
{
    const ClientSize grid = WantedGridClientSize(0, 0, 4, 2);
    EXPECT_EQ(grid.width, 1584);
    EXPECT_EQ(grid.height, 428);
    const ClientSize given = WantedGridClientSize(300, 100, 7, 4);
    EXPECT_EQ(given.width, 1200);
    EXPECT_EQ(given.height, 200);
    for (uint32_t panes : {0u, 1u, 5u, 256u}) {
        const ClientSize stacked = WantedClientSize(600, 150, panes);
        const ClientSize oneColumn = WantedGridClientSize(600, 150, panes, 1);
        EXPECT_EQ(oneColumn.width, stacked.width) << panes;
        EXPECT_EQ(oneColumn.height, stacked.height) << panes;
    }
}

TEST(GridLayout, CellsTileTheClientAreaRowByRow)
{
    // 4 panes in 2 columns on a client area snapped from 1001 x 601 to 1002 x 602.
    EXPECT_EQ(SnapGrowth(1001, 2), 1u);
    EXPECT_EQ(SnapGrowth(601, 2), 1u);
    const Cell expected[] = {{0, 0, 501, 301}, {501, 0, 501, 301}, {0, 301, 501, 301}, {501, 301, 501, 301}};
    for (uint32_t i = 0; i < 4; ++i) {
        const Cell cell = GridCellAt(i, 1002, 602, 2, 2);
        EXPECT_EQ(cell.left, expected[i].left) << i;
        EXPECT_EQ(cell.top, expected[i].top) << i;
        EXPECT_EQ(cell.width, expected[i].width) << i;
        EXPECT_EQ(cell.height, expected[i].height) << i;
    }
    // One column is the stacked rows.
    for (uint32_t i = 0; i < 5; ++i) {
        const Cell cell = GridCellAt(i, 792, 1070, 1, 5);
        const PaneRow row = PaneRowAt(i, 1070, 5);
        EXPECT_EQ(cell.top, row.top);
        EXPECT_EQ(cell.height, row.height);
        EXPECT_EQ(cell.width, 792);
    }
    const Cell none = GridCellAt(0, 100, 100, 1, 0);
    EXPECT_EQ(none.width, 0);
}

}  // namespace
