#include "data/LogStream.h"

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <pwd.h>
#include <unistd.h>

#include "core/Paths.h"

namespace {

// One lock for every log, so lines written from different threads never
// interleave inside one write. Never destroyed: logs may be written at exit.
std::mutex& LogLock()
{
    static std::mutex* lock = new std::mutex;
    return *lock;
}

String UserName()
{
    const uid_t uid = geteuid();
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    String buffer(size > 0 ? static_cast<size_t>(size) : 16384, '\0');
    passwd entry;
    passwd* found = nullptr;
    if (getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_name)
        return found->pw_name;
    return std::to_string(uid);
}

String HeaderLine()
{
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    char text[64];
    std::snprintf(text, sizeof text, " %02d.%02d.%04d %02d:%02d:%02d, user: ", local.tm_mday, local.tm_mon + 1,
                  local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec);
    return "* " + ExecutablePath() + text + UserName() + "\n\r\n";
}

void WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;  // a full or broken disk loses log lines, never the program
        data += n;
        size -= static_cast<size_t>(n);
    }
}

}  // namespace

LogStream::LogStream(String fileName, int64_t sizeLimit) : fileName_(std::move(fileName)), sizeLimit_(sizeLimit)
{
}

LogStream::~LogStream()
{
    Close();
}

void LogStream::Create()
{
    std::lock_guard guard(LogLock());
    CreateLocked();
}

void LogStream::CreateLocked()
{
    CloseLocked();
    const String backup = GetBackupName();
    unlink(backup.c_str());
    rename(fileName_.c_str(), backup.c_str());
    written_ = 0;
    fill_ = 0;
    created_ = true;
    fd_ = open(fileName_.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    // Written directly so that a limit smaller than the header cannot rotate again.
    const String header = HeaderLine();
    if (fd_ >= 0)
        WriteAll(fd_, header.data(), header.size());
    written_ = static_cast<int64_t>(header.size());
}

void LogStream::Close()
{
    std::lock_guard guard(LogLock());
    CloseLocked();
}

void LogStream::CloseLocked()
{
    FlushLocked();
    if (fd_ >= 0)
        close(fd_);
    fd_ = -1;
    created_ = false;
}

void LogStream::SetFileName(const String& fileName)
{
    std::lock_guard guard(LogLock());
    CloseLocked();
    fileName_ = fileName;
}

void LogStream::Put(const char* data, size_t size)
{
    std::lock_guard guard(LogLock());
    if (!created_)
        CreateLocked();
    for (size_t i = 0; i < size; ++i) {
        buffer_[fill_++] = data[i];
        if (data[i] == '\n' || fill_ == kBufferSize)
            FlushLocked();
    }
}

void LogStream::Flush()
{
    std::lock_guard guard(LogLock());
    FlushLocked();
}

void LogStream::FlushLocked()
{
    if (fill_ == 0)
        return;
    if (fd_ >= 0)
        WriteAll(fd_, buffer_, fill_);
    written_ += static_cast<int64_t>(fill_);
    fill_ = 0;
    if (sizeLimit_ >= 1 && written_ > sizeLimit_)
        CreateLocked();
}

LogStream& LogStream::operator<<(const String& text)
{
    Put(text.data(), text.size());
    return *this;
}

LogStream& LogStream::operator<<(const char* text)
{
    Put(text, std::strlen(text));
    return *this;
}

LogStream& LogStream::operator<<(char c)
{
    Put(&c, 1);
    return *this;
}

LogStream& LogStream::operator<<(int v)
{
    return *this << static_cast<int64_t>(v);
}

LogStream& LogStream::operator<<(int64_t v)
{
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%" PRId64, v);
    Put(text, static_cast<size_t>(n));
    return *this;
}

LogStream& LogStream::operator<<(uint64_t v)
{
    char text[32];
    const int n = std::snprintf(text, sizeof text, "%" PRIu64, v);
    Put(text, static_cast<size_t>(n));
    return *this;
}
