#pragma once

#include <cstdint>
#include <memory>

#include "audio/Result.h"

namespace audio {

class Mixer;

// The output device, fed by a callback that asks the mixer for each buffer.
// When no real device can be opened it falls back to the silent driver, so the
// back-end stays usable without a sound card or sound server.
class SdlOutput {
public:
    static Result Open(Mixer& mixer, std::unique_ptr<SdlOutput>* output);
    ~SdlOutput();
    SdlOutput(const SdlOutput&) = delete;
    SdlOutput& operator=(const SdlOutput&) = delete;

    // True when the silent fallback driver is in use.
    bool IsSilentFallback() const { return fallback_; }

private:
    SdlOutput() = default;
    static void Callback(void* mixer, uint8_t* stream, int bytes);

    uint32_t device_ = 0;
    bool fallback_ = false;
    bool driverStarted_ = false;
};

}  // namespace audio
