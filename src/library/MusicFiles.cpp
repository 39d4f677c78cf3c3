#include "library/MusicFiles.h"

#include <iterator>

#include "core/AsciiCase.h"
#include "ui/Translate.h"

namespace {

struct MusicFamily {
    std::string_view name;
    std::vector<std::string_view> extensions;
};

constexpr std::string_view kMusicExtensions[] = {
    ".mp3",  ".mp2", ".ogg", ".mid", ".wav", ".wma", ".flac", ".opus", ".oga", ".m4a", ".m4b",
    ".aac",  ".wv",  ".ape", ".aif", ".aiff", ".aifc", ".mpc", ".tta", ".spx", ".asf", ".midi",
};

// The families the selector offers one by one; together they hold every extension.
const MusicFamily kFamilies[] = {
    {"MP3 and MP2", {".mp3", ".mp2"}},
    {"Ogg, Opus and Speex", {".ogg", ".oga", ".opus", ".spx"}},
    {"FLAC", {".flac"}},
    {"AAC and ALAC", {".m4a", ".m4b", ".aac"}},
    {"WAV and AIFF", {".wav", ".aif", ".aiff", ".aifc"}},
    {"WMA and ASF", {".wma", ".asf"}},
    {"MIDI", {".mid", ".midi"}},
    {"Other", {".wv", ".ape", ".mpc", ".tta"}},
};

const std::pair<String, String> kPlaylistType{"Playlists", "*.m3u *.m3u8 *.pls *.xspf"};
const std::pair<String, String> kAllFilesType{"All files", "*"};

// "*.a *.b" for the selector's mask.
String Patterns(const std::vector<std::string_view>& extensions)
{
    String patterns;
    for (std::string_view ext : extensions) {
        if (!patterns.empty())
            patterns += ' ';
        patterns += '*';
        patterns += ext;
    }
    return patterns;
}

constexpr std::string_view kBlanks = " \t\n\v\f\r";

// The extension of the last path component, dot included; empty when it has none.
String Extension(const String& path)
{
    const String name = PathLastComponent(path);
    const size_t dot = name.rfind('.');
    return dot == String::npos ? String() : name.substr(dot);
}

// A type with its name in the current language (names are literals, so their
// addresses stay the same for the lookup's cache).
std::pair<String, String> Translated(const std::pair<String, String>& type)
{
    return {Translate(type.first.c_str()), type.second};
}

} // namespace

String PathLastComponent(const String& path)
{
    const size_t slash = path.rfind('/');
    return slash == String::npos ? path : path.substr(slash + 1);
}

String FileTitle(const String& path)
{
    String name = PathLastComponent(path);
    const size_t dot = name.rfind('.');
    if (dot != String::npos)
        name.erase(dot);
    return name;
}

const std::vector<std::string_view>& MusicExtensions()
{
    static const std::vector<std::string_view> extensions(std::begin(kMusicExtensions), std::end(kMusicExtensions));
    return extensions;
}

bool IsMusicFile(const String& name)
{
    const String ext = AsciiLower(Extension(name));
    for (std::string_view known : MusicExtensions())
        if (ext == known)
            return true;
    return false;
}

std::vector<std::pair<String, String>> MusicFileTypes()
{
    std::vector<std::pair<String, String>> types;
    types.emplace_back(Translate("Music files"), Patterns(MusicExtensions()));
    for (const MusicFamily& family : kFamilies)
        types.emplace_back(Translate(family.name.data()), Patterns(family.extensions));
    types.emplace_back(Translated(kPlaylistType));
    types.emplace_back(Translated(kAllFilesType));
    return types;
}

int PlaylistTypeIndex()
{
    return static_cast<int>(std::size(kFamilies)) + 1;
}

std::vector<std::pair<String, String>> PlaylistFileTypes()
{
    return {Translated(kPlaylistType), Translated(kAllFilesType)};
}

String TrimRight(const String& text)
{
    const size_t last = text.find_last_not_of(kBlanks);
    return last == String::npos ? String() : text.substr(0, last + 1);
}

String TrimBoth(const String& text)
{
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == String::npos)
        return String();
    return TrimRight(text.substr(first));
}
