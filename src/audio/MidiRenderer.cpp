#include "audio/MidiRenderer.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include <fluidsynth.h>

#include "audio/PcmFormat.h"

namespace audio {

void MidiRenderer::Deleters::operator()(_fluid_hashtable_t* p) const { delete_fluid_settings(p); }
void MidiRenderer::Deleters::operator()(_fluid_synth_t* p) const { delete_fluid_synth(p); }
void MidiRenderer::Deleters::operator()(_fluid_player_t* p) const
{
    fluid_player_stop(p);
    delete_fluid_player(p);
}

Result MidiRenderer::Open(std::vector<uint8_t> bytes, const MidiTempoMap& tempoMap, const std::string& soundFont,
                          std::unique_ptr<MidiRenderer>* renderer)
{
    if (!renderer)
        return kErrInvalidParam;
    std::unique_ptr<MidiRenderer> r(new MidiRenderer());
    r->bytes_ = std::move(bytes);
    r->tempoMap_ = tempoMap;
    r->totalFrames_ = std::llround(tempoMap.LengthMs() * kSampleRate / 1000.0);

    r->settings_.reset(new_fluid_settings());
    if (!r->settings_)
        return kErrSynth;
    fluid_settings_t* settings = r->settings_.get();
    if (fluid_settings_setnum(settings, "synth.sample-rate", kSampleRate) != FLUID_OK ||
        fluid_settings_setstr(settings, "player.timing-source", "sample") != FLUID_OK ||
        fluid_settings_setint(settings, "synth.lock-memory", 0) != FLUID_OK)
        return kErrSynth;

    r->synth_.reset(new_fluid_synth(settings));
    if (!r->synth_)
        return kErrSynth;
    if (fluid_synth_sfload(r->synth_.get(), soundFont.c_str(), 1) == FLUID_FAILED)
        return kErrSoundFont;

    r->player_.reset(new_fluid_player(r->synth_.get()));
    if (!r->player_)
        return kErrSynth;
    if (fluid_player_add_mem(r->player_.get(), r->bytes_.data(), r->bytes_.size()) != FLUID_OK ||
        fluid_player_play(r->player_.get()) != FLUID_OK)
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
    if (fluid_synth_write_float(synth_.get(), count, frames, 0, kOutputChannels, frames, 1, kOutputChannels) !=
        FLUID_OK)
        return kErrSynth;
    renderedFrames_ += count;
    *produced = static_cast<std::size_t>(count);
    return kOk;
}

Result MidiRenderer::SeekMs(unsigned positionMs)
{
    const int tick = static_cast<int>(std::min<uint64_t>(tempoMap_.MsToTick(positionMs), INT_MAX));
    if (fluid_player_seek(player_.get(), tick) != FLUID_OK) {
        // The player loads the file when it first renders and refuses seeks until then:
        // render one block into a throwaway buffer and ask again.
        float block[64 * kOutputChannels];
        if (fluid_synth_write_float(synth_.get(), 64, block, 0, kOutputChannels, block, 1, kOutputChannels) !=
                FLUID_OK ||
            fluid_player_seek(player_.get(), tick) != FLUID_OK)
            return kErrSynth;
    }
    fluid_synth_all_sounds_off(synth_.get(), -1);
    renderedFrames_ = std::min(totalFrames_, MsToFrames(positionMs));
    return kOk;
}

}  // namespace audio
