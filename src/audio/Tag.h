#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

// Kinds of tag data; the numbers are part of the interface.
enum class TagType : int {
    Binary = 0,
    Int = 1,
    Float = 2,
    String = 3,
    Utf16 = 4,
    Utf16BigEndian = 5,
    Utf8 = 6,
    CdToc = 7,
};

struct Tag {
    std::string name;
    TagType type = TagType::Binary;
    std::vector<uint8_t> data;  // an Int is a native 32-bit integer, text has no terminator
};

}  // namespace audio
