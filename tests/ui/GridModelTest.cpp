#include <gtest/gtest.h>

#include "ui/GridModel.h"

namespace {

// Rows 0..n-1 whose single cell holds the number they were added with.
GridModel Numbered(int n)
{
    GridModel model(18);
    model.SetColumnCount(1);
    for (int i = 0; i < n; ++i)
        model.Cell(model.Append(), 0) = i;
    return model;
}

std::vector<int> Cells(const GridModel& model)
{
    std::vector<int> cells;
    for (int row = 0; row < model.GetCount(); ++row)
        cells.push_back(model.Cell(row, 0).ToInt());
    return cells;
}

std::vector<int> Ids(const GridModel& model)
{
    std::vector<int> ids;
    for (int row = 0; row < model.GetCount(); ++row)
        ids.push_back(model.GetId(row));
    return ids;
}

}  // namespace

TEST(GridModel, StableIdsFollowTheStoreThroughInsertRemoveAndMove)
{
    GridModel model = Numbered(4);
    model.Swap(0, 3);  // display 3 1 2 0; the store is untouched
    EXPECT_EQ(Cells(model), (std::vector<int>{3, 1, 2, 0}));
    EXPECT_EQ(Ids(model), (std::vector<int>{3, 1, 2, 0}));

    // Inserted before the row showing 1: takes id 1, later ids grow by one.
    const int row = model.Insert(1);
    model.Cell(row, 0) = 99;
    EXPECT_EQ(Cells(model), (std::vector<int>{3, 99, 1, 2, 0}));
    EXPECT_EQ(Ids(model), (std::vector<int>{4, 1, 2, 3, 0}));

    // Removing stored row 2 (showing 1): ids behind it drop by one.
    model.Remove(2);
    EXPECT_EQ(Cells(model), (std::vector<int>{3, 99, 2, 0}));
    EXPECT_EQ(Ids(model), (std::vector<int>{3, 1, 2, 0}));
    for (int r = 0; r < model.GetCount(); ++r)
        EXPECT_EQ(model.FindId(model.GetId(r)), r);
}

TEST(GridModel, MoveItemAndReorderKeepCellsWithTheirRows)
{
    GridModel model = Numbered(5);
    model.MoveItem(0, 3);
    EXPECT_EQ(Cells(model), (std::vector<int>{1, 2, 3, 0, 4}));
    model.Reorder({4, 3, 2, 1, 0});
    EXPECT_EQ(Cells(model), (std::vector<int>{4, 0, 3, 2, 1}));
}

TEST(GridModel, SelectionCountStaysTrueThroughRemoval)
{
    GridModel model = Numbered(6);
    model.SelectRange(4, 1, true);
    EXPECT_EQ(model.GetSelectedCount(), 4);
    model.Remove(2);
    EXPECT_EQ(model.GetSelectedCount(), 3);
    EXPECT_EQ(model.GetSelected(), (std::vector<int>{1, 2, 3}));
    model.ClearSelection();
    EXPECT_EQ(model.GetSelectedCount(), 0);
    EXPECT_TRUE(model.GetSelected().empty());
}

TEST(GridModel, RemovingManyRowsAtOnceMatchesRemovingThemOneByOne)
{
    GridModel together = Numbered(7);
    GridModel single = Numbered(7);
    for (GridModel* model : {&together, &single}) {
        model->Reorder({6, 2, 0, 5, 1, 4, 3});  // display order away from the store's
        model->SelectRange(0, 2, true);
        model->SetHidden(5, true);
    }
    together.RemoveRows({1, 3, 4});
    for (int row : {4, 3, 1})
        single.Remove(row);
    EXPECT_EQ(Cells(together), Cells(single));
    EXPECT_EQ(Ids(together), Ids(single));
    EXPECT_EQ(together.GetSelected(), single.GetSelected());
    EXPECT_EQ(together.GetSelectedCount(), 2);
    EXPECT_EQ(together.GetPos(3), single.GetPos(3));
    EXPECT_EQ(together.GetTotalHeight(), 54);  // three shown rows of 18 left
}

TEST(GridModel, ShownParityCountsOnlyRowsNotHidden)
{
    GridModel model = Numbered(6);
    model.SetHidden(1, true);
    model.SetHidden(2, true);
    std::vector<bool> odd;
    for (int row = 0; row < model.GetCount(); ++row)
        odd.push_back(model.IsShownOdd(row));
    EXPECT_EQ(odd, (std::vector<bool>{false, true, true, true, false, true}));
    model.SetHidden(2, false);  // rows below follow at once
    EXPECT_FALSE(model.IsShownOdd(3));
    EXPECT_FALSE(model.IsShownOdd(5));
}

TEST(GridModel, VerticalLayoutSkipsHiddenRowsAndFollowsEdits)
{
    GridModel model = Numbered(5);
    EXPECT_EQ(model.GetTotalHeight(), 90);
    model.SetHidden(1, true);
    model.SetHeight(3, 30);
    EXPECT_EQ(model.GetPos(2), 18);
    EXPECT_EQ(model.GetPos(4), 66);
    EXPECT_EQ(model.GetTotalHeight(), 84);
    EXPECT_EQ(model.RowAtY(0), 0);
    EXPECT_EQ(model.RowAtY(18), 2);  // not the hidden row 1
    EXPECT_EQ(model.RowAtY(40), 3);
    EXPECT_EQ(model.RowAtY(83), 4);
    EXPECT_EQ(model.RowAtY(84), -1);
    EXPECT_EQ(model.RowAtY(-1), -1);

    model.SetHidden(4, true);  // a hidden last row leaves no space behind
    EXPECT_EQ(model.RowAtY(70), -1);
    EXPECT_EQ(model.NextVisible(4, 1), -1);
    EXPECT_EQ(model.NextVisible(4, -1), 3);

    model.Remove(0);
    EXPECT_EQ(model.GetPos(1), 0);  // row 1 is now the former row 2
    EXPECT_EQ(model.GetTotalHeight(), 48);
}
