#pragma once

#include <string>
#include <vector>

// Gathers what an add or a playlist command could not take, to tell it in one
// message at the end. A playlist of 100,000 missing files still gives a message
// that fits on the screen: the first lines are listed, the rest counted.
class SkippedSummary {
public:
    void Add(std::string line);
    // One entry of a playlist file that was not taken, as "file: entry — reason".
    // The reader words entry labels and reasons in English; they are shown translated.
    void AddEntry(const std::string& playlistFileName, const std::string& entry, const std::string& reason);
    // Shows the heading (English, shown translated) and the lines, already in the
    // user's language, when there is anything to tell.
    void Show(const std::string& heading) const;

private:
    std::vector<std::string> lines_;
    size_t count_ = 0;
};
