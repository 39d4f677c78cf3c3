#pragma once

// A Player on a library database in a temporary folder, with message boxes and
// file selectors answered by the test, and helpers to read the database back.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/Player.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "support/TempDir.h"
#include "ui/FileSelector.h"
#include "ui/Prompt.h"

class PlayerHarness : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.Open(tmp.File("library.db3")));
        ASSERT_TRUE(CreateLibraryTables(session));
        SQL = session;
        SetPromptHandler([this](const PromptRequest& request) { prompts.push_back(request.text); });
        SetFileSelectHandler([this](FileSelectRequest& request) -> FileSelectAnswer {
            requests.push_back(request);
            if (answers.empty())
                return std::nullopt;
            FileSelectAnswer answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
        Start();
    }

    void TearDown() override
    {
        player.reset();
        SetFileSelectHandler({});
        SetPromptHandler({});
        SQL.Detach();
    }

    void Start() { player = std::make_unique<Player>(); }
    // Closes the window (positions saved) and opens it again on the same database.
    void Restart()
    {
        player.reset();
        Start();
    }

    // The next selector run answers these paths (none: the user cancels).
    void Answer(std::optional<std::vector<String>> paths) { answers.push_back(std::move(paths)); }

    GridCtrl& Lists() { return player->ListGrid; }
    GridCtrl& Tracks() { return player->CurrentTrackList(); }

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

    // Every row of a query, each as text cells joined by "|".
    std::vector<String> Query(const String& statement)
    {
        Sql cursor(session);
        std::vector<String> rows;
        if (!cursor.Execute(statement))
            ADD_FAILURE() << "query failed: " << statement << ": " << session.GetLastError();
        while (cursor.Fetch()) {
            String row;
            for (int i = 0; i < cursor.GetColumnCount(); ++i)
                row += (i ? "|" : "") + (cursor[i].IsVoid() ? String("<null>") : cursor[i].ToString());
            rows.push_back(row);
        }
        return rows;
    }

    // Names and positions of the stored lists, as "NAME@POS" in POS order.
    std::vector<String> StoredLists() { return Query("select NAME || '@' || ifnull(POS, 'null') from LISTS order by POS"); }

    TempDir tmp;
    Sqlite3Session session;
    std::unique_ptr<Player> player;
    std::vector<String> prompts;
    std::vector<FileSelectRequest> requests;
    std::vector<std::optional<std::vector<String>>> answers;
};
