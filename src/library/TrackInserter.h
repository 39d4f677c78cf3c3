#pragma once

#include <optional>

#include "data/Sql.h"
#include "library/LibraryDb.h"

// Stores the tracks of one bulk add. The insert is prepared once on a cursor of
// its own and only re-bound per file, so a folder of thousands of files costs one
// prepare instead of one per file; the stored values are those of InsertTrack.
// It may run on any one thread: it touches nothing but its session.
class TrackInserter {
public:
    explicit TrackInserter(SqlSession* session);

    // The new entry's IDPL, or Null when the insert failed (never an earlier row's id).
    Value Insert(const Value& list, int pos, const TrackFields& track);

private:
    SqlSession* session_;
    std::optional<Sql> cursor_;
};
