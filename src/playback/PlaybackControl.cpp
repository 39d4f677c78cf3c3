#include "playback/PlaybackControl.h"

#include <QFont>
#include <QSocketNotifier>
#include <utility>

#include "playback/AudioEngine.h"
#include "playback/ConvMs.h"
#include "playback/PlaybackState.h"
#include "playback/ProgressButton.h"
#include "playback/StreamInfo.h"
#include "playback/TrackColumns.h"
#include "ui/ButtonFace.h"
#include "ui/GridCtrl.h"
#include "ui/Images.h"
#include "ui/TimeCallback.h"

int blinkPhase = 0;

namespace {

// The look of the playing row: yellow background, bold 14-pixel Arial.
GridRowStyle PlayingRowStyle()
{
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    font.setBold(true);
    GridRowStyle style;
    style.background = QColor(255, 255, 0);
    style.font = font;
    return style;
}

}  // namespace

PlaybackControl::PlaybackControl(AudioEngine& engine, QObject& callbackOwner, PlaybackDisplays displays,
                                 std::function<GridCtrl*()> selectedList)
    : engine_(engine), callbackOwner_(callbackOwner), displays_(displays), selectedList_(std::move(selectedList))
{
}

PlaybackControl::~PlaybackControl()
{
    KillTimeCallback(&callbackOwner_, TICK_CALLBACK);
    KillTimeCallback(&callbackOwner_, BLINK_CALLBACK);
}

GridCtrl* PlaybackControl::FollowedList()
{
    // Without a selected playlist there is nothing to follow.
    if (!playingList_ && selectedList_)
        playingList_ = selectedList_();
    return playingList_;
}

void PlaybackControl::Play()
{
    CatchUpWithOutput();
    if (started_) {
        // TogglePause returns the state before the toggle: true means it plays again.
        SetFace(displays_.play, engine_.TogglePause() ? ImgPause() : ImgPlayForward());
        NotifyChanged();
        return;
    }
    GridCtrl* list = FollowedList();
    if (!list)
        return;
    const int row = list->GetCursor();
    if (row < 0)
        return;
    // On failure the engine has shown its message; the player stays as it is.
    if (!engine_.PlayFile(list->Get(row, TRACK_FILE).ToString(), GainTagsForRow(gainMode_, *list, row)))
        return;
    ShowStarted(*list, row, ImgPause());
}

bool PlaybackControl::ResumePaused(GridCtrl& list, int row, unsigned positionMs)
{
    if (row < 0 || row >= list.GetCount())
        return false;
    StopPlayback();
    if (!engine_.OpenPaused(list.Get(row, TRACK_FILE).ToString(), positionMs, GainTagsForRow(gainMode_, list, row)))
        return false;
    playingList_ = &list;
    list.SetCursor(row);
    ShowStarted(list, row, ImgPlayForward());
    // Shown at once: a paused track's time and bar never change by themselves.
    ShowPlayingPosition();
    return true;
}

void PlaybackControl::ShowStarted(GridCtrl& list, int row, const QImage& face)
{
    // After the end of the list the last row keeps its highlight; a track
    // started from there on another row takes it over.
    RemovePlayingHighlight();

    nextTrack_.Forget();
    playingId_ = list.Get(row, TRACK_ID).ToInt();
    started_ = true;
    SetFace(displays_.play, face);
    displays_.info.SetTitle(list.Get(row, TRACK_TITLE).ToString());

    shownMs_ = kNoneShown;
    StartTick();
    WatchEndNotice();
    KillTimeCallback(&callbackOwner_, BLINK_CALLBACK);
    SetTimeCallback(&callbackOwner_, BLINK_CALLBACK, kBlinkPeriodMs, [this] { Blink(); });

    list.SetRowStyle(row, PlayingRowStyle());
    NotifyChanged();
}

void PlaybackControl::StopPlayback()
{
    // The blink callback keeps running; it does nothing while nothing is started.
    KillTimeCallback(&callbackOwner_, TICK_CALLBACK);
    engine_.FreeCurrent();
    SetFace(displays_.play, ImgPlayForward());
    displays_.info.Clear();
    displays_.position.Set(0);
    started_ = false;
    RemovePlayingHighlight();
    NotifyChanged();
}

void PlaybackControl::RemovePlayingHighlight()
{
    if (!playingList_)
        return;
    // The user may have moved the playing row, so it is found by its id.
    const int row = FindPlayingRow();
    if (row >= 0 && playingList_->GetRowStyle(row))
        playingList_->ResetRowStyle(row);
}

int PlaybackControl::FindPlayingRow() const
{
    if (!playingList_)
        return -1;
    for (int row = 0; row < playingList_->GetCount(); ++row)
        if (playingList_->Get(row, TRACK_ID).ToInt() == playingId_)
            return row;
    return -1;
}

void PlaybackControl::PlaySelected()
{
    StopPlayback();
    playingList_ = nullptr;
    Play();
}

void PlaybackControl::PlayNext()
{
    CatchUpWithOutput();
    GridCtrl* list = FollowedList();
    if (!list)
        return;
    // The grid refuses to move past the last shown row, where the track starts again.
    list->GoNext();
    StopPlayback();
    Play();
}

void PlaybackControl::PlayPrevious()
{
    CatchUpWithOutput();
    GridCtrl* list = FollowedList();
    if (!list)
        return;
    // Likewise above the first shown row.
    list->GoPrev();
    StopPlayback();
    Play();
}

void PlaybackControl::Tick()
{
    // A paused channel still counts as playing, so pausing never advances.
    if (engine_.IsPlaying()) {
        ShowPlayingPosition();
        nextTrack_.Follow(playingList_, gainMode_);
        return;
    }
    EndOfTrack();
}

void PlaybackControl::StartTick()
{
    KillTimeCallback(&callbackOwner_, TICK_CALLBACK);
    SetTimeCallback(&callbackOwner_, TICK_CALLBACK, shown_ ? kTickPeriodMs : kUnseenTickPeriodMs, [this] { Tick(); });
}

void PlaybackControl::SetWindowShown(bool shown)
{
    if (shown == shown_)
        return;
    shown_ = shown;
    if (!started_)
        return;
    StartTick();
    // The end of a track, if any, is the end notice's (or the next tick's) to handle.
    if (engine_.IsPlaying())
        ShowPlayingPosition();
}

void PlaybackControl::WatchEndNotice()
{
    if (endNotice_)
        return;
    const int fd = engine_.EndNoticeFd();
    if (fd < 0)
        return;
    endNotice_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    QObject::connect(endNotice_.get(), &QSocketNotifier::activated, endNotice_.get(), [this] { EndNoticed(); });
}

void PlaybackControl::EndNoticed()
{
    engine_.ClearEndNotice();
    // The end of a channel that is not the current one, or an end the tick has
    // handled already, leaves the engine playing.
    if (started_ && !engine_.IsPlaying())
        EndOfTrack();
}

void PlaybackControl::CatchUpWithOutput()
{
    if (started_ && engine_.HasQueued() && !engine_.IsPlaying())
        EndOfTrack();
}

void PlaybackControl::EndOfTrack()
{
    if (AdvanceToQueuedTrack())
        return;
    // The next track is the shown row below the cursor, wherever the user has
    // put it. Rows hidden by a search do not count: below the last shown row
    // the list has ended, whatever is stored after it.
    if (playingList_ && playingList_->GoNext()) {
        StopPlayback();
        Play();
        return;
    }
    FinishList();
}

bool PlaybackControl::AdvanceToQueuedTrack()
{
    if (!playingList_ || !engine_.TakeQueued())
        return false;
    const int row = playingList_->NextShownRow();
    if (!nextTrack_.Holds(*playingList_, row)) {
        // The list changed within the last tick: the advance below starts its own row afresh.
        engine_.FreeCurrent();
        return false;
    }
    // As StopPlayback and Play would leave it, without stopping the sound.
    playingList_->GoNext();
    displays_.position.Set(0);
    ShowStarted(*playingList_, row, ImgPause());
    ShowPlayingPosition();
    return true;
}

void PlaybackControl::FinishList()
{
    // The title, time, bar and highlight stay as they were.
    KillTimeCallback(&callbackOwner_, TICK_CALLBACK);
    engine_.FreeCurrent();
    SetFace(displays_.play, ImgPlayForward());
    started_ = false;
    NotifyChanged();
}

void PlaybackControl::NotifyChanged()
{
    if (WhenChanged)
        WhenChanged();
}

void PlaybackControl::ShowPlayingPosition()
{
    // Unseen, the displays are brought up to date when the window is shown again.
    if (!shown_)
        return;
    // Only what changed is set: the engine's position moves once per output
    // buffer, a few times slower than the tick, and not at all while paused.
    const unsigned ms = engine_.GetPositionMs();
    ProgressButton& position = displays_.position;
    if (!position.HasCapture()) {
        const auto percent = static_cast<float>(engine_.PercentAt(ms));
        if (percent != position.Get())
            position.Set(percent);
    }
    StreamInfo& info = displays_.info;
    if (ms != shownMs_ || info.IsIdle()) {
        info.SetTime(FormatMs(static_cast<int>(ms)));
        shownMs_ = ms;
    }
}

unsigned PlaybackControl::PositionMs() const
{
    return started_ ? engine_.GetPositionMs() : 0;
}

void PlaybackControl::Blink()
{
    if (!started_)
        return;
    const bool paused = engine_.IsPaused();
    if (blinkPhase != 0)
        SetFace(displays_.play, paused ? ImgPlayForward() : ImgPause());
    else
        SetFace(displays_.play, paused ? ImgPlayForwardFlash() : ImgPauseFlash());
    blinkPhase = 1 - blinkPhase;
}

void PlaybackControl::Seek()
{
    CatchUpWithOutput();
    engine_.SetPositionPercent(displays_.position.Get());
}

void PlaybackControl::SetReplayGainMode(ReplayGainMode mode)
{
    CatchUpWithOutput();
    gainMode_ = mode;
    if (!started_ || !playingList_)
        return;
    engine_.ApplyGain(GainTagsForRow(mode, *playingList_, FindPlayingRow()));
    // The next tick queues the next track again with the new choice.
    engine_.DropQueued();
}

void PlaybackControl::VolumeChanged()
{
    engine_.SetVolume(displays_.volume.Get());
}

void PlaybackControl::ListRemoved(const GridCtrl& tracks)
{
    if (playingList_ != &tracks)
        return;
    StopPlayback();
    playingList_ = nullptr;
}

void PlaybackControl::TrackRemoved(const Value& id)
{
    CatchUpWithOutput();
    // A row whose file could not be opened has no id and was never played.
    if (!id.IsNull() && id.ToInt() == playingId_)
        StopPlayback();
}
