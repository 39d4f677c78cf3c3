#pragma once

#include <functional>
#include <memory>
#include <string>

#include "audio/AudioSystem.h"
#include "audio/FileProbe.h"
#include "core/Value.h"

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
    // Releases the current sound, then opens and plays the file. True on success.
    bool PlayFile(const std::string& path);

    // Returns the paused state as it was before the call.
    bool TogglePause();
    bool IsPlaying() const;
    bool IsPaused() const;
    unsigned GetPositionMs() const;
    double GetPositionPercent() const;
    void SetPositionPercent(float percent);
    float GetVolume() const;
    void SetVolume(float percent);

    unsigned GetLengthMs(SoundHandle sound) const;
    // Null when the handle is none, the tag is missing or of a kind without a Value.
    Value GetTag(SoundHandle sound, const std::string& name);

    // Result code of the last reported back-end call.
    int LastResult() const { return result; }

private:
    int result = 0;
    std::unique_ptr<audio::AudioSystem> system;
    SoundHandle sound;
    audio::ChannelHandle channel;
    audio::ChannelGroup* masterGroup = nullptr;
    int lengthMs = 0;

    SystemFactory factory_;
    // The file PlayFile is starting, named by its failure messages; empty otherwise.
    std::string playing_;
    std::string FailureText() const;
};
