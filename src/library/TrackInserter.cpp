#include "library/TrackInserter.h"

#include <climits>
#include <iterator>

namespace {
constexpr char kInsertTrack[] =
    "insert into PLAYLISTS(ID, POS, FILENAME, TITLE, ARTIST, ALBUM, LENGTH, YEAR, GENRE, TRACK) "
    "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
}

TrackInserter::TrackInserter(SqlSession* session) : session_(session)
{
    if (session_)
        cursor_.emplace(*session_);
}

Value TrackInserter::Insert(const Value& list, int pos, const TrackFields& track)
{
    if (!session_)
        return Value();
    Sql& cursor = *cursor_;
    cursor.SetStatement(kInsertTrack);
    const Value values[] = {list,         pos,          track.file, track.title, track.artist,
                            track.album,  track.length, track.year, track.genre, track.track};
    for (int i = 0; i < static_cast<int>(std::size(values)); ++i)
        cursor.SetParam(i, values[i]);
    if (!cursor.Execute())
        return Value();
    const int64_t id = session_->GetInsertedId();
    if (id > INT_MIN && id <= INT_MAX)
        return static_cast<int>(id);  // keys are kept as int while they fit, as loading gives them
    return id;
}
