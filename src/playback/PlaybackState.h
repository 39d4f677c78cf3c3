#pragma once

// The play button's blink phase, shared by every window of the process:
// 0 at program start, alternated 0/1 by each blink.
extern int blinkPhase;

// Time callbacks of the player window that playback owns.
enum PlaybackCallback {
    TICK_CALLBACK = 0,   // position display and end-of-track advance, while a track is active
    BLINK_CALLBACK = 1,  // the blinking play button, once a track has started
};

inline constexpr int kTickPeriodMs = 10;
// The tick's period while the window is not seen: it only keeps the next track
// queued, seconds ahead; the engine's end notice takes care of the end itself.
inline constexpr int kUnseenTickPeriodMs = 1000;
inline constexpr int kBlinkPeriodMs = 1000;
