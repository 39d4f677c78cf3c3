// Opening streams for tag reading: three tags and the length of 1,000 copies
// of the MP3 fixture through the back-end, against a bare tag-library loop.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <taglib/fileref.h>
#include <taglib/tag.h>

#include "audio/AudioSystem.h"
#include "audio_bench_support.h"
#include "../tests/support/TempDir.h"

namespace {

constexpr int kCopies = 1000;

long long Bare(const std::vector<std::string>& paths)
{
    long long total = 0;
    for (const std::string& path : paths) {
        TagLib::FileRef ref(path.c_str());
        if (ref.isNull() || !ref.tag())
            continue;
        total += ref.tag()->title().size() + ref.tag()->artist().size() + ref.tag()->album().size();
        if (ref.audioProperties())
            total += ref.audioProperties()->lengthInMilliseconds();
    }
    return total;
}

long long Backend(audio::AudioSystem& system, const std::vector<std::string>& paths)
{
    long long total = 0;
    for (const std::string& path : paths) {
        audio::StreamHandle stream;
        if (system.CreateStream(path, 0, nullptr, &stream) != audio::kOk)
            continue;
        audio::Tag tag;
        for (const char* name : {"TITLE", "ARTIST", "ALBUM"})
            if (system.GetTag(stream, name, 0, &tag) == audio::kOk)
                total += static_cast<long long>(tag.data.size());
        unsigned length = 0;
        system.GetLengthMs(stream, &length);
        total += length;
        system.ReleaseStream(stream);
    }
    return total;
}

}  // namespace

int main()
{
    TempDir dir;
    std::vector<std::string> paths;
    for (int i = 0; i < kCopies; ++i) {
        paths.push_back(dir.File("copy" + std::to_string(i) + ".mp3"));
        std::filesystem::copy_file(QP_FIXTURES "/tone.mp3", paths.back());
    }
    audio::AudioSystem system;
    if (system.Init(1, audio::kInitNoOutput, nullptr) != audio::kOk)
        return 1;

    double bareBest = 1e9, backendBest = 1e9;
    long long bareSum = 0, backendSum = 0;
    for (int round = 0; round < 3; ++round) {
        double start = CpuSeconds();
        bareSum = Bare(paths);
        bareBest = std::min(bareBest, CpuSeconds() - start);
        start = CpuSeconds();
        backendSum = Backend(system, paths);
        backendBest = std::min(backendBest, CpuSeconds() - start);
    }
    std::printf("%d files, best of 3, CPU seconds: bare tag reading %.3f s, back-end streams %.3f s, ratio %.2f "
                "(target <= 1.5)  [checksums %lld / %lld]\n",
                kCopies, bareBest, backendBest, backendBest / bareBest, bareSum, backendSum);
    return 0;
}
