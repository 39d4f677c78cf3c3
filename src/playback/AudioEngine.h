#pragma once

#include <functional>
#include <memory>
#include <string>

#include "audio/AudioSystem.h"
#include "audio/FileProbe.h"
#include "core/Value.h"
#include "playback/ReplayGain.h"

// The program's layer over the audio back-end and the only code that calls it.
// Every reported failure is shown at once in an information message box, in
// plain words with the result code ("Cannot play "x.mp3": file not found. (1)"),
// and the operation returns its failure value.
// All calls belong to the user-interface thread.
class AudioEngine {
public:
    using SoundHandle = audio::StreamHandle;

    // What adding a file needs to know of it: its tags, its length and whether its
    // first audio frame decodes, or why it cannot be played, in plain words.
    using FileCheck = audio::ProbedFile;
    using FileProblem = audio::ProbeProblem;
    // Uses no engine state, so any thread may check files, several at once.
    static FileCheck CheckFile(const std::string& path) { return audio::ProbeFile(path); }

    // The oldest back-end version the program works with.
    static constexpr unsigned kRequiredVersion = 0x00040205;

    // Creates the back-end's system object; tests pass one that reports another version.
    using SystemFactory = std::function<audio::Result(std::unique_ptr<audio::AudioSystem>&)>;
    static audio::Result CreateSystem(std::unique_ptr<audio::AudioSystem>& system);

    explicit AudioEngine(SystemFactory factory = CreateSystem);
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // 0 on success; -1 (creation, version), -3 (initialisation), -4 (master group) on failure.
    int Init();
    // Closes and releases the back-end; no other call may follow.
    void Close();

    // True if `result` is an error; with show, after the user has seen the message.
    bool CheckResult(bool show);
    static const char* ErrorText(int code);

    // A stream for tag reading; none after a failure. The caller releases it with ReleaseStream.
    SoundHandle OpenStream(const std::string& path);
    void ReleaseStream(SoundHandle sound);
    // Releases the current sound, if any. Always true.
    bool FreeCurrent();
    // Releases the current sound (and a queued one), then opens and plays the file, louder or
    // softer as its loudness tags of the chosen kind ask. True on success.
    bool PlayFile(const std::string& path, GainTags gain = GainTags::None);
    // Releases the current sound (and a queued one), then opens the file without a word on
    // failure and has it wait paused at positionMs (at its start when that lies beyond its
    // end), as if played, paused and sought. False when it cannot be opened.
    bool OpenPaused(const std::string& path, unsigned positionMs, GainTags gain = GainTags::None);
    // Applies the chosen kind of loudness tags of the current sound from now on.
    void ApplyGain(GainTags gain);
    // The factor the current sound plays with besides the volume; 1 without a correction.
    float CurrentGain() const { return gainFactor; }

    // Gapless playback. QueueNext opens the file and queues it to start on the output at
    // the current sound's last sample, replacing any file queued before. A file that cannot
    // be opened or queued is not reported here: false, nothing queued, and the advance that
    // opens it with PlayFile shows the error as usual.
    bool QueueNext(const std::string& path, GainTags gain = GainTags::None);
    void DropQueued();
    bool HasQueued() const { return static_cast<bool>(queuedSound); }
    // The file queued; empty when none is.
    const std::string& QueuedFile() const { return queuedFile; }
    // True once the output has played the current sound to its end and gone on with the
    // queued one: that one becomes the current sound (position, length, pause act on it)
    // and the finished one is released. Asked by the tick once IsPlaying turned false.
    bool TakeQueued();
    // Readable once the output has played a channel to its end: the current sound ended,
    // or went on to the queued one. Lets the window learn of the end without polling;
    // -1 before Init. The output raises it; ClearEndNotice takes it back.
    int EndNoticeFd() const { return ends ? ends->Fd() : -1; }
    void ClearEndNotice();
    // Length of the current sound in milliseconds; 0 without one.
    int CurrentLengthMs() const { return sound ? lengthMs : 0; }

    // Returns the paused state as it was before the call.
    bool TogglePause();
    bool IsPlaying() const;
    bool IsPaused() const;
    unsigned GetPositionMs() const;
    double GetPositionPercent() const;
    // A position of the current sound as GetPositionPercent gives it, for a caller that has the milliseconds.
    double PercentAt(unsigned positionMs) const;
    void SetPositionPercent(float percent);
    float GetVolume() const;
    void SetVolume(float percent);

    unsigned GetLengthMs(SoundHandle sound) const;
    // Null when the handle is none, the tag is missing or of a kind without a Value.
    Value GetTag(SoundHandle sound, const std::string& name);

    // Result code of the last reported back-end call.
    int LastResult() const { return result; }

private:
    float GainOf(SoundHandle handle, GainTags gain);

    int result = 0;
    std::unique_ptr<audio::AudioSystem> system;
    SoundHandle sound;
    audio::ChannelHandle channel;
    audio::ChannelGroup* masterGroup = nullptr;
    audio::EndSignal* ends = nullptr;
    int lengthMs = 0;
    float gainFactor = 1.0f;

    // The file queued behind the current sound, and the current channel's hand-over count
    // when it was queued (the output callback bumps it when the queued file takes over).
    SoundHandle queuedSound;
    std::string queuedFile;
    audio::ChannelHandle queuedChannel;
    int queuedLengthMs = 0;
    float queuedGainFactor = 1.0f;
    unsigned handOversAtQueue = 0;

    SystemFactory factory_;
    // The file PlayFile is starting, named by its failure messages; empty otherwise.
    std::string playing_;
    std::string FailureText() const;
};
