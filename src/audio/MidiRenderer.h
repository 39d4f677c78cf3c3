#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/MidiFile.h"
#include "audio/SampleSource.h"

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;

namespace audio {

struct FluidSynthLibrary;

// The General MIDI instrument bank used to render MIDI files.
inline constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

// Renders a Standard MIDI File with a software synthesiser. Time advances by
// the samples rendered, never by the clock, and the audio lasts exactly the
// tempo map's length.
class MidiRenderer : public SampleSource {
public:
    static Result Open(std::vector<uint8_t> bytes, const MidiTempoMap& tempoMap, const std::string& soundFont,
                       std::unique_ptr<MidiRenderer>* renderer);
    ~MidiRenderer() override;

    Result Read(float* frames, std::size_t capacity, std::size_t* produced) override;
    Result SeekMs(unsigned positionMs) override;

private:
    MidiRenderer() = default;

    struct Deleters {
        void operator()(_fluid_hashtable_t* p) const;
        void operator()(_fluid_synth_t* p) const;
        void operator()(_fluid_player_t* p) const;
    };

    std::vector<uint8_t> bytes_;
    MidiTempoMap tempoMap_;
    long long totalFrames_ = 0;
    long long renderedFrames_ = 0;
    // Declared in order of creation: the player goes before the synthesiser, which goes before its settings.
    const FluidSynthLibrary* fluid_ = nullptr;  // loaded before any renderer is made
    std::unique_ptr<_fluid_hashtable_t, Deleters> settings_;
    std::unique_ptr<_fluid_synth_t, Deleters> synth_;
    std::unique_ptr<_fluid_player_t, Deleters> player_;
};

}  // namespace audio
