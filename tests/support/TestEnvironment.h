#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

// Headless defaults for every test program. ctest's discovery runs the program
// without the tests' environment, so the program sets them itself when unset.
inline void PrepareHeadlessEnvironment()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    if (!getenv("XDG_RUNTIME_DIR")) {
        const std::string dir = "/tmp/quillon-test-runtime-" + std::to_string(getuid());
        std::filesystem::create_directories(dir);
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        setenv("XDG_RUNTIME_DIR", dir.c_str(), 1);
    }
}
