#pragma once

#include <cstddef>
#include <cstdint>

#include "core/Value.h"

// A plain-text diagnostic log file. The file is created by the first write, so
// a run that writes nothing leaves no file; creating it keeps the previous
// file as one backup generation (name + ".old"). Bytes are buffered and
// written at each line feed or when 512 bytes are waiting. With a size limit,
// a file that grows past it becomes the backup and a fresh file is started.
class LogStream {
public:
    static constexpr size_t kBufferSize = 512;

    // sizeLimit 0 means unlimited.
    LogStream(String fileName, int64_t sizeLimit);
    ~LogStream();
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;

    // (Re)creates the file now: closes it, replaces the backup with the current
    // file, creates the file anew and writes the header line.
    void Create();
    // Writes what is buffered and closes the file; the next write creates it again.
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // Points the stream at another file; the next write creates it.
    void SetFileName(const String& fileName);
    const String& GetFileName() const { return fileName_; }
    String GetBackupName() const { return fileName_ + ".old"; }

    void Put(const char* data, size_t size);
    void Flush();

    LogStream& operator<<(const String& text);
    LogStream& operator<<(const char* text);
    LogStream& operator<<(char c);
    LogStream& operator<<(int v);
    LogStream& operator<<(int64_t v);
    LogStream& operator<<(uint64_t v);

private:
    void FlushLocked();
    void CreateLocked();
    void CloseLocked();

    String fileName_;
    int64_t sizeLimit_;
    int fd_ = -1;
    // False until the first write or an explicit Create of the current file name.
    bool created_ = false;
    char buffer_[kBufferSize];
    size_t fill_ = 0;
    int64_t written_ = 0;
};
