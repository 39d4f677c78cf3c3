#include "playlists/RawPlaylist.h"

std::string LimitField(std::string text)
{
    if (text.size() <= kMaxFieldBytes)
        return text;
    std::size_t cut = kMaxFieldBytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

void SplitDisplayTitle(const std::string& display, const std::string& knownArtist, RawEntry* entry)
{
    static constexpr std::string_view kSeparator = " - ";
    if (!knownArtist.empty()) {
        entry->artist = LimitField(knownArtist);
        const std::string prefix = knownArtist + std::string(kSeparator);
        entry->title = LimitField(display.rfind(prefix, 0) == 0 ? display.substr(prefix.size()) : display);
        return;
    }
    const std::size_t split = display.find(kSeparator);
    if (split == std::string::npos) {
        entry->title = LimitField(display);
        return;
    }
    entry->artist = LimitField(display.substr(0, split));
    entry->title = LimitField(display.substr(split + kSeparator.size()));
}

std::string DisplayTitle(const PlaylistEntry& entry)
{
    if (entry.artist.empty())
        return entry.title;
    return entry.artist + " - " + entry.title;
}

long long LengthSeconds(long long lengthMs)
{
    return lengthMs < 0 ? -1 : (lengthMs + 500) / 1000;
}
