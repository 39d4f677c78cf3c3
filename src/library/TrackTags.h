#pragma once

#include "library/LibraryDb.h"
#include "playback/AudioEngine.h"

// What a newly added track stores, read from a stream opened for tag reading:
// the title (trailing blanks removed; the file title when empty), artist and
// album as the engine gives them, the length, and year, genre and track number
// (Null when the file has none that makes sense).
TrackFields ReadTrackFields(AudioEngine& engine, AudioEngine::SoundHandle sound, const String& path);

// The year of a date tag ("2019", "2019-05-01", "05/2019"): its first run of
// four digits; Null when there is none.
Value YearFromTag(const Value& date);

// The track number of a tag that holds a number or a text such as "3" or
// "3/12"; Null when it holds no positive number.
Value TrackNumberFromTag(const Value& tag);
