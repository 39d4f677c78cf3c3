#include "playlists/M3u.h"

#include <cstdlib>

#include "playlists/EntryLocation.h"
#include "playlists/PlaylistText.h"

namespace {

bool StartsWithIgnoringCase(std::string_view line, std::string_view prefix)
{
    if (line.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = line[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        if (c != prefix[i])
            return false;
    }
    return true;
}

// "#EXTINF:123,Artist - Title", also with a fraction or attributes after the seconds.
void ReadExtInf(std::string_view info, long long* lengthMs, std::string* display)
{
    const std::size_t comma = info.find(',');
    const std::string seconds(TrimBlanks(info.substr(0, std::min(comma, std::size_t{32}))));
    char* end = nullptr;
    const double value = std::strtod(seconds.c_str(), &end);
    *lengthMs = end != seconds.c_str() && value >= 0 && value < 1e9 ? static_cast<long long>(value * 1000 + 0.5) : -1;
    *display = comma == std::string_view::npos ? std::string() : std::string(TrimBlanks(info.substr(comma + 1)));
}

}  // namespace

RawPlaylist ParseM3u(std::string_view text)
{
    RawPlaylist playlist;
    long long lengthMs = -1;
    std::string display, artist, album;
    bool described = false;
    for (const std::string_view raw : SplitLines(text)) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty())
            continue;
        if (line.front() == '#') {
            if (StartsWithIgnoringCase(line, "#EXTINF:")) {
                ReadExtInf(line.substr(8), &lengthMs, &display);
                described = true;
            } else if (StartsWithIgnoringCase(line, "#EXTART:")) {
                artist = TrimBlanks(line.substr(8));
            } else if (StartsWithIgnoringCase(line, "#EXTALB:")) {
                album = TrimBlanks(line.substr(8));
            }
            continue;
        }
        RawEntry& entry = playlist.entries.emplace_back();
        entry.location = line;
        if (described) {
            entry.lengthMs = lengthMs;
            SplitDisplayTitle(display, artist, &entry);
        } else {
            entry.artist = LimitField(artist);
        }
        entry.album = LimitField(album);
        // The directives describe only the entry that follows them.
        described = false;
        lengthMs = -1;
        display.clear();
        artist.clear();
        album.clear();
    }
    return playlist;
}

std::string FormatM3u(const std::vector<PlaylistEntry>& entries, const std::string& folder)
{
    std::string out = "#EXTM3U\n";
    for (const PlaylistEntry& entry : entries) {
        out += "#EXTINF:" + std::to_string(LengthSeconds(entry.lengthMs)) + "," + OneLine(DisplayTitle(entry)) + "\n";
        if (!entry.artist.empty())
            out += "#EXTART:" + OneLine(entry.artist) + "\n";
        if (!entry.album.empty())
            out += "#EXTALB:" + OneLine(entry.album) + "\n";
        out += OneLine(PathForPlaylist(entry.path, folder)) + "\n";
    }
    return out;
}
