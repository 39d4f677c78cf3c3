#pragma once

// The library over a database in a temporary folder, with playback beside it,
// message boxes and file selectors answered by the test, and helpers to read
// the grids and the database back.

#include <memory>
#include <vector>

#include <QString>

#include "MusicFixtures.h"
#include "library/LibraryGrids.h"
#include "support/LibraryFixture.h"
#include "support/PartsRig.h"
#include "support/WaitForAdds.h"

class LibraryHarness : public LibraryFixture {
protected:
    void SetUp() override
    {
        LibraryFixture::SetUp();
        Start();
    }

    void TearDown() override
    {
        parts.reset();
        LibraryFixture::TearDown();
    }

    void Start() { parts = std::make_unique<PartsRig>(); }
    // Drops the library (positions saved) and loads it again from the same database.
    void Restart()
    {
        parts.reset();
        Start();
    }

    Library& Lib() { return parts->library; }
    GridCtrl& Lists() { return parts->library.ListGrid; }
    GridCtrl& Tracks() { return parts->library.CurrentTrackList(); }

    void WaitForAdds() { ::WaitForAdds(Lib()); }

    // A column of every row of a grid, in display order, as text.
    static std::vector<String> Column(GridCtrl& grid, int column)
    {
        std::vector<String> texts;
        for (int i = 0; i < grid.GetCount(); ++i)
            texts.push_back(grid.Get(i, column).ToString());
        return texts;
    }
    std::vector<String> ListNames() { return Column(Lists(), LIST_NAME); }
    std::vector<String> Titles() { return Column(Tracks(), TRACK_TITLE); }

    // Selects the playlist at a display row and gives its track titles.
    std::vector<String> TitlesOf(int listRow)
    {
        Lists().SetCursor(listRow);
        return Titles();
    }

    // Names a playlist in the grid as the user does: "Add" or "Insert", type, Enter.
    void AddList(const String& typed)
    {
        Lists().DoAppend();
        TypeListName(typed);
    }
    void InsertList(const String& typed)
    {
        Lists().DoInsert();
        TypeListName(typed);
    }
    void Rename(int row, const String& typed)
    {
        Lists().SetCursor(row);
        ASSERT_TRUE(Lists().StartEdit());
        TypeListName(typed);
    }
    void TypeListName(const String& typed)
    {
        Lib().NameEditor.setText(QString::fromStdString(typed));
        Lists().AcceptEdit();
    }

    // Adds tagged files, one per title, to the selected playlist through "Add files".
    void AddTracks(const std::vector<String>& titles)
    {
        std::vector<String> paths;
        for (const String& title : titles)
            paths.push_back(music_fixtures::MakeMp3(dir.Path() / "music" / (title + ".mp3"), title));
        Answer(paths);
        Lib().AddFiles(true);
        WaitForAdds();
    }

    // Names and positions of the stored lists, as "NAME@POS" in POS order.
    std::vector<String> StoredLists() { return Query("select NAME || '@' || ifnull(POS, 'null') from LISTS order by POS"); }

    std::unique_ptr<PartsRig> parts;
};
