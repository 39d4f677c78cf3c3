#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/Config.h"
#include "support/ReadFile.h"
#include "support/TempDir.h"

namespace {

// A small record with a part that checks its own data.
struct State {
    int32_t number = 7;
    String text = "default";
    float volume = 50.0f;

    void Serialize(Stream& s)
    {
        s % number % text;
        float v = volume;
        s % v;
        if (s.IsLoading() && !s.IsError()) {
            if (v < 0 || v > 100)
                s.SetError();
            else
                volume = v;
        }
    }
    ConfigSerializer Serializer() { return [this](Stream& s) { Serialize(s); }; }
};

void WriteFile(const std::string& path, const std::string& data)
{
    std::ofstream(path, std::ios::binary) << data;
}

std::string StoredBytes()
{
    State stored;
    stored.number = 42;
    stored.text = "changed ż";
    stored.volume = 12.5f;
    TempDir dir;
    EXPECT_TRUE(StoreConfig(dir.File("a.cfg"), stored.Serializer()));
    return ReadFile(dir.File("a.cfg"));
}

void ExpectDefaults(const State& s)
{
    EXPECT_EQ(s.number, 7);
    EXPECT_EQ(s.text, "default");
    EXPECT_EQ(s.volume, 50.0f);
}

} // namespace

TEST(Config, StoresTheEnvelopeAndLoadsItBack)
{
    TempDir dir;
    State stored;
    stored.number = -3;
    stored.text = "Zażółć";
    stored.volume = 99.5f;
    ASSERT_TRUE(StoreConfig(dir.File("p.cfg"), stored.Serializer()));
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    const std::string bytes = ReadFile(dir.File("p.cfg"));
    ASSERT_GE(bytes.size(), 12u);
    EXPECT_EQ(bytes.substr(0, 4), "data");
    const size_t n = bytes.size() - 12;
    EXPECT_EQ(bytes.substr(4 + n, 4), std::string("end\0", 4));
    const uint32_t length = static_cast<uint8_t>(bytes[8 + n]) | static_cast<uint8_t>(bytes[9 + n]) << 8 |
                            static_cast<uint8_t>(bytes[10 + n]) << 16 | static_cast<uint32_t>(static_cast<uint8_t>(bytes[11 + n])) << 24;
    EXPECT_EQ(length, n + 8);

    State loaded;
    EXPECT_TRUE(LoadConfig(dir.File("p.cfg"), loaded.Serializer()));
    EXPECT_EQ(loaded.number, -3);
    EXPECT_EQ(loaded.text, "Zażółć");
    EXPECT_EQ(loaded.volume, 99.5f);
}

TEST(Config, MissingFileLoadsNothing)
{
    TempDir dir;
    State s;
    s.number = 5;
    EXPECT_FALSE(LoadConfig(dir.File("none.cfg"), s.Serializer()));
    EXPECT_EQ(s.number, 5);
}

TEST(Config, EveryTruncationKeepsTheStateHeldBefore)
{
    const std::string bytes = StoredBytes();
    for (size_t len = 0; len < bytes.size(); ++len) {
        State s;
        EXPECT_FALSE(LoadConfigData(bytes.substr(0, len), s.Serializer())) << len;
        ExpectDefaults(s);
    }
}

TEST(Config, DamagedEnvelopesKeepTheStateHeldBefore)
{
    const std::string bytes = StoredBytes();
    const size_t n = bytes.size() - 12;

    std::string wrongBegin = bytes;
    wrongBegin[0] = 'D';
    std::string wrongEnd = bytes;
    wrongEnd[4 + n] = 'E';
    std::string wrongLength = bytes;
    wrongLength[8 + n] = static_cast<char>(wrongLength[8 + n] + 1);
    const std::string extra = bytes + "x";
    std::string badPart = bytes;  // volume 12.5 becomes a value the part rejects
    badPart[4 + n - 1] = static_cast<char>(0x7f);

    for (const std::string& damaged : {wrongBegin, wrongEnd, wrongLength, extra, badPart}) {
        State s;
        EXPECT_FALSE(LoadConfigData(damaged, s.Serializer()));
        ExpectDefaults(s);
    }
}

TEST(Config, AFailedStoreKeepsThePreviousFile)
{
    TempDir dir;
    const std::string path = dir.File("keep.cfg");
    WriteFile(path, "previous");
    // The temporary file cannot be created when its name is taken by a folder.
    std::filesystem::create_directory(path + "." + std::to_string(getpid()) + ".tmp");
    State s;
    EXPECT_FALSE(StoreConfig(path, s.Serializer()));
    EXPECT_EQ(ReadFile(path), "previous");

    EXPECT_FALSE(StoreConfig(dir.File("missing/folder.cfg"), s.Serializer()));
}
