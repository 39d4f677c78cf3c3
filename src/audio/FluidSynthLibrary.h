#pragma once

#include <fluidsynth.h>

namespace audio {

// The functions of the MIDI synthesiser library that the renderer calls. The library is
// loaded the first time a MIDI file plays, not at start: with the libraries it pulls in
// it would take more than a megabyte from every run, most of which play no MIDI at all.
struct FluidSynthLibrary {
    decltype(&new_fluid_settings) newSettings;
    decltype(&delete_fluid_settings) deleteSettings;
    decltype(&fluid_settings_setnum) settingsSetNum;
    decltype(&fluid_settings_setstr) settingsSetStr;
    decltype(&fluid_settings_setint) settingsSetInt;
    decltype(&new_fluid_synth) newSynth;
    decltype(&delete_fluid_synth) deleteSynth;
    decltype(&fluid_synth_sfload) synthSoundFontLoad;
    decltype(&fluid_synth_write_float) synthWriteFloat;
    decltype(&fluid_synth_all_sounds_off) synthAllSoundsOff;
    decltype(&new_fluid_player) newPlayer;
    decltype(&delete_fluid_player) deletePlayer;
    decltype(&fluid_player_add_mem) playerAddMem;
    decltype(&fluid_player_play) playerPlay;
    decltype(&fluid_player_stop) playerStop;
    decltype(&fluid_player_seek) playerSeek;
};

// The loaded library, or null when it cannot be loaded. Loads it on the first call, from
// any thread; it stays loaded until the process ends.
const FluidSynthLibrary* LoadFluidSynth();

}  // namespace audio
