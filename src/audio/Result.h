#pragma once

// Result codes of every back-end call; 0 is success.
namespace audio {

using Result = int;

enum ResultCode : Result {
    kOk = 0,
    kErrFileNotFound = 1,
    kErrFileUnreadable = 2,
    kErrFormat = 3,
    kErrFileDamaged = 4,
    kErrOutput = 5,
    kErrInvalidHandle = 6,
    kErrInvalidParam = 7,
    kErrNotInitialised = 8,
    kErrAlreadyInitialised = 9,
    kErrNoFreeChannel = 10,
    kErrThread = 11,
    kErrSoundFont = 12,
    kErrSynth = 13,
    kErrTagNotFound = 14,
    kErrMemory = 15,
};

// One constant English text per code; "Unknown error." for codes the table lacks.
const char* ResultText(Result code);

}  // namespace audio
