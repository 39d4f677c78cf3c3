#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/MidiFile.h"
#include "audio/Result.h"
#include "audio/SampleSource.h"
#include "audio/Tag.h"

namespace audio {

// A file opened as a stream: what was learnt when opening it (tags, length,
// the kind of decoding it needs). Each play opens a fresh SampleSource.
class AudioStream {
public:
    static Result Open(const std::string& path, std::unique_ptr<AudioStream>* stream);

    unsigned LengthMs() const { return lengthMs_; }
    // The index-th tag of the name, compared without regard to case; null if there is none.
    const Tag* FindTag(const std::string& name, int index) const;
    Result OpenSource(std::unique_ptr<SampleSource>* source) const;

private:
    bool HasMidiHeader() const;
    Result OpenMidi();
    Result OpenDecoded();

    std::string path_;
    bool midi_ = false;
    unsigned lengthMs_ = 0;
    std::vector<Tag> tags_;
    std::vector<uint8_t> midiBytes_;
    MidiTempoMap tempoMap_;
};

}  // namespace audio
