#include "audio/Result.h"

#include <array>
#include <cstddef>

namespace audio {

namespace {

constexpr std::array<const char*, 16> kTexts = {
    "No errors.",
    "File not found.",
    "The file could not be read.",
    "Unsupported file or audio format.",
    "The file is damaged or its data could not be decoded.",
    "The audio output device could not be opened or failed.",
    "An invalid object handle was used.",
    "An invalid parameter was passed to this function.",
    "The audio system has not been initialised.",
    "The audio system has already been initialised.",
    "No free channel is available to play on.",
    "A decoding thread could not be started.",
    "The instrument bank for MIDI playback could not be loaded.",
    "The MIDI synthesiser could not be created.",
    "The requested tag could not be found in the file.",
    "Not enough memory or resources.",
};

}  // namespace

const char* ResultText(Result code)
{
    if (code < 0 || static_cast<std::size_t>(code) >= kTexts.size())
        return "Unknown error.";
    return kTexts[static_cast<std::size_t>(code)];
}

}  // namespace audio
