#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include "audio/FileProbe.h"
#include "support/TempDir.h"

using audio::ProbedFile;
using audio::ProbeFile;
using audio::ProbeProblem;

namespace {

std::string Fixture(const std::string& name) { return std::string(QP_FIXTURES) + "/" + name; }

std::vector<char> Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Write(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

TEST(FileProbeTest, EveryPlayableFormatGivesItsTagsAndLength)
{
    for (const char* name : {"tone.mp3", "tone.mp2", "tone.ogg", "tone.wma", "tone.asf", "tone.wav", "tone.flac",
                             "tone.oga", "tone.opus", "tone-aac.m4a", "tone-alac.m4a", "tone.aac", "tone.wv",
                             "tone.aiff", "tone.spx", "tone.tta"}) {
        const ProbedFile probed = ProbeFile(Fixture(name));
        EXPECT_TRUE(probed.Playable()) << name << ": " << probed.reason;
        EXPECT_TRUE(probed.reason.empty()) << name;
        EXPECT_NEAR(probed.lengthMs, 1000, 50) << name;
        EXPECT_EQ(probed.title, "Tone Ä440") << name;
        EXPECT_EQ(probed.artist, "Quillon Tests") << name;
        EXPECT_EQ(probed.album, "Fixtures") << name;
        EXPECT_EQ(probed.genre, "Test Tones") << name;
        EXPECT_EQ(probed.track, 3) << name;
        if (std::string(name) != "tone.wma" && std::string(name) != "tone.asf") {  // their writer stores no year
            EXPECT_EQ(probed.year, 2019) << name;
        }
    }

    // MIDI has no tags; its length comes from the tempo map.
    const ProbedFile midi = ProbeFile(Fixture("tempo.mid"));
    EXPECT_TRUE(midi.Playable()) << midi.reason;
    EXPECT_NEAR(midi.lengthMs, 1500, 5);
    EXPECT_TRUE(midi.title.empty());
}

TEST(FileProbeTest, DamagedFilesAreNamedInPlainWords)
{
    EXPECT_EQ(ProbeFile(Fixture("empty.mp3")).reason, "empty file");
    EXPECT_EQ(ProbeFile(Fixture("empty.mp3")).problem, ProbeProblem::Empty);
    EXPECT_EQ(ProbeFile(Fixture("random.mp3")).reason, "not an audio file");
    EXPECT_EQ(ProbeFile(Fixture("text.ogg")).reason, "not an audio file");
    // It starts with a tag header, so it is a music file with its sound cut off.
    EXPECT_EQ(ProbeFile(Fixture("truncated.mp3")).reason, "damaged");

    TempDir tmp;
    EXPECT_EQ(ProbeFile(tmp.File("missing.mp3")).reason, "cannot read: the file is gone");
    EXPECT_EQ(ProbeFile(tmp.Path().string()).problem, ProbeProblem::NotAFile);

    // A MIDI header over nonsense is a damaged MIDI file, not a playable one.
    Write(tmp.File("bad.mid"), {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 9});
    EXPECT_EQ(ProbeFile(tmp.File("bad.mid")).reason, "damaged");

    if (geteuid() != 0) {  // the superuser reads everything
        std::filesystem::copy_file(Fixture("tone.mp3"), tmp.File("locked.mp3"));
        chmod(tmp.File("locked.mp3").c_str(), 0);
        EXPECT_EQ(ProbeFile(tmp.File("locked.mp3")).reason, "cannot read: permission denied");
    }
}

TEST(FileProbeTest, FilesTheTagReaderKnowsButTheDecoderCannotPlayAreRefused)
{
    TempDir tmp;
    // A WAV header the tag reader accepts, announcing a codec no decoder has.
    std::vector<char> wav = Bytes(Fixture("tone.wav"));
    ASSERT_GT(wav.size(), 44u);
    ASSERT_EQ(std::string(wav.data() + 12, 4), "fmt ");
    wav[20] = 0x34;  // format tag 0x1234
    wav[21] = 0x12;
    Write(tmp.File("unknown-codec.wav"), wav);
    const ProbedFile unknown = ProbeFile(tmp.File("unknown-codec.wav"));
    EXPECT_EQ(unknown.problem, ProbeProblem::Unsupported) << unknown.reason;
    EXPECT_EQ(unknown.reason, "unsupported format");

    // An Ogg file whose Vorbis setup header is overwritten: tags and length read, nothing decodes.
    std::vector<char> ogg = Bytes(Fixture("tone.ogg"));
    const std::string setup = "\x05vorbis";
    auto at = std::search(ogg.begin(), ogg.end(), setup.begin(), setup.end());
    ASSERT_NE(at, ogg.end());
    std::fill(at + 7, std::min(at + 400, ogg.end()), '\x55');
    Write(tmp.File("bad-setup.ogg"), ogg);
    const ProbedFile damaged = ProbeFile(tmp.File("bad-setup.ogg"));
    EXPECT_FALSE(damaged.Playable());
    EXPECT_EQ(damaged.reason, "damaged");
}

TEST(FileProbeTest, BytesBeyondWhatIsReadAheadAndFilesCheckedOneAfterAnotherReadTrue)
{
    TempDir tmp;
    // A long tag in front of the sound, and the title only in the short tag at the very end.
    const std::string big = tmp.File("big-tag.mp3");
    std::filesystem::copy_file(Fixture("tone.mp3"), big);
    {
        TagLib::MPEG::File file(big.c_str());
        file.ID3v2Tag(true)->setTitle("");
        file.ID3v2Tag()->setComment(TagLib::String(std::string(200000, 'c')));
        file.ID3v1Tag(true)->setTitle("End Title");
        ASSERT_TRUE(file.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::ID3v2));
    }
    ASSERT_GT(std::filesystem::file_size(big), 200000u);
    const ProbedFile probed = ProbeFile(big);
    EXPECT_TRUE(probed.Playable()) << probed.reason;
    EXPECT_EQ(probed.title, "End Title");
    EXPECT_EQ(probed.artist, "Quillon Tests");
    EXPECT_NEAR(probed.lengthMs, 1000, 50);

    // A VBR header frame describes the sound and is no sound itself: when nothing
    // follows it, there is nothing to play.
    std::vector<char> mp3 = Bytes(Fixture("tone.mp3"));
    const std::string info = "Info";
    const auto header = std::search(mp3.begin(), mp3.end(), info.begin(), info.end());
    ASSERT_NE(header, mp3.end());
    const std::string sync = "\xFF\xFB";  // the first frame's header, repeated by every frame
    const auto second = std::search(header, mp3.end(), sync.begin(), sync.end());
    ASSERT_NE(second, mp3.end());
    std::fill(second, mp3.end(), '\0');
    Write(tmp.File("header-only.mp3"), mp3);
    EXPECT_EQ(ProbeFile(tmp.File("header-only.mp3")).reason, "damaged");

    // Each file is checked from a fresh start, whatever the one before left behind.
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(ProbeFile(Fixture("tone.mp3")).Playable());
        EXPECT_EQ(ProbeFile(Fixture("truncated.mp3")).reason, "damaged");
        EXPECT_EQ(ProbeFile(Fixture("random.mp3")).reason, "not an audio file");
        EXPECT_TRUE(ProbeFile(Fixture("tone.mp2")).Playable());
        EXPECT_TRUE(ProbeFile(big).Playable());
        EXPECT_EQ(ProbeFile(tmp.File("header-only.mp3")).reason, "damaged");
    }
}

TEST(FileProbeTest, PipesSocketsAndDevicesAreSkippedWithoutReading)
{
    TempDir tmp;
    // Opening a pipe without a writer for reading would never return.
    ASSERT_EQ(mkfifo(tmp.File("pipe.mp3").c_str(), 0600), 0);
    EXPECT_EQ(ProbeFile(tmp.File("pipe.mp3")).problem, ProbeProblem::NotAFile);

    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = tmp.File("socket.ogg");
    ASSERT_LT(socketPath.size(), sizeof address.sun_path);
    std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(ProbeFile(socketPath).reason, "not a regular file");
    close(fd);

    std::filesystem::create_symlink("/dev/zero", tmp.File("zero.wav"));
    EXPECT_EQ(ProbeFile(tmp.File("zero.wav")).reason, "not a regular file");
}
