#include "library/MusicFiles.h"

#include <array>
#include <string_view>

namespace {

constexpr std::string_view kBlanks = " \t\n\v\f\r";

// The extension of the last path component, dot included; empty when it has none.
String Extension(const String& path)
{
    const String name = PathLastComponent(path);
    const size_t dot = name.rfind('.');
    return dot == String::npos ? String() : name.substr(dot);
}

String AsciiLower(String text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
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

bool IsMusicFile(const String& name)
{
    static constexpr std::array<std::string_view, 6> kMusicExtensions = {
        ".mp3", ".mp2", ".ogg", ".mid", ".wav", ".wma"};
    const String ext = AsciiLower(Extension(name));
    for (std::string_view known : kMusicExtensions)
        if (ext == known)
            return true;
    return false;
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
