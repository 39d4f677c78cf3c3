#pragma once

#include <string>
#include <vector>

#include "audio/Tag.h"

namespace audio {

struct TagReading {
    bool recognised = false;  // the tag library knows the format and found audio in it
    long long lengthMs = 0;
    std::vector<Tag> tags;    // upper-case names, text as UTF-8, track and disc numbers as integers
};

// Reads a file's named tags and audio length; an unknown or damaged file gives recognised = false.
TagReading ReadTags(const std::string& path);

}  // namespace audio
