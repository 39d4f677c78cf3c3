#include "core/TextSearch.h"

#include <array>
#include <cwctype>
#include <locale.h>
#include <wctype.h>

#include "core/Utf8.h"

namespace {

// The "C" locale of the C library folds ASCII only; the UTF-8 flavour knows
// every script. It is created once and never changed.
locale_t UnicodeLocale()
{
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    return locale;
}

constexpr std::array<char, 128> MakeAsciiFold()
{
    std::array<char, 128> table{};
    for (int c = 0; c < 128; ++c)
        table[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    return table;
}
constexpr std::array<char, 128> kAsciiFold = MakeAsciiFold();

// Upper then lower, so variants such as final sigma or the long s fold with their letters.
char32_t FoldWithLocale(char32_t cp)
{
    const locale_t locale = UnicodeLocale();
    if (!locale)
        return cp;
    const wint_t upper = towupper_l(static_cast<wint_t>(cp), locale);
    return static_cast<char32_t>(towlower_l(upper, locale));
}

// Latin, Greek and Cyrillic letters (the two-byte range) are folded from a table built once.
constexpr char32_t kTableEnd = 0x800;

char32_t FoldCodePoint(char32_t cp)
{
    static const std::array<char32_t, kTableEnd> table = [] {
        std::array<char32_t, kTableEnd> folded{};
        for (char32_t c = 0; c < kTableEnd; ++c)
            folded[c] = FoldWithLocale(c);
        return folded;
    }();
    return cp < kTableEnd ? table[cp] : FoldWithLocale(cp);
}

// Decodes one code point of `s` at `pos` without copying the view into a string;
// a malformed sequence consumes one byte and gives U+FFFD.
char32_t DecodeAt(std::string_view s, size_t& pos)
{
    const auto lead = static_cast<unsigned char>(s[pos]);
    int length = 0;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + length > s.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (int i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(s[pos + i]);
        if ((byte & 0xC0) != 0x80) {
            ++pos;
            return 0xFFFD;
        }
        cp = cp << 6 | (byte & 0x3F);
    }
    // Overlong forms, surrogates and values past the Unicode range are malformed.
    static constexpr char32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMinimum[length] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        ++pos;
        return 0xFFFD;
    }
    pos += length;
    return cp;
}

}  // namespace

void AppendFoldedCase(std::string_view utf8, std::string& out)
{
    size_t pos = 0;
    while (pos < utf8.size()) {
        // Runs of ASCII keep their length, so they are written in place.
        size_t end = pos;
        while (end < utf8.size() && static_cast<unsigned char>(utf8[end]) < 0x80)
            ++end;
        if (end > pos) {
            const size_t at = out.size();
            out.resize(at + (end - pos));
            char* next = out.data() + at;
            for (; pos < end; ++pos)
                *next++ = kAsciiFold[static_cast<unsigned char>(utf8[pos])];
        }
        if (pos < utf8.size())
            AppendUtf8(out, FoldCodePoint(DecodeAt(utf8, pos)));
    }
}

std::string FoldCase(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    AppendFoldedCase(utf8, out);
    return out;
}

size_t FindText(std::string_view haystack, std::string_view needle, bool caseSensitive)
{
    if (caseSensitive)
        return haystack.find(needle);
    return FoldCase(haystack).find(FoldCase(needle));
}

TextMatcher::TextMatcher(std::string_view needle, bool caseSensitive)
    : needle_(caseSensitive ? std::string(needle) : FoldCase(needle)), caseSensitive_(caseSensitive)
{
}

bool TextMatcher::Matches(std::string_view haystack) const
{
    if (needle_.empty())
        return true;
    if (caseSensitive_)
        return haystack.find(needle_) != std::string_view::npos;
    folded_.clear();
    AppendFoldedCase(haystack, folded_);
    return std::string_view(folded_).find(needle_) != std::string_view::npos;
}
