#pragma once

#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "app/Player.h"
#include "data/Sql.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "support/TempDir.h"

// A library database in a temporary folder, bound to the default cursor, as
// the program has it when the window is built.
class PlayerTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(session.Open(dir.File("QuillonPlayer.db3")));
        SQL = session;
        ASSERT_TRUE(CreateLibraryTables(session));
    }
    void TearDown() override { SQL.Detach(); }

    // Runs the window, does `during` once its loop runs, and returns the run's
    // code; a fault that leaves the window open ends the run with -1.
    static int RunWhile(Player& player, std::function<void()> during)
    {
        QTimer::singleShot(0, &player, during);
        QTimer::singleShot(3000, &player, [&player] { player.Break(-1); });
        return player.Run();
    }

    static std::string Record(Player& player)
    {
        Stream s = Stream::ForStoring();
        player.Serialize(s);
        return s.Data();
    }

    TempDir dir;
    Sqlite3Session session;
};
