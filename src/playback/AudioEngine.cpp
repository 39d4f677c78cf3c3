#include "playback/AudioEngine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/Utf8.h"
#include "playback/Percent.h"
#include "ui/Prompt.h"
#include "ui/ShownText.h"
#include "ui/Translate.h"

namespace {

String FormatText(const char* format, auto... args)
{
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

WString DecodeUtf16(const std::vector<uint8_t>& data, bool bigEndian)
{
    std::string utf8;
    const size_t units = data.size() / 2;
    auto unitAt = [&](size_t i) -> char16_t {
        const uint8_t a = data[2 * i];
        const uint8_t b = data[2 * i + 1];
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    for (size_t i = 0; i < units; ++i) {
        char32_t cp = unitAt(i);
        if (cp == 0)
            break;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < units) {
            const char32_t low = unitAt(i + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
            else {
                cp = 0xFFFD;
            }
        }
        else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;
        }
        AppendUtf8(utf8, cp);
    }
    return Utf8ToWide(utf8);
}

Value TagToValue(const audio::Tag& tag)
{
    using audio::TagType;
    switch (tag.type) {
    case TagType::Int: {
        if (tag.data.size() < sizeof(int32_t))
            return Value();
        int32_t v;
        std::memcpy(&v, tag.data.data(), sizeof v);
        return Value(static_cast<int>(v));
    }
    case TagType::Float: {
        if (tag.data.size() < sizeof(float))
            return Value();
        float v;
        std::memcpy(&v, tag.data.data(), sizeof v);
        return Value(static_cast<double>(v));
    }
    case TagType::String:
        return Value(String(tag.data.begin(), tag.data.end()));
    case TagType::Utf16:
        return Value(DecodeUtf16(tag.data, false));
    case TagType::Utf16BigEndian:
        return Value(DecodeUtf16(tag.data, true));
    case TagType::Utf8:
        return Value(Utf8ToWide(String(tag.data.begin(), tag.data.end())));
    default:
        return Value();
    }
}

}  // namespace

audio::Result AudioEngine::CreateSystem(std::unique_ptr<audio::AudioSystem>& system)
{
    system = std::make_unique<audio::AudioSystem>();
    return audio::kOk;
}

AudioEngine::AudioEngine(SystemFactory factory) : factory_(std::move(factory)) {}

AudioEngine::~AudioEngine()
{
    // The window closes the engine; this only covers an owner that never did.
    if (system)
        Close();
}

int AudioEngine::Init()
{
    result = factory_ ? factory_(system) : audio::kErrNotInitialised;
    if (result == audio::kOk && !system)
        result = audio::kErrMemory;
    if (CheckResult(true))
        return -1;

    unsigned version = 0;
    result = system->GetVersion(&version);
    if (CheckResult(true))
        return -1;
    if (version < kRequiredVersion) {
        // The translation keeps the two conversions of the English text.
        PromptOK(FormatText(Translate("The audio engine is too old (version %08x)&This program requires version %08x"),
                            version, kRequiredVersion));
        return -1;
    }

    result = system->Init(32, audio::kInitNormal, nullptr);
    if (CheckResult(true))
        return -3;

    result = system->GetMasterChannelGroup(&masterGroup);
    if (CheckResult(true))
        return -4;
    // Not reported: without it the window learns of an end at its next look.
    if (system->GetEndSignal(&ends) != audio::kOk)
        ends = nullptr;
    return 0;
}

void AudioEngine::Close()
{
    if (!system)
        return;
    system->Close();
    system.reset();
    sound = {};
    channel = {};
    queuedSound = {};
    queuedChannel = {};
    masterGroup = nullptr;
    ends = nullptr;
}

void AudioEngine::ClearEndNotice()
{
    if (ends)
        ends->Clear();
}

bool AudioEngine::CheckResult(bool show)
{
    if (result == audio::kOk)
        return false;
    if (!show)
        return true;
    PromptOK(FailureText());
    return true;
}

const char* AudioEngine::ErrorText(int code) { return audio::ResultText(code); }

std::string AudioEngine::FailureText() const
{
    std::string text = Translate(ErrorText(result));
    if (playing_.empty())
        return Fill(Translate("Audio error: %s (%d)"), {text, std::to_string(result)});
    // Part of a sentence about the file: "Cannot play "x.mp3": file not found. (1)"
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z' && !(text.size() > 1 && text[1] >= 'A' && text[1] <= 'Z'))
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    const size_t slash = playing_.rfind('/');
    const std::string name = slash == std::string::npos ? playing_ : playing_.substr(slash + 1);
    return Fill(Translate("Cannot play \"%s\": %s (%d)"), {name, text, std::to_string(result)});
}

AudioEngine::SoundHandle AudioEngine::OpenStream(const std::string& path)
{
    SoundHandle handle;
    result = system ? system->CreateStream(path, 0, nullptr, &handle) : audio::kErrNotInitialised;
    if (CheckResult(true))
        return {};
    return handle;
}

void AudioEngine::ReleaseStream(SoundHandle handle)
{
    if (!handle)
        return;
    result = system ? system->ReleaseStream(handle) : audio::kErrNotInitialised;
    CheckResult(true);
}

bool AudioEngine::FreeCurrent()
{
    DropQueued();
    if (sound) {
        if (system)
            system->ReleaseStream(sound);
        sound = {};
    }
    return true;
}

bool AudioEngine::PlayFile(const std::string& path, GainTags gain)
{
    FreeCurrent();
    // Failures from here on are told as failures to play this file.
    playing_ = path;
    struct Forget {
        std::string& path;
        ~Forget() { path.clear(); }
    } forget{playing_};
    sound = OpenStream(path);
    if (!sound)
        return false;
    lengthMs = static_cast<int>(GetLengthMs(sound));
    gainFactor = GainOf(sound, gain);
    // A corrected track starts paused until its gain is set, so not one buffer plays unscaled.
    const bool corrected = gainFactor != 1.0f;
    result = system->PlaySound(-1, sound, corrected, &channel);
    if (CheckResult(true))
        return false;
    if (corrected) {
        system->SetGain(channel, gainFactor);
        system->SetPaused(channel, false);
    }
    return true;
}

void AudioEngine::ApplyGain(GainTags gain)
{
    if (!sound || !system)
        return;
    gainFactor = GainOf(sound, gain);
    system->SetGain(channel, gainFactor);
}

float AudioEngine::GainOf(SoundHandle handle, GainTags gain)
{
    // Reading the tags sets no result: a file without them is the common case.
    const int saved = result;
    const float factor = ReplayGainFactor([&](const char* name) { return GetTag(handle, name); }, gain);
    result = saved;
    return factor;
}

bool AudioEngine::QueueNext(const std::string& path, GainTags gain)
{
    DropQueued();
    if (!system || !sound || !channel)
        return false;
    SoundHandle next;
    if (system->CreateStream(path, 0, nullptr, &next) != audio::kOk)
        return false;
    unsigned handOvers = 0;
    system->GetHandOvers(channel, &handOvers);
    if (system->QueueSound(channel, next, &queuedChannel) != audio::kOk) {
        system->ReleaseStream(next);
        return false;
    }
    queuedGainFactor = GainOf(next, gain);
    system->SetGain(queuedChannel, queuedGainFactor);
    queuedSound = next;
    queuedFile = path;
    handOversAtQueue = handOvers;
    queuedLengthMs = static_cast<int>(GetLengthMs(next));
    return true;
}

void AudioEngine::DropQueued()
{
    if (queuedSound && system)
        system->ReleaseStream(queuedSound);
    queuedSound = {};
    queuedFile.clear();
    queuedChannel = {};
}

bool AudioEngine::TakeQueued()
{
    if (!queuedSound || !system)
        return false;
    unsigned handOvers = handOversAtQueue;
    system->GetHandOvers(channel, &handOvers);
    if (handOvers == handOversAtQueue)
        return false;
    system->ReleaseStream(sound);
    sound = queuedSound;
    channel = queuedChannel;
    lengthMs = queuedLengthMs;
    gainFactor = queuedGainFactor;
    queuedSound = {};
    queuedFile.clear();
    queuedChannel = {};
    return true;
}

bool AudioEngine::OpenPaused(const std::string& path, unsigned positionMs, GainTags gain)
{
    FreeCurrent();
    if (!system)
        return false;
    SoundHandle opened;
    result = system->CreateStream(path, 0, nullptr, &opened);
    if (result != audio::kOk)
        return false;
    sound = opened;
    lengthMs = static_cast<int>(GetLengthMs(sound));
    gainFactor = GainOf(sound, gain);
    result = system->PlaySound(-1, sound, true, &channel);
    if (result != audio::kOk) {
        FreeCurrent();
        return false;
    }
    if (gainFactor != 1.0f)
        system->SetGain(channel, gainFactor);
    if (positionMs >= static_cast<unsigned>(std::max(lengthMs, 0)))
        positionMs = 0;
    if (positionMs > 0)
        system->SetPositionMs(channel, positionMs);
    return true;
}

bool AudioEngine::TogglePause()
{
    if (!channel || !system)
        return false;
    bool paused = false;
    system->GetPaused(channel, &paused);
    system->SetPaused(channel, !paused);
    return paused;
}

bool AudioEngine::IsPlaying() const
{
    if (!channel || !system)
        return false;
    bool playing = false;
    system->IsPlaying(channel, &playing);
    return playing;
}

bool AudioEngine::IsPaused() const
{
    if (!channel || !system)
        return false;
    bool paused = false;
    system->GetPaused(channel, &paused);
    return paused;
}

unsigned AudioEngine::GetPositionMs() const
{
    if (!channel || !system)
        return 0;
    unsigned position = 0;
    system->GetPositionMs(channel, &position);
    return position;
}

double AudioEngine::GetPositionPercent() const
{
    if (!channel || !system)
        return 0.0;
    unsigned position = 0;
    system->GetPositionMs(channel, &position);
    return PercentAt(position);
}

double AudioEngine::PercentAt(unsigned positionMs) const
{
    // A sound without a known length has no meaningful percentage.
    if (lengthMs <= 0)
        return 0.0;
    return static_cast<double>(positionMs) * 100.0 / lengthMs;
}

void AudioEngine::SetPositionPercent(float percent)
{
    if (!channel || !system)
        return;
    // Out-of-range or NaN input would otherwise wrap to a huge unsigned position.
    if (!(percent > 0.0f))
        percent = 0.0f;
    if (percent > 100.0f)
        percent = 100.0f;
    // The conversion truncates toward zero.
    system->SetPositionMs(channel, static_cast<unsigned>(PercentOf(lengthMs, percent)));
}

float AudioEngine::GetVolume() const
{
    float volume = 0.0f;
    if (masterGroup)
        masterGroup->GetVolume(&volume);
    return volume * 100.0f;
}

void AudioEngine::SetVolume(float percent)
{
    if (masterGroup)
        masterGroup->SetVolume(percent * 0.01f);
}

unsigned AudioEngine::GetLengthMs(SoundHandle handle) const
{
    if (!handle || !system)
        return 0;
    unsigned length = 0;
    if (system->GetLengthMs(handle, &length) != audio::kOk)
        return 0;
    return length;
}

Value AudioEngine::GetTag(SoundHandle handle, const std::string& name)
{
    if (!handle || !system)
        return Value();
    audio::Tag tag;
    result = system->GetTag(handle, name, 0, &tag);
    if (result != audio::kOk)
        return Value();
    return TagToValue(tag);
}
