// Searching, sorting and dragging: what the user sees of the rows' order and visibility.

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include "ui/GridCtrl.h"
#include "ui/GridPopUp.h"
#include "ui/TopWindow.h"

namespace {

// Milliseconds as the track grid shows them: minutes, seconds, hundredths.
Value MsText(const Value& value)
{
    const int ms = value.ToInt();
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", ms / 1000 / 60, ms / 1000 % 60, ms / 10 % 100);
    return Value(String(text));
}

class GridOrderTest : public testing::Test {
protected:
    void SetUp() override
    {
        grid.Indicator(true, 8);
        grid.AddColumn("Id", 0, true);
        grid.AddColumn("Title", 4);
        grid.AddColumn("Artist", 4);
        grid.AddColumn("Length", 2).SetConvert(MsText);
        grid.ListStyle(2, true, true);
        grid.EditButton(false).DraggingRows(true).MultiSorting(true);
        grid.resize(500, 300);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }

    // Rows as (title, artist, length); the id column counts them from 1.
    void Fill(const std::vector<std::tuple<String, String, int>>& rows)
    {
        for (const auto& [title, artist, length] : rows)
            grid.Add({GetCount() + 1, title, artist, length});
    }
    int GetCount() { return grid.GetCount(); }

    // The ids of the rows shown, top to bottom.
    std::vector<int> Shown()
    {
        std::vector<int> ids;
        for (int row = 0; row < grid.GetCount(); ++row)
            if (grid.GetCellRect(row, 1).height() > 0)
                ids.push_back(grid.Get(row, 0).ToInt());
        return ids;
    }
    std::vector<int> Order()
    {
        std::vector<int> ids;
        for (int row = 0; row < grid.GetCount(); ++row)
            ids.push_back(grid.Get(row, 0).ToInt());
        return ids;
    }
    QPoint Caption(int column) { return QPoint(grid.GetCellRect(0, column).center().x(), 10); }

    GridCtrl grid;
};

using Ids = std::vector<int>;

}  // namespace

TEST_F(GridOrderTest, SearchHidesRowsAndMatchesThroughConvertersAndAfterPartialMatches)
{
    Fill({{"aaab", "X", 1000}, {"Song", "aab", 2000}, {"Other", "Y", 61234}, {"none", "Z", 500}});
    grid.SetFindText("aab");  // immediate search
    EXPECT_EQ(Shown(), (Ids{1, 2}));
    int column = -1;
    ASSERT_TRUE(grid.GetFound(1, &column));
    EXPECT_EQ(column, 2);  // the first matching cell of the row

    grid.SetFindText("01:01");
    EXPECT_EQ(Shown(), (Ids{3}));
    grid.SetFindText("");
    EXPECT_EQ(Shown(), (Ids{1, 2, 3, 4}));
    EXPECT_FALSE(grid.GetFound(0));

    // Without immediate search only the Find command searches.
    grid.ToggleImmediateSearch();
    grid.SetFindText("Song");
    EXPECT_EQ(Shown().size(), 4u);
    grid.DoFind();
    EXPECT_EQ(Shown(), (Ids{2}));
    // Switching hiding off shows every row again; switching it on searches again.
    grid.ToggleSearchHideRows();
    EXPECT_EQ(Shown().size(), 4u);
    EXPECT_TRUE(grid.GetFound(1));
    grid.ToggleSearchHideRows();
    EXPECT_EQ(Shown(), (Ids{2}));
    // A row shown again keeps the height it had.
    grid.SetRowHeight(0, 30);
    grid.SetFindText("");
    grid.DoFind();
    EXPECT_EQ(grid.GetCellRect(0, 1).height(), 30);
}

TEST_F(GridOrderTest, SearchSeesACellChangedSinceTheLastSearch)
{
    Fill({{"a", "X", 1000}, {"b", "Y", 2000}});
    grid.SetFindText("00:02");
    EXPECT_EQ(Shown(), (Ids{2}));
    grid.Get(0, 3) = 2500;  // the owner writes the cell in place
    grid.SetFindText("");
    grid.SetFindText("00:02");
    EXPECT_EQ(Shown(), (Ids{1, 2}));
    grid.Get(1, 3) = Value();
    grid.SetFindText("00:02:");
    EXPECT_EQ(Shown(), (Ids{1}));
}

TEST_F(GridOrderTest, SearchFollowsEachRowThroughRemovalsInsertsAndHiddenColumns)
{
    Fill({{"ab", "cd", 1000}, {"Song", "Kept", 2000}, {"Other", "ab", 3000}});
    grid.SetFindText("bc");  // the end of one cell and the start of the next are no match
    EXPECT_EQ(Shown(), Ids{});
    grid.SetFindText("ab");
    EXPECT_EQ(Shown(), (Ids{1, 3}));
    int column = -1;
    ASSERT_TRUE(grid.GetFound(2, &column));
    EXPECT_EQ(column, 2);

    // Rows stored after a removed one move up in the store; each keeps its own texts.
    grid.SetFindText("");
    grid.SetCursor(0);
    grid.DoRemove();
    grid.SetFindText("Kept");
    EXPECT_EQ(Shown(), (Ids{2}));
    grid.SetFindText("ab");
    EXPECT_EQ(Shown(), (Ids{3}));
    // Sorted, the shown order differs from the stored one.
    grid.SetFindText("");
    grid.Add({4, "New ab", "Z", 4000});
    grid.SortByCaption(1, false);
    grid.SetFindText("ab");
    EXPECT_EQ(Shown(), (Ids{4, 3}));

    // A hidden column is not searched; shown again, it is.
    grid.HideColumn(2, true);
    grid.SetFindText("");
    grid.SetFindText("ab");
    EXPECT_EQ(Shown(), (Ids{4}));
    grid.HideColumn(2, false);
    grid.SetFindText("");
    grid.SetFindText("ab");
    EXPECT_EQ(Shown(), (Ids{4, 3}));
}

TEST_F(GridOrderTest, SelectionsLeaveRowsHiddenBySearchOut)
{
    Fill({{"Blue", "A", 1}, {"Red", "B", 2}, {"Blue 2", "C", 3}, {"Green", "D", 4}, {"Blue 3", "E", 5}});
    grid.SetFindText("Blue");
    ASSERT_EQ(Shown(), (Ids{1, 3, 5}));
    const auto click = [&](int row, Qt::KeyboardModifiers mods) {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, mods, grid.GetCellRect(row, 1).center());
    };
    click(0, Qt::NoModifier);
    click(4, Qt::ShiftModifier);  // the range spans the hidden "Red" and "Green"
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    EXPECT_FALSE(grid.IsSelected(1) || grid.IsSelected(3));
    QTest::keyClick(&grid, Qt::Key_Up, Qt::ShiftModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 2);
    EXPECT_FALSE(grid.IsSelected(1) || grid.IsSelected(3));

    // Select all and Delete remove what the search shows, nothing the user cannot see.
    QTest::keyClick(&grid, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(grid.GetSelectedCount(), 3);
    QTest::keyClick(&grid, Qt::Key_Delete);
    grid.SetFindText("");
    EXPECT_EQ(Order(), (Ids{2, 4}));
}

TEST_F(GridOrderTest, TheCursorNeverStaysOnARowTheSearchHid)
{
    Fill({{"Blue", "A", 1}, {"Red", "B", 2}, {"Blue 2", "C", 3}});
    grid.SetCursor(1);
    grid.SetFindText("Blue 2");
    EXPECT_EQ(grid.GetCursor(), 2);  // moved to the first row still shown

    grid.SetFindText("nothing at all");
    ASSERT_EQ(Shown(), Ids{});
    QTest::keyClick(&grid, Qt::Key_Delete);  // the cursor's row is hidden: nothing goes
    grid.SetFindText("");
    EXPECT_EQ(Order(), (Ids{1, 2, 3}));
}

TEST_F(GridOrderTest, CaseFoldingWorksOnCharactersAndHighlightsTheOriginalBytes)
{
    Fill({{"Zażółć ŁÓDŹ", "A", 0}, {"łódź", "B", 0}, {"LODZ", "C", 0}});
    grid.SetFindText("łódź");
    EXPECT_EQ(Shown(), (Ids{2}));  // case sensitive by default
    grid.ToggleSearchCaseSensitive();  // searches again
    EXPECT_EQ(Shown(), (Ids{1, 2}));

    grid.ToggleSearchHighlight();
    int column = -1, start = -1, end = -1;
    ASSERT_TRUE(grid.GetFound(0, &column, &start, &end));
    const String title = grid.Get(0, 1).ToString();
    EXPECT_EQ(title.substr(size_t(start), size_t(end - start)), "ŁÓDŹ");
    // The highlight is drawn: some pixel of the cell takes the marker colour.
    const QImage image = grid.viewport()->grab().toImage();
    const QRect cell = grid.GetCellRect(0, 1);
    int marked = 0;
    for (int x = cell.left(); x < cell.right(); ++x)
        marked += QColor(image.pixel(x, cell.top() + 2)) == QColor(255, 225, 90);
    EXPECT_GT(marked, 5);
    grid.ToggleSearchHighlight();
    EXPECT_FALSE(grid.GetFound(0));
}

TEST_F(GridOrderTest, CaptionClicksCycleTheSortAndTheThirdRestoresTheAddedOrder)
{
    Fill({{"b", "x", 3}, {"c", "x", 1}, {"a", "y", 2}, {"", "y", 0}});
    grid.SetCursor(1);  // "c"
    ASSERT_TRUE(grid.DropRows(3));  // a drag move first: c goes last
    EXPECT_EQ(Order(), (Ids{1, 3, 4, 2}));

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Caption(1));
    EXPECT_EQ(grid.GetColumn(1).GetSortState(), 1);
    EXPECT_EQ(Order(), (Ids{4, 3, 1, 2}));  // the empty title first
    EXPECT_EQ(grid.Get(grid.GetCursor(), 1).ToString(), "c");  // the cursor stays on its row
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Caption(1));
    EXPECT_EQ(Order(), (Ids{2, 1, 3, 4}));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Caption(1));
    EXPECT_EQ(grid.GetColumn(1).GetSortState(), 0);
    EXPECT_EQ(Order(), (Ids{1, 2, 3, 4}));

    // The length column sorts by the stored number, not by the text shown.
    grid.SortByCaption(3, false);
    EXPECT_EQ(Order(), (Ids{4, 2, 3, 1}));
}

TEST_F(GridOrderTest, CtrlClickAddsAFurtherKeyWithinRunsOfEqualEarlierKeys)
{
    Fill({{"b", "x", 0}, {"a", "y", 0}, {"c", "x", 0}, {"a", "x", 0}});
    grid.SortByCaption(2, false);  // artist ascending
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, Caption(1));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, Caption(1));  // title descending
    EXPECT_EQ(grid.GetSortKeys(), (std::vector<int>{2, 1}));
    EXPECT_EQ(Order(), (Ids{3, 1, 4, 2}));
    // A plain click replaces every key.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Caption(3));
    EXPECT_EQ(grid.GetSortKeys(), (std::vector<int>{3}));
    EXPECT_EQ(grid.GetColumn(1).GetSortState(), 0);
    // With multi-sorting off Ctrl changes nothing about that.
    grid.MultiSorting(false);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::ControlModifier, Caption(2));
    EXPECT_EQ(grid.GetSortKeys(), (std::vector<int>{2}));
}

TEST_F(GridOrderTest, DroppingTheCursorRowOnItselfOrJustAboveChangesNothing)
{
    Fill({{"a", "", 0}, {"b", "", 0}, {"c", "", 0}, {"d", "", 0}});
    grid.SetCursor(2);
    EXPECT_FALSE(grid.DropRows(2));
    EXPECT_FALSE(grid.DropRows(1));
    EXPECT_EQ(Order(), (Ids{1, 2, 3, 4}));
    EXPECT_EQ(grid.DragText(-1), "Moving row 3 before row 1");
    ASSERT_TRUE(grid.DropRows(-1));
    EXPECT_EQ(Order(), (Ids{3, 1, 2, 4}));
    EXPECT_EQ(grid.GetCursor(), 0);
    // Refused while a row is being edited.
    QLineEdit editor;
    GridCtrl editable;
    editable.AddColumn("Name").Edit(editor);
    editable.Add({"x"});
    editable.Add({"y"});
    editable.SetCursor(0);
    ASSERT_TRUE(editable.StartEdit());
    EXPECT_FALSE(editable.DropRows(1));
    editable.CancelEdit();
}

TEST_F(GridOrderTest, DraggingASelectionKeepsItsOrderAndShowsTheFloatingText)
{
    Fill({{"a", "", 0}, {"b", "", 0}, {"c", "", 0}, {"d", "", 0}, {"e", "", 0}, {"f", "", 0}});
    grid.Select(0);
    grid.Select(3);
    grid.SetCursor(3);
    EXPECT_EQ(grid.DragText(4), "Moving selection (2 rows) before row 6");

    // Press on the selected cursor row, move past the threshold, release over row "e".
    const QPoint from = grid.GetCellRect(3, 1).center();
    const QPoint to = grid.GetCellRect(4, 1).center();
    QTest::mousePress(grid.viewport(), Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(grid.viewport(), from + QPoint(0, 3));
    EXPECT_FALSE(grid.IsDragging());  // within 5 pixels it is still a click
    QTest::mouseMove(grid.viewport(), to);
    ASSERT_TRUE(grid.IsDragging());
    const auto popUps = QApplication::topLevelWidgets();
    const auto popUp = std::find_if(popUps.begin(), popUps.end(),
                                    [](QWidget* w) { return dynamic_cast<GridPopUp*>(w) && w->isVisible(); });
    ASSERT_NE(popUp, popUps.end());
    EXPECT_EQ(static_cast<GridPopUp*>(*popUp)->GetText(), "Moving selection (2 rows) before row 6");
    EXPECT_EQ((*popUp)->pos(), grid.viewport()->mapToGlobal(to) + QPoint(15 + 8, 18 + 20));
    QTest::mouseRelease(grid.viewport(), Qt::LeftButton, Qt::NoModifier, to);

    EXPECT_FALSE(grid.IsDragging());
    EXPECT_FALSE((*popUp)->isVisible());
    EXPECT_EQ(Order(), (Ids{2, 3, 5, 1, 4, 6}));
    EXPECT_EQ(grid.GetSelectedCount(), 2);  // the drop keeps the selection
    EXPECT_EQ(grid.Get(grid.GetCursor(), 1).ToString(), "d");

    grid.ClearSelection();
    grid.Select(grid.GetCursor());
    EXPECT_EQ(grid.DragText(0), "Moving selection (1 row) before row 2");
}

TEST_F(GridOrderTest, WhenReorderRunsOncePerUserReorderAndNeverForARefusedOne)
{
    Fill({{"b", "", 0}, {"a", "", 0}, {"c", "", 0}, {"d", "", 0}});
    int reorders = 0;
    grid.WhenReorder = [&] { ++reorders; };
    grid.SetCursor(0);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Down, Qt::ControlModifier);  // Move down through the menu key
    EXPECT_EQ(reorders, 1);
    grid.MoveRowUp();
    grid.MoveRowUp();  // already first: refused
    EXPECT_EQ(reorders, 2);
    grid.Select(2);
    grid.Select(3);
    grid.SetCursor(3);
    grid.MoveRowDown();  // the selection already ends at the last row
    EXPECT_EQ(reorders, 2);
    grid.ClearSelection();
    EXPECT_FALSE(grid.DropRows(2));  // onto the row just above it
    EXPECT_EQ(reorders, 2);
    EXPECT_TRUE(grid.DropRows(-1));
    EXPECT_EQ(reorders, 3);

    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, Caption(1));  // a, b, c, d
    EXPECT_EQ(reorders, 4);
    grid.Resort();  // not a user action, and nothing moves anyway
    EXPECT_EQ(reorders, 4);
    EXPECT_EQ(Order(), (Ids{2, 1, 3, 4}));
}

TEST(GridFindField, EscapeClearsTheSearchAndNeverReachesTheWindow)
{
    TopWindow window;
    QPushButton cancel("Exit", &window.Client());
    window.CancelButton(&cancel);
    int cancelled = 0;
    QObject::connect(&cancel, &QPushButton::clicked, [&] { ++cancelled; });
    auto* layout = new QVBoxLayout(&window.Client());
    GridCtrl grid;
    layout->addWidget(&grid);
    grid.AddColumn("Title");
    grid.ListStyle(2, true, true);
    for (const char* title : {"Alpha", "Beta", "Alpha 2"})
        grid.Add({title});
    window.resize(400, 300);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    const auto shownRows = [&] {
        int shown = 0;
        for (int row = 0; row < grid.GetCount(); ++row)
            shown += grid.GetCellRect(row, 0).height() > 0;
        return shown;
    };

    QLineEdit& field = grid.GetFindField();
    field.setFocus();
    QTest::keyClicks(&field, "Alpha");
    ASSERT_EQ(shownRows(), 2);
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_EQ(cancelled, 0);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(grid.GetFindText(), "");
    EXPECT_EQ(shownRows(), 3);
    EXPECT_EQ(QApplication::focusWidget(), &grid);

    // Without immediate search the rows come back as well.
    grid.ToggleImmediateSearch();
    grid.SetFindText("Beta");
    grid.DoFind();
    ASSERT_EQ(shownRows(), 1);
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_EQ(shownRows(), 3);

    // A window shortcut on Escape does not claim the key from the field either.
    int shortcuts = 0;
    QShortcut shortcut(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(&shortcut, &QShortcut::activated, [&] { ++shortcuts; });
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_Escape);
    EXPECT_EQ(shortcuts, 0);
    EXPECT_EQ(cancelled, 0);

    // Escape elsewhere is the window's as before.
    shortcut.setEnabled(false);
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Escape);
    EXPECT_EQ(cancelled, 1);
}
