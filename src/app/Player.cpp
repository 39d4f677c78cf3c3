#include "app/Player.h"

#include <QMenuBar>
#include <cstdio>
#include <cstdlib>

#include "data/Sql.h"
#include "library/LibraryDb.h"
#include "ui/Images.h"
#include "ui/WaitCursor.h"

namespace {

// The version and build time shown in the title.
constexpr const char* kVersion = "1.01";
constexpr int kBuildYear = 2006;
constexpr int kBuildMonth = 1;
constexpr int kBuildDay = 19;
constexpr int kBuildHour = 10;
constexpr int kBuildMinute = 9;

} // namespace

void SetFace(QPushButton& button, const QImage& image)
{
    button.setIcon(QIcon(QPixmap::fromImage(image)));
    button.setIconSize(image.size());
}

String Player::MakeTitle()
{
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%02d %d:%02d", kBuildYear, kBuildMonth, kBuildDay, kBuildHour,
                  kBuildMinute);
    return String("Quillon Player v.") + kVersion + " (" + stamp + ")";
}

Player::Player()
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

    SetFace(play, ImgPlayForward());
    SetFace(stop, ImgStop());
    SetFace(next, ImgNext());
    SetFace(prev, ImgPrev());

    SetupListGrid();
    LoadLibrary();

    splitter.SetPane(0, ListGrid);
    splitter.SetPane(1, *TrackLists.front());
    splitter.SetPos(kSplitterPos);
    ListGrid.GoFirst();

    Sizeable();
    MinimizeBox();
    MaximizeBox();

    position.label = "Position";
    volume.label = "Volume";
    ConnectActions();
    volume.Set(engine.GetVolume());
    position.gradient = false;
    position.fillColor = QColor(200, 200, 240);
    volume.live = true;

    fileSelector.Type("Music (*.mp3 *.mp2 *.ogg *.wma *.wav *.asf)", "*.mp3 *.mp2 *.ogg *.wma *.wav *.asf");
    fileSelector.Multi();
    folderSelector.Multi();
}

Player::~Player()
{
    SavePositions();
    // The members then go in reverse order: ListGrid, the track grids, the
    // editor, the selectors and last the engine, whose destructor closes the
    // audio library once nothing can use it any more.
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

void Player::SavePositions()
{
    SqlSession* session = SQL.GetSession();
    if (!session || !session->IsOpen())
        return;
    WaitCursor wait;
    std::vector<ListOrder> order;
    for (int row = 0; row < ListGrid.GetCount(); ++row) {
        ListOrder list{ListGrid.Get(row, 0), {}};
        const int id = ListGrid.GetRowId(row);
        if (id >= 0 && id < static_cast<int>(TrackLists.size())) {
            GridCtrl& tracks = *TrackLists[static_cast<size_t>(id)];
            for (int t = 0; t < tracks.GetCount(); ++t)
                list.entries.push_back(tracks.Get(t, 0));
        }
        order.push_back(std::move(list));
    }
    ::SavePositions(*session, order);
}

void Player::Serialize(Stream& s)
{
    SerializePlacement(s);
    fileSelector.Serialize(s);
    folderSelector.Serialize(s);
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

    for (auto& grid : TrackLists)
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
