// Opening streams for tag reading: three tags and the length of 1,000 copies
// of the MP3 fixture through the back-end, against a bare tag-library loop
// that reads the same data: the tags' UTF-8 bytes and the playable length
// (the frames' samples less the encoder's delay and padding when the file
// records them). Equal checksums show that both read the same.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include <taglib/fileref.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>

#include "audio/AudioSystem.h"
#include "audio/Mp3Gapless.h"
#include "audio_bench_support.h"
#include "../tests/support/TempDir.h"

namespace {

constexpr int kCopies = 1000;

long long Bare(const std::vector<std::string>& paths)
{
    long long total = 0;
    for (const std::string& path : paths) {
        TagLib::FileRef ref(path.c_str(), true, TagLib::AudioProperties::Average);
        if (ref.isNull() || !ref.tag() || !ref.audioProperties())
            continue;
        const TagLib::Tag& tag = *ref.tag();
        for (const TagLib::String& text : {tag.title(), tag.artist(), tag.album()})
            total += static_cast<long long>(text.to8Bit(true).size());
        long long length = ref.audioProperties()->lengthInMilliseconds();
        if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(ref.file()))
            if (const long long gapless = audio::Mp3GaplessLengthMs(*mpeg); gapless > 0)
                length = gapless;
        total += length;
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
