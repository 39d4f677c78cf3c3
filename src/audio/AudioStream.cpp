#include "audio/AudioStream.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/AdtsLength.h"
#include "audio/FileDecoder.h"
#include "audio/MidiRenderer.h"
#include "audio/TagReader.h"

namespace audio {

namespace {

// MIDI files are read whole; anything larger is not a MIDI file worth playing.
constexpr std::uintmax_t kMaxMidiBytes = 16u << 20;

std::string Upper(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

Result AudioStream::Open(const std::string& path, std::unique_ptr<AudioStream>* stream)
{
    if (!stream)
        return kErrInvalidParam;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (!std::filesystem::exists(status))
        return kErrFileNotFound;
    if (!std::filesystem::is_regular_file(status))
        return kErrFileUnreadable;

    std::unique_ptr<AudioStream> opened(new AudioStream());
    opened->path_ = path;
    if (const Result r = opened->OpenDecoded(); r != kOk)
        return r;
    *stream = std::move(opened);
    return kOk;
}

bool AudioStream::HasMidiHeader() const
{
    std::ifstream file(path_, std::ios::binary);
    char magic[4] = {};
    file.read(magic, sizeof magic);
    return file.gcount() == 4 && std::string(magic, 4) == "MThd";
}

Result AudioStream::OpenMidi()
{
    std::error_code error;
    if (std::filesystem::file_size(path_, error) > kMaxMidiBytes || error)
        return kErrFileDamaged;
    std::ifstream file(path_, std::ios::binary);
    midiBytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (file.bad())
        return kErrFileUnreadable;
    if (const Result r = MidiTempoMap::Parse(midiBytes_, &tempoMap_); r != kOk)
        return r;
    midi_ = true;
    lengthMs_ = static_cast<unsigned>(std::lround(tempoMap_.LengthMs()));
    return kOk;
}

Result AudioStream::OpenDecoded()
{
    TagReading reading = ReadTags(path_);
    tags_ = std::move(reading.tags);
    if (reading.recognised && reading.lengthMs > 0) {
        lengthMs_ = static_cast<unsigned>(reading.lengthMs);
        return kOk;
    }
    // The tag library knows no MIDI; checking for it only here keeps the common case to one open.
    if (!reading.recognised && HasMidiHeader())
        return OpenMidi();
    // The tag library does not know the format, found no length, or counts what the
    // container trims (MP4 edit lists): the decoder must.
    std::unique_ptr<FileDecoder> decoder;
    if (const Result r = FileDecoder::Open(path_, &decoder); r != kOk)
        return r;
    long long duration = decoder->ContainerDurationMs();
    if (decoder->ContainerName() == "aac")
        duration = AdtsLengthMs(path_);
    lengthMs_ = duration > 0 ? static_cast<unsigned>(duration) : 0;
    if (tags_.empty())
        for (const auto& [name, value] : decoder->Metadata())
            if (const std::string tagName = TagNameOfContainerKey(name); !tagName.empty())
                tags_.push_back(MakeTag(tagName, value));
    return kOk;
}

const Tag* AudioStream::FindTag(const std::string& name, int index) const
{
    if (index < 0)
        return nullptr;
    const std::string wanted = Upper(name);
    for (const Tag& tag : tags_)
        if (Upper(tag.name) == wanted && index-- == 0)
            return &tag;
    return nullptr;
}

Result AudioStream::OpenSource(std::unique_ptr<SampleSource>* source) const
{
    if (!source)
        return kErrInvalidParam;
    if (midi_) {
        std::unique_ptr<MidiRenderer> renderer;
        if (const Result r = MidiRenderer::Open(midiBytes_, tempoMap_, kDefaultSoundFont, &renderer); r != kOk)
            return r;
        *source = std::move(renderer);
        return kOk;
    }
    std::unique_ptr<FileDecoder> decoder;
    if (const Result r = FileDecoder::Open(path_, &decoder); r != kOk)
        return r;
    *source = std::move(decoder);
    return kOk;
}

}  // namespace audio
