#pragma once

#include <QPushButton>
#include <functional>
#include <memory>

#include "core/Value.h"
#include "playback/NextTrackQueue.h"
#include "playback/ReplayGain.h"

class AudioEngine;
class GridCtrl;
class QImage;
class ProgressButton;
class QObject;
class QSocketNotifier;
class StreamInfo;

// The controls playback keeps in step with the engine. They belong to the
// window; playback only writes to them.
struct PlaybackDisplays {
    QPushButton& play;
    ProgressButton& position;
    ProgressButton& volume;
    StreamInfo& info;
};

// Decides which track plays: playback follows one track grid (PlayingList),
// whose cursor row is the current track, and advances it when a track ends.
// Everything runs on the user-interface thread, including the two periodic
// time callbacks it keeps on the callback owner (tick and blink) and the
// engine's end notice, which the output thread raises and the user-interface
// thread's event loop hands over.
class PlaybackControl {
public:
    // `selectedList` gives the track grid of the selected playlist, or null
    // when no playlist is selected; it is asked only when nothing is followed yet.
    PlaybackControl(AudioEngine& engine, QObject& callbackOwner, PlaybackDisplays displays,
                    std::function<GridCtrl*()> selectedList);
    // Stops its time callbacks: nothing of playback runs after it.
    ~PlaybackControl();
    PlaybackControl(const PlaybackControl&) = delete;
    PlaybackControl& operator=(const PlaybackControl&) = delete;

    // Told after anything that may change what plays or how: a start, a pause
    // or resume, a stop, the end of the list.
    std::function<void()> WhenChanged;

    // Starts the cursor track, or pauses and resumes a started one.
    void Play();
    // Stops and resets the displays; the followed list and track stay.
    void StopPlayback();
    // Moves the cursor one shown row up or down, then stops and plays; on the
    // first or last shown row the track starts again.
    void PlayPrevious();
    void PlayNext();
    // Double-click or Enter in a track grid: follow the selected playlist from now on.
    void PlaySelected();
    // Follows `list` and has its `row` wait paused at positionMs (at the start
    // when that lies beyond the track's end), shown as a paused track: the
    // cursor on the row, its highlight, title, time and bar. Play continues it.
    // A file that cannot be opened changes nothing and says nothing: false.
    bool ResumePaused(GridCtrl& list, int row, unsigned positionMs);
    // The position bar was released / the volume bar pressed or dragged.
    void Seek();
    void VolumeChanged();

    // Time callback 0: position display and the advance at the end of a track.
    void Tick();
    // The window is seen (true), or minimised, hidden or not exposed (false). Unseen,
    // the tick draws nothing and looks at the engine only seldom (to queue the next
    // track in time); the end of a track comes with the engine's end notice and is
    // handled as the tick would have. Seen again, the tick resumes at its pace and the
    // displays are brought up to date at once. A window is taken as seen until told.
    void SetWindowShown(bool shown);
    bool WindowShown() const { return shown_; }
    // Time callback 1: alternates the play button's two faces of the current state.
    void Blink();
    // The data row of PlayingList holding the track with PlayingId; -1 when none does.
    int FindPlayingRow() const;

    // The library removes a playlist's track grid: when it is the followed one,
    // playback stops and forgets it, so nothing refers to the grid afterwards.
    void ListRemoved(const GridCtrl& tracks);
    // The library removes a track: the one last started stops playback, playing or not.
    void TrackRemoved(const Value& id);

    // The loudness correction from now on; the playing track takes it at once.
    void SetReplayGainMode(ReplayGainMode mode);
    ReplayGainMode GetReplayGainMode() const { return gainMode_; }

    // A track was started and not stopped or played to the end of the list.
    bool Started() const { return started_; }
    // The "Id" cell of the track last started; -1 before any.
    int PlayingId() const { return playingId_; }
    // The track grid playback follows; null before the first play and after PlaySelected.
    GridCtrl* PlayingList() const { return playingList_; }
    // The started track's position in milliseconds; 0 when none is started.
    unsigned PositionMs() const;

private:
    // PlayingList, taking the selected playlist's grid when none is followed yet.
    GridCtrl* FollowedList();
    void RemovePlayingHighlight();
    // What every start shares once the engine has the track of `row`: the
    // playing state, the title, the time callbacks and the row's highlight.
    void ShowStarted(GridCtrl& list, int row, const QImage& face);
    void ShowPlayingPosition();
    // Arms time callback 0 at the pace the window's visibility asks for.
    void StartTick();
    // The tick's step at the end of a track: the queued track takes over, the row
    // below the cursor starts, or the list is finished.
    void EndOfTrack();
    // The engine's end notice: watched from the first start on.
    void WatchEndNotice();
    void EndNoticed();
    // The output may have gone on to the queued track since the last tick; a user's
    // command acts on the track that is heard, so the switch is taken first.
    void CatchUpWithOutput();
    // The end of the last shown row: stops the sound but keeps what the displays show.
    void FinishList();
    // The queued track took over at the end of the last one: the window advances as the
    // end-of-track advance does, but the engine plays on. False when nothing was queued.
    bool AdvanceToQueuedTrack();
    void NotifyChanged();

    AudioEngine& engine_;
    QObject& callbackOwner_;
    PlaybackDisplays displays_;
    std::function<GridCtrl*()> selectedList_;

    bool started_ = false;
    int playingId_ = -1;
    GridCtrl* playingList_ = nullptr;
    ReplayGainMode gainMode_ = kDefaultReplayGainMode;
    NextTrackQueue nextTrack_{engine_};
    bool shown_ = true;
    std::unique_ptr<QSocketNotifier> endNotice_;
    // The position whose time text the panel shows; none after a start.
    static constexpr unsigned kNoneShown = ~0u;
    unsigned shownMs_ = kNoneShown;
};
