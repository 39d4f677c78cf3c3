#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <utility>

#include <gtest/gtest.h>

#include "data/Log.h"
#include "data/Sql.h"
#include "data/SqlParameters.h"
#include "data/Sqlite3Connection.h"
#include "data/Sqlite3Session.h"
#include "data/SqlTransaction.h"
#include "support/ReadFile.h"
#include "support/TempDir.h"

namespace {

size_t CountOf(const String& text, const String& part)
{
    size_t count = 0;
    for (size_t at = text.find(part); at != String::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A fresh database and a main log of its own in a temporary folder.
class SqlTest : public testing::Test {
protected:
    void SetUp() override
    {
        MainLog().SetFileName(dir.File("main.log"));
        ASSERT_TRUE(session.Open(dir.File("test.db3")));
        Sql setup(session);
        ASSERT_TRUE(setup.Execute(String("create table T (A, B, C)")));
    }
    void TearDown() override { MainLog().Close(); }

    String Log() { return ReadFile(dir.File("main.log")); }

    TempDir dir;
    Sqlite3Session session;
};

}  // namespace

TEST(SqlParameterTest, CountsAsSqliteDoesForEveryFormOfParameterAndQuoting)
{
    const std::pair<std::string_view, int> cases[] = {
        {"select ?, ?", 2},
        {"", 0},
        // Question marks inside quoted literals are not counted.
        {"select 'a?b', ?", 1},
        {"select 'it''s?', ?, ?", 2},
        {"select 'open ?", 0},
        // Identifiers and comments hide parameters as literals do.
        {"select 1 as \"?\", 2 as [?], 3 as `?`, ?", 1},
        {"select \"a\"\"?\", ? -- ?\n, ? /* ? */", 2},
        {"select ? /* ? unterminated", 1},
        // Numbered parameters count up to the highest number; a plain "?" follows it.
        {"select ?3, ?1", 3},
        {"select ?2, ?", 3},
        // A name counts once however often it appears; each prefix makes another name.
        {"select :a, @a, $a, :a, #a", 4},
        {"select $a::b(x), $a::b(x), $a::b", 2},
        {"select ?1, :x, ?1", 2},
        // "$" inside a name is part of it.
        {"select 1 as a$b, ?", 1},
        // The text ends at a zero byte, as SQLite reads it.
        {std::string_view("select ?\0, ?", 12), 1},
    };
    for (const auto& [text, count] : cases)
        EXPECT_EQ(CountSqlParameters(text), count) << text;
}

TEST_F(SqlTest, BindsExactlyTheCountedParametersAroundAQuotedQuestionMark)
{
    Sql sql(session);
    sql.SetStatement("insert into T (A, B, C) values (?, 'it''s?', ?)");
    ASSERT_TRUE(sql.Execute(Value(1), Value("two")));
    ASSERT_TRUE(sql.Execute(String("select A, B, C from T")));
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql.GetRow(), (std::vector<Value>{1, "it's?", "two"}));
    EXPECT_FALSE(sql.Fetch());
}

TEST_F(SqlTest, NumberedAndNamedParametersBindByTheirPositionInTheParameterList)
{
    Sql sql(session);
    // ?2 and ?1 take entries 1 and 0; :c is the third parameter wherever it appears.
    sql.SetStatement("insert into T (A, B, C) values (?2, :c, ?1) -- ?, ?");
    sql.SetParam(0, Value("first"));
    sql.SetParam(1, Value("second"));
    sql.SetParam(2, Value("third"));
    ASSERT_TRUE(sql.Execute());
    ASSERT_TRUE(sql.Execute(String("select A, B, C from T")));
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql.GetRow(), (std::vector<Value>{"second", "third", "first"}));
}

TEST_F(SqlTest, BugLogReceivesSlowStatementsAndRecordedErrorsOnlyWhenAsked)
{
    const String previousName = BugLog().GetFileName();
    const String bugLog = dir.File("bug.log");
    BugLog().SetFileName(bugLog);
    Sql sql(session);
    ASSERT_TRUE(sql.Execute(String("insert into T (A) values (1)")));
    ASSERT_TRUE(sql.Execute(String("insert into T (A) values (2)")));

    // The default settings write nothing there.
    ASSERT_TRUE(sql.Execute(String("select A from T")));
    while (sql.Fetch()) {
    }
    EXPECT_FALSE(sql.Execute(String("select * from missing")));
    EXPECT_FALSE(std::filesystem::exists(bugLog));

    // Below a threshold of zero every fetch is slow: the first reports the time
    // since its statement started, a later one only its own time.
    session.SetSlowThreshold(-1);
    ASSERT_TRUE(sql.Execute(String("select A from T order by A")));
    ASSERT_TRUE(sql.Fetch());
    ASSERT_TRUE(sql.Fetch());
    session.SetSlowThreshold(SqlSession::kNeverSlow);
    session.LogErrors(true);
    EXPECT_FALSE(sql.Execute(String("select * from missing")));
    session.LogErrors(false);
    BugLog().Close();
    BugLog().SetFileName(previousName);

    // After the header, each line is a number of milliseconds and its text, or the error.
    std::istringstream lines(ReadFile(bugLog));
    std::vector<String> found;
    for (String line; std::getline(lines, line);)
        found.push_back(line);
    ASSERT_EQ(found.size(), 5u) << ReadFile(bugLog);
    EXPECT_EQ(found[1], "\r");
    auto timed = [](const String& line, const String& text) {
        const size_t digits = line.find_first_not_of("0123456789");
        return digits > 0 && digits != String::npos && line.substr(digits) == text;
    };
    EXPECT_TRUE(timed(found[2], " ms: select A from T order by A")) << found[2];
    EXPECT_TRUE(timed(found[3], " ms further fetch: select A from T order by A")) << found[3];
    EXPECT_EQ(found[4], "ERROR no such table: missing: Preparing: select * from missing");
}

TEST_F(SqlTest, RepeatedTextIsPreparedOnceAndFlushedWhenTheCursorGoes)
{
    const String text = "insert into T (A) values (?)";
    {
        Sql sql(session);
        sql.SetStatement(text);
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(sql.Execute(Value(i), Value()));
        EXPECT_EQ(CountOf(Log(), "Sqlite3Connection::Compile(" + text + ") = "), 1u);
    }
    const String log = Log();
    const size_t total = log.find("Sqlite3Connection::FlushStatements(1 total)\n");
    ASSERT_NE(total, String::npos) << log;
    EXPECT_NE(log.find(") - " + text + "\n", total), String::npos) << log;
}

TEST_F(SqlTest, CacheIsFlushedBeforeItsTextsReachTheLimit)
{
    Sql sql(session);
    const String filler(300000, 'x');
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(sql.Execute("select '" + filler + "', " + std::to_string(i)));
    EXPECT_NE(Log().find("Sqlite3Connection::FlushStatements(3 total)\n"), String::npos);
}

TEST_F(SqlTest, ColumnsReadBackByTheirStoredType)
{
    Sql sql(session);
    const String blob("a\0b\0", 4);
    sql.SetStatement("insert into T (A, B, C) values (?, ?, ?)");
    ASSERT_TRUE(sql.Execute(Value(int64_t{5000000000}), Value(2.5), Value("text")));
    ASSERT_TRUE(sql.Execute(Value(true), Value(Date{2007, 3, 5}), Value(String())));
    ASSERT_TRUE(sql.Execute(Value(L"zażółć"), Value(INT_NULL), Value(Time{2007, 3, 5, 14, 7, 9})));
    ASSERT_TRUE(sql.Execute(String("insert into T (A) values (x'61006200')")));
    ASSERT_TRUE(sql.Execute(String("select A, B, C from T order by rowid")));

    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value(int64_t{5000000000}));  // not cut to 32 bits
    EXPECT_EQ(sql[1], Value(2.5));
    EXPECT_EQ(sql[SqlId("C")], Value("text"));
    EXPECT_TRUE(sql[SqlId("MISSING")].IsVoid());
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value(1));
    EXPECT_EQ(sql[1], Value("'2007-03-05'"));  // the quotes are part of the stored text
    EXPECT_TRUE(sql[2].IsVoid());              // an empty text is stored as NULL
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value("zażółć"));
    EXPECT_TRUE(sql[1].IsVoid());
    EXPECT_EQ(sql[2], Value("'2007-03-05 14:07:09'"));
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value(blob));
    EXPECT_FALSE(sql.Fetch());
}

TEST_F(SqlTest, StatementWithoutRowsKeepsTheColumnInfoAndFetchesNothing)
{
    Sql sql(session);
    ASSERT_TRUE(sql.Execute(String("select 1 as ONE, 'x' as TWO")));
    ASSERT_EQ(sql.GetColumnCount(), 2);
    ASSERT_TRUE(sql.Execute(String("select A from T")));
    EXPECT_FALSE(sql.Fetch());
    ASSERT_EQ(sql.GetColumnCount(), 2);
    EXPECT_EQ(sql.GetColumnInfo()[1].name, "TWO");
    EXPECT_EQ(sql.GetColumnInfo()[1].type, ValueKind::String);
}

TEST_F(SqlTest, FailuresAreRecordedAndTracedWithoutThrowing)
{
    std::ostringstream trace;
    session.SetTrace(&trace);
    Sql sql(session);
    EXPECT_FALSE(sql.Execute(String("select nonsense from NOWHERE")));
    EXPECT_NE(session.GetLastError().find("no such table"), String::npos);
    EXPECT_EQ(session.GetErrorStatement(), "Preparing: select nonsense from NOWHERE");
    EXPECT_NE(Log().find("Sqlite3Connection::Compile(select nonsense from NOWHERE) -> error\n"), String::npos);
    EXPECT_NE(trace.str().find("## ERROR: " + session.GetLastError()), String::npos);

    // A failed step is recorded with the statement itself, and the next
    // execution does not bury it under a reset error.
    ASSERT_TRUE(sql.Execute(String("create table U (K integer primary key)")));
    sql.SetStatement("insert into U (K) values (?)");
    ASSERT_TRUE(sql.Execute(Value(1), Value()));
    EXPECT_FALSE(sql.Execute(Value(1), Value()));
    EXPECT_NE(session.GetLastError().find("UNIQUE"), String::npos);
    EXPECT_EQ(session.GetErrorStatement(), "insert into U (K) values (?)");
    session.ClearError();
    ASSERT_TRUE(sql.Execute(Value(2), Value()));
    EXPECT_EQ(session.GetLastError(), "");

    session.Commit();  // no transaction is open
    EXPECT_EQ(session.GetErrorStatement(), "COMMIT;");
    EXPECT_NE(trace.str().find("ERROR " + session.GetLastError() + ": COMMIT;\n"), String::npos);
    session.SetTrace(nullptr);
}

TEST_F(SqlTest, RollbackUndoesAndCommitKeeps)
{
    Sql sql(session);
    session.Begin();
    ASSERT_TRUE(sql.Execute(String("insert into T (A) values (1)")));
    session.Rollback();
    session.Begin();
    ASSERT_TRUE(sql.Execute(String("insert into T (A) values (2)")));
    session.Commit();
    ASSERT_TRUE(sql.Execute(String("select A from T")));
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value(2));
    EXPECT_FALSE(sql.Fetch());
    EXPECT_EQ(session.GetLastError(), "");
}

TEST_F(SqlTest, ATransactionKeepsOnlyWhatItCommits)
{
    Sql sql(session);
    {
        SqlTransaction kept(session);
        ASSERT_TRUE(kept.IsOpen());
        ASSERT_TRUE(sql.Execute(String("insert into T (A) values (1)")));
        EXPECT_TRUE(kept.Commit());
        EXPECT_FALSE(kept.IsOpen());
        EXPECT_FALSE(kept.Commit()) << "committed once only";
    }
    {
        SqlTransaction dropped(session);
        ASSERT_TRUE(sql.Execute(String("insert into T (A) values (2)")));
    }  // leaving the scope without a commit rolls back
    {
        SqlTransaction outer(session);
        // A transaction begun inside another one fails to begin and must not end the outer one.
        {
            SqlTransaction inner(session);
            EXPECT_FALSE(inner.IsOpen());
            EXPECT_FALSE(inner.Commit());
        }
        ASSERT_TRUE(sql.Execute(String("insert into T (A) values (3)")));
        EXPECT_TRUE(outer.Commit());
    }
    ASSERT_TRUE(sql.Execute(String("select A from T order by A")));
    std::vector<Value> kept;
    while (sql.Fetch())
        kept.push_back(sql[0]);
    EXPECT_EQ(kept, (std::vector<Value>{Value(1), Value(3)}));

    SqlTransaction none(nullptr);
    EXPECT_FALSE(none.IsOpen());
    EXPECT_FALSE(none.Commit());
}

TEST_F(SqlTest, ABindingDetachesTheDefaultCursorWhenItGoes)
{
    {
        SqlBinding bind(session);
        EXPECT_EQ(SQL.GetSession(), &session);
        EXPECT_TRUE(SQL.Execute(String("select 1")));
    }
    EXPECT_EQ(SQL.GetSession(), nullptr);
    EXPECT_FALSE(SQL.Execute(String("select 1")));
}

TEST_F(SqlTest, DefaultCursorRunsOnTheSessionItIsBoundTo)
{
    SQL = session;
    EXPECT_EQ(GetDefaultDialect(), SQLITE3);
    ASSERT_TRUE(SQL.Execute(SqlInsert(SqlId("T"))(SqlId("A"), 7)));
    EXPECT_EQ(SQL[-1], Value(session.GetInsertedId()));
    Sql sql(String("select A from T"));
    ASSERT_TRUE(sql.Execute());
    ASSERT_TRUE(sql.Fetch());
    EXPECT_EQ(sql[0], Value(7));
    SQL.Detach();
    EXPECT_FALSE(SQL.Execute(String("select 1")));
}

TEST(SqlSessionTest, OpenFailsInAFolderThatDoesNotExist)
{
    Sqlite3Session session;
    EXPECT_FALSE(session.Open("/nonexistent-folder-for-quillon/QuillonPlayer.db3"));
    EXPECT_FALSE(session.IsOpen());
    Sql sql(session);
    EXPECT_FALSE(sql.Execute(String("select 1")));
}

TEST(SqlSessionTest, AFileThatIsNotADatabaseFailsStatementsAndStaysUnchanged)
{
    TempDir dir;
    MainLog().SetFileName(dir.File("main.log"));
    const String name = dir.File("QuillonPlayer.db3");
    const String bytes = "This is a text file, not a database.\n" + String(4096, 'z');
    std::ofstream(name, std::ios::binary) << bytes;
    {
        Sqlite3Session session;
        ASSERT_TRUE(session.Open(name));
        Sql sql(session);
        session.Begin();
        EXPECT_FALSE(sql.Execute(String("create table T (A)")));
        EXPECT_FALSE(sql.Execute(String("select * from T")));
        session.Commit();
        EXPECT_NE(session.GetLastError(), "");
    }
    EXPECT_EQ(ReadFile(name), bytes);
    MainLog().Close();
}
