#pragma once

#include <string>
#include <string_view>

// Case folding of UTF-8 text by characters: each code point is mapped to its
// lower-case form, so "ŁÓDŹ" and "łódź" fold alike and multi-byte letters are
// never split. Invalid bytes fold to U+FFFD.
std::string FoldCase(std::string_view utf8);
// Same, appending to `out` so a caller can reuse one buffer for many texts.
void AppendFoldedCase(std::string_view utf8, std::string& out);

// Position of `needle` in `haystack`, or npos. Without case sensitivity the
// position refers to the folded haystack, whose length may differ.
size_t FindText(std::string_view haystack, std::string_view needle, bool caseSensitive);
inline bool ContainsText(std::string_view haystack, std::string_view needle, bool caseSensitive)
{
    return FindText(haystack, needle, caseSensitive) != std::string_view::npos;
}

// One search text applied to many cells: the needle is folded once and the
// folding buffer is reused. Not for use from several threads at once.
class TextMatcher {
public:
    TextMatcher() = default;
    TextMatcher(std::string_view needle, bool caseSensitive);

    bool IsEmpty() const { return needle_.empty(); }
    // An empty needle matches every text.
    bool Matches(std::string_view haystack) const;

private:
    std::string needle_;
    bool caseSensitive_ = true;
    mutable std::string folded_;
};
