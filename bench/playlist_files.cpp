// Reading and writing a playlist of 100,000 entries in each format: 2,000
// existing files in 20 folders named over and over, every tenth entry missing,
// and a Windows-written copy whose paths differ in case and separators.

#include <cstdio>
#include <ctime>
#include <fstream>

#include "library_common.h"
#include "playlists/Playlist.h"

namespace {

constexpr int kEntries = 100000;
constexpr int kFolders = 20;
constexpr int kFilesPerFolder = 100;

std::string TrackName(int i)
{
    return "Album " + std::to_string(i % kFolders) + "/Track " + std::to_string(i / kFolders % kFilesPerFolder) +
           ".flac";
}

}  // namespace

int main()
{
    TempDir dir;
    for (int i = 0; i < kFolders * kFilesPerFolder; ++i) {
        const std::filesystem::path path = dir.Path() / TrackName(i);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "";
    }
    std::vector<PlaylistEntry> entries;
    entries.reserve(kEntries);
    for (int i = 0; i < kEntries; ++i)
        entries.push_back({(dir.Path() / TrackName(i)).string(), "Title " + std::to_string(i), "Artist", "Album",
                           180000});

    std::printf("%-8s %10s %10s %10s %10s %9s\n", "format", "write s", "read s", "read cpu s", "MiB", "entries");
    for (const char* ext : {"m3u8", "pls", "xspf"}) {
        const std::string path = dir.File(std::string("list.") + ext);
        WriteResult written;
        const double write = bench::Seconds([&] { written = WritePlaylist(path, entries); });
        PlaylistFile read;
        const std::clock_t cpu = std::clock();
        const double readTime = bench::Seconds([&] { read = ReadPlaylist(path); });
        const double readCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
        std::printf("%-8s %10.3f %10.3f %10.3f %10.1f %9zu%s\n", ext, write, readTime, readCpu,
                    double(std::filesystem::file_size(path)) / (1024.0 * 1024.0), read.entries.size(),
                    written.ok && read.ok ? "" : "  FAILED");
    }

    // Written elsewhere: backslashes, other case, and every tenth file missing.
    const std::string windows = dir.File("windows.m3u");
    {
        std::ofstream out(windows, std::ios::binary);
        for (int i = 0; i < kEntries; ++i) {
            std::string name = i % 10 == 9 ? "Gone\\missing " + std::to_string(i) + ".flac" : TrackName(i);
            for (char& c : name)
                c = c == '/' ? '\\' : (c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c);
            out << name << "\r\n";
        }
    }
    PlaylistFile read;
    const double readTime = bench::Seconds([&] { read = ReadPlaylist(windows); });
    std::printf("windows m3u read: %.3f s, %zu entries, %zu problems; peak %.1f MiB\n", readTime, read.entries.size(),
                read.problems.size(), bench::PeakMiB());
    return 0;
}
