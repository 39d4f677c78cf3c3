#include "app/Player.h"

#include <QApplication>
#include <QMenuBar>
#include <cstdio>
#include <cstdlib>

#include "app/ReplayGainChoice.h"
#include "data/Sql.h"
#include "ui/ButtonFace.h"
#include "ui/Images.h"
#include "ui/LanguageChange.h"
#include "ui/Translate.h"

namespace {

// The version and build time shown in the title.
constexpr const char* kVersion = "1.01";
constexpr int kBuildYear = 2006;
constexpr int kBuildMonth = 1;
constexpr int kBuildDay = 19;
constexpr int kBuildHour = 10;
constexpr int kBuildMinute = 9;

} // namespace

String Player::MakeTitle()
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%02d %d:%02d", kBuildYear, kBuildMonth, kBuildDay, kBuildHour,
                  kBuildMinute);
    return String("Quillon Player v.") + kVersion + " (" + stamp + ")";
}

// The layout's controls exist (base class) before playback and the library
// are given references to them; the engine exists before both but is only
// initialised in the body, before anything plays or reads a file.
Player::Player()
    : playback(engine, *this, PlaybackDisplays{play, position, volume, info},
               [this] { return library.SelectedTrackList(); }),
      library(*this, playback)
{
    // The engine has already shown its own message when it fails.
    if (engine.Init() < 0)
        std::exit(1);

    Icon(ImgIcon(), ImgLargeIcon());

    ApplyPlayerLayout();
    Title(MakeTitle());
    CancelButton(&exit);

    // Added after the minimum size is fixed, so the bar's height comes out of the controls' area.
    auto* menuBar = new QMenuBar;
    FillMenuBar(*menuBar, [this](Bar& bar) { MainMenu(bar); });
    AddMenuBar(menuBar);
    WatchLanguage(*this, [this] { Retranslate(); });

    SetFace(play, ImgPlayForward());
    SetFace(stop, ImgStop());
    SetFace(next, ImgNext());
    SetFace(prev, ImgPrev());

    library.WhenShowTrackList = [this](GridCtrl& tracks) { ShowTrackList(tracks); };
    library.LoadLibrary();
    if (SqlSession* session = SQL.GetSession())
        playback.SetReplayGainMode(LoadReplayGainMode(*session));

    splitter.SetPane(0, ListGrid);
    splitter.SetPane(1, *TrackLists.front());
    splitter.SetPos(kSplitterPos);
    ListGrid.GoFirst();
    library.ResumePlaying();

    Sizeable();
    MinimizeBox();
    MaximizeBox();

    position.label = Translate("Position");
    volume.label = Translate("Volume");
    ConnectActions();
    ConnectAdds();
    sight_.WhenChanged = [this](bool seen) { playback.SetWindowShown(seen); };
    volume.Set(engine.GetVolume());
    position.gradient = false;
    position.fillColor = QColor(200, 200, 240);
    volume.live = true;
}

Player::~Player() = default;

void Player::Retranslate()
{
    TranslateLayoutLabels();
    position.label = Translate("Position");
    volume.label = Translate("Volume");
    if (QMenuBar* menuBar = GetMenuBar())
        FillMenuBar(*menuBar, [this](Bar& bar) { MainMenu(bar); });
}

void Player::ConnectActions()
{
    QObject::connect(&play, &QPushButton::clicked, this, [this] { Play(); });
    QObject::connect(&stop, &QPushButton::clicked, this, [this] { StopPlayback(); });
    QObject::connect(&prev, &QPushButton::clicked, this, [this] { PlayPrevious(); });
    QObject::connect(&next, &QPushButton::clicked, this, [this] { PlayNext(); });
    position.WhenAction = [this] { Seek(); };
    volume.WhenAction = [this] { VolumeChanged(); };
}

void Player::ConnectAdds()
{
    BackgroundAdd& adds = library.Adds();
    adds.WhenProgress = [this](const BackgroundAdd::Progress& progress) {
        const AddProgressText text = MakeAddProgressText(progress.handled, progress.found, progress.path);
        addProgress.SetText(text.counts, text.where);
        if (addProgress.isHidden()) {
            info.hide();
            addProgress.show();
        }
    };
    adds.WhenIdle = [this] {
        const bool hadFocus = addProgress.isAncestorOf(QApplication::focusWidget()) || addProgress.hasFocus();
        addProgress.hide();
        info.show();
        if (hadFocus)
            library.CurrentTrackList().setFocus();
    };
    addProgress.WhenCancel = [this] { library.Adds().CancelCurrent(); };
}

void Player::ShowTrackList(GridCtrl& tracks)
{
    if (splitter.GetPane(0) != &ListGrid)
        splitter.SetPane(0, ListGrid);
    if (splitter.GetPane(1) != &tracks)
        splitter.SetPane(1, tracks);
}

void Player::Serialize(Stream& s)
{
    SerializePlacement(s);
    Files().Serialize(s);
    Folders().Serialize(s);
    splitter.Serialize(s);

    float percent = engine.GetVolume();
    s % percent;
    if (s.IsLoading() && !s.IsError()) {
        if (percent >= 0.0f && percent <= 100.0f) {
            engine.SetVolume(percent);
            volume.Set(percent);
        } else {
            s.SetError();  // also rejects NaN
        }
    }

    for (const auto& grid : TrackLists)
        SerializeColumns(s, *grid);
}

void Player::SerializeColumns(Stream& s, GridCtrl& grid)
{
    // One length-prefixed block per grid. A layout the grid refuses (damaged, or
    // made for other columns) fails the whole load, so the state held before it
    // comes back everywhere, not only in that grid.
    if (!grid.SerializeLayout(s) && s.IsLoading())
        s.SetError();
}
