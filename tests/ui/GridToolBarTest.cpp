#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include "ui/GridCtrl.h"
#include "ui/GridImages.h"
#include "ui/GridToolBar.h"
#include "ui/Translate.h"

namespace {

// The toolbar as a line of words: tooltips, "|" for separators, gaps by width
// ("->" for the one that pushes to the far end) and "[field]"/"[Close]" for controls.
std::string Describe(const Bar& bar)
{
    std::string text;
    for (const BarItem& item : bar.Items()) {
        std::string word;
        if (item.IsSeparator())
            word = "|";
        else if (item.IsGap())
            word = item.GetGapWidth() == Bar::kGapToEnd ? "->" : "gap" + std::to_string(item.GetGapWidth());
        else if (item.IsCtrl())
            word = item.GetCtrlWidth() == 150 ? "[field]" : "[Close]";
        else
            word = item.GetText();
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}

// The toolbar widget among the grid's children (no meta-object to search by).
GridToolBar* ToolBarChild(QWidget& grid)
{
    for (QObject* child : grid.children())
        if (auto* toolBar = dynamic_cast<GridToolBar*>(child))
            return toolBar;
    return nullptr;
}

// The two grids as the player sets them up.
void PlaylistsGrid(GridCtrl& grid)
{
    grid.AddColumn("", 0, true);
    grid.AddColumn("Playlists", 1);
    grid.ListStyle(3, true, true);
    grid.EditButton(true).FindGroup(false).NavigationButtons(false).CloseButton(false);
}

void TrackGrid(GridCtrl& grid)
{
    grid.Indicator(true, 8);
    grid.AddColumn("Id", 0, true);
    grid.AddColumn("Title", 4);
    grid.ListStyle(2, true, true);
    grid.EditButton(false).FindGroup(true).NavigationButtons(true).CloseButton(false);
}

}  // namespace

TEST(GridToolBar, HoldsTheButtonsOfEachPlayerGridInOrder)
{
    GridCtrl playlists;
    PlaylistsGrid(playlists);
    ASSERT_NE(playlists.GetToolBar(), nullptr);
    EXPECT_EQ(Describe(playlists.GetToolBar()->GetBar()), "Append, Edit, Delete, Move up, Move down");

    GridCtrl tracks;
    TrackGrid(tracks);
    const Bar& bar = tracks.GetToolBar()->GetBar();
    EXPECT_EQ(Describe(bar), "Append, Delete, |, Find, gap3, [field], gap3, Find options, |, Move up, Move down, ->, "
                             "First row, Previous row, Next row, Last row");
    EXPECT_EQ(bar.Items()[0].GetImage(), &ImgGridAdd());
    EXPECT_EQ(bar.Items().back().GetImage(), &ImgGridLastRec());
    EXPECT_EQ(tracks.GetToolBar()->GetWidget(5), &tracks.GetFindField());
    for (const QImage* image : {&ImgGridAdd(), &ImgGridDel(), &ImgGridFind(), &ImgGridMoveDn(), &ImgGridFirstRec()})
        EXPECT_EQ(image->size(), QSize(16, 16));
}

TEST(GridToolBar, IsRebuiltAtTheNextLayoutAfterASettingChanges)
{
    GridCtrl grid;
    TrackGrid(grid);
    grid.resize(500, 200);
    QApplication::processEvents();
    // A grid never shown costs no toolbar widgets.
    EXPECT_EQ(ToolBarChild(grid), nullptr);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    ASSERT_NE(ToolBarChild(grid), nullptr);
    GridToolBar* toolBar = grid.GetToolBar();
    EXPECT_EQ(ToolBarChild(grid), toolBar);
    // The cells end where the toolbar begins.
    EXPECT_LE(grid.viewport()->geometry().bottom(), toolBar->geometry().top());
    EXPECT_EQ(toolBar->geometry().bottom(), grid.contentsRect().bottom());

    grid.CloseButton(true).AppendButton(false);
    QApplication::processEvents();  // no explicit call: the posted layout rebuilds it
    EXPECT_EQ(Describe(toolBar->GetBar()), "Delete, |, Find, gap3, [field], gap3, Find options, |, Move up, Move down, "
                                           "|, First row, Previous row, Next row, Last row, ->, [Close]");
    grid.SetToolBar(false);
    EXPECT_EQ(grid.GetToolBar(), nullptr);
    EXPECT_EQ(grid.viewport()->geometry().bottom(), grid.contentsRect().bottom());
}

TEST(GridToolBar, TextsFollowTheLanguage)
{
    const uint32_t saved = GetCurrentLanguage();
    SetLanguage(LanguageCode('P', 'L', 'P', 'L', 255));
    GridCtrl grid;
    TrackGrid(grid);
    const std::string toolbar = Describe(grid.GetToolBar()->GetBar());
    Bar options;
    grid.FindOptionsMenu(options);
    SetLanguage(saved);
    EXPECT_NE(toolbar.find("Usuń, |, Znajdź"), std::string::npos) << toolbar;
    EXPECT_NE(toolbar.find("Pierwszy wiersz"), std::string::npos) << toolbar;
    EXPECT_EQ(options.Items()[2].GetText(), "Podświetlaj znalezione komórki");
}

TEST(GridToolBar, FindOptionsAreCheckItemsAndCtrlFReachesTheField)
{
    GridCtrl grid;
    TrackGrid(grid);
    grid.resize(500, 200);
    grid.show();
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    Bar menu;
    grid.FindOptionsMenu(menu);
    ASSERT_EQ(menu.Items().size(), 4u);
    EXPECT_EQ(menu.Items()[0].GetText(), "Immediate search");
    EXPECT_EQ(menu.Items()[1].GetText(), "Hide rows");
    EXPECT_EQ(menu.Items()[2].GetText(), "Higlight found cells");
    EXPECT_EQ(menu.Items()[3].GetText(), "Case sensitive");
    EXPECT_TRUE(menu.Items()[0].IsChecked());
    EXPECT_FALSE(menu.Items()[2].IsChecked());
    menu.Items()[0].GetAction()();
    EXPECT_FALSE(grid.Settings().immediateSearch);

    grid.Add({1, "abc"});
    grid.Add({2, "xyz"});
    grid.SetCursor(0);
    int entered = 0;
    grid.WhenEnter = [&] { ++entered; };
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(grid.GetFindField().hasFocus());

    // With immediate search off, Enter in the field searches, and only that: the
    // grid's own Enter (play or edit the cursor row) is not run.
    QTest::keyClicks(&grid.GetFindField(), "xy");
    EXPECT_FALSE(grid.GetFound(1));
    QTest::keyClick(&grid.GetFindField(), Qt::Key_Return);
    EXPECT_TRUE(grid.GetFound(1));
    EXPECT_FALSE(grid.GetFound(0));
    EXPECT_EQ(entered, 0);
    EXPECT_FALSE(grid.IsEditing());
}
