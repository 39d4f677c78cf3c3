// Character-set conversions and UTF-8: no input crashes, every conversion to
// UTF-8 is valid UTF-8 with one character per 8-bit byte, and converting back
// gives the original bytes except those the set leaves undefined.
#include <string>

#include "FuzzCheck.h"
#include "core/CharSet.h"
#include "core/Utf8.h"

namespace {

bool IsValidUtf8(const std::string& s)
{
    for (size_t pos = 0; pos < s.size();) {
        const size_t start = pos;
        const char32_t cp = DecodeUtf8(s, pos);
        std::string again;
        AppendUtf8(again, cp);
        if (s.compare(start, pos - start, again) != 0)
            return false;  // a replacement for bytes that were not U+FFFD itself
    }
    return true;
}

void CheckUtf8(const std::string& text)
{
    const std::wstring wide = Utf8ToWide(text);
    const std::string back = WideToUtf8(wide);
    FUZZ_CHECK(IsValidUtf8(back));
    FUZZ_CHECK(Utf8ToWide(back) == wide);
    if (IsValidUtf8(text))
        FUZZ_CHECK(back == text);
}

void CheckEightBitSet(int set, const std::string& text)
{
    const std::string utf8 = ToUtf8(text, set);
    FUZZ_CHECK(IsValidUtf8(utf8));
    FUZZ_CHECK(Utf8ToWide(utf8).size() == text.size());
    std::string expected = text;
    for (char& c : expected)
        if (CharSetToUnicode(set, static_cast<unsigned char>(c)) == 0xFFFF)
            c = kUnmappableChar;
    FUZZ_CHECK(FromUtf8(utf8, set) == expected);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    // Two bytes choose the sets, registered or not; the rest is the text.
    const int first = data[0];
    const int second = data[1];
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);

    CheckUtf8(text);
    const std::string converted = ConvertCharSet(text, first, second);
    if (ResolveCharSet(first) != CHARSET_UTF8 && ResolveCharSet(second) != ResolveCharSet(first))
        FUZZ_CHECK(converted.size() == Utf8ToWide(ToUtf8(text, second)).size());
    if (ResolveCharSet(first) != CHARSET_UTF8)
        CheckEightBitSet(first, text);
    return 0;
}
