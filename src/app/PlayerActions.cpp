#include "app/Player.h"

// The playback controls' actions. Starting, pausing, stopping and moving
// between tracks belong to playback control; the bars act on the engine.

void Player::Play() {}

void Player::StopPlayback() {}

void Player::PlayPrevious() {}

void Player::PlayNext() {}

void Player::Seek()
{
    engine.SetPositionPercent(position.Get());
}

void Player::VolumeChanged()
{
    engine.SetVolume(volume.Get());
}
