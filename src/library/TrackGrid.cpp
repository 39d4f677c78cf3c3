// Making the track grid of one playlist.

#include "app/Player.h"
#include "library/LibraryGrids.h"

GridCtrl& Player::NewTrackList(int index)
{
    auto grid = std::make_unique<GridCtrl>(this);
    grid->hide();  // shown when its playlist is selected
    ConfigureTrackGrid(*grid);
    grid->WhenMenuBar = [this](Bar& bar) { TrackMenu(bar); };
    grid->WhenRemoveRow = [this] { TrackRemoving(); };
    grid->WhenLeftDouble = [this] { PlaySelected(); };
    grid->WhenEnter = [this] { PlaySelected(); };
    grid->AppendAction = [this] { ShowTrackAddMenu(); };
    GridCtrl& made = *grid;
    if (index < 0 || index >= static_cast<int>(TrackLists.size()))
        TrackLists.push_back(std::move(grid));
    else
        TrackLists.insert(TrackLists.begin() + index, std::move(grid));
    return made;
}
