#pragma once

#include <cstdint>
#include <optional>

#include "core/Value.h"

class SqlSession;

// Where playback stood when the player last closed: the playlist, its track and
// the position within it. It lives in the library database's SETTINGS table,
// so the configuration record keeps the layout older versions wrote.
struct ResumePoint {
    int64_t list = 0;     // LISTS.ID
    int64_t entry = 0;    // PLAYLISTS.IDPL
    unsigned positionMs = 0;

    bool operator==(const ResumePoint&) const = default;
};

// The stored text: the three numbers separated by single spaces.
String ResumeText(const ResumePoint& point);
// None for an empty, damaged or out-of-range text.
std::optional<ResumePoint> ParseResumeText(const String& text);

// The point remembered by the last run; none when nothing was remembered or it
// cannot be read.
std::optional<ResumePoint> LoadResumePoint(SqlSession& session);
// Remembers the point, or that there is none (nothing was started at exit).
// False when the database refuses it.
bool StoreResumePoint(SqlSession& session, const std::optional<ResumePoint>& point);
