// Column widths: resizing by mouse and by call, and the layout kept as bytes.

#include <QTest>
#include <gtest/gtest.h>

#include "core/Stream.h"
#include "ui/GridCtrl.h"

namespace {

class GridLayoutTest : public testing::Test {
protected:
    void SetUp() override { Columns(grid); }
    static void Columns(GridCtrl& g)
    {
        g.Indicator(true, 8);
        g.AddColumn("Id", 0, true);
        g.AddColumn("Title", 4);
        g.AddColumn("Artist", 4);
        g.AddColumn("Length", 2);
        g.ListStyle(2, true, true);
        g.ResizingRows(true).ResizingFromCells(true);
    }
    void Show(int width)
    {
        grid.resize(width, 200);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    int Width(int column) { return grid.GetCellRect(0, column).width(); }

    GridCtrl grid;
};

}  // namespace

TEST_F(GridLayoutTest, DraggingACaptionBorderMovesItAndWidthsStayRelative)
{
    grid.Add({1, "t", "a", 0});
    Show(508);
    const int title = Width(1);
    const int artist = Width(2);
    const int length = Width(3);
    const QRect cell = grid.GetCellRect(0, 1);
    const QPoint border(cell.right() + 1, 10);
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(grid.viewport(), border + QPoint(40, 0));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(40, 0));
    EXPECT_EQ(Width(1), title + 40);
    EXPECT_EQ(Width(2), artist - 40);
    EXPECT_EQ(Width(3), length);
    EXPECT_EQ(grid.GetColumn(1).GetSortState(), 0);  // a resize is no caption click

    // A grid twice as wide keeps the proportions.
    const double before = double(Width(1)) / Width(3);
    grid.resize(grid.width() + grid.viewport()->width(), 200);
    EXPECT_NEAR(double(Width(1)) / Width(3), before, 0.05);
    // The last border is the grid's edge and cannot be taken.
    EXPECT_FALSE(grid.ResizeColumn(3, 10));
}

TEST_F(GridLayoutTest, RowsResizeFromTheIndicatorColumn)
{
    grid.Add({1, "t", "a", 0});
    grid.Add({2, "u", "b", 0});
    Show(400);
    const QRect first = grid.GetCellRect(0, 1);
    const QPoint border(3, first.bottom());
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border);
    QTest::mouseMove(grid.viewport(), border + QPoint(0, 12));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, border + QPoint(0, 12));
    EXPECT_EQ(grid.GetRowHeight(0), GridCtrl::kRowHeight + 12);
    EXPECT_EQ(grid.GetCellRect(1, 1).top(), first.top() + GridCtrl::kRowHeight + 12);
    EXPECT_EQ(grid.GetCursor(), -1);  // the press took the border, not the row
}

TEST_F(GridLayoutTest, LayoutRoundTripsAndDamagedOrForeignOnesAreRefused)
{
    Show(400);
    ASSERT_TRUE(grid.ResizeColumn(1, 200));
    ASSERT_TRUE(grid.HideColumn(2, true));
    const String layout = grid.StoreLayout();

    GridCtrl other;
    Columns(other);
    ASSERT_TRUE(other.LoadLayout(layout));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(other.GetColumn(i).GetWidth(), grid.GetColumn(i).GetWidth()) << i;
        EXPECT_EQ(other.GetColumn(i).IsHidden(), grid.GetColumn(i).IsHidden()) << i;
    }

    // Every cut, a flipped byte in the header, and another grid's columns are refused
    // without touching the grid.
    GridCtrl fresh;
    Columns(fresh);
    const String untouched = fresh.StoreLayout();
    for (size_t length = 0; length < layout.size(); ++length)
        EXPECT_FALSE(fresh.LoadLayout(layout.substr(0, length))) << length;
    String flipped = layout;
    flipped[1] ^= 0x40;
    EXPECT_FALSE(fresh.LoadLayout(flipped));
    EXPECT_FALSE(fresh.LoadLayout(layout + "x"));
    GridCtrl playlists;
    playlists.AddColumn("", 0, true);
    playlists.AddColumn("Playlists", 1);
    EXPECT_FALSE(fresh.LoadLayout(playlists.StoreLayout()));
    GridCtrl renamed;
    renamed.AddColumn("Id", 0, true);
    renamed.AddColumn("Name", 4);
    renamed.AddColumn("Artist", 4);
    renamed.AddColumn("Length", 2);
    EXPECT_FALSE(fresh.LoadLayout(renamed.StoreLayout()));
    EXPECT_EQ(fresh.StoreLayout(), untouched);

    // Inside a larger record a refused layout leaves the rest readable.
    Stream out = Stream::ForStoring();
    int32_t after = 77;
    playlists.SerializeLayout(out);
    out % after;
    Stream in = Stream::ForLoading(out.Data());
    int32_t read = 0;
    EXPECT_FALSE(fresh.SerializeLayout(in));
    in % read;
    EXPECT_FALSE(in.IsError());
    EXPECT_EQ(read, 77);
}
