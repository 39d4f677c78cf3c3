#include "library/SkippedSummary.h"

#include "ui/Prompt.h"
#include "ui/Translate.h"

namespace {

constexpr size_t kListedLines = 20;

} // namespace

void SkippedSummary::Add(std::string line)
{
    if (lines_.size() < kListedLines)
        lines_.push_back(std::move(line));
    ++count_;
}

void SkippedSummary::Show(const std::string& heading) const
{
    if (count_ == 0)
        return;
    std::string text = Translate(heading.c_str());
    for (const std::string& line : lines_)
        text += "\n" + line;
    if (count_ > lines_.size()) {
        std::string more = Translate("… and %d more.");
        if (const size_t at = more.find("%d"); at != std::string::npos)
            more.replace(at, 2, std::to_string(count_ - lines_.size()));
        text += "\n" + more;
    }
    Exclamation(text);
}
