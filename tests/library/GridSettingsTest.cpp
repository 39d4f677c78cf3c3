// The playlists grid and a track grid as the library really sets them up,
// checked against the settings table both grids are specified by.

#include <QLineEdit>

#include "LibraryHarness.h"
#include "ui/GridToolBar.h"

namespace {

// Every switch of a grid as one line of "name=0/1", so a mismatch names the setting.
std::vector<std::string> Switches(const GridSettings& s)
{
    const std::pair<const char*, bool> all[] = {
        {"selectRow", s.selectRow},
        {"multiSelect", s.multiSelect},
        {"indicator", s.indicator},
        {"resizingCols", s.resizingCols},
        {"resizingRows", s.resizingRows},
        {"resizingFromCells", s.resizingFromCells},
        {"draggingRows", s.draggingRows},
        {"sorting", s.sorting},
        {"multiSorting", s.multiSorting},
        {"keepLastRow", s.keepLastRow},
        {"tabChangesRow", s.tabChangesRow},
        {"removeNewRowOnCancel", s.removeNewRowOnCancel},
        {"horzGrid", s.horzGrid},
        {"vertGrid", s.vertGrid},
        {"alternatingRows", s.alternatingRows},
        {"toolBar", s.toolBar},
        {"toolBarOnTop", s.toolBarOnTop},
        {"appendButton", s.appendButton},
        {"editButton", s.editButton},
        {"removeButton", s.removeButton},
        {"findGroup", s.findGroup},
        {"moveButtons", s.moveButtons},
        {"navigationButtons", s.navigationButtons},
        {"closeButton", s.closeButton},
        {"immediateSearch", s.immediateSearch},
        {"searchHideRows", s.searchHideRows},
        {"searchHighlight", s.searchHighlight},
        {"searchCaseSensitive", s.searchCaseSensitive},
    };
    std::vector<std::string> lines;
    for (const auto& [name, on] : all)
        lines.push_back(std::string(name) + "=" + (on ? "1" : "0"));
    return lines;
}

// The toolbar as a line of words: tooltips, "|" for separators, "->" for the gap to the
// far end, "gap" for a fixed one and "[field]" for the find field.
std::string Describe(GridCtrl& grid)
{
    GridToolBar* toolBar = grid.GetToolBar();
    if (!toolBar)
        return "<none>";
    std::string text;
    for (const BarItem& item : toolBar->GetBar().Items()) {
        std::string word = item.GetText();
        if (item.IsSeparator())
            word = "|";
        else if (item.IsGap())
            word = item.GetGapWidth() == Bar::kGapToEnd ? "->" : "gap";
        else if (item.IsCtrl())
            word = "[field]";
        text += (text.empty() ? "" : ", ") + word;
    }
    return text;
}

class RealGridsTest : public LibraryHarness {};

}  // namespace

TEST_F(RealGridsTest, PlaylistsGridHasTheSettingsOfItsColumn)
{
    const std::vector<std::string> expected = {
        "selectRow=1",      "multiSelect=1",       "indicator=0",       "resizingCols=0",
        "resizingRows=0",   "resizingFromCells=0", "draggingRows=1",    "sorting=1",
        "multiSorting=1",   "keepLastRow=1",       "tabChangesRow=0",   "removeNewRowOnCancel=1",
        "horzGrid=0",       "vertGrid=0",          "alternatingRows=1", "toolBar=1",
        "toolBarOnTop=0",   "appendButton=1",      "editButton=1",      "removeButton=1",
        "findGroup=0",      "moveButtons=1",       "navigationButtons=0", "closeButton=0",
        "immediateSearch=1", "searchHideRows=1",   "searchHighlight=0", "searchCaseSensitive=1",
    };
    EXPECT_EQ(Switches(Lists().Settings()), expected);
    EXPECT_EQ(Describe(Lists()), "Append, Edit, Delete, Move up, Move down");

    // A hidden index column, then "Playlists" edited in place by the name editor.
    ASSERT_EQ(Lists().GetColumnCount(), 2);
    EXPECT_TRUE(Lists().GetColumn(LIST_ID).IsHidden());
    EXPECT_TRUE(Lists().GetColumn(LIST_ID).IsIndex());
    EXPECT_EQ(Lists().GetColumn(LIST_NAME).GetCaption(), "Playlists");
    EXPECT_FALSE(Lists().GetColumn(LIST_NAME).IsHidden());
    EXPECT_EQ(Lists().GetColumn(LIST_NAME).GetEditor().widget.data(), static_cast<QWidget*>(&Lib().NameEditor));
}

TEST_F(RealGridsTest, TrackGridsHaveTheSettingsOfTheirColumn)
{
    const std::vector<std::string> expected = {
        "selectRow=1",      "multiSelect=1",       "indicator=1",       "resizingCols=1",
        "resizingRows=1",   "resizingFromCells=1", "draggingRows=1",    "sorting=1",
        "multiSorting=1",   "keepLastRow=0",       "tabChangesRow=0",   "removeNewRowOnCancel=1",
        "horzGrid=1",       "vertGrid=0",          "alternatingRows=1", "toolBar=1",
        "toolBarOnTop=0",   "appendButton=1",      "editButton=0",      "removeButton=1",
        "findGroup=1",      "moveButtons=1",       "navigationButtons=1", "closeButton=0",
        "immediateSearch=1", "searchHideRows=1",   "searchHighlight=0", "searchCaseSensitive=1",
    };
    // The one loaded with the library and one made later for a new playlist.
    GridCtrl& made = Lib().NewTrackList(-1);
    Lists().Add({Value(), Value("Second")});  // keeps ListGrid paired with TrackLists
    for (GridCtrl* grid : {&Tracks(), &made}) {
        EXPECT_EQ(Switches(grid->Settings()), expected);
        EXPECT_EQ(grid->GetFixedWidth(), 8);
        EXPECT_EQ(Describe(*grid), "Append, Delete, |, Find, gap, [field], gap, Find options, |, Move up, Move down, "
                                   "->, First row, Previous row, Next row, Last row");
    }
}
