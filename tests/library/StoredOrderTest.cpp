// Reordering writes only the positions that changed, in one transaction, and
// a refused write changes nothing, neither in the database nor in what the
// program believes is stored.

#include <algorithm>
#include <sqlite3.h>

#include <gtest/gtest.h>

#include "data/Log.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/StoredOrder.h"
#include "support/TempDir.h"

namespace {

class StoredOrderTest : public testing::Test {
protected:
    void SetUp() override
    {
        MainLog().SetFileName(dir.File("main.log"));
        ASSERT_TRUE(session.Open(dir.File("QuillonPlayer.db3")));
        session.SetBusyTimeout(50);
        ASSERT_TRUE(CreateLibraryTables(session));
        SQL = session;
        list = StoreNewList("Mix");
        for (int i = 0; i < 6; ++i)
            entries.push_back(StoreTrack(list, i, {"/m/" + std::to_string(i) + ".mp3", "T" + std::to_string(i)}));
        stored.Loaded(entries);
    }
    void TearDown() override
    {
        SQL.Detach();
        MainLog().Close();
    }

    // The titles of the list as the next start loads them.
    std::vector<String> Reloaded()
    {
        std::vector<String> titles;
        const std::vector<LoadedList> lists = LoadLibrary(session);
        for (const auto& row : lists.front().tracks)
            titles.push_back(row[2].ToString());
        return titles;
    }
    int Changes() { return sqlite3_total_changes(session.GetHandle()); }
    void Move(size_t from, size_t to)
    {
        const Value key = entries[from];
        entries.erase(entries.begin() + static_cast<long>(from));
        entries.insert(entries.begin() + static_cast<long>(to), key);
    }

    TempDir dir;
    Sqlite3Session session;
    Value list;
    std::vector<Value> entries;
    StoredOrder stored;
};

}  // namespace

TEST_F(StoredOrderTest, AMoveWritesTheRowsBetweenItsEndsAndNothingElse)
{
    Move(4, 1);
    EXPECT_EQ(stored.Changed(entries), (std::vector<int>{1, 2, 3, 4}));
    // Asked from a row on, the rows above it are not even gathered.
    const auto from = [&](size_t row) { return std::vector<Value>(entries.begin() + long(row), entries.end()); };
    EXPECT_EQ(stored.Changed(from(2), 2), (std::vector<int>{2, 3, 4}));
    EXPECT_TRUE(stored.Changed(from(5), 5).empty());
    int before = Changes();
    ASSERT_TRUE(StoreOrder(session, list, entries, stored));
    EXPECT_EQ(Changes() - before, 4);
    EXPECT_EQ(Reloaded(), (std::vector<String>{"T0", "T4", "T1", "T2", "T3", "T5"}));

    // Storing again finds nothing to change.
    before = Changes();
    ASSERT_TRUE(StoreOrder(session, list, entries, stored));
    EXPECT_EQ(Changes(), before);
}

TEST_F(StoredOrderTest, AnInsertShiftsTheRowsBelowItAndAnUnstoredRowIsSkipped)
{
    // Inserted above row 2 with that POS, as an add stores it; an unstored row has no key.
    const Value added = StoreTrack(list, 2, {"/m/new.mp3", "New"});
    stored.Inserted(added, 2);
    entries.insert(entries.begin() + 2, added);
    entries.emplace_back();
    EXPECT_EQ(stored.Changed(entries), (std::vector<int>{3, 4, 5, 6}));
    ASSERT_TRUE(StoreOrder(session, list, entries, stored));
    EXPECT_EQ(Reloaded(), (std::vector<String>{"T0", "T1", "New", "T2", "T3", "T4", "T5"}));
}

TEST_F(StoredOrderTest, ARefusedWriteChangesNothingAndIsWrittenWithTheNextStore)
{
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(dir.File("QuillonPlayer.db3").c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::reverse(entries.begin(), entries.end());
    EXPECT_FALSE(StoreOrder(session, list, entries, stored));
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::Busy);
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Reloaded(), (std::vector<String>{"T0", "T1", "T2", "T3", "T4", "T5"}));

    // A later move of two rows stores the whole order still owed.
    Move(0, 1);
    ASSERT_TRUE(StoreOrder(session, list, entries, stored));
    EXPECT_EQ(Reloaded(), (std::vector<String>{"T4", "T5", "T3", "T2", "T1", "T0"}));
}

TEST_F(StoredOrderTest, ListsWithoutAPositionAreWrittenWithTheirDisplayIndex)
{
    StoredOrder lists;
    const Value first = list;
    lists.Loaded({first});
    const Value added = StoreNewList("Added");  // stored without POS
    lists.Inserted(added, Value());
    const std::vector<Value> display{added, first};
    EXPECT_EQ(lists.Changed(display), (std::vector<int>{0, 1}));
    ASSERT_TRUE(StoreListOrder(session, display, lists));
    std::vector<String> names;
    for (const LoadedList& loaded : LoadLibrary(session))
        names.push_back(loaded.name.ToString());
    EXPECT_EQ(names, (std::vector<String>{"Added", "Mix"}));
}
