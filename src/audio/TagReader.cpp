#include "audio/TagReader.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include <taglib/fileref.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>

#include "audio/Mp3Gapless.h"

namespace audio {

namespace {

// Names whose values are counts and come back as integers when they are plain numbers.
bool IsNumericName(const std::string& name)
{
    return name == "TRACKNUMBER" || name == "DISCNUMBER" || name == "BPM";
}

}  // namespace

Tag MakeTag(const std::string& name, const std::string& text)
{
    Tag tag;
    tag.name = name;
    int32_t number = 0;
    const char* end = text.data() + text.size();
    if (IsNumericName(name) && !text.empty() && std::from_chars(text.data(), end, number).ptr == end) {
        tag.type = TagType::Int;
        tag.data.resize(sizeof number);
        std::memcpy(tag.data.data(), &number, sizeof number);
        return tag;
    }
    tag.type = TagType::Utf8;
    tag.data.assign(text.begin(), text.end());
    return tag;
}

std::string TagNameOfContainerKey(const std::string& key)
{
    static const std::pair<const char*, const char*> kNames[] = {
        {"title", "TITLE"}, {"artist", "ARTIST"}, {"album", "ALBUM"}, {"album_artist", "ALBUMARTIST"},
        {"date", "DATE"},   {"genre", "GENRE"},   {"track", "TRACKNUMBER"}, {"disc", "DISCNUMBER"},
        {"composer", "COMPOSER"}, {"comment", "COMMENT"},
    };
    std::string lower = key;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (const auto& [from, to] : kNames)
        if (lower == from)
            return to;
    return {};
}

TagReading ReadTags(const std::string& path)
{
    TagReading reading;
    TagLib::FileRef ref(path.c_str(), true, TagLib::AudioProperties::Average);
    if (ref.isNull() || !ref.file()->isValid() || !ref.audioProperties())
        return reading;

    reading.recognised = true;
    reading.lengthMs = ref.audioProperties()->lengthInMilliseconds();
    // MP4 states the media's full length, the encoder's priming and padding included,
    // while the container's edit list says what plays.
    if (dynamic_cast<TagLib::MP4::File*>(ref.file()))
        reading.lengthMs = 0;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(ref.file())) {
        const long long gapless = Mp3GaplessLengthMs(*mpeg);
        if (gapless > 0)
            reading.lengthMs = gapless;
    }

    const TagLib::PropertyMap properties = ref.file()->properties();
    for (const auto& [key, values] : properties) {
        std::string name = key.upper().to8Bit(true);
        for (const TagLib::String& value : values)
            reading.tags.push_back(MakeTag(name, value.to8Bit(true)));
    }
    return reading;
}

}  // namespace audio
