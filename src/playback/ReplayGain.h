#pragma once

#include <functional>

#include "core/Value.h"

class GridCtrl;

// The user's choice of loudness correction.
enum class ReplayGainMode { Off, Track, Album, Automatic };

// Until the user picks: track gain, album gain between neighbouring rows of one album.
constexpr ReplayGainMode kDefaultReplayGainMode = ReplayGainMode::Automatic;

// Which of a file's loudness tags a play applies.
enum class GainTags { None, Track, Album };

// The factor a file's loudness tags ask for, given a lookup of its tags by name (Null when
// the file has none of that name): REPLAYGAIN_TRACK_GAIN / _PEAK or REPLAYGAIN_ALBUM_GAIN /
// _PEAK, or Opus's R128_TRACK_GAIN / R128_ALBUM_GAIN. The other kind stands in when the
// chosen one is missing; the peak of the kind used keeps the loudest sample at full scale at
// most. Values that make no sense (beyond ±kMaxGainDb, not a number, text) count as missing,
// and without a usable gain the factor is 1.
float ReplayGainFactor(const std::function<Value(const char*)>& tag, GainTags which);

// The largest correction taken from a tag, either way.
inline constexpr double kMaxGainDb = 24.0;

// The tags a row of a track grid plays with: in the automatic mode the album's when the
// row before or after it holds a track of the same album, else the track's.
GainTags GainTagsForRow(ReplayGainMode mode, GridCtrl& list, int row);
