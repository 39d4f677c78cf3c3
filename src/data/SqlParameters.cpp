#include "data/SqlParameters.h"

#include <algorithm>
#include <set>

namespace {

// The character classes of SQLite's tokenizer that matter for finding parameters.
bool IsIdChar(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
           c >= 0x80;
}

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Walks the text token by token the way SQLite splits it, skipping everything
// that cannot hold a parameter.
class ParameterScan {
public:
    explicit ParameterScan(std::string_view text) : text_(text.substr(0, text.find('\0'))) {}

    int Count()
    {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '-' && Peek(1) == '-')
                SkipTo("\n", 2);
            else if (c == '/' && Peek(1) == '*')
                SkipTo("*/", 2);
            else if (c == '\'' || c == '"' || c == '`')
                SkipQuoted(c);
            else if (c == '[')
                SkipTo("]", 1);
            else if (c == '?')
                Numbered();
            else if (c == ':' || c == '@' || c == '$' || c == '#')
                Named();
            else if (IsIdChar(static_cast<unsigned char>(c)))
                while (at_ < text_.size() && IsIdChar(static_cast<unsigned char>(text_[at_])))
                    ++at_;
            else
                ++at_;
        }
        return count_;
    }

private:
    char Peek(size_t ahead) const { return at_ + ahead < text_.size() ? text_[at_ + ahead] : '\0'; }

    // Moves past the end mark, searched from `from` characters on, or to the end of the text.
    void SkipTo(std::string_view end, size_t from)
    {
        const size_t found = text_.find(end, at_ + from);
        at_ = found == std::string_view::npos ? text_.size() : found + end.size();
    }

    // A literal or quoted identifier; the quote doubled stands for itself.
    void SkipQuoted(char quote)
    {
        for (++at_; at_ < text_.size(); ++at_) {
            if (text_[at_] != quote)
                continue;
            if (Peek(1) != quote)
                break;
            ++at_;
        }
        at_ = std::min(at_ + 1, text_.size());
    }

    void Numbered()
    {
        ++at_;
        if (at_ >= text_.size() || !IsDigit(static_cast<unsigned char>(text_[at_]))) {
            ++count_;
            return;
        }
        // SQLite refuses numbers above a few tens of thousands, so saturating is exact enough.
        long long number = 0;
        for (; at_ < text_.size() && IsDigit(static_cast<unsigned char>(text_[at_])); ++at_)
            number = std::min(number * 10 + (text_[at_] - '0'), 1LL << 30);
        count_ = std::max(count_, static_cast<int>(number));
    }

    void Named()
    {
        const size_t start = at_;
        size_t nameChars = 0;
        for (++at_; at_ < text_.size(); ++at_) {
            const unsigned char c = static_cast<unsigned char>(text_[at_]);
            if (IsIdChar(c)) {
                ++nameChars;
            } else if (c == '(' && nameChars > 0) {
                // A "$name(key)" form runs to the closing parenthesis.
                while (++at_ < text_.size() && !IsSpace(static_cast<unsigned char>(text_[at_])) && text_[at_] != ')') {
                }
                if (at_ < text_.size() && text_[at_] == ')')
                    ++at_;
                break;
            } else if (c == ':' && Peek(1) == ':') {
                ++at_;
            } else {
                break;
            }
        }
        if (nameChars > 0 && names_.emplace(text_.substr(start, at_ - start)).second)
            ++count_;
    }

    std::string_view text_;
    size_t at_ = 0;
    int count_ = 0;
    std::set<std::string_view> names_;
};

}  // namespace

int CountSqlParameters(std::string_view text) { return ParameterScan(text).Count(); }
