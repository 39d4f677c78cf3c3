#include "playlists/Pls.h"

#include <charconv>
#include <map>

#include "playlists/EntryLocation.h"
#include "playlists/PlaylistText.h"

namespace {

// Entry numbers above this are taken for damage, not for a real list.
constexpr long kMaxEntryNumber = 10'000'000;

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

struct PlsItem {
    bool hasFile = false;
    RawEntry entry;
    std::string title;
    std::string artist;
};

// The number after a key's name: > 0 when valid, 0 when missing, -1 when out of range.
long EntryNumber(std::string_view digits)
{
    if (digits.empty())
        return 0;
    long number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size() || number < 1 || number > kMaxEntryNumber)
        return -1;
    return number;
}

}  // namespace

RawPlaylist ParsePls(std::string_view text)
{
    RawPlaylist playlist;
    std::map<long, PlsItem> items;
    bool inPlaylist = false, sawSection = false;
    long declared = -1;
    for (const std::string_view raw : SplitLines(text)) {
        const std::string_view line = TrimBlanks(raw);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inPlaylist = Lower(line) == "[playlist]";
            sawSection = sawSection || inPlaylist;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (!inPlaylist || equals == std::string_view::npos)
            continue;
        const std::string key = Lower(TrimBlanks(line.substr(0, equals)));
        const std::string_view value = TrimBlanks(line.substr(equals + 1));
        if (key == "numberofentries") {
            long count = -1;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), count);
            if (error == std::errc() && end == value.data() + value.size() && count >= 0 && count <= kMaxEntryNumber)
                declared = count;
            else
                playlist.problems.push_back({ShortenForReport(line), "NumberOfEntries is not a usable number"});
            continue;
        }
        std::size_t digitsAt = 0;
        while (digitsAt < key.size() && !(key[digitsAt] >= '0' && key[digitsAt] <= '9'))
            ++digitsAt;
        const std::string name = key.substr(0, digitsAt);
        if (name != "file" && name != "title" && name != "length" && name != "artist" && name != "album")
            continue;
        const long number = EntryNumber(std::string_view(key).substr(digitsAt));
        if (number == 0) {
            playlist.problems.push_back({ShortenForReport(line), "the entry has no number"});
            continue;
        }
        if (number < 0) {
            playlist.problems.push_back({ShortenForReport(line), "the entry number is out of range"});
            continue;
        }
        PlsItem& item = items[number];
        if (name == "file") {
            if (item.hasFile) {
                playlist.problems.push_back({ShortenForReport(line), "a second File" + std::to_string(number)});
                continue;
            }
            item.hasFile = true;
            item.entry.location = value;
        } else if (name == "title") {
            item.title = value;
        } else if (name == "artist") {
            item.artist = value;
        } else if (name == "album") {
            item.entry.album = LimitField(std::string(value));
        } else {
            long long seconds = -1;
            std::from_chars(value.data(), value.data() + value.size(), seconds);
            item.entry.lengthMs = seconds >= 0 && seconds < 1'000'000'000 ? seconds * 1000 : -1;
        }
    }
    if (!sawSection) {
        playlist.error = "it has no [playlist] section";
        return playlist;
    }
    for (auto& [number, item] : items) {
        const std::string label = "entry " + std::to_string(number);
        if (!item.hasFile) {
            playlist.problems.push_back({label, "a title or length without a File" + std::to_string(number) + " line"});
            continue;
        }
        if (declared >= 0 && number > declared) {
            playlist.problems.push_back({ShortenForReport(item.entry.location),
                                         "File" + std::to_string(number) + " is beyond NumberOfEntries=" +
                                             std::to_string(declared)});
            continue;
        }
        SplitDisplayTitle(item.title, item.artist, &item.entry);
        if (item.artist.empty()) {  // a PLS title is shown as it stands
            item.entry.title = LimitField(item.title);
            item.entry.artist.clear();
        }
        playlist.entries.push_back(std::move(item.entry));
    }
    return playlist;
}

std::string FormatPls(const std::vector<PlaylistEntry>& entries, const std::string& folder)
{
    std::string out = "[playlist]\n";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const PlaylistEntry& entry = entries[i];
        const std::string n = std::to_string(i + 1);
        out += "File" + n + "=" + OneLine(PathForPlaylist(entry.path, folder)) + "\n";
        out += "Title" + n + "=" + OneLine(DisplayTitle(entry)) + "\n";
        if (!entry.artist.empty())
            out += "Artist" + n + "=" + OneLine(entry.artist) + "\n";
        if (!entry.album.empty())
            out += "Album" + n + "=" + OneLine(entry.album) + "\n";
        out += "Length" + n + "=" + std::to_string(LengthSeconds(entry.lengthMs)) + "\n";
    }
    out += "NumberOfEntries=" + std::to_string(entries.size()) + "\nVersion=2\n";
    return out;
}
