#include "audio/FluidSynthLibrary.h"

#include <dlfcn.h>

#include <optional>

namespace audio {

namespace {

// The run-time name of the library the headers belong to.
constexpr const char* kLibraryName = "libfluidsynth.so.3";

template <typename Function>
bool Find(void* library, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

std::optional<FluidSynthLibrary> Load()
{
    void* library = dlopen(kLibraryName, RTLD_NOW | RTLD_LOCAL);
    if (!library)
        return std::nullopt;
    FluidSynthLibrary f{};
    const bool complete =
        Find(library, "new_fluid_settings", f.newSettings) && Find(library, "delete_fluid_settings", f.deleteSettings) &&
        Find(library, "fluid_settings_setnum", f.settingsSetNum) &&
        Find(library, "fluid_settings_setstr", f.settingsSetStr) &&
        Find(library, "fluid_settings_setint", f.settingsSetInt) && Find(library, "new_fluid_synth", f.newSynth) &&
        Find(library, "delete_fluid_synth", f.deleteSynth) && Find(library, "fluid_synth_sfload", f.synthSoundFontLoad) &&
        Find(library, "fluid_synth_write_float", f.synthWriteFloat) &&
        Find(library, "fluid_synth_all_sounds_off", f.synthAllSoundsOff) &&
        Find(library, "new_fluid_player", f.newPlayer) && Find(library, "delete_fluid_player", f.deletePlayer) &&
        Find(library, "fluid_player_add_mem", f.playerAddMem) && Find(library, "fluid_player_play", f.playerPlay) &&
        Find(library, "fluid_player_stop", f.playerStop) && Find(library, "fluid_player_seek", f.playerSeek);
    if (!complete) {
        dlclose(library);
        return std::nullopt;
    }
    return f;
}

}  // namespace

const FluidSynthLibrary* LoadFluidSynth()
{
    static const std::optional<FluidSynthLibrary> library = Load();
    return library ? &*library : nullptr;
}

}  // namespace audio
