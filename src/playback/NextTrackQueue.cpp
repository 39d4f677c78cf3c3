#include "playback/NextTrackQueue.h"

#include "playback/AudioEngine.h"
#include "playback/TrackColumns.h"
#include "ui/GridCtrl.h"

void NextTrackQueue::Follow(GridCtrl* list, ReplayGainMode mode)
{
    if (!list)
        return;
    const int left = engine_.CurrentLengthMs() - static_cast<int>(engine_.GetPositionMs());
    if (left > kQueueAheadMs && !engine_.HasQueued())
        return;
    const int row = list->NextShownRow();
    if (row < 0) {
        // The last shown row plays: the advance will stop, so nothing may follow.
        engine_.DropQueued();
        Forget();
        return;
    }
    // The engine drops its queue when it stops or plays another file.
    if (tried_ && Matches(*list, row) && queued_ == engine_.HasQueued())
        return;
    id_ = list->Get(row, TRACK_ID).ToInt();
    file_ = list->Get(row, TRACK_FILE).ToString();
    tried_ = true;
    queued_ = engine_.QueueNext(file_, GainTagsForRow(mode, *list, row));
}

bool NextTrackQueue::Holds(GridCtrl& list, int row) const { return queued_ && Matches(list, row); }

void NextTrackQueue::Forget()
{
    id_ = -1;
    file_.clear();
    tried_ = false;
    queued_ = false;
}

bool NextTrackQueue::Matches(GridCtrl& list, int row) const
{
    return row >= 0 && list.Get(row, TRACK_ID).ToInt() == id_ && list.Get(row, TRACK_FILE).ToString() == file_;
}
