#include "library/SkippedSummary.h"

#include "ui/Prompt.h"
#include "ui/ShownText.h"
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

void SkippedSummary::AddEntry(const std::string& playlistFileName, const std::string& entry,
                              const std::string& reason)
{
    Add(playlistFileName + ": " + TranslateShown(entry) + " — " + TranslateShown(reason));
}

void SkippedSummary::Show(const std::string& heading) const
{
    if (count_ == 0)
        return;
    // Looked up by its text: the lookup by address would keep an entry for
    // every buffer a heading ever arrived in.
    std::string text = TranslateShown(heading);
    for (const std::string& line : lines_)
        text += "\n" + line;
    if (count_ > lines_.size())
        text += "\n" + Fill(Translate("… and %d more."), {std::to_string(count_ - lines_.size())});
    Exclamation(text);
}
