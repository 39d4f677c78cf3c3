#include "audio/AudioSystem.h"

namespace audio {

struct AudioSystem::Impl {
    ChannelGroup master;
};

AudioSystem::AudioSystem() : impl_(std::make_unique<Impl>()) {}
AudioSystem::~AudioSystem() = default;

Result AudioSystem::GetVersion(unsigned* version) const
{
    if (!version)
        return kErrInvalidParam;
    *version = kBackendVersion;
    return kOk;
}

Result AudioSystem::Init(int, unsigned, void*) { return kOk; }
Result AudioSystem::Close() { return kOk; }
Result AudioSystem::GetMasterChannelGroup(ChannelGroup** group)
{
    *group = &impl_->master;
    return kOk;
}
Result AudioSystem::CreateStream(const std::string&, unsigned, void*, StreamHandle*) { return kErrNotInitialised; }
Result AudioSystem::ReleaseStream(StreamHandle) { return kErrInvalidHandle; }
Result AudioSystem::GetLengthMs(StreamHandle, unsigned*) const { return kErrInvalidHandle; }
Result AudioSystem::GetTag(StreamHandle, const std::string&, int, Tag*) const { return kErrInvalidHandle; }
Result AudioSystem::PlaySound(int, StreamHandle, bool, ChannelHandle*) { return kErrInvalidHandle; }
Result AudioSystem::IsPlaying(ChannelHandle, bool*) const { return kErrInvalidHandle; }
Result AudioSystem::GetPaused(ChannelHandle, bool*) const { return kErrInvalidHandle; }
Result AudioSystem::SetPaused(ChannelHandle, bool) { return kErrInvalidHandle; }
Result AudioSystem::GetPositionMs(ChannelHandle, unsigned*) const { return kErrInvalidHandle; }
Result AudioSystem::SetPositionMs(ChannelHandle, unsigned) { return kErrInvalidHandle; }
Result AudioSystem::Stop(ChannelHandle) { return kErrInvalidHandle; }
Result AudioSystem::RenderOutput(float*, int) { return kErrNotInitialised; }

}  // namespace audio
