#pragma once

#include <string>
#include <vector>

#include "audio/Tag.h"

namespace audio {

struct TagReading {
    bool recognised = false;  // the tag library knows the format and found audio in it
    long long lengthMs = 0;   // 0 when the decoder must tell the length
    std::vector<Tag> tags;    // upper-case names, text as UTF-8, track and disc numbers as integers
};

// Reads a file's named tags and audio length; an unknown or damaged file gives recognised = false.
TagReading ReadTags(const std::string& path);

// A tag as ReadTags gives it: counts such as TRACKNUMBER become integers when they are plain numbers.
Tag MakeTag(const std::string& name, const std::string& text);

// The tag name for a key of the decoder's container metadata ("title" -> "TITLE",
// "track" -> "TRACKNUMBER", "date" -> "DATE"); empty for keys the player does not use.
std::string TagNameOfContainerKey(const std::string& key);

}  // namespace audio
