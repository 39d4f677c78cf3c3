#include "LibraryHarness.h"

namespace {

// "text/key" per entry, "-" for a separator, as the builder lays them out.
std::vector<String> Layout(const Bar::Builder& builder)
{
    Bar bar;
    builder(bar);
    std::vector<String> entries;
    for (const BarItem& item : bar.Items())
        entries.push_back(item.IsSeparator() ? String("-") : item.GetText() + "/" + KeyDesc(item.GetKey()));
    return entries;
}

class LibraryMenusTest : public LibraryHarness {};

} // namespace

TEST_F(LibraryMenusTest, PlaylistMenuEntriesKeysAndOrder)
{
    const std::vector<String> expected = {"Add/Insert", "Add folder/Ctrl+Insert", "-", "Insert/Alt+Insert",
                                          "Insert folder/Ctrl+Alt+Insert", "-", "Delete/Delete",
                                          "Change name/" + KeyDesc(K_ENTER), "-", "Move up/Ctrl+Up",
                                          "Move down/Ctrl+Down", "-", "Select all/Ctrl+A"};
    EXPECT_EQ(Layout([this](Bar& bar) { Lib().ListMenu(bar); }), expected);
    EXPECT_EQ(Layout([this](Bar& bar) { Lib().ListAddMenu(bar); }),
              std::vector<String>(expected.begin(), expected.begin() + 5));
}

TEST_F(LibraryMenusTest, TrackMenuEntriesKeysAndOrder)
{
    const std::vector<String> expected = {"Add files/Insert", "Add folder/Ctrl+Insert", "-",
                                          "Insert files/Alt+Insert", "Insert folder/Ctrl+Alt+Insert", "-",
                                          "Delete/Delete", "-", "Move up/Ctrl+Up", "Move down/Ctrl+Down", "-",
                                          "Select all/Ctrl+A", "Columns/"};
    EXPECT_EQ(Layout([this](Bar& bar) { Lib().TrackMenu(bar); }), expected);
}

TEST_F(LibraryMenusTest, KeysReachTheEntriesWithoutTheMenu)
{
    // Insert on the playlists grid appends a row in edit; Esc-like cancel removes it again.
    EXPECT_TRUE(Lists().OfferKey(K_INSERT));
    EXPECT_EQ(Lists().GetCount(), 2);
    Lists().CancelEdit();
    EXPECT_EQ(Lists().GetCount(), 1);

    // The playlists menu's "Insert folder" does nothing at all.
    Lists().OfferKey(K_CTRL | K_ALT | K_INSERT);
    EXPECT_EQ(ListNames(), std::vector<String>{"Playlist 1"});
    EXPECT_TRUE(requests.empty());

    // Ctrl+Insert on a track grid runs the folder selector; cancelling adds nothing.
    Tracks().OfferKey(K_CTRL | K_INSERT);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].kind, FileSelectRequest::SelectFolder);
    EXPECT_EQ(requests[0].title, "Select music folder");
    EXPECT_EQ(Tracks().GetCount(), 0);
}

TEST_F(LibraryMenusTest, TrackGridShowsItsFourColumnsFourFourFourTwo)
{
    GridCtrl& grid = Tracks();
    ASSERT_EQ(grid.GetColumnCount(), 6);
    std::vector<String> shown;
    std::vector<int> weights;
    for (int i = 0; i < grid.GetColumnCount(); ++i)
        if (!grid.GetColumn(i).IsHidden()) {
            shown.push_back(grid.GetColumn(i).GetCaption());
            weights.push_back(grid.GetColumn(i).GetWidth());
        }
    EXPECT_EQ(shown, (std::vector<String>{"Title", "Artist", "Album", "Length"}));
    EXPECT_EQ(weights, (std::vector<int>{4, 4, 4, 2}));
    EXPECT_TRUE(grid.GetColumn(TRACK_ID).IsIndex());
    EXPECT_TRUE(grid.GetColumn(TRACK_FILE).IsIndex());
    EXPECT_EQ(grid.GetColumn(TRACK_LENGTH).Format(Value(61230)), "01:01:23");
    EXPECT_EQ(grid.GetColumn(TRACK_LENGTH).GetHorzAlign(), ALIGN_CENTER);
    EXPECT_FALSE(grid.GetColumn(TRACK_TITLE).IsEditable());
    EXPECT_TRUE(grid.Settings().indicator);
    EXPECT_FALSE(grid.Settings().keepLastRow);
    EXPECT_TRUE(Lists().Settings().keepLastRow);
    EXPECT_TRUE(Lists().GetColumn(LIST_NAME).IsEditable());
}

TEST_F(LibraryMenusTest, NewTrackListInsertsAtItsIndex)
{
    GridCtrl* first = Lib().TrackLists()[0].get();
    // Rows for the new grids keep the pairing with ListGrid for the library's close.
    Lists().Add({Value(), Value("Second")});
    Lists().Add({Value(), Value("Third")});
    GridCtrl& appended = Lib().NewTrackList(-1);
    GridCtrl& inserted = Lib().NewTrackList(1);
    ASSERT_EQ(Lib().TrackLists().size(), 3u);
    EXPECT_EQ(Lib().TrackLists()[0].get(), first);
    EXPECT_EQ(Lib().TrackLists()[1].get(), &inserted);
    EXPECT_EQ(Lib().TrackLists()[2].get(), &appended);
}
