// A player killed in the middle of reordering: the next start shows the order
// the user last saw (or the one of the move being stored at the kill).

#include <QProcess>
#include <QStringList>
#include <csignal>
#include <gtest/gtest.h>

#include "MainBodyRun.h"
#include "app/MainBody.h"
#include "data/Sql.h"
#include "data/SqlTransaction.h"
#include "data/Sqlite3Session.h"
#include "library/LibraryDb.h"
#include "library/LibraryGrids.h"
#include "support/PartsRig.h"

namespace {

constexpr int kTracks = 60;

std::vector<std::string> Split(const std::string& line)
{
    std::vector<std::string> titles;
    size_t from = 0;
    for (size_t comma = line.find(','); comma != std::string::npos; comma = line.find(',', from)) {
        titles.push_back(line.substr(from, comma - from));
        from = comma + 1;
    }
    return titles;
}

// Whether b is a with one pair of neighbours swapped: the move being stored
// when the kill came, which the child had not printed yet.
bool OneMoveApart(const std::vector<std::string>& a, const std::vector<std::string>& b)
{
    if (a.size() != b.size())
        return false;
    size_t first = 0;
    while (first < a.size() && a[first] == b[first])
        ++first;
    return first + 1 < a.size() && a[first] == b[first + 1] && a[first + 1] == b[first] &&
           std::equal(a.begin() + static_cast<long>(first) + 2, a.end(), b.begin() + static_cast<long>(first) + 2);
}

}  // namespace

TEST(Kill, AKillDuringMovesKeepsTheLastOrderShown)
{
    TempDir dir;
    {
        Sqlite3Session session;
        ASSERT_TRUE(session.Open(dir.File(kDatabaseFileName)));
        ASSERT_TRUE(CreateLibraryTables(session));
        SqlBinding bind(session);
        SqlTransaction transaction(session);
        const Value list = StoreDefaultList();
        for (int i = 0; i < kTracks; ++i)
            StoreTrack(list, i, {"/music/" + std::to_string(i) + ".mp3", "T" + std::to_string(i)});
        ASSERT_TRUE(transaction.Commit());
    }

    QProcess child;
    child.start(QP_TEST_CHILD, {"move", QString::fromStdString(Folder(dir))});
    std::string out;
    // Let it make a few dozen moves, then kill it wherever it is.
    while (std::count(out.begin(), out.end(), '\n') < 40 && child.waitForReadyRead(10000))
        out += child.readAllStandardOutput().toStdString();
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    child.waitForFinished();
    out += child.readAllStandardOutput().toStdString();
    ASSERT_GE(std::count(out.begin(), out.end(), '\n'), 40) << child.readAllStandardError().toStdString();
    const size_t end = out.rfind('\n');
    const size_t start = out.rfind('\n', end - 1);
    const std::vector<std::string> shown = Split(out.substr(start + 1, end - start - 1));
    ASSERT_EQ(shown.size(), static_cast<size_t>(kTracks));

    // The restart: the library loads what was stored, and nothing is reported.
    Sqlite3Session session;
    ASSERT_TRUE(session.Open(dir.File(kDatabaseFileName)));
    PromptLog prompts;
    std::vector<std::string> loaded;
    {
        SqlBinding bind(session);
        PartsRig parts;
        loaded = Shown(parts.library.CurrentTrackList(), TRACK_TITLE);
    }
    EXPECT_TRUE(prompts.shown.empty());
    EXPECT_TRUE(loaded == shown || OneMoveApart(shown, loaded));
    std::vector<std::string> stored = ReadBack(dir.File(kDatabaseFileName), "select TITLE from PLAYLISTS order by POS");
    EXPECT_EQ(stored, loaded);
}
