#include "audio/TagReader.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include <taglib/fileref.h>
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

}  // namespace

TagReading ReadTags(const std::string& path)
{
    TagReading reading;
    TagLib::FileRef ref(path.c_str(), true, TagLib::AudioProperties::Average);
    if (ref.isNull() || !ref.file()->isValid() || !ref.audioProperties())
        return reading;

    reading.recognised = true;
    reading.lengthMs = ref.audioProperties()->lengthInMilliseconds();
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
