#include "ui/ShownText.h"

#include <cctype>
#include <vector>

#include "ui/PlayerTexts.h"
#include "ui/Translate.h"

namespace {

// Longer texts are no message: they are not matched against patterns.
constexpr size_t kLongestMatched = 4096;
// Pieces are translated themselves, to this depth ("why" inside "what").
constexpr int kDeepestPiece = 3;

bool IsPlaceholder(std::string_view pattern, size_t at)
{
    return at + 1 < pattern.size() && pattern[at] == '%' && (pattern[at + 1] == 's' || pattern[at + 1] == 'd');
}

bool HasPlaceholder(std::string_view pattern)
{
    for (size_t i = 0; i < pattern.size(); ++i)
        if (IsPlaceholder(pattern, i))
            return true;
    return false;
}

template <typename Iterator>
std::string FillPieces(std::string_view pattern, Iterator piece, Iterator end)
{
    std::string out(pattern);
    size_t at = 0;
    for (; piece != end; ++piece) {
        while (at < out.size() && !IsPlaceholder(out, at))
            ++at;
        if (at >= out.size())
            break;
        const std::string_view text(*piece);
        out.replace(at, 2, text);
        at += text.size();
    }
    return out;
}

// Matches `text` against `pattern` from the given positions; "%s" takes the
// shortest text that lets the rest match, "%d" one or more digits.
bool Match(std::string_view pattern, size_t p, std::string_view text, size_t t, std::vector<std::string_view>& pieces)
{
    while (p < pattern.size()) {
        if (IsPlaceholder(pattern, p)) {
            const bool digits = pattern[p + 1] == 'd';
            const size_t first = digits ? t + 1 : t;
            for (size_t end = first; end <= text.size(); ++end) {
                if (digits && !std::isdigit(static_cast<unsigned char>(text[end - 1])))
                    break;
                pieces.push_back(text.substr(t, end - t));
                if (Match(pattern, p + 2, text, end, pieces))
                    return true;
                pieces.pop_back();
            }
            return false;
        }
        if (t >= text.size() || pattern[p] != text[t])
            return false;
        ++p;
        ++t;
    }
    return t == text.size();
}

std::string TranslateShown(const std::string& text, int depth)
{
    // Without the program's table switched on every entry gives its English text back.
    if (text.empty() || text.size() > kLongestMatched || !IsTranslationModuleEnabled(PlayerTexts()))
        return text;
    // Identifiers are the table's own strings: Translate keeps results by address.
    const TranslationEntry* entry = PlayerTexts();
    for (const TranslationEntry* e = entry; e->code != 0; ++e)
        if (e->code == kTranslationIdentifier && text == e->text)
            return Translate(e->text);
    if (depth >= kDeepestPiece)
        return text;
    for (const TranslationEntry* e = entry; e->code != 0; ++e) {
        if (e->code != kTranslationIdentifier || !HasPlaceholder(e->text))
            continue;
        std::vector<std::string_view> pieces;
        if (!Match(e->text, 0, text, 0, pieces))
            continue;
        std::vector<std::string> translated;
        translated.reserve(pieces.size());
        for (std::string_view piece : pieces)
            translated.push_back(TranslateShown(std::string(piece), depth + 1));
        return FillPieces(Translate(e->text), translated.begin(), translated.end());
    }
    return text;
}

}  // namespace

std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> pieces)
{
    return FillPieces(pattern, pieces.begin(), pieces.end());
}

std::string TranslateShown(const std::string& text) { return TranslateShown(text, 0); }
