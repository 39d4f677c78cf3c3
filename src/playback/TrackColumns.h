#pragma once

// Cells of a track grid row, in the order of the PLAYLISTS columns they mirror.
// Playback reads the id, file and title; the library fills all of them.
enum TrackColumn { TRACK_ID = 0, TRACK_FILE, TRACK_TITLE, TRACK_ARTIST, TRACK_ALBUM, TRACK_LENGTH };
