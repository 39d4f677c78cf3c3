#include "audio/MidiRenderer.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "audio/FluidSynthLibrary.h"
#include "audio/PcmFormat.h"

namespace audio {

// The library is loaded: these objects were made through it.
void MidiRenderer::Deleters::operator()(_fluid_hashtable_t* p) const { LoadFluidSynth()->deleteSettings(p); }
void MidiRenderer::Deleters::operator()(_fluid_synth_t* p) const { LoadFluidSynth()->deleteSynth(p); }
void MidiRenderer::Deleters::operator()(_fluid_player_t* p) const
{
    LoadFluidSynth()->playerStop(p);
    LoadFluidSynth()->deletePlayer(p);
}

Result MidiRenderer::Open(std::vector<uint8_t> bytes, const MidiTempoMap& tempoMap, const std::string& soundFont,
                          std::unique_ptr<MidiRenderer>* renderer)
{
    if (!renderer)
        return kErrInvalidParam;
    const FluidSynthLibrary* fluid = LoadFluidSynth();
    if (!fluid)
        return kErrSynth;
    std::unique_ptr<MidiRenderer> r(new MidiRenderer());
    r->fluid_ = fluid;
    r->bytes_ = std::move(bytes);
    r->tempoMap_ = tempoMap;
    r->totalFrames_ = std::llround(tempoMap.LengthMs() * kSampleRate / 1000.0);

    r->settings_.reset(fluid->newSettings());
    if (!r->settings_)
        return kErrSynth;
    fluid_settings_t* settings = r->settings_.get();
    if (fluid->settingsSetNum(settings, "synth.sample-rate", kSampleRate) != FLUID_OK ||
        fluid->settingsSetStr(settings, "player.timing-source", "sample") != FLUID_OK ||
        fluid->settingsSetInt(settings, "synth.lock-memory", 0) != FLUID_OK)
        return kErrSynth;

    r->synth_.reset(fluid->newSynth(settings));
    if (!r->synth_)
        return kErrSynth;
    if (fluid->synthSoundFontLoad(r->synth_.get(), soundFont.c_str(), 1) == FLUID_FAILED)
        return kErrSoundFont;

    r->player_.reset(fluid->newPlayer(r->synth_.get()));
    if (!r->player_)
        return kErrSynth;
    if (fluid->playerAddMem(r->player_.get(), r->bytes_.data(), r->bytes_.size()) != FLUID_OK ||
        fluid->playerPlay(r->player_.get()) != FLUID_OK)
        return kErrFileDamaged;
    *renderer = std::move(r);
    return kOk;
}

MidiRenderer::~MidiRenderer() = default;

Result MidiRenderer::Read(float* frames, std::size_t capacity, std::size_t* produced)
{
    if (!frames || !produced)
        return kErrInvalidParam;
    const long long left = std::max(0LL, totalFrames_ - renderedFrames_);
    const int count = static_cast<int>(std::min<long long>({left, static_cast<long long>(capacity), INT_MAX}));
    *produced = 0;
    if (count == 0)
        return kOk;
    if (fluid_->synthWriteFloat(synth_.get(), count, frames, 0, kOutputChannels, frames, 1, kOutputChannels) !=
        FLUID_OK)
        return kErrSynth;
    renderedFrames_ += count;
    *produced = static_cast<std::size_t>(count);
    return kOk;
}

Result MidiRenderer::SeekMs(unsigned positionMs)
{
    const int tick = static_cast<int>(std::min<uint64_t>(tempoMap_.MsToTick(positionMs), INT_MAX));
    if (fluid_->playerSeek(player_.get(), tick) != FLUID_OK) {
        // The player loads the file when it first renders and refuses seeks until then:
        // render one block into a throwaway buffer and ask again.
        float block[64 * kOutputChannels];
        if (fluid_->synthWriteFloat(synth_.get(), 64, block, 0, kOutputChannels, block, 1, kOutputChannels) !=
                FLUID_OK ||
            fluid_->playerSeek(player_.get(), tick) != FLUID_OK)
            return kErrSynth;
    }
    fluid_->synthAllSoundsOff(synth_.get(), -1);
    renderedFrames_ = std::min(totalFrames_, MsToFrames(positionMs));
    return kOk;
}

}  // namespace audio
