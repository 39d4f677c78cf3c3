#include "app/LoaderPages.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

struct Mapping {
    unsigned long start = 0;
    unsigned long end = 0;
    bool readOnlyFile = false;
    long anonymousKiB = -1;  // pages written since mapped (copied from the file); -1 unknown
};

std::vector<Mapping> ReadMappings()
{
    std::vector<Mapping> mappings;
    std::FILE* smaps = std::fopen("/proc/self/smaps", "re");
    if (!smaps)
        return mappings;
    char line[4096];
    while (std::fgets(line, sizeof line, smaps)) {
        Mapping m;
        char perms[8] = {};
        int pathAt = 0;
        if (std::sscanf(line, "%lx-%lx %7s %*s %*s %*s %n", &m.start, &m.end, perms, &pathAt) >= 3 && pathAt > 0) {
            m.readOnlyFile = line[pathAt] == '/' && !std::strchr(perms, 'w');
            mappings.push_back(m);
            continue;
        }
        long kib = 0;
        if (!mappings.empty() && std::sscanf(line, "Anonymous: %ld kB", &kib) == 1)
            mappings.back().anonymousKiB = kib;
    }
    std::fclose(smaps);
    return mappings;
}

}  // namespace

void ReleaseLoaderPages()
{
    // Only read-only file mappings none of whose pages was ever written: their
    // pages come back from the file, unchanged, on their next use. A mapping
    // with written pages (a library's relocated tables, made read-only
    // afterwards) is never released, as its file holds other contents.
    for (const Mapping& m : ReadMappings())
        if (m.readOnlyFile && m.anonymousKiB == 0)
            madvise(reinterpret_cast<void*>(m.start), m.end - m.start, MADV_DONTNEED);
}
