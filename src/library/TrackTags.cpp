#include "library/TrackTags.h"

#include <cctype>

#include "library/MusicFiles.h"

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// An empty or blank text is stored as NULL, like a missing tag.
Value TextOrNull(const Value& tag)
{
    if (tag.IsNull())
        return Value();
    const String text = TrimBoth(tag.ToString());
    return text.empty() ? Value() : Value(text);
}

}  // namespace

Value YearFromTag(const Value& date)
{
    if (date.IsNull())
        return Value();
    if (date.IsNumber()) {
        const int year = date.ToInt();
        return year > 0 && year <= 9999 ? Value(year) : Value();
    }
    const String text = date.ToString();
    for (size_t i = 0; i + 4 <= text.size(); ++i) {
        if (!IsDigit(text[i]) || (i > 0 && IsDigit(text[i - 1])))
            continue;
        size_t end = i;
        while (end < text.size() && IsDigit(text[end]))
            ++end;
        if (end - i == 4)
            return std::stoi(text.substr(i, 4));
        i = end;
    }
    return Value();
}

Value TrackNumberFromTag(const Value& tag)
{
    if (tag.IsNull())
        return Value();
    if (tag.IsNumber()) {
        const int number = tag.ToInt();
        return number > 0 ? Value(number) : Value();
    }
    const String text = TrimBoth(tag.ToString());
    size_t end = 0;
    long long number = 0;
    while (end < text.size() && IsDigit(text[end]) && number < 1000000)
        number = number * 10 + (text[end++] - '0');
    if (end == 0 || number <= 0 || number >= 1000000 || (end < text.size() && text[end] != '/'))
        return Value();
    return static_cast<int>(number);
}

TrackFields ReadTrackFields(AudioEngine& engine, AudioEngine::SoundHandle sound, const String& path)
{
    TrackFields track;
    track.file = path;
    String title = TrimRight(engine.GetTag(sound, "TITLE").ToString());
    track.title = title.empty() ? FileTitle(path) : title;
    track.artist = engine.GetTag(sound, "ARTIST");
    track.album = engine.GetTag(sound, "ALBUM");
    track.length = static_cast<int>(engine.GetLengthMs(sound));
    Value date = engine.GetTag(sound, "DATE");
    if (date.IsNull())
        date = engine.GetTag(sound, "YEAR");
    track.year = YearFromTag(date);
    track.genre = TextOrNull(engine.GetTag(sound, "GENRE"));
    track.track = TrackNumberFromTag(engine.GetTag(sound, "TRACKNUMBER"));
    return track;
}
