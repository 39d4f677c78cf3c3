// The player starts again where playback stood when it closed.
#include <QTest>
#include <filesystem>

#include "LibraryHarness.h"
#include "library/ResumePoint.h"
#include "playback/TrackColumns.h"

namespace {

std::string Fixture(const std::string& name) { return std::string(QP_FIXTURES) + "/" + name; }

class ResumeTest : public LibraryHarness {
protected:
    // Two stored playlists besides the default one; "Two" holds a 4 s track second.
    void SetUp() override
    {
        LibraryHarness::SetUp();
        StoreList("One", {Fixture("tone.ogg")});
        two = StoreList("Two", {Fixture("tone.wav"), Fixture("long.ogg")});
        Restart();
    }

    Value StoreList(const String& name, const std::vector<std::string>& files)
    {
        const Value list = StoreNewList(name);
        for (size_t i = 0; i < files.size(); ++i) {
            const String title = std::filesystem::path(files[i]).stem().string();
            entries.push_back(StoreTrack(list, static_cast<int>(i), TrackFields{Value(files[i]), Value(title)}));
        }
        return list;
    }

    int ListRow(const String& name)
    {
        for (int row = 0; row < Lists().GetCount(); ++row)
            if (Lists().Get(row, LIST_NAME).ToString() == name)
                return row;
        return -1;
    }

    // Plays the track at `row` of the named playlist as a double-click does.
    void PlayTrack(const String& list, int row)
    {
        ASSERT_TRUE(Lists().SetCursor(ListRow(list)));
        ASSERT_TRUE(Tracks().SetCursor(row));
        Tracks().WhenLeftDouble();
        ASSERT_TRUE(Playback().Started());
    }

    // long.ogg of "Two", paused at 2000 ms, the middle.
    void PauseLongTrackInTheMiddle()
    {
        PlayTrack("Two", 1);
        Playback().Play();
        ASSERT_TRUE(parts->engine.IsPaused());
        parts->engine.SetPositionPercent(50.0f);
        ASSERT_EQ(parts->engine.GetPositionMs(), 2000u);
    }

    std::vector<String> Stored() { return Query("select VALUE from SETTINGS where KEY = 'ResumePlaying'"); }

    // Nothing plays and nothing was said: the start looks as if nothing had been remembered.
    void ExpectFreshStart()
    {
        EXPECT_FALSE(Playback().Started());
        EXPECT_FALSE(parts->engine.IsPlaying());
        EXPECT_EQ(Playback().PlayingList(), nullptr);
        EXPECT_TRUE(parts->info.IsIdle());
        EXPECT_EQ(Lists().GetCursor(), 0);
        EXPECT_TRUE(prompts.empty());
    }

    PlaybackControl& Playback() { return parts->playback; }

    Value two;
    std::vector<Value> entries;  // IDPLs in storing order
};

} // namespace

TEST_F(ResumeTest, AfterARestartTheTrackWaitsPausedWhereItWasAndPlayContinuesIt)
{
    PauseLongTrackInTheMiddle();
    Restart();

    // The list is shown, the row selected and highlighted, the track paused there.
    const int listRow = ListRow("Two");
    EXPECT_EQ(Lists().GetCursor(), listRow);
    GridCtrl& tracks = *Lib().TrackLists()[static_cast<size_t>(Lists().GetRowId(listRow))];
    EXPECT_EQ(parts->shown, &tracks);
    EXPECT_EQ(Playback().PlayingList(), &tracks);
    EXPECT_EQ(tracks.GetCursor(), 1);
    EXPECT_EQ(Playback().PlayingId(), entries[2].ToInt());
    ASSERT_NE(tracks.GetRowStyle(1), nullptr);
    EXPECT_EQ(tracks.GetRowStyle(1)->background, QColor(255, 255, 0));
    EXPECT_TRUE(Playback().Started());
    EXPECT_TRUE(parts->engine.IsPaused());
    EXPECT_EQ(parts->engine.GetPositionMs(), 2000u);

    // The window shows it as a paused track, before any tick has run.
    EXPECT_EQ(parts->info.GetTitle(), "long");
    EXPECT_EQ(parts->info.GetTime(), "00:02:00");
    EXPECT_FALSE(parts->info.IsIdle());
    EXPECT_FLOAT_EQ(parts->position.Get(), 50.0f);
    EXPECT_EQ(parts->play.icon().pixmap(ImgPlayForward().size()).toImage().convertToFormat(QImage::Format_ARGB32),
              ImgPlayForward().convertToFormat(QImage::Format_ARGB32));
    // Paused, it stays there.
    QTest::qWait(60);
    EXPECT_EQ(parts->info.GetTime(), "00:02:00");
    EXPECT_TRUE(prompts.empty());

    Playback().Play();
    EXPECT_FALSE(parts->engine.IsPaused());
    ASSERT_TRUE(QTest::qWaitFor([&] { return parts->engine.GetPositionMs() > 2050; }, 5000));
    EXPECT_GT(parts->position.Get(), 50.0f);
    EXPECT_EQ(Playback().PlayingId(), entries[2].ToInt());

    // Playback follows the resumed list: the row above is its first.
    Playback().PlayPrevious();
    EXPECT_EQ(Playback().PlayingId(), entries[1].ToInt());
}

TEST_F(ResumeTest, APlayingTrackIsRememberedAtItsPositionAndComesBackPaused)
{
    PlayTrack("One", 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return parts->engine.GetPositionMs() > 100; }, 5000));
    parts.reset();
    const std::vector<String> stored = Stored();
    ASSERT_EQ(stored.size(), 1u);
    const std::optional<ResumePoint> point = ParseResumeText(stored[0]);
    ASSERT_TRUE(point);
    EXPECT_EQ(point->entry, entries[0].ToInt64());
    EXPECT_GT(point->positionMs, 100u);
    EXPECT_LT(point->positionMs, 1000u);

    Start();
    EXPECT_EQ(Lists().GetCursor(), ListRow("One"));
    EXPECT_TRUE(parts->engine.IsPaused());
    EXPECT_EQ(parts->engine.GetPositionMs(), point->positionMs);
    EXPECT_EQ(parts->info.GetTitle(), "tone");
}

TEST_F(ResumeTest, NothingStartedAtExitRemembersNothing)
{
    // A stop forgets an earlier run's point too.
    PauseLongTrackInTheMiddle();
    Restart();
    ASSERT_TRUE(Playback().Started());
    Playback().StopPlayback();
    Restart();
    ExpectFreshStart();
    EXPECT_TRUE(Stored().empty());

    // The end of the list is not a track to come back to.
    PlayTrack("One", 0);
    parts->engine.SetPositionPercent(90.0f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Playback().Started(); }, 5000));
    Restart();
    ExpectFreshStart();
}

TEST_F(ResumeTest, ARemovedTrackOrPlaylistOrAFileGoneIsPassedOverSilently)
{
    const std::filesystem::path copy = dir.Path() / "copy.ogg";
    std::filesystem::copy_file(Fixture("long.ogg"), copy);
    StoreTrack(two, 2, TrackFields{Value(copy.string()), Value("copy")});
    Restart();

    struct Case {
        const char* what;
        std::function<void()> remove;
        int row;
    } cases[] = {
        {"file", [&] { std::filesystem::remove(copy); }, 2},
        {"track", [&] { Query("delete from PLAYLISTS where IDPL = " + entries[2].ToString()); }, 1},
        {"playlist", [&] { ASSERT_TRUE(RemoveList(two)); }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlayTrack("Two", c.row);
        parts.reset();
        c.remove();
        Start();
        ExpectFreshStart();
    }
}

TEST_F(ResumeTest, APositionBeyondTheTrackOrADamagedPointStartsNothingOdd)
{
    const String longTrack = two.ToString() + " " + entries[2].ToString();
    parts.reset();
    ASSERT_TRUE(StoreResumePoint(session, ParseResumeText(longTrack + " 4500")));
    Start();
    ASSERT_TRUE(Playback().Started());
    EXPECT_TRUE(parts->engine.IsPaused());
    EXPECT_EQ(parts->engine.GetPositionMs(), 0u);
    EXPECT_EQ(parts->info.GetTime(), "00:00:00");
    EXPECT_EQ(parts->position.Get(), 0.0f);

    for (const char* damaged : {"", "x", "1 2", "1 2 3 4", "1 2 -3", "1  2 3", " 1 2 3", "1 2 99999999999"}) {
        SCOPED_TRACE(damaged);
        EXPECT_FALSE(ParseResumeText(damaged));
        parts.reset();
        Query("update SETTINGS set VALUE = '" + String(damaged) + "' where KEY = 'ResumePlaying'");
        Start();
        ExpectFreshStart();
    }
    EXPECT_EQ(ParseResumeText(longTrack + " 17"), (ResumePoint{two.ToInt64(), entries[2].ToInt64(), 17}));
    EXPECT_EQ(ResumeText(ResumePoint{3, 4, 5}), "3 4 5");
}
