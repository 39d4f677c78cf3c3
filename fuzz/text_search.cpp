// The grid's text search: no input crashes; a case-sensitive search is a
// plain byte search; the reusable matcher agrees with the one-off search; and
// for valid UTF-8 a case-sensitive match is also found ignoring case.
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "core/TextSearch.h"
#include "core/Utf8.h"

namespace {

bool IsValidUtf8(const std::string& s)
{
    return WideToUtf8(Utf8ToWide(s)) == s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    // The first byte splits the rest into needle and haystack.
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const size_t split = std::min<size_t>(data[0], rest.size());
    const std::string needle(rest.substr(0, split));
    const std::string haystack(rest.substr(split));

    FUZZ_CHECK(FindText(haystack, needle, true) == std::string_view(haystack).find(needle));

    const std::string folded = FoldCase(haystack);
    FUZZ_CHECK(IsValidUtf8(folded));

    for (const bool caseSensitive : {true, false}) {
        const bool found = needle.empty() || ContainsText(haystack, needle, caseSensitive);
        const TextMatcher matcher(needle, caseSensitive);
        FUZZ_CHECK(matcher.Matches(haystack) == found);
        FUZZ_CHECK(matcher.Matches(haystack) == found);  // the matcher's reused buffer starts afresh
    }
    if (IsValidUtf8(needle) && IsValidUtf8(haystack) && ContainsText(haystack, needle, true))
        FUZZ_CHECK(ContainsText(haystack, needle, false));
    return 0;
}
