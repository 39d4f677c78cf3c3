#pragma once

#include <cstdint>
#include <functional>
#include <string>

// What the desktop's media controls (the session bus, the tray icon) may ask of
// the player, and what they may read from it. The window fills these in with
// the operations its own buttons call, so a remote command and a click can
// never do different things. Every member is called on the GUI thread.

enum class PlaybackStatus { Stopped, Playing, Paused };

// The track the now-playing panel shows; id < 0 when it shows none.
struct TrackMetadata {
    int64_t id = -1;
    int64_t lengthUs = 0;
    std::string title;
    std::string artist;
    std::string album;
    std::string path;

    bool operator==(const TrackMetadata&) const = default;
};

struct MediaPlayerControls {
    // ---- Commands
    std::function<void()> raise;
    std::function<void()> quit;
    // The play button: starts the cursor track, or pauses and resumes.
    std::function<void()> playPause;
    std::function<void()> stop;
    std::function<void()> next;
    std::function<void()> previous;
    // The position bar released at this point of the current track.
    std::function<void(int64_t positionUs)> setPosition;
    // The volume bar moved to this level, 0 to 1.
    std::function<void(double volume)> setVolume;
    // Appends a file, folder or playlist file to the current playlist and plays it.
    std::function<void(const std::string& path)> open;

    // ---- State
    std::function<PlaybackStatus()> status;
    std::function<TrackMetadata()> track;
    std::function<int64_t()> positionUs;
    std::function<double()> volume;
    std::function<bool()> canPlay;
    std::function<bool()> canGoNext;
    std::function<bool()> canGoPrevious;
};
