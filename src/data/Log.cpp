#include "data/Log.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <unistd.h>

#include "core/Paths.h"

namespace {

constexpr int64_t kMainLogLimit = 10000000;

std::atomic<bool> usrLogActive{false};

// "<executable>.<date-time><suffix>", the date and time of the stream's creation.
String DatedLogName(const char* suffix)
{
    const time_t now = time(nullptr);
    tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, ".%d-%02d-%02d-%02d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return ReplaceExtension(ExecutablePath(), String(stamp) + suffix);
}

}  // namespace

// The streams are created once (static initialisation of a local is thread-safe)
// and deliberately never destroyed.
LogStream& MainLog()
{
    static LogStream* log = new LogStream(ReplaceExtension(ExecutablePath(), ".log"), kMainLogLimit);
    return *log;
}

LogStream& BugLog()
{
    static LogStream* log = new LogStream(DatedLogName(".buglog"), 0);
    return *log;
}

LogStream& UsrLog()
{
    static LogStream* log = new LogStream(DatedLogName(".usrlog"), 0);
    return *log;
}

void ActivateUsrLog()
{
    usrLogActive = true;
}

bool IsUsrLogActive()
{
    return usrLogActive;
}

void UsrLogT(const String& text)
{
    if (usrLogActive)
        UsrLog() << text << "\r\n";
}

void DeleteUsrLog()
{
    LogStream& log = UsrLog();
    if (!log.IsOpen())
        log.Create();
    log.Close();
    if (unlink(log.GetFileName().c_str()) != 0) {
        const String error = std::strerror(errno);
        BugLog() << "Error deleting " << log.GetFileName() << ": " << error << "\n";
        MainLog() << "Unable to delete UsrLog, " << error << "\n";
    }
    usrLogActive = false;
}
