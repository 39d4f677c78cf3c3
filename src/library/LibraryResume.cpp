// Resuming at the next start where playback stood when the player closed.

#include "data/Sql.h"
#include "library/Library.h"
#include "library/LibraryGrids.h"
#include "library/ResumePoint.h"
#include "playback/PlaybackControl.h"
#include "playback/TrackColumns.h"

namespace {

// The display row whose cell holds the key; -1 when none does.
int FindRow(GridCtrl& grid, int column, int64_t key)
{
    for (int row = 0; row < grid.GetCount(); ++row) {
        const Value& cell = grid.Get(row, column);
        if (!cell.IsNull() && cell.ToInt64() == key)
            return row;
    }
    return -1;
}

}  // namespace

void Library::RememberPlaying()
{
    SqlSession* session = SQL.GetSession();
    if (!session)
        return;
    std::optional<ResumePoint> point;
    // A finished list or a stopped track leaves nothing to resume.
    if (GridCtrl* tracks = playback_.Started() ? playback_.PlayingList() : nullptr) {
        const Value list = ListIdOf(*tracks);
        const Value entry = tracks->Get(playback_.FindPlayingRow(), TRACK_ID);
        if (!list.IsNull() && !entry.IsNull())
            point = ResumePoint{list.ToInt64(), entry.ToInt64(), playback_.PositionMs()};
    }
    // Refused, the point of an earlier run may stay; it names a track that was
    // played, so resuming there does no harm, and nothing shown is lost.
    StoreResumePoint(*session, point);
}

void Library::ResumePlaying()
{
    SqlSession* session = SQL.GetSession();
    if (!session)
        return;
    const std::optional<ResumePoint> point = LoadResumePoint(*session);
    if (!point)
        return;
    // A playlist or track removed since, or a file gone, is passed over without a word.
    const int listRow = FindRow(ListGrid, LIST_ID, point->list);
    const int k = ListGrid.GetRowId(listRow);
    if (k < 0 || k >= static_cast<int>(trackLists_.size()))
        return;
    GridCtrl& tracks = *trackLists_[k];
    const int trackRow = FindRow(tracks, TRACK_ID, point->entry);
    if (trackRow < 0 || !playback_.ResumePaused(tracks, trackRow, point->positionMs))
        return;
    ListGrid.SetCursor(listRow);
}
