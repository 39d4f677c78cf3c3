#include "audio/EndSignal.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <unistd.h>

namespace audio {

EndSignal::EndSignal() : fd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

EndSignal::~EndSignal()
{
    if (fd_ >= 0)
        close(fd_);
}

void EndSignal::Raise()
{
    if (fd_ < 0)
        return;
    const uint64_t one = 1;
    // A full counter (never reached in practice) fails with EAGAIN: it is raised already.
    [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

void EndSignal::Clear()
{
    if (fd_ < 0)
        return;
    uint64_t count = 0;
    // Fails with EAGAIN when nothing was raised.
    [[maybe_unused]] const ssize_t taken = read(fd_, &count, sizeof count);
}

}  // namespace audio
