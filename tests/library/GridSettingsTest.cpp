// The playlists grid and a track grid as the library really sets them up,
// checked against the settings table both grids are specified by.

#include <QLineEdit>

#include "LibraryHarness.h"
#include "ui/GridToolBar.h"

namespace {

// Every switch with its value in the playlists grid and in a track grid.
struct Switch {
    const char* name;
    bool GridSettings::*member;
    bool inLists;
    bool inTracks;
};
constexpr Switch kSwitches[] = {
    {"selectRow", &GridSettings::selectRow, true, true},
    {"multiSelect", &GridSettings::multiSelect, true, true},
    {"indicator", &GridSettings::indicator, false, true},
    {"resizingCols", &GridSettings::resizingCols, false, true},
    {"resizingRows", &GridSettings::resizingRows, false, true},
    {"resizingFromCells", &GridSettings::resizingFromCells, false, true},
    {"draggingRows", &GridSettings::draggingRows, true, true},
    {"sorting", &GridSettings::sorting, true, true},
    {"multiSorting", &GridSettings::multiSorting, true, true},
    {"keepLastRow", &GridSettings::keepLastRow, true, false},
    {"tabChangesRow", &GridSettings::tabChangesRow, false, false},
    {"removeNewRowOnCancel", &GridSettings::removeNewRowOnCancel, true, true},
    {"horzGrid", &GridSettings::horzGrid, false, true},
    {"vertGrid", &GridSettings::vertGrid, false, false},
    {"alternatingRows", &GridSettings::alternatingRows, true, true},
    {"toolBar", &GridSettings::toolBar, true, true},
    {"toolBarOnTop", &GridSettings::toolBarOnTop, false, false},
    {"appendButton", &GridSettings::appendButton, true, true},
    {"editButton", &GridSettings::editButton, true, false},
    {"removeButton", &GridSettings::removeButton, true, true},
    {"findGroup", &GridSettings::findGroup, false, true},
    {"moveButtons", &GridSettings::moveButtons, true, true},
    {"navigationButtons", &GridSettings::navigationButtons, false, true},
    {"closeButton", &GridSettings::closeButton, false, false},
    {"immediateSearch", &GridSettings::immediateSearch, true, true},
    {"searchHideRows", &GridSettings::searchHideRows, true, true},
    {"searchHighlight", &GridSettings::searchHighlight, false, false},
    {"searchCaseSensitive", &GridSettings::searchCaseSensitive, true, true},
};

// Every switch as one line of "name=0/1", so a mismatch names the setting.
template <class ValueOf>
std::vector<std::string> Lines(ValueOf valueOf)
{
    std::vector<std::string> lines;
    for (const Switch& each : kSwitches)
        lines.push_back(std::string(each.name) + "=" + (valueOf(each) ? "1" : "0"));
    return lines;
}
std::vector<std::string> Switches(const GridSettings& s)
{
    return Lines([&](const Switch& each) { return s.*each.member; });
}
std::vector<std::string> Expected(bool Switch::*grid)
{
    return Lines([&](const Switch& each) { return each.*grid; });
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
    EXPECT_EQ(Switches(Lists().Settings()), Expected(&Switch::inLists));
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
    // The one loaded with the library and one made later for a new playlist.
    GridCtrl& made = Lib().NewTrackList(-1);
    Lists().Add({Value(), Value("Second")});  // keeps ListGrid paired with TrackLists
    for (GridCtrl* grid : {&Tracks(), &made}) {
        EXPECT_EQ(Switches(grid->Settings()), Expected(&Switch::inTracks));
        EXPECT_EQ(grid->GetFixedWidth(), 8);
        EXPECT_EQ(Describe(*grid), "Append, Delete, |, Find, gap, [field], gap, Find options, |, Move up, Move down, "
                                   "->, First row, Previous row, Next row, Last row");
    }
}
