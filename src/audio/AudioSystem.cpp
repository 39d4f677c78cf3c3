#include "audio/AudioSystem.h"

#include <map>

extern "C" {
#include <libavutil/log.h>
}

#include "audio/AudioStream.h"
#include "audio/Mixer.h"
#include "audio/SdlOutput.h"

namespace audio {

namespace {

constexpr int kMaxChannels = 4096;

}  // namespace

struct AudioSystem::Impl {
    // Destroyed in reverse: the device stops calling the mixer before the mixer goes.
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<SdlOutput> output;
    std::map<uint32_t, std::unique_ptr<AudioStream>> streams;
    uint32_t nextStreamId = 1;
    uint32_t nextSerial = 1;
    ChannelGroup idleMaster;  // handed out before Init, so a volume set early is not lost

    bool Initialised() const { return mixer != nullptr; }

    const AudioStream* FindStream(StreamHandle handle) const
    {
        auto it = streams.find(handle.id);
        return it == streams.end() ? nullptr : it->second.get();
    }

    // The slot the handle names, if the handle is still current.
    ChannelSlot* FindSlot(ChannelHandle handle) const
    {
        if (!mixer || !handle || handle.slot >= static_cast<uint32_t>(mixer->ChannelCount()))
            return nullptr;
        ChannelSlot& slot = mixer->Slot(static_cast<int>(handle.slot));
        return slot.Serial() == handle.serial ? &slot : nullptr;
    }

    void StopSlot(ChannelSlot& slot)
    {
        {
            auto lock = mixer->Lock();
            slot.Deactivate();
            mixer->Unlink(slot);
        }
        slot.Stop();
    }

    // Stops what the slot held and starts decoding `stream` into it ahead of the
    // mixer, under a new serial; the slot makes no sound until it is activated
    // or handed over to.
    Result StartSlot(ChannelSlot& slot, const AudioStream& stream, StreamHandle handle, bool paused, uint32_t* serial)
    {
        StopSlot(slot);
        std::unique_ptr<SampleSource> source;
        if (const Result r = stream.OpenSource(&source); r != kOk)
            return r;
        *serial = nextSerial++;
        return slot.Start(std::move(source), handle.id, *serial, paused);
    }

    // One fact of the channel a handle names, read into `out`; a stale handle
    // leaves `out` at its default.
    template <class T, class Read>
    Result ReadChannel(ChannelHandle channel, T* out, Read read) const
    {
        if (!out)
            return kErrInvalidParam;
        *out = T{};
        const ChannelSlot* slot = FindSlot(channel);
        if (!slot)
            return kErrInvalidHandle;
        *out = read(*slot);
        return kOk;
    }

    // A slot that is neither playing nor queued, or -1.
    int FreeSlot() const
    {
        for (int i = 0; i < mixer->ChannelCount(); ++i)
            if (mixer->Slot(i).IsFree())
                return i;
        return -1;
    }

    void CloseAll()
    {
        output.reset();  // no callback runs after this
        if (mixer)
            for (int i = 0; i < mixer->ChannelCount(); ++i)
                mixer->Slot(i).Stop();
        mixer.reset();
        streams.clear();
    }
};

AudioSystem::AudioSystem() : impl_(std::make_unique<Impl>()) {}

AudioSystem::~AudioSystem() { impl_->CloseAll(); }

Result AudioSystem::GetVersion(unsigned* version) const
{
    if (!version)
        return kErrInvalidParam;
    *version = kBackendVersion;
    return kOk;
}

Result AudioSystem::Init(int maxChannels, unsigned flags, void* /*extraDriverData*/)
{
    if (impl_->Initialised())
        return kErrAlreadyInitialised;
    if (maxChannels < 1 || maxChannels > kMaxChannels || (flags & ~kInitNoOutput) != 0)
        return kErrInvalidParam;
    // Damaged files are reported through result codes, not on the console.
    av_log_set_level(AV_LOG_FATAL);

    auto mixer = std::make_unique<Mixer>(maxChannels);
    mixer->Master().SetVolume(impl_->idleMaster.Volume());
    if (!(flags & kInitNoOutput)) {
        if (const Result r = SdlOutput::Open(*mixer, &impl_->output); r != kOk)
            return r;
    }
    impl_->mixer = std::move(mixer);
    return kOk;
}

Result AudioSystem::Close()
{
    if (!impl_->Initialised())
        return kErrNotInitialised;
    impl_->CloseAll();
    return kOk;
}

Result AudioSystem::GetMasterChannelGroup(ChannelGroup** group)
{
    if (!group)
        return kErrInvalidParam;
    if (!impl_->Initialised())
        return kErrNotInitialised;
    *group = &impl_->mixer->Master();
    return kOk;
}

Result AudioSystem::GetEndSignal(EndSignal** signal)
{
    if (!signal)
        return kErrInvalidParam;
    if (!impl_->Initialised())
        return kErrNotInitialised;
    *signal = &impl_->mixer->Ends();
    return kOk;
}

Result AudioSystem::CreateStream(const std::string& path, unsigned mode, void* /*extraInfo*/, StreamHandle* stream)
{
    if (!stream || mode != 0)
        return kErrInvalidParam;
    *stream = {};
    if (!impl_->Initialised())
        return kErrNotInitialised;
    std::unique_ptr<AudioStream> opened;
    if (const Result r = AudioStream::Open(path, &opened); r != kOk)
        return r;
    const uint32_t id = impl_->nextStreamId++;
    impl_->streams.emplace(id, std::move(opened));
    stream->id = id;
    return kOk;
}

Result AudioSystem::ReleaseStream(StreamHandle stream)
{
    if (!impl_->Initialised())
        return kErrNotInitialised;
    auto it = impl_->streams.find(stream.id);
    if (!stream || it == impl_->streams.end())
        return kErrInvalidHandle;
    for (int i = 0; i < impl_->mixer->ChannelCount(); ++i) {
        ChannelSlot& slot = impl_->mixer->Slot(i);
        if (slot.StreamId() == stream.id)
            impl_->StopSlot(slot);
    }
    impl_->streams.erase(it);
    return kOk;
}

Result AudioSystem::GetLengthMs(StreamHandle stream, unsigned* lengthMs) const
{
    if (!lengthMs)
        return kErrInvalidParam;
    const AudioStream* found = impl_->FindStream(stream);
    if (!found)
        return kErrInvalidHandle;
    *lengthMs = found->LengthMs();
    return kOk;
}

Result AudioSystem::GetTag(StreamHandle stream, const std::string& name, int index, Tag* tag) const
{
    if (!tag)
        return kErrInvalidParam;
    const AudioStream* found = impl_->FindStream(stream);
    if (!found)
        return kErrInvalidHandle;
    const Tag* match = found->FindTag(name, index);
    if (!match)
        return kErrTagNotFound;
    *tag = *match;
    return kOk;
}

Result AudioSystem::PlaySound(int channelIndex, StreamHandle stream, bool paused, ChannelHandle* channel)
{
    if (!channel)
        return kErrInvalidParam;
    if (!impl_->Initialised())
        return kErrNotInitialised;
    const AudioStream* found = impl_->FindStream(stream);
    if (!found)
        return kErrInvalidHandle;
    Mixer& mixer = *impl_->mixer;
    if (channelIndex < -1 || channelIndex >= mixer.ChannelCount())
        return kErrInvalidParam;

    if (channelIndex == -1) {
        channelIndex = impl_->FreeSlot();
        if (channelIndex == -1)
            return kErrNoFreeChannel;
    }
    ChannelSlot& slot = mixer.Slot(channelIndex);
    uint32_t serial = 0;
    if (const Result r = impl_->StartSlot(slot, *found, stream, paused, &serial); r != kOk)
        return r;
    {
        auto lock = mixer.Lock();
        slot.Activate();
    }
    *channel = {static_cast<uint32_t>(channelIndex), serial};
    return kOk;
}

Result AudioSystem::QueueSound(ChannelHandle after, StreamHandle stream, ChannelHandle* queued)
{
    if (!queued)
        return kErrInvalidParam;
    *queued = {};
    if (!impl_->Initialised())
        return kErrNotInitialised;
    const AudioStream* found = impl_->FindStream(stream);
    ChannelSlot* predecessor = impl_->FindSlot(after);
    if (!found || !predecessor || !predecessor->IsActive())
        return kErrInvalidHandle;
    Mixer& mixer = *impl_->mixer;
    if (ChannelSlot* earlier = predecessor->Successor())
        impl_->StopSlot(*earlier);
    const int index = impl_->FreeSlot();
    if (index == -1)
        return kErrNoFreeChannel;
    ChannelSlot& slot = mixer.Slot(index);
    // Opening and the first decoding happen now, seconds before the audio is needed.
    uint32_t serial = 0;
    if (const Result r = impl_->StartSlot(slot, *found, stream, false, &serial); r != kOk)
        return r;
    slot.MarkQueued();
    {
        auto lock = mixer.Lock();
        // The predecessor may have finished while the file was opened.
        if (predecessor->IsActive() && predecessor->Serial() == after.serial) {
            predecessor->SetSuccessor(&slot);
            *queued = {static_cast<uint32_t>(index), serial};
            return kOk;
        }
    }
    impl_->StopSlot(slot);
    return kErrInvalidHandle;
}

Result AudioSystem::GetHandOvers(ChannelHandle channel, unsigned* count) const
{
    return impl_->ReadChannel(channel, count, [](const ChannelSlot& slot) { return slot.HandOvers(); });
}

Result AudioSystem::SetGain(ChannelHandle channel, float gain)
{
    ChannelSlot* slot = impl_->FindSlot(channel);
    if (!slot)
        return kErrInvalidHandle;
    if (!(gain >= 0.0f) || gain > kMaxGain)
        return kErrInvalidParam;
    slot->SetGain(gain);
    return kOk;
}

Result AudioSystem::IsPlaying(ChannelHandle channel, bool* playing) const
{
    return impl_->ReadChannel(channel, playing, [](const ChannelSlot& slot) { return slot.IsActive(); });
}

Result AudioSystem::GetPaused(ChannelHandle channel, bool* paused) const
{
    return impl_->ReadChannel(channel, paused, [](const ChannelSlot& slot) { return slot.IsPaused(); });
}

Result AudioSystem::SetPaused(ChannelHandle channel, bool paused)
{
    ChannelSlot* slot = impl_->FindSlot(channel);
    if (!slot || !slot->IsActive())
        return kErrInvalidHandle;
    slot->SetPaused(paused);
    return kOk;
}

Result AudioSystem::GetPositionMs(ChannelHandle channel, unsigned* positionMs) const
{
    return impl_->ReadChannel(channel, positionMs, [](const ChannelSlot& slot) { return slot.PositionMs(); });
}

Result AudioSystem::SetPositionMs(ChannelHandle channel, unsigned positionMs)
{
    ChannelSlot* slot = impl_->FindSlot(channel);
    if (!slot || !slot->IsActive())
        return kErrInvalidHandle;
    auto lock = impl_->mixer->Lock();
    slot->BeginSeek(positionMs);
    return kOk;
}

Result AudioSystem::Stop(ChannelHandle channel)
{
    ChannelSlot* slot = impl_->FindSlot(channel);
    if (!slot)
        return kErrInvalidHandle;
    impl_->StopSlot(*slot);
    return kOk;
}

Result AudioSystem::RenderOutput(float* out, int frames, int* delivered)
{
    if (!out || frames < 0)
        return kErrInvalidParam;
    if (!impl_->Initialised())
        return kErrNotInitialised;
    if (impl_->output)
        return kErrOutput;  // the device's callback is the one consumer
    const std::size_t taken = impl_->mixer->Mix(out, static_cast<std::size_t>(frames));
    if (delivered)
        *delivered = static_cast<int>(taken);
    return kOk;
}

}  // namespace audio
