#pragma once

#include <string>

#include "playback/ReplayGain.h"

class AudioEngine;
class GridCtrl;

// Keeps the engine's gapless queue on the track that the end-of-track advance would
// start: the shown row below the cursor of the followed track grid. The queue is set a
// few seconds before the playing track ends and checked at every tick from then on, so
// a cursor moved, a row edited, moved or removed, or a search that hides rows makes it
// follow (another file queued) or go (nothing left to queue). Only the file is queued;
// which row the window shows stays the advance's decision. User-interface thread only.
class NextTrackQueue {
public:
    // How long before the end of the playing track the next one is opened.
    static constexpr int kQueueAheadMs = 4000;

    explicit NextTrackQueue(AudioEngine& engine) : engine_(engine) {}

    // From the tick while a track plays on `list` (null: nothing is followed); the next
    // track gets the loudness correction that `mode` gives its row.
    void Follow(GridCtrl* list, ReplayGainMode mode);
    // True when `row` of `list` holds the track that was queued.
    bool Holds(GridCtrl& list, int row) const;
    // A track started: what was tried for the one before does not count any more.
    void Forget();

private:
    bool Matches(GridCtrl& list, int row) const;

    AudioEngine& engine_;
    // The row last handed to the engine, by its id and file, and whether the engine took it.
    // A file that failed is not tried again at every tick; the advance reports it.
    int id_ = -1;
    std::string file_;
    bool tried_ = false;
    bool queued_ = false;
};
