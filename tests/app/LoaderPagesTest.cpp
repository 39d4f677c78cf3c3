#include <QString>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

#include "app/LoaderPages.h"
#include "core/Value.h"

namespace {

// Resident pages backed by files, in KiB.
long ResidentFileKiB()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("RssFile:", 0) == 0)
            return std::stol(line.substr(8));
    return -1;
}

// Work that runs through the code, relocated tables and constant data of several libraries.
std::string Exercise()
{
    std::ostringstream out;
    out << QString::fromUtf8("Łódź %1").arg(42).toUpper().toStdString() << ' ' << Value(12.5).ToString() << ' '
        << std::to_string(3.25);
    return out.str();
}

}  // namespace

// Releasing the pages only loading touched lowers what is resident, and
// everything still runs with the same results: released pages come back
// from their files unchanged, and written ones are never released.
TEST(LoaderPages, ReleasedPagesComeBackUnchanged)
{
    const std::string before = Exercise();
    const long residentBefore = ResidentFileKiB();
    ReleaseLoaderPages();
    const long residentAfter = ResidentFileKiB();
    EXPECT_EQ(Exercise(), before);
    ReleaseLoaderPages();
    EXPECT_EQ(Exercise(), before);
    ASSERT_GT(residentBefore, 0);
    EXPECT_LT(residentAfter, residentBefore);
}
