#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "ui/GridCtrl.h"

namespace {

// A grid set up like the playlists grid: hidden id column, editable name column.
class PlaylistGridTest : public testing::Test {
protected:
    void SetUp() override
    {
        grid.AddColumn("", 0, true);
        grid.AddColumn("Playlists", 1).Edit(editor);
        grid.ListStyle(3, true, true);
        grid.KeepLastRow(true).DraggingRows(true).ResizingCols(false).HorzGrid(false);
        grid.resize(300, 240);
        grid.show();
        grid.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    }

    void Fill(int rows)
    {
        for (int i = 0; i < rows; ++i)
            grid.Add({i + 1, "List " + std::to_string(i + 1)});
    }

    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (int row = 0; row < grid.GetCount(); ++row)
            names.push_back(grid.Get(row, 1).ToString());
        return names;
    }

    QPoint CellCenter(int row) { return grid.GetCellRect(row, 1).center(); }
    void Click(int row, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, mods, CellCenter(row));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { QTest::keyClick(&grid, key, mods); }

    QLineEdit editor;  // declared first: the grid must give it back when destroyed
    GridCtrl grid;
};

}  // namespace

TEST_F(PlaylistGridTest, EmptyGridHasNoCursorAndRefusesCommands)
{
    EXPECT_EQ(grid.GetCursor(), -1);
    EXPECT_EQ(grid.GetCursor(true), -1);
    EXPECT_FALSE(grid.SetCursor(0));
    grid.DoInsert();  // needs a cursor row
    grid.DoRemove();
    grid.MoveRowUp();
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.GetCount(), 0);
    EXPECT_TRUE(grid.Get(1).IsNull());
    EXPECT_TRUE(grid.Get(5, 1).IsNull());
}

TEST_F(PlaylistGridTest, AddingColumnsOnceRowsExistIsRefused)
{
    Fill(1);
    GridColumn& last = grid.AddColumn("Late", 3);
    EXPECT_EQ(&last, &grid.GetColumn(1));
    EXPECT_EQ(last.GetCaption(), "Playlists");
    EXPECT_EQ(grid.GetColumnCount(), 2);
}

TEST_F(PlaylistGridTest, AddCopiesFromIndexAndIgnoresExtraValues)
{
    grid.Add({7, "a", "extra"});
    grid.Add({8, "b"}, 1);
    grid.Add();
    EXPECT_EQ(grid.Get(0, 0).ToInt(), 7);
    EXPECT_TRUE(grid.Get(1, 0).IsNull());
    EXPECT_EQ(grid.Get(1, 1).ToString(), "b");
    EXPECT_TRUE(grid.Get(2, 1).IsNull());
}

TEST_F(PlaylistGridTest, KeysMoveCursorAndShiftExtendsSelection)
{
    Fill(40);
    std::vector<int> cursors;
    grid.WhenCursor = [&] { cursors.push_back(grid.GetCursor()); };
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    Key(Qt::Key_Up);
    EXPECT_EQ(cursors, (std::vector<int>{0, 1, 0}));
    Key(Qt::Key_End);
    EXPECT_EQ(grid.GetCursor(), 39);
    EXPECT_GT(grid.GetFirstVisibleRow(), 20);  // scrolled to keep the cursor in view
    Key(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(grid.GetCursor(), 0);
    EXPECT_EQ(grid.GetFirstVisibleRow(), 0);
    Key(Qt::Key_PageDown);
    const int page = grid.GetCursor();
    EXPECT_GT(page, 3);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    EXPECT_TRUE(grid.IsSelected(page) && grid.IsSelected(page + 2));
    Key(Qt::Key_Up);  // a plain move drops the selection
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST_F(PlaylistGridTest, MouseClicksSelectAndReportAfterTheCursorMoved)
{
    Fill(6);
    std::vector<int> clicked;
    grid.WhenLeftClick = [&] { clicked.push_back(grid.GetCursor()); };
    Click(1);
    Click(3, Qt::ControlModifier);
    Click(4, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    Click(3, Qt::ControlModifier);  // toggles off
    EXPECT_FALSE(grid.IsSelected(3));
    Click(1, Qt::ShiftModifier);  // range from the last anchor (3) to 1
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    EXPECT_TRUE(grid.IsSelected(1) && grid.IsSelected(2) && grid.IsSelected(3));
    EXPECT_EQ(clicked, (std::vector<int>{1, 3, 4, 3, 1}));
    Click(5);  // a plain click clears the multi-selection on release
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    EXPECT_EQ(grid.GetCursor(), 5);
}

TEST_F(PlaylistGridTest, AppendEditAcceptRunsInsertCallbackWithTheRowCurrent)
{
    Fill(2);
    grid.SetCursor(0);
    std::vector<std::string> log;
    grid.WhenCursor = [&] { log.push_back("cursor " + std::to_string(grid.GetCursor(true)) + (grid.IsNewRow() ? " new" : "")); };
    grid.WhenNewRow = [&] { log.push_back(grid.IsEditing() ? "new editing" : "new"); };
    grid.WhenInsertRow = [&] {
        log.push_back("insert " + grid.Get(1).ToString());
        grid.Set(0, 55);  // the owner stores the database id in the row
    };
    grid.WhenUpdateRow = [&] { log.push_back("update " + grid.Get(1).ToString()); };

    grid.DoAppend();
    ASSERT_TRUE(grid.IsEditing());
    EXPECT_TRUE(grid.IsAppendedRow());
    EXPECT_TRUE(editor.isVisible());
    EXPECT_EQ(editor.geometry(), grid.GetCellRect(2, 1));
    QTest::keyClicks(&editor, "Jazz");
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_FALSE(grid.IsNewRow());
    EXPECT_EQ(grid.Get(2, 0).ToInt(), 55);
    EXPECT_EQ(grid.Get(2, 1).ToString(), "Jazz");

    // Double-click edits an existing row; moving the cursor away accepts it.
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, CellCenter(0));
    ASSERT_TRUE(grid.IsEditing());
    editor.setText("Rock");
    Key(Qt::Key_Down);
    EXPECT_EQ(grid.Get(0, 1).ToString(), "Rock");
    EXPECT_EQ(log, (std::vector<std::string>{"cursor 2 new", "new editing", "insert Jazz", "cursor 0",
                                             "update Rock", "cursor 1"}));
}

TEST_F(PlaylistGridTest, InsertPlacesRowAboveCursorWithTheStableIdOfThatRow)
{
    Fill(3);
    grid.SetCursor(1);
    int cursorIdSeen = -1;
    grid.WhenCursor = [&] { cursorIdSeen = grid.GetCursor(true); };
    grid.DoInsert();
    EXPECT_EQ(grid.GetCursor(), 1);
    EXPECT_EQ(cursorIdSeen, 1);
    EXPECT_TRUE(grid.IsInsertedRow());
    EXPECT_EQ(grid.GetRowId(2), 2);  // the former cursor row moved down, and so did its id
    EXPECT_EQ(grid.Get(2, 1).ToString(), "List 2");
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 2", "List 3"}));
}

TEST_F(PlaylistGridTest, CancellingAnAppendedRowRemovesItThroughTheRemoval)
{
    Fill(2);
    grid.SetCursor(0);
    std::vector<std::string> removed;
    grid.WhenRemoveRow = [&] {
        removed.push_back(grid.Get(1).ToString() + "/" + std::to_string(grid.GetCurrentRow(true)));
    };
    bool inserted = false;
    grid.WhenInsertRow = [&] { inserted = true; };
    grid.DoAppend();
    editor.setText("typed but cancelled");
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_FALSE(inserted);
    EXPECT_FALSE(grid.IsNewRow());
    EXPECT_EQ(removed, std::vector<std::string>{"/2"});
    EXPECT_EQ(grid.GetCount(), 2);
    EXPECT_EQ(grid.GetCursor(), 1);

    // Cancelling the edit of an existing row keeps row and value.
    grid.StartEdit();
    editor.setText("changed");
    QTest::keyClick(&editor, Qt::Key_Escape);
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 2"}));
}

TEST_F(PlaylistGridTest, KeepLastRowRefusesTheOnlyRowAndAFullSelection)
{
    Fill(1);
    grid.SetCursor(0);
    int removals = 0;
    grid.WhenRemoveRow = [&] { ++removals; };
    Key(Qt::Key_Delete);
    grid.DoRemove();
    EXPECT_EQ(grid.GetCount(), 1);

    Fill(2);
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    Bar bar;
    grid.RemoveMenuItem(bar);
    EXPECT_FALSE(bar.Items()[0].IsEnabled());
    // The disabled entry says why.
    EXPECT_EQ(bar.Items()[0].GetTip(), "At least one row must stay.");
    Key(Qt::Key_Delete);
    EXPECT_EQ(grid.GetCount(), 3);
    EXPECT_EQ(removals, 0);

    // Two of three selected: both go, and the entry gives no hint.
    grid.Select(2, false);
    Bar partial;
    grid.RemoveMenuItem(partial);
    EXPECT_TRUE(partial.Items()[0].IsEnabled());
    EXPECT_EQ(partial.Items()[0].GetTip(), "");
    Key(Qt::Key_Delete);
    EXPECT_EQ(removals, 2);
    EXPECT_EQ(Names(), std::vector<std::string>{"List 2"});
}

TEST_F(PlaylistGridTest, RemovalOfASelectionMarksFirstAndLastOnce)
{
    grid.KeepLastRow(false);
    Fill(6);
    grid.SetCursor(5);
    grid.Select(1);
    grid.Select(2);
    grid.Select(4);
    std::vector<std::string> log;
    grid.WhenRemoveRow = [&] {
        log.push_back(grid.Get(1).ToString() + (grid.IsRemovingFirst() ? " first" : "") +
                      (grid.IsRemovingLast() ? " last" : ""));
    };
    int cursorCalls = 0;
    grid.WhenCursor = [&] { ++cursorCalls; };
    grid.DoRemove();
    EXPECT_EQ(log, (std::vector<std::string>{"List 2 first", "List 3", "List 5 last"}));
    EXPECT_FALSE(grid.IsRemovingFirst() || grid.IsRemovingLast());
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 4", "List 6"}));
    EXPECT_EQ(grid.GetSelectedCount(), 0);
    // The cursor stays on its own row, which moved up past the three removed rows.
    EXPECT_EQ(grid.GetCursor(), 2);
    EXPECT_EQ(cursorCalls, 1);
    // Stable ids were renumbered with the store.
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(grid.GetRowId(row), row);

    // One selected row carries both marks; the cursor row, unselected, carries none.
    log.clear();
    grid.Select(0);
    grid.DoRemove();
    grid.DoRemove();
    EXPECT_EQ(log, (std::vector<std::string>{"List 1 first last", "List 6"}));
}

TEST_F(PlaylistGridTest, AnOwnerThatCannotLetARowGoKeepsItAndTheRestOfTheSelection)
{
    grid.KeepLastRow(false);
    Fill(5);
    grid.SetCursor(0);
    grid.Select(1);
    grid.Select(2);
    grid.Select(3);
    std::vector<std::string> asked;
    grid.WhenRemoveRow = [&] {
        asked.push_back(grid.Get(1).ToString());
        if (grid.Get(1).ToString() == "List 3")
            grid.KeepRemovedRow();
    };
    grid.DoRemove();
    EXPECT_EQ(asked, (std::vector<std::string>{"List 2", "List 3"}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 3", "List 4", "List 5"}));

    // The cursor row alone, kept: nothing changes, and the next removal is asked again.
    grid.ClearSelection();
    grid.SetCursor(1);
    grid.DoRemove();
    EXPECT_EQ(grid.GetCount(), 4);
    EXPECT_EQ(grid.GetCursor(), 1);
    grid.WhenRemoveRow = nullptr;
    grid.DoRemove();
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 4", "List 5"}));
}

TEST_F(PlaylistGridTest, ARevertedEditRestoresTheRowAndARevertedNewRowIsRemovedAgain)
{
    Fill(2);
    grid.SetCursor(0);
    grid.WhenUpdateRow = [&] { grid.RevertEdit(); };
    grid.StartEdit();
    editor.setText("Refused");
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 2"}));

    std::vector<std::string> removed;
    grid.WhenInsertRow = [&] { grid.RevertEdit(); };
    grid.WhenRemoveRow = [&] { removed.push_back(grid.Get(1).ToString()); };
    grid.DoAppend();
    editor.setText("Not stored");
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(removed, std::vector<std::string>{"Not stored"});
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 2"}));
    EXPECT_FALSE(grid.IsNewRow());

    // An accepted edit after a reverted one is kept.
    grid.WhenUpdateRow = nullptr;
    grid.SetCursor(1);
    grid.StartEdit();
    editor.setText("Kept");
    QTest::keyClick(&editor, Qt::Key_Return);
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "Kept"}));
}

TEST_F(PlaylistGridTest, RemovingSelectedCursorRowPutsCursorAboveTheTopmostRemoved)
{
    grid.KeepLastRow(false);
    Fill(6);
    grid.SetCursor(3);
    grid.Select(2);
    grid.Select(3);
    grid.DoRemove();
    EXPECT_EQ(grid.GetCursor(), 1);

    // Without keep last row a full selection empties the grid.
    grid.SelectAll();
    grid.DoRemove();
    EXPECT_EQ(grid.GetCount(), 0);
    EXPECT_EQ(grid.GetCursor(), -1);
}

TEST_F(PlaylistGridTest, RemovingTheCursorRowKeepsThePositionLimitedToTheLastRow)
{
    Fill(3);
    grid.SetCursor(2);
    grid.DoRemove();
    EXPECT_EQ(grid.GetCursor(), 1);
    grid.SetCursor(0);
    grid.DoRemove();
    EXPECT_EQ(grid.GetCursor(), 0);
    EXPECT_EQ(Names(), std::vector<std::string>{"List 2"});
}

TEST_F(PlaylistGridTest, MovingRowsKeepsStableIdsAndIsRefusedWhileEditing)
{
    Fill(5);
    grid.SetCursor(0);
    Key(Qt::Key_Down, Qt::ControlModifier);  // offered to the menu: "Move down"
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 2", "List 1", "List 3", "List 4", "List 5"}));
    EXPECT_EQ(grid.GetCursor(), 1);
    EXPECT_EQ(grid.GetCursor(true), 0);
    Key(Qt::Key_Up, Qt::ControlModifier);
    Key(Qt::Key_Up, Qt::ControlModifier);  // already first: nothing
    EXPECT_EQ(grid.GetCursor(), 0);
    EXPECT_EQ(Names()[0], "List 1");

    // A selection moves as a block and stops at the edge.
    grid.Select(3);
    grid.Select(4);
    grid.MoveRowDown();
    EXPECT_EQ(Names()[4], "List 5");
    grid.MoveRowUp();
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 2", "List 4", "List 5", "List 3"}));
    EXPECT_TRUE(grid.IsSelected(2) && grid.IsSelected(3));

    grid.ClearSelection();
    grid.StartEdit();
    grid.MoveRowDown();
    EXPECT_EQ(Names()[0], "List 1");
}

TEST_F(PlaylistGridTest, LentMenuItemsHaveTheirTextsKeysAndStates)
{
    Fill(3);
    grid.SetCursor(0);
    bool ownEntry = false;
    grid.WhenMenuBar = [&](Bar& bar) {
        bar.Add("Add", [&] { ownEntry = true; }).Key(K_INSERT);
        bar.Separator();
        grid.RemoveMenuItem(bar);
        grid.MoveMenuItems(bar);
        grid.SelectAllMenuItem(bar);
    };
    Bar bar;
    grid.WhenMenuBar(bar);
    const auto& items = bar.Items();
    ASSERT_EQ(items.size(), 6u);
    EXPECT_EQ(items[2].GetText(), "Delete");
    EXPECT_EQ(items[2].GetKey(), K_DELETE);
    EXPECT_EQ(items[2].GetHelp(), "Delete active row.");
    EXPECT_TRUE(items[2].IsEnabled());
    EXPECT_EQ(items[3].GetText(), "Move up");
    EXPECT_FALSE(items[3].IsEnabled());
    EXPECT_EQ(items[4].GetText(), "Move down");
    EXPECT_TRUE(items[4].IsEnabled());
    EXPECT_EQ(items[5].GetText(), "Select all");
    EXPECT_EQ(KeyDesc(items[5].GetKey()), "Ctrl+A");
    EXPECT_EQ(items[5].GetHelp(), "Select all table rows");

    // The owner's own keys reach it without opening the menu.
    Key(Qt::Key_Insert);
    EXPECT_TRUE(ownEntry);
}

TEST_F(PlaylistGridTest, RightClickMovesCursorAndPopsUpTheOwnersMenu)
{
    Fill(4);
    grid.SetCursor(0);
    QStringList shown;
    bool focusedWhenBuilt = false;
    grid.WhenMenuBar = [&](Bar& bar) {
        focusedWhenBuilt = QApplication::focusWidget() == &grid;
        grid.RemoveMenuItem(bar);
    };
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                shown << action->text();
            menu->close();
        }
    });
    QTest::mouseClick(grid.viewport(), Qt::RightButton, Qt::NoModifier, CellCenter(2));
    EXPECT_EQ(grid.GetCursor(), 2);
    EXPECT_TRUE(focusedWhenBuilt);
    EXPECT_EQ(shown, QStringList{"Delete\tDelete"});
}

TEST_F(PlaylistGridTest, RightClickOnTheLineEditorAcceptsTheEditAndShowsTheOwnersMenu)
{
    Fill(3);
    grid.SetCursor(1);
    std::vector<std::string> updates;
    grid.WhenUpdateRow = [&] { updates.push_back(grid.Get(1).ToString()); };
    bool focusedWhenBuilt = false;
    grid.WhenMenuBar = [&](Bar& bar) {
        focusedWhenBuilt = QApplication::focusWidget() == &grid;
        grid.RemoveMenuItem(bar);
    };
    ASSERT_TRUE(grid.StartEdit());
    editor.setText("Renamed");
    QStringList shown;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* action : menu->actions())
                shown << action->text();
            menu->close();
        }
    });
    QTest::mouseClick(&editor, Qt::RightButton, Qt::NoModifier, editor.rect().center());
    EXPECT_EQ(shown, QStringList{"Delete\tDelete"});  // never the line editor's own menu
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_EQ(updates, std::vector<std::string>{"Renamed"});
    EXPECT_EQ(grid.GetCursor(), 1);
    EXPECT_TRUE(focusedWhenBuilt);
}

TEST_F(PlaylistGridTest, RemovalCallbacksSeeEachRowAsIfTheRowsBeforeItWereGone)
{
    // The owner keeps an array parallel to the stored rows and erases by the stable id it
    // is told, as the playlists grid does with its track grids.
    grid.KeepLastRow(false);
    Fill(8);
    std::vector<std::string> owned;
    for (int row = 0; row < grid.GetCount(); ++row)
        owned.push_back(grid.Get(row, 1).ToString());
    grid.SetCursor(6);
    ASSERT_TRUE(grid.DropRows(-1));  // "List 7" shown first, stored last but one
    grid.SetCursor(0);
    for (int row : {0, 2, 3, 6})
        grid.Select(row);
    std::vector<std::string> told;
    std::vector<int> shownRows;
    grid.WhenRemoveRow = [&] {
        const int id = grid.GetCurrentRow(true);
        ASSERT_TRUE(id >= 0 && id < int(owned.size()));
        told.push_back(owned[size_t(id)] + "=" + grid.Get(1).ToString());
        shownRows.push_back(grid.GetCurrentRow());
        owned.erase(owned.begin() + id);
    };
    grid.DoRemove();
    EXPECT_EQ(told, (std::vector<std::string>{"List 7=List 7", "List 2=List 2", "List 3=List 3", "List 6=List 6"}));
    EXPECT_EQ(shownRows, (std::vector<int>{0, 1, 1, 3}));
    EXPECT_EQ(Names(), (std::vector<std::string>{"List 1", "List 4", "List 5", "List 8"}));
    for (int row = 0; row < grid.GetCount(); ++row)
        EXPECT_EQ(owned[size_t(grid.GetRowId(row))], grid.Get(row, 1).ToString());
    EXPECT_EQ(grid.GetSelectedCount(), 0);
}

TEST(GridColumns, ColumnsSubmenuNeverHidesTheLastVisibleColumn)
{
    GridCtrl grid;
    grid.AddColumn("Id", 0, true);
    grid.AddColumn("Title", 4);
    grid.AddColumn("Length", 2);
    Bar bar;
    grid.ColumnsMenuItem(bar);
    ASSERT_TRUE(bar.Items()[0].IsSubMenu());
    Bar sub;
    bar.Items()[0].GetSubMenu()(sub);
    ASSERT_EQ(sub.Items().size(), 2u);  // no entry for the index column
    EXPECT_TRUE(sub.Items()[0].IsChecked());
    sub.Items()[0].GetAction()();  // hide "Title"
    EXPECT_TRUE(grid.GetColumn(1).IsHidden());
    Bar again;
    bar.Items()[0].GetSubMenu()(again);
    EXPECT_FALSE(again.Items()[0].IsChecked());
    EXPECT_FALSE(again.Items()[1].IsEnabled());  // "Length" is the last one shown
    EXPECT_FALSE(grid.HideColumn(2, true));
}

namespace {

// A grid set up like a track grid, with the length column centred and converted.
class TrackGridTest : public testing::Test {
protected:
    void SetUp() override
    {
        grid.Indicator(true, 8);
        grid.AddColumn("Id", 0, true);
        grid.AddColumn("Filename", 0, true);
        grid.AddColumn("Title", 4);
        grid.AddColumn("Artist", 4);
        grid.AddColumn("Album", 4);
        grid.AddColumn("Length", 2)
            .SetConvert([](const Value& v) { return Value("ms " + v.ToString()); })
            .Align(ALIGN_CENTER, ALIGN_CENTER);
        grid.ListStyle(2, true, true);
        grid.ResizingRows(true).ResizingFromCells(true).DraggingRows(true).EditButton(false);
        grid.resize(400, 200);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    GridCtrl grid;
};

bool SameColour(QRgb pixel, const QColor& colour) { return QColor(pixel).rgb() == colour.rgb(); }

}  // namespace

TEST_F(TrackGridTest, ColumnsShareTheWidthByWeightAfterTheIndicator)
{
    const int width = grid.viewport()->width();
    const QRect title = grid.GetCellRect(0, 2);  // no rows: empty
    EXPECT_TRUE(title.isEmpty());
    grid.Add({1, "/a.mp3", "A", "B", "C", 1000});
    const QRect t = grid.GetCellRect(0, 2), a = grid.GetCellRect(0, 3), l = grid.GetCellRect(0, 5);
    EXPECT_EQ(t.left(), 8);
    EXPECT_EQ(l.right(), width - 1);
    EXPECT_NEAR(double(t.width()) / l.width(), 2.0, 0.05);
    EXPECT_EQ(a.left(), t.right() + 1);
    EXPECT_EQ(grid.GetCellRect(0, 0).width(), 0);
    EXPECT_EQ(t.top(), GridCtrl::kCaptionHeight);
    EXPECT_EQ(t.height(), GridCtrl::kRowHeight);
}

TEST_F(TrackGridTest, PaintsAlternatingRowsAndARowsOwnBackground)
{
    for (int i = 0; i < 4; ++i)
        grid.Add({i, "/x.mp3", "", "", "", Value()});
    grid.SetCursor(3);
    GridRowStyle playing;
    playing.background = QColor(255, 255, 0);
    playing.font = QFont("Liberation Sans", 14, QFont::Bold);
    grid.SetRowStyle(1, playing);
    QImage image = grid.viewport()->grab().toImage();
    auto pixelOf = [&](int row) {
        const QRect r = grid.GetCellRect(row, 4);
        return image.pixel(r.center().x(), r.top() + 3);
    };
    EXPECT_TRUE(SameColour(pixelOf(0), QColor(255, 255, 255)));
    EXPECT_TRUE(SameColour(pixelOf(1), QColor(255, 255, 0)));
    EXPECT_TRUE(SameColour(pixelOf(2), QColor(255, 255, 255)));
    EXPECT_FALSE(SameColour(pixelOf(3), QColor(242, 242, 242)));  // the cursor row is highlighted

    grid.ResetRowStyle(1);
    EXPECT_EQ(grid.GetRowStyle(1), nullptr);
    grid.SetCursor(0);
    image = grid.viewport()->grab().toImage();
    EXPECT_TRUE(SameColour(pixelOf(1), QColor(242, 242, 242)));
    EXPECT_TRUE(SameColour(pixelOf(3), QColor(242, 242, 242)));
}

TEST_F(TrackGridTest, RowsAlternateByShownPositionWhileASearchHidesRows)
{
    for (const char* title : {"Keep", "drop", "Keep", "Keep", "drop", "drop", "Keep"})
        grid.Add({1, "/x.mp3", title, "", "", Value()});
    grid.SetFindText("Keep");
    const QImage image = grid.viewport()->grab().toImage();
    std::vector<bool> grey;
    for (int row = 0; row < grid.GetCount(); ++row) {
        const QRect r = grid.GetCellRect(row, 4);
        if (r.height() > 0)
            grey.push_back(SameColour(image.pixel(r.center().x(), r.top() + 3), QColor(242, 242, 242)));
    }
    EXPECT_EQ(grey, (std::vector<bool>{false, true, false, true}));
}

TEST_F(TrackGridTest, CellTextGoesThroughTheConverterAndIsCentred)
{
    grid.Add({1, "/a.mp3", "", "", "", 61234});
    grid.SetCursor(0);
    grid.SetCursor(-1);  // refused: the cursor stays
    EXPECT_EQ(grid.GetCursor(), 0);
    EXPECT_EQ(grid.GetColumn(5).Format(grid.Get(0, 5)), "ms 61234");
    // Find the inked columns of the length cell on a row without the cursor highlight.
    grid.Add({2, "/b.mp3", "", "", "", 61234});
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.GetCellRect(1, 5);
    int left = cell.right(), right = cell.left();
    for (int x = cell.left() + 1; x < cell.right() - 1; ++x)
        for (int y = cell.top() + 1; y < cell.bottom() - 1; ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
    ASSERT_LT(left, right);
    EXPECT_NEAR((left + right) / 2.0, cell.center().x(), 3.0);
}

TEST_F(TrackGridTest, WithoutEditorsNewRowsAreNotLeftMarked)
{
    std::vector<std::string> log;
    grid.WhenNewRow = [&] { log.push_back(grid.IsNewRow() ? "new marked" : "new"); };
    grid.DoAppend();
    EXPECT_FALSE(grid.IsEditing());
    EXPECT_FALSE(grid.IsNewRow());
    grid.Set(2, "Title written by the owner");
    EXPECT_EQ(grid.Get(0, 2).ToString(), "Title written by the owner");
    grid.DoAppendNoEdit();
    EXPECT_EQ(log, (std::vector<std::string>{"new marked", "new marked"}));
    EXPECT_EQ(grid.GetCursor(), 1);
    // Enter runs the owner's play action; no edit starts.
    int played = 0;
    grid.WhenEnter = [&] { ++played; };
    grid.WhenLeftDouble = [&] { ++played; };
    QTest::keyClick(&grid, Qt::Key_Return);
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, grid.GetCellRect(0, 3).center());
    EXPECT_EQ(played, 2);
    EXPECT_EQ(grid.GetCursor(), 0);
    EXPECT_FALSE(grid.IsEditing());
}

TEST_F(TrackGridTest, TabLeavesTheGridUnlessTabChangesRow)
{
    grid.Add({1, "/a.mp3", "A", "B", "C", 1});
    grid.Add({2, "/b.mp3", "A", "B", "C", 1});
    grid.SetCursor(0);
    grid.SelectRow(false).TabChangesRow(true);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Tab);
    QTest::keyClick(&grid, Qt::Key_Tab);
    QTest::keyClick(&grid, Qt::Key_Tab);
    QTest::keyClick(&grid, Qt::Key_Tab);  // past "Length": next row
    EXPECT_EQ(grid.GetCursor(), 1);
}
