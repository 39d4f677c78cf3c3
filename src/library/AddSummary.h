#pragma once

#include <cstddef>
#include <vector>

#include "core/Value.h"

// A file or folder an add had to leave out, with the reason in plain words.
struct AddFailure {
    String path;
    String reason;
};

// How an add ended, for the one message shown at its end.
struct AddOutcome {
    std::size_t added = 0;
    std::vector<AddFailure> failures;
    bool cancelled = false;
    // The user chose exactly this one file: its failure is told on its own.
    String singleFile;
};

// A count with thousands separators: 1234 -> "1,234".
String GroupedCount(std::size_t count);

// The progress line, "Adding 1,234 of 5,000 — folder/name", in its two parts:
// the counts, and the separator with the path's last folder and name.
struct AddProgressText {
    String counts;
    String where;
};
AddProgressText MakeAddProgressText(std::size_t handled, std::size_t found, const String& path);

// The message's text and its copyable list of what could not be added (one
// "path: reason" line each); an empty text when nothing needs saying.
struct AddReport {
    String text;
    String details;
};
AddReport MakeAddReport(const AddOutcome& outcome);
