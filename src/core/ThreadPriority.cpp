#include "core/ThreadPriority.h"

#include <cerrno>

#include <sched.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void LowerThisThreadPriority(int steps)
{
    // On Linux both calls act on one thread when given its thread id (or 0).
    const auto self = static_cast<id_t>(syscall(SYS_gettid));
    sched_param none{};
    sched_setscheduler(0, SCHED_BATCH, &none);
    errno = 0;
    const int nice = getpriority(PRIO_PROCESS, self);
    if (errno == 0)
        setpriority(PRIO_PROCESS, self, nice + steps);
}
