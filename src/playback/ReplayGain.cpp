#include "playback/ReplayGain.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "playback/TrackColumns.h"
#include "ui/GridCtrl.h"

namespace {

std::string Trimmed(const String& text)
{
    std::size_t from = 0;
    std::size_t to = text.size();
    while (from < to && std::isspace(static_cast<unsigned char>(text[from])))
        ++from;
    while (to > from && std::isspace(static_cast<unsigned char>(text[to - 1])))
        --to;
    return std::string(text.substr(from, to - from));
}

// A decimal number filling the whole text, in the C locale's notation whatever the user's.
std::optional<double> Number(const std::string& text)
{
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
            return std::nullopt;  // also keeps out "nan" and "inf"
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// "-6.54 dB", "+1.2 dB" or a bare number.
std::optional<double> GainDb(const Value& value)
{
    if (value.IsNull())
        return std::nullopt;
    std::string text = Trimmed(value.ToString());
    if (text.size() >= 2 && std::tolower(static_cast<unsigned char>(text[text.size() - 2])) == 'd' &&
        std::tolower(static_cast<unsigned char>(text.back())) == 'b')
        text = Trimmed(text.substr(0, text.size() - 2));
    const std::optional<double> db = Number(text);
    if (!db || std::fabs(*db) > kMaxGainDb)
        return std::nullopt;
    return db;
}

// An R128 gain: a whole number of 1/256 dB relative to -23 LUFS, which lies 5 dB below the
// loudness the ReplayGain tags aim at.
std::optional<double> R128GainDb(const Value& value)
{
    if (value.IsNull())
        return std::nullopt;
    const std::string text = Trimmed(value.ToString());
    const std::optional<double> steps = Number(text);
    if (!steps || text.find_first_of(".eE") != std::string::npos || std::fabs(*steps) > 32768)
        return std::nullopt;
    const double db = *steps / 256.0 + 5.0;
    if (std::fabs(db) > kMaxGainDb)
        return std::nullopt;
    return db;
}

std::optional<double> Peak(const Value& value)
{
    if (value.IsNull())
        return std::nullopt;
    const std::optional<double> peak = Number(Trimmed(value.ToString()));
    // A peak is a sample value: above 0, and far below 10 even after lossy encoding.
    if (!peak || *peak <= 0.0 || *peak > 10.0)
        return std::nullopt;
    return peak;
}

struct Loudness {
    std::optional<double> gainDb;
    std::optional<double> peak;
};

Loudness Read(const std::function<Value(const char*)>& tag, bool album)
{
    Loudness loudness;
    loudness.gainDb = GainDb(tag(album ? "REPLAYGAIN_ALBUM_GAIN" : "REPLAYGAIN_TRACK_GAIN"));
    if (loudness.gainDb)
        loudness.peak = Peak(tag(album ? "REPLAYGAIN_ALBUM_PEAK" : "REPLAYGAIN_TRACK_PEAK"));
    else
        loudness.gainDb = R128GainDb(tag(album ? "R128_ALBUM_GAIN" : "R128_TRACK_GAIN"));
    return loudness;
}

}  // namespace

float ReplayGainFactor(const std::function<Value(const char*)>& tag, GainTags which)
{
    if (which == GainTags::None)
        return 1.0f;
    const bool album = which == GainTags::Album;
    Loudness loudness = Read(tag, album);
    if (!loudness.gainDb)
        loudness = Read(tag, !album);
    if (!loudness.gainDb)
        return 1.0f;
    double factor = std::pow(10.0, *loudness.gainDb / 20.0);
    if (loudness.peak && factor * *loudness.peak > 1.0)
        factor = 1.0 / *loudness.peak;
    return static_cast<float>(factor);
}

GainTags GainTagsForRow(ReplayGainMode mode, GridCtrl& list, int row)
{
    switch (mode) {
    case ReplayGainMode::Off:
        return GainTags::None;
    case ReplayGainMode::Track:
        return GainTags::Track;
    case ReplayGainMode::Album:
        return GainTags::Album;
    case ReplayGainMode::Automatic:
        break;
    }
    if (row < 0 || row >= list.GetCount())
        return GainTags::Track;
    const String album = Trimmed(list.Get(row, TRACK_ALBUM).ToString());
    if (album.empty())
        return GainTags::Track;
    for (int neighbour : {row - 1, row + 1})
        if (neighbour >= 0 && neighbour < list.GetCount() &&
            Trimmed(list.Get(neighbour, TRACK_ALBUM).ToString()) == album)
            return GainTags::Album;
    return GainTags::Track;
}
