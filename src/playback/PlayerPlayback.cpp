#include <QFont>

#include "app/Player.h"
#include "library/LibraryGrids.h"
#include "playback/ConvMs.h"
#include "playback/PlaybackState.h"
#include "ui/Images.h"
#include "ui/TimeCallback.h"

// Which track plays and keeping the controls in step with the engine.
// Playback follows a track grid: its cursor row is the current track.

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

bool OnLastRow(const GridCtrl& list) { return list.GetCursor() == list.GetCount() - 1; }

}  // namespace

GridCtrl* Player::FollowedList()
{
    // Without a selected playlist there is nothing to follow.
    if (!PlayingList && ListGrid.IsCursor())
        PlayingList = &CurrentTrackList();
    return PlayingList;
}

void Player::Play()
{
    if (Started) {
        // TogglePause returns the state before the toggle: true means it plays again.
        SetFace(play, engine.TogglePause() ? ImgPause() : ImgPlayForward());
        return;
    }
    GridCtrl* list = FollowedList();
    if (!list)
        return;
    const int row = list->GetCursor();
    if (row < 0)
        return;
    // On failure the engine has shown its message; the player stays as it is.
    if (!engine.PlayFile(list->Get(row, TRACK_FILE).ToString()))
        return;

    // After the end of the list the last row keeps its highlight; a track
    // started from there on another row takes it over.
    RemovePlayingHighlight();

    PlayingId = list->Get(row, TRACK_ID).ToInt();
    Started = true;
    SetFace(play, ImgPause());
    info.SetTitle(list->Get(row, TRACK_TITLE).ToString());

    KillTimeCallback(this, TICK_CALLBACK);
    SetTimeCallback(this, TICK_CALLBACK, kTickPeriodMs, [this] { Tick(); });
    KillTimeCallback(this, BLINK_CALLBACK);
    SetTimeCallback(this, BLINK_CALLBACK, kBlinkPeriodMs, [this] { Blink(); });

    list->SetRowStyle(row, PlayingRowStyle());
}

void Player::StopPlayback()
{
    // The blink callback keeps running; it does nothing while nothing is started.
    KillTimeCallback(this, TICK_CALLBACK);
    engine.FreeCurrent();
    SetFace(play, ImgPlayForward());
    info.Clear();
    position.Set(0);
    Started = false;
    RemovePlayingHighlight();
}

void Player::RemovePlayingHighlight()
{
    if (!PlayingList)
        return;
    // The user may have moved the playing row, so it is found by its id.
    const int row = FindPlayingRow();
    if (row >= 0 && PlayingList->GetRowStyle(row))
        PlayingList->ResetRowStyle(row);
}

int Player::FindPlayingRow()
{
    if (!PlayingList)
        return -1;
    for (int row = 0; row < PlayingList->GetCount(); ++row)
        if (PlayingList->Get(row, TRACK_ID).ToInt() == PlayingId)
            return row;
    return -1;
}

void Player::PlaySelected()
{
    StopPlayback();
    PlayingList = nullptr;
    Play();
}

void Player::PlayNext()
{
    GridCtrl* list = FollowedList();
    if (!list)
        return;
    // On the last row the last track starts again from its beginning.
    if (!OnLastRow(*list))
        list->GoNext();
    StopPlayback();
    Play();
}

void Player::PlayPrevious()
{
    GridCtrl* list = FollowedList();
    if (!list)
        return;
    // On the first row the first track starts again from its beginning.
    if (list->GetCursor() != 0)
        list->GoPrev();
    StopPlayback();
    Play();
}

void Player::Tick()
{
    // A paused channel still counts as playing, so pausing never advances.
    if (engine.IsPlaying()) {
        ShowPlayingPosition();
        return;
    }
    if (PlayingList && !OnLastRow(*PlayingList)) {
        // The next track is the one below the cursor, wherever the user has put it.
        PlayingList->GoNext();
        StopPlayback();
        Play();
        return;
    }
    // End of the list: the title, time, bar and highlight stay as they were.
    KillTimeCallback(this, TICK_CALLBACK);
    engine.FreeCurrent();
    SetFace(play, ImgPlayForward());
    Started = false;
}

void Player::ShowPlayingPosition()
{
    // Only what changed is repainted: nothing moves while paused.
    if (!position.HasCapture()) {
        const auto percent = static_cast<float>(engine.GetPositionPercent());
        if (percent != position.Get())
            position.Set(percent);
    }
    const String time = FormatMs(static_cast<int>(engine.GetPositionMs()));
    if (time != info.GetTime() || info.IsIdle())
        info.SetTime(time);
}

void Player::Blink()
{
    if (!Started)
        return;
    const bool paused = engine.IsPaused();
    if (blinkPhase != 0)
        SetFace(play, paused ? ImgPlayForward() : ImgPause());
    else
        SetFace(play, paused ? ImgPlayForwardFlash() : ImgPauseFlash());
    blinkPhase = 1 - blinkPhase;
}

void Player::Seek()
{
    engine.SetPositionPercent(position.Get());
}

void Player::VolumeChanged()
{
    engine.SetVolume(volume.Get());
}
