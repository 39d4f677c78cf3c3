#include <filesystem>

#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>

#include "PlayerFixture.h"
#include "app/Config.h"
#include "library/MusicFiles.h"
#include "ui/Images.h"

namespace {

// Where a pin puts a control in the client area of the given size.
QRect Expected(const QWidget& client, const Pin& h, const Pin& v)
{
    const QSizeF zoom = LayoutZoom();
    const Span x = PlacePin(h, client.width(), zoom.width());
    const Span y = PlacePin(v, client.height(), zoom.height());
    return QRect(x.pos, y.pos, x.size, y.size);
}

} // namespace

TEST_F(PlayerTest, ConstructionGivesTheDesignedWindow)
{
    Player player;
    EXPECT_EQ(player.GetTitle(), "Quillon Player v.1.01 (2006-01-19 10:09)");
    EXPECT_EQ(player.minimumSize(), ZoomSize(Player::kDesignSize, LayoutZoom()));
    EXPECT_EQ(player.size(), player.minimumSize());
    EXPECT_EQ(player.exit.text(), "Exit");
    EXPECT_EQ(player.totray.text(), "To tray");
    EXPECT_EQ(player.position.label, "Position");
    EXPECT_EQ(player.volume.label, "Volume");
    EXPECT_FALSE(player.position.gradient);
    EXPECT_EQ(player.position.fillColor, QColor(200, 200, 240));
    EXPECT_TRUE(player.volume.gradient);
    EXPECT_TRUE(player.volume.live);
    EXPECT_FALSE(player.position.live);
    EXPECT_FLOAT_EQ(player.volume.Get(), player.Engine().GetVolume());
    EXPECT_EQ(player.info.GetTitle(), "Quillon Player");
    EXPECT_TRUE(player.info.IsIdle());
    EXPECT_EQ(player.play.iconSize(), ImgPlayForward().size());
    EXPECT_FALSE(player.windowIcon().isNull());
    EXPECT_EQ(player.splitter.GetPos(), 2000);
    EXPECT_EQ(player.splitter.GetPane(0), &player.ListGrid);
    ASSERT_FALSE(player.TrackLists.empty());
    EXPECT_EQ(player.splitter.GetPane(1), player.TrackLists.front().get());
    EXPECT_EQ(player.PlayingId(), -1);
    EXPECT_FALSE(player.Started());
    EXPECT_EQ(player.PlayingList(), nullptr);
    EXPECT_TRUE(player.Files().IsMulti());
    EXPECT_EQ(player.Files().GetTypes(), MusicFileTypes());
}

TEST_F(PlayerTest, ControlsArePinnedAndStretchWithTheWindow)
{
    Player player;
    player.show();
    QWidget& client = player.Client();
    const int bar = player.GetMenuBar()->height();
    EXPECT_GT(bar, 0);
    // At the minimum size the controls' area is the menu bar's height short of the design.
    EXPECT_EQ(client.size(), QSize(player.minimumSize().width(), player.minimumSize().height() - bar));

    struct Placed {
        QWidget* w;
        Pin h, v;
    };
    const std::vector<Placed> controls = {
        {&player.splitter, Pin::Stretch(4, 4), Pin::Stretch(4, 60)},
        {&player.play, Pin::Start(4, 56), Pin::End(4, 52)},
        {&player.stop, Pin::Start(64, 36), Pin::End(4, 52)},
        {&player.prev, Pin::End(132, 60), Pin::End(4, 24)},
        {&player.next, Pin::End(72, 56), Pin::End(4, 24)},
        {&player.position, Pin::Stretch(104, 196), Pin::End(34, 20)},
        {&player.volume, Pin::End(72, 120), Pin::End(34, 20)},
        {&player.exit, Pin::End(4, 64), Pin::End(32, 24)},
        {&player.totray, Pin::End(4, 64), Pin::End(4, 24)},
        {&player.info, Pin::Stretch(104, 196), Pin::End(4, 28)},
    };
    for (const Placed& c : controls)
        EXPECT_EQ(c.w->geometry(), Expected(client, c.h, c.v)) << c.w->metaObject()->className();

    std::vector<QRect> before;
    for (const Placed& c : controls)
        before.push_back(c.w->geometry());
    player.resize(player.width() + 200, player.height() + 50);
    const int right = client.width(), bottom = client.height();
    for (size_t i = 0; i < controls.size(); ++i) {
        const QRect now = controls[i].w->geometry();
        const QRect was = before[i];
        if (i == 0) {  // the splitter stretches both ways
            EXPECT_EQ(now.size(), was.size() + QSize(200, 50));
            continue;
        }
        EXPECT_EQ(bottom - now.bottom(), bottom - 50 - was.bottom());
        if (controls[i].h.kind == Pin::Both) {  // position and info widen
            EXPECT_EQ(now.left(), was.left());
            EXPECT_EQ(now.width(), was.width() + 200);
        } else if (controls[i].h.kind == Pin::EndSize) {  // right-pinned keep their right margin
            EXPECT_EQ(right - now.right(), right - 200 - was.right());
            EXPECT_EQ(now.size(), was.size());
        } else {
            EXPECT_EQ(now, was.translated(0, 50));
        }
    }
    // The splitter keeps the list pane at a fifth of its width.
    const int listWidth = player.ListGrid.width();
    EXPECT_NEAR(listWidth, (player.splitter.width() - player.splitter.handleWidth()) / 5, 2);
}

TEST_F(PlayerTest, EscapeExitAndTheExitEntryClose_EnterAndToTrayDoNot)
{
    Player player;
    EXPECT_EQ(RunWhile(player, [&] { QTest::keyClick(&player, Qt::Key_Escape); }), TopWindow::IDCANCEL);
    EXPECT_EQ(RunWhile(player, [&] { player.exit.click(); }), TopWindow::IDCANCEL);
    EXPECT_EQ(RunWhile(player, [&] { player.close(); }), TopWindow::IDCANCEL);

    Bar files;
    player.FilesMenu(files);
    ASSERT_EQ(files.Items().back().GetText(), "Exit");
    EXPECT_EQ(RunWhile(player, [&] { files.Items().back().GetAction()(); }), TopWindow::IDCANCEL);

    const std::string before = Record(player);
    const int code = RunWhile(player, [&] {
        QTest::keyClick(&player, Qt::Key_Return);
        QTest::keyClick(&player, Qt::Key_Enter);
        player.totray.click();
        QTimer::singleShot(50, &player, [&] { player.Break(TopWindow::IDOK); });
    });
    EXPECT_EQ(code, TopWindow::IDOK);
    EXPECT_EQ(Record(player), before);
}

// What the language entries do is LanguageTest's, the playback entries PlaybackMenuTest's.
TEST_F(PlayerTest, MenusHaveTheirEntries)
{
    Player player;
    Bar main;
    player.MainMenu(main);
    ASSERT_EQ(main.Items().size(), 3u);
    EXPECT_EQ(main.Items()[0].GetText(), "Files");
    EXPECT_EQ(main.Items()[1].GetText(), "Playback");
    EXPECT_EQ(main.Items()[2].GetText(), "Language");
    EXPECT_TRUE(main.Items()[0].IsSubMenu());

    Bar files;
    main.Items()[0].GetSubMenu()(files);
    std::vector<std::string> texts;
    for (const BarItem& item : files.Items())
        texts.push_back(item.IsSeparator() ? "-" : item.GetText());
    EXPECT_EQ(texts, (std::vector<std::string>{"Load", "Save as", "-", "Import", "Export", "-", "Exit"}));
    Bar language;
    main.Items()[2].GetSubMenu()(language);
    ASSERT_EQ(language.Items().size(), 2u);
    EXPECT_EQ(language.Items()[0].GetText(), "English");
    EXPECT_EQ(language.Items()[1].GetText(), "Polski");

    // The menu bar shows the three drop-downs.
    ASSERT_EQ(player.GetMenuBar()->actions().size(), 3);
    EXPECT_EQ(player.GetMenuBar()->actions()[0]->text(), "Files");
}

TEST_F(PlayerTest, RecordRoundTripsPlacementSplitterAndVolume)
{
    std::string stored;
    {
        Player player;
        Arrange(player);
        stored = WrapConfig(Record(player));
    }
    Player loaded;
    loaded.Engine().SetVolume(80.0f);
    EXPECT_TRUE(LoadConfigData(stored, [&](Stream& s) { loaded.Serialize(s); }));
    ExpectArranged(loaded);
}

TEST_F(PlayerTest, AVolumeSetInOneRunIsThereInTheNext)
{
    const std::string config = dir.File("player.cfg");
    float chosen = 0;
    {
        Player player;
        player.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&player));
        ProgressButton& bar = player.volume;
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() / 2));
        // The bar acts on the press and on every move, before the release.
        EXPECT_NEAR(player.Engine().GetVolume(), 50.0f, 1.0f);
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, bar.height() / 2));
        chosen = player.Engine().GetVolume();
        ASSERT_TRUE(StoreConfig(config, [&](Stream& s) { player.Serialize(s); }));
    }
    Player player;
    EXPECT_FLOAT_EQ(player.Engine().GetVolume(), 100.0f);
    ASSERT_TRUE(LoadConfig(config, [&](Stream& s) { player.Serialize(s); }));
    EXPECT_FLOAT_EQ(player.Engine().GetVolume(), chosen);
    EXPECT_FLOAT_EQ(player.volume.Get(), chosen);
}

TEST_F(PlayerTest, ARecordForAnotherNumberOfTrackGridsRestoresEveryDefault)
{
    std::string stored;
    {
        Player player;
        player.NewTrackList();
        player.splitter.SetPos(6000);
        player.Engine().SetVolume(10.0f);
        player.resize(player.width() + 300, player.height());
        stored = WrapConfig(Record(player));
    }
    Player loaded;
    loaded.Engine().SetVolume(70.0f);
    const QSize size = loaded.size();
    EXPECT_FALSE(LoadConfigData(stored, [&](Stream& s) { loaded.Serialize(s); }));
    EXPECT_EQ(loaded.splitter.GetPos(), 2000);
    EXPECT_NEAR(loaded.Engine().GetVolume(), 70.0f, 0.01);
    EXPECT_NEAR(loaded.volume.Get(), 70.0f, 0.01);
    EXPECT_EQ(loaded.size(), size);
}

TEST_F(PlayerTest, AColumnLayoutTheGridRefusesRestoresEveryDefault)
{
    std::string stored;
    {
        Player player;
        player.splitter.SetPos(6000);
        player.Engine().SetVolume(10.0f);
        // A well-formed record whose track-grid block holds a layout made for
        // other columns: the playlists grid's.
        ASSERT_EQ(player.TrackLists.size(), 1u);
        std::string record = Record(player);
        const std::string tracksBlock = Block(player.TrackLists[0]->StoreLayout());
        ASSERT_EQ(record.substr(record.size() - tracksBlock.size()), tracksBlock);
        record.replace(record.size() - tracksBlock.size(), tracksBlock.size(), Block(player.ListGrid.StoreLayout()));
        stored = WrapConfig(record);
    }
    Player loaded;
    loaded.Engine().SetVolume(70.0f);
    EXPECT_FALSE(LoadConfigData(stored, [&](Stream& s) { loaded.Serialize(s); }));
    EXPECT_EQ(loaded.splitter.GetPos(), 2000);
    EXPECT_NEAR(loaded.Engine().GetVolume(), 70.0f, 0.01);
    EXPECT_NEAR(loaded.volume.Get(), 70.0f, 0.01);
}

TEST_F(PlayerTest, AnAddShowsItsProgressInThePanelsPlaceAndEscapeOnItCancels)
{
    const std::filesystem::path many = dir.Path() / "many";
    for (int i = 0; i < 3000; ++i) {
        const std::filesystem::path folder = many / ("cd" + std::to_string(i / 100));
        std::filesystem::create_directories(folder);
        std::filesystem::copy_file(std::filesystem::path(QP_FIXTURES) / "tone.mp3",
                                   folder / ("t" + std::to_string(i) + ".mp3"));
    }
    Player player;
    player.show();
    EXPECT_TRUE(player.addProgress.isHidden());
    Answer(std::vector<String>{many.string()});
    player.AddFolder(true);
    QElapsedTimer waited;
    waited.start();
    while (player.CurrentTrackList().GetCount() == 0 && waited.elapsed() < 30000)
        QTest::qWait(1);
    ASSERT_TRUE(player.library.Adds().Busy()) << "the add ended before it could be cancelled";

    EXPECT_TRUE(player.info.isHidden());
    EXPECT_FALSE(player.addProgress.isHidden());
    EXPECT_EQ(player.addProgress.geometry(), Expected(player.Client(), Pin::Stretch(104, 196), Pin::End(4, 28)));
    EXPECT_EQ(player.addProgress.GetText().rfind("Adding ", 0), 0u) << player.addProgress.GetText();

    player.addProgress.CancelButton().setFocus();
    QTest::keyClick(&player.addProgress.CancelButton(), Qt::Key_Escape);
    EXPECT_FALSE(player.library.Adds().Busy());
    EXPECT_TRUE(player.addProgress.isHidden());
    EXPECT_FALSE(player.info.isHidden());
    EXPECT_TRUE(player.isVisible());  // Escape on the progress line cancels the add, not the window
    EXPECT_TRUE(prompts.empty());
    const int kept = player.CurrentTrackList().GetCount();
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 3000);
}

// Playback is told whether anybody can see the window: shown, minimised, restored, hidden.
TEST_F(PlayerTest, PlaybackFollowsWhetherTheWindowCanBeSeen)
{
    Player player;
    EXPECT_TRUE(player.playback.WindowShown()) << "taken as seen until the window says otherwise";
    player.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&player));
    EXPECT_TRUE(player.playback.WindowShown());
    player.showMinimized();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.playback.WindowShown(); }, 2000));
    player.showNormal();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.playback.WindowShown(); }, 2000));
    player.hide();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !player.playback.WindowShown(); }, 2000));
    player.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return player.playback.WindowShown(); }, 2000));
}
