#include "library/AddSummary.h"

#include "library/MusicFiles.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

namespace {

// The last folder and the name: enough to recognise where the add is.
String ShortPath(const String& path)
{
    const size_t slash = path.rfind('/');
    if (slash == String::npos || slash == 0)
        return path;
    const size_t before = path.rfind('/', slash - 1);
    return before == String::npos ? path : path.substr(before + 1);
}

} // namespace

String GroupedCount(std::size_t count)
{
    String digits = std::to_string(count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

AddProgressText MakeAddProgressText(std::size_t handled, std::size_t found, const String& path)
{
    AddProgressText text;
    text.counts = Fill(Translate("Adding %s of %s"), {GroupedCount(handled), GroupedCount(found)});
    if (!path.empty())
        text.where = " \u2014 " + ShortPath(path);
    return text;
}

AddReport MakeAddReport(const AddOutcome& outcome)
{
    AddReport report;
    const std::vector<AddFailure>& failures = outcome.failures;
    if (failures.empty())
        return report;
    if (!outcome.singleFile.empty() && failures.size() == 1 && outcome.added == 0) {
        report.text = Fill(Translate("Cannot add \"%s\": %s."),
                           {PathLastComponent(failures[0].path), TranslateShown(failures[0].reason)});
        return report;
    }
    // One pattern per case, so each language words the whole sentence.
    const char* pattern = outcome.cancelled
                              ? (outcome.added == 1 ? "Adding was cancelled. Added %s file; %s could not be added."
                                                    : "Adding was cancelled. Added %s files; %s could not be added.")
                              : (outcome.added == 1 ? "Added %s file; %s could not be added."
                                                    : "Added %s files; %s could not be added.");
    report.text = Fill(Translate(pattern), {GroupedCount(outcome.added), GroupedCount(failures.size())});
    for (const AddFailure& failure : failures)
        report.details += failure.path + ": " + TranslateShown(failure.reason) + "\n";
    return report;
}
