// What the session tells about a write the database refused: the kind of
// failure and its words, for each fault a user can meet.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sqlite3.h>
#include <sys/stat.h>
#include <thread>

#include <gtest/gtest.h>

#include "data/Log.h"
#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "data/Sqlite3Session.h"
#include "support/TempDir.h"
#include "support/WithoutFileOverride.h"

namespace {

// A database with one table in a temporary folder, and a second, raw
// connection on the same file playing another program.
class SqlFailureTest : public testing::Test {
protected:
    void SetUp() override
    {
        MainLog().SetFileName(dir.File("main.log"));
        ASSERT_TRUE(session.Open(path));
        session.SetBusyTimeout(50);
        ASSERT_TRUE(Sql(session).Execute(String("create table T (A)")));
    }
    void TearDown() override
    {
        sqlite3_close(other);
        MainLog().Close();
    }

    sqlite3* Other()
    {
        if (!other)
            sqlite3_open(path.c_str(), &other);
        return other;
    }
    void OtherRuns(const char* statement) { ASSERT_EQ(sqlite3_exec(Other(), statement, nullptr, nullptr, nullptr), SQLITE_OK); }

    bool Insert(const Value& value) { return Sql(session).Execute(SqlInsert(SqlId("T"))(SqlId("A"), value)); }
    int64_t Rows()
    {
        Sql cursor(session);
        return cursor.Execute(String("select count(*) from T")) && cursor.Fetch() ? cursor[0].ToInt64() : -1;
    }

    TempDir dir;
    std::string path = dir.File("library.db3");
    Sqlite3Session session;
    sqlite3* other = nullptr;
};

}  // namespace

TEST_F(SqlFailureTest, ALockHeldBrieflyIsWaitedOutAndOneHeldLongerIsReportedAsBusy)
{
    OtherRuns("BEGIN EXCLUSIVE");
    EXPECT_FALSE(Insert(1));
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::Busy);
    EXPECT_EQ(session.DescribeLastError(), "the library is locked by another program");

    // The default wait outlasts a lock released after a moment.
    session.SetBusyTimeout(Sqlite3Session::kDefaultBusyTimeoutMs);
    std::thread release([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    });
    EXPECT_TRUE(Insert(2));
    release.join();
    EXPECT_EQ(Rows(), 1);
}

TEST_F(SqlFailureTest, AReadOnlyFileOrFolderIsReportedAsReadOnly)
{
    {
        WithoutFileOverride asUser;
        session.Close();
        chmod(path.c_str(), 0444);
        ASSERT_TRUE(session.Open(path));
        EXPECT_FALSE(Insert(1));
    }
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::ReadOnly);
    EXPECT_EQ(session.DescribeLastError(), "the library file is read-only");

    // A writable file in a folder that is not: SQLite cannot make its journal.
    chmod(path.c_str(), 0644);
    {
        WithoutFileOverride asUser;
        session.Close();
        ASSERT_TRUE(session.Open(path));
        chmod(dir.Path().c_str(), 0555);
        EXPECT_FALSE(Insert(1));
        chmod(dir.Path().c_str(), 0755);
    }
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::ReadOnly);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(SqlFailureTest, AFullDiskIsReportedAsFull)
{
    Sql cursor(session);
    ASSERT_TRUE(cursor.Execute(String("PRAGMA page_count")) && cursor.Fetch());
    ASSERT_TRUE(cursor.Execute(String("PRAGMA max_page_count = " + cursor[0].ToString())));
    EXPECT_FALSE(Insert(String(100000, 'x')));
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::DiskFull);
    EXPECT_EQ(session.DescribeLastError(), "the disk is full");
}

TEST_F(SqlFailureTest, AFileThatIsNotADatabaseIsReportedAsDamaged)
{
    const std::string foreign = dir.File("notes.db3");
    std::ofstream(foreign) << "These are notes, not a database. They go on long enough to fill a page header.\n";
    Sqlite3Session notes;
    ASSERT_TRUE(notes.Open(foreign));
    EXPECT_FALSE(Sql(notes).Execute(String("select * from sqlite_master")));
    EXPECT_EQ(notes.GetLastErrorKind(), SqlErrorKind::Damaged);
    EXPECT_EQ(notes.DescribeLastError(), "the library file is damaged");
}

TEST_F(SqlFailureTest, OtherFailuresQuoteTheDatabaseAndAClearedErrorIsNone)
{
    EXPECT_FALSE(Sql(session).Execute(String("select * from NoSuchTable")));
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::Other);
    EXPECT_EQ(session.DescribeLastError(), "the library database reported an error (no such table: NoSuchTable)");
    session.ClearError();
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::None);
}

TEST_F(SqlFailureTest, AFailedCommitRollsBackAndKeepsItsOwnError)
{
    // A reader in the middle of a query keeps the writer from committing.
    sqlite3_stmt* reading = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(Other(), "select A from T", -1, &reading, nullptr), SQLITE_OK);
    ASSERT_TRUE(Insert(1));
    {
        SqlTransaction transaction(session);
        ASSERT_TRUE(Insert(2));
        ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW);
        EXPECT_FALSE(transaction.Commit());
    }
    EXPECT_EQ(session.GetLastErrorKind(), SqlErrorKind::Busy);
    EXPECT_EQ(session.GetErrorStatement(), "COMMIT;");
    sqlite3_finalize(reading);
    EXPECT_EQ(Rows(), 1);
}
