#pragma once

#include <string>

namespace audio {

// Why a file cannot be added to the library.
enum class ProbeProblem {
    None,
    NotAFile,     // a folder, pipe, socket or device: never opened for reading
    Unreadable,   // missing, no permission, an input/output error
    Empty,
    NotAudio,     // neither the tag reader nor the decoder knows it, or it holds no sound
    Damaged,      // a known format whose data cannot be read or decoded
    Unsupported,  // sound in a format no installed decoder handles
};

// What adding a file needs to know of it: its tags, its length and whether it plays.
struct ProbedFile {
    ProbeProblem problem = ProbeProblem::None;
    // Plain words for the user ("damaged", "cannot read: permission denied"); empty when problem is None.
    std::string reason;
    // Tags as UTF-8, empty when the file lacks them; year and track 0 when missing.
    std::string title;
    std::string artist;
    std::string album;
    std::string genre;
    int year = 0;
    int track = 0;
    long long lengthMs = 0;

    bool Playable() const { return problem == ProbeProblem::None; }
};

// Reads the tags and length and checks that the first audio frame decodes.
// Safe to call from several threads at once; it touches no shared state.
ProbedFile ProbeFile(const std::string& path);

}  // namespace audio
