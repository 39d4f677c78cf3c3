#include "audio/SdlOutput.h"

#include <SDL.h>

#include <mutex>

#include "audio/Mixer.h"
#include "audio/PcmFormat.h"

namespace audio {

namespace {

constexpr const char* kSilentDriver = "dummy";

// The audio driver is process-wide; systems in the same process share it.
std::mutex driverMutex;
int driverUsers = 0;

bool StartDriver(bool silent)
{
    std::lock_guard lock(driverMutex);
    if (driverUsers > 0) {
        ++driverUsers;
        return true;
    }
    // The player handles termination signals itself.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (silent)
        SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, kSilentDriver, SDL_HINT_OVERRIDE);
    const bool started = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
    if (silent)
        SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (!started)
        return false;
    ++driverUsers;
    return true;
}

void StopDriver()
{
    std::lock_guard lock(driverMutex);
    if (driverUsers > 0 && --driverUsers == 0)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool DriverIsSilent()
{
    const char* name = SDL_GetCurrentAudioDriver();
    return name && SDL_strcmp(name, kSilentDriver) == 0;
}

}  // namespace

void SdlOutput::Callback(void* mixer, uint8_t* stream, int bytes)
{
    const std::size_t frames = static_cast<std::size_t>(bytes) / (sizeof(float) * kOutputChannels);
    static_cast<Mixer*>(mixer)->Mix(reinterpret_cast<float*>(stream), frames);
}

Result SdlOutput::Open(Mixer& mixer, std::unique_ptr<SdlOutput>* output)
{
    if (!output)
        return kErrInvalidParam;
    std::unique_ptr<SdlOutput> opened(new SdlOutput());

    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_F32SYS;
    wanted.channels = kOutputChannels;
    // About 46 ms per buffer: the device thread wakes some 22 times a second, and a
    // pause or a volume change is still heard at once.
    wanted.samples = 2048;
    wanted.callback = &SdlOutput::Callback;
    wanted.userdata = &mixer;

    // First the system's own driver, then the silent one.
    for (bool silent : {false, true}) {
        if (!StartDriver(silent))
            continue;
        SDL_AudioSpec obtained{};
        // No format changes allowed: the driver converts from our format if it must.
        const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (device != 0) {
            opened->device_ = device;
            opened->driverStarted_ = true;
            opened->fallback_ = DriverIsSilent();
            SDL_PauseAudioDevice(device, 0);
            *output = std::move(opened);
            return kOk;
        }
        StopDriver();
    }
    return kErrOutput;
}

SdlOutput::~SdlOutput()
{
    if (device_ != 0)
        SDL_CloseAudioDevice(device_);
    if (driverStarted_)
        StopDriver();
}

}  // namespace audio
