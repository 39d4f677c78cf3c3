#pragma once

#include "playback/ReplayGain.h"

class SqlSession;

// The loudness correction picked in the Playback menu, kept in the library database
// (table SETTINGS) so that the next start plays the same way.

// Off when nothing is stored or the stored value is not one this version knows.
ReplayGainMode LoadReplayGainMode(SqlSession& session);
// False when the database did not take it; the choice then lasts for this run only.
bool StoreReplayGainMode(SqlSession& session, ReplayGainMode mode);
