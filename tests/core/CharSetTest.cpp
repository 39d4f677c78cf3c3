#include <gtest/gtest.h>

#include <iconv.h>

#include "core/CharSet.h"

namespace {

std::string Bytes(std::initializer_list<int> bytes)
{
    std::string out;
    for (int b : bytes)
        out += static_cast<char>(b);
    return out;
}

}  // namespace

TEST(CharSet, RegistryNumbersAndNames)
{
    EXPECT_STREQ(CharSetName(CHARSET_NONE), "NONE");
    EXPECT_STREQ(CharSetName(1), "iso8859-1");
    EXPECT_STREQ(CharSetName(11), "iso8859-13");
    EXPECT_STREQ(CharSetName(14), "iso8859-16");
    EXPECT_STREQ(CharSetName(15), "windows-1250");
    EXPECT_STREQ(CharSetName(23), "windows-1258");
    EXPECT_STREQ(CharSetName(24), "koi8-r");
    EXPECT_STREQ(CharSetName(25), "cp852");
    EXPECT_STREQ(CharSetName(26), "mjk");
    EXPECT_STREQ(CharSetName(255), "UTF-8");
    EXPECT_EQ(CharSetName(27), nullptr);
    EXPECT_EQ(CharSetByName("Windows-1250"), 15);
    EXPECT_EQ(CharSetByName("MJK"), 26);
    EXPECT_EQ(CharSetByName("utf-8"), 255);
    EXPECT_EQ(CharSetByName("windows-125"), -1);
}

TEST(CharSet, PolishTextInCentralEuropeanSets)
{
    const std::string usun = "Usuń";
    EXPECT_EQ(FromUtf8(usun, CHARSET_WIN1250), Bytes({'U', 's', 'u', 0xF1}));
    EXPECT_EQ(FromUtf8(usun, CHARSET_ISO8859_2), Bytes({'U', 's', 'u', 0xF1}));
    EXPECT_EQ(FromUtf8(usun, CHARSET_CP852), Bytes({'U', 's', 'u', 0xE4}));
    EXPECT_EQ(ToUtf8(Bytes({'U', 's', 'u', 0xF1}), CHARSET_WIN1250), usun);
    // Between two 8-bit sets without passing through the caller's hands.
    EXPECT_EQ(ConvertCharSet(Bytes({0xB9, 0xF1}), CHARSET_CP852, CHARSET_WIN1250), Bytes({0xA5, 0xE4}));  // ąń
}

TEST(CharSet, MissingCharactersBecomeTheMarker)
{
    EXPECT_EQ(FromUtf8("Usuń", CHARSET_WIN1252), Bytes({'U', 's', 'u', 0x1F}));
    EXPECT_EQ(FromUtf8("aЖb", CHARSET_WIN1250), Bytes({'a', 0x1F, 'b'}));
    EXPECT_EQ(FromUtf8("Ж", CHARSET_WIN1251), Bytes({0xC6}));
    EXPECT_EQ(FromUtf8("Ж", CHARSET_KOI8_R), Bytes({0xF6}));
    // Invalid UTF-8 and a byte the source set leaves undefined.
    EXPECT_EQ(FromUtf8(Bytes({'a', 0xC5, 'b'}), CHARSET_WIN1250), Bytes({'a', 0x1F, 'b'}));
    EXPECT_EQ(ToUtf8(Bytes({'a', 0x81, 'b'}), CHARSET_WIN1250), Bytes({'a', 0x1F, 'b'}));
    EXPECT_EQ(FromUtf8("😀", CHARSET_ISO8859_1), Bytes({0x1F}));
}

TEST(CharSet, NoneAndUnknownNumbersMeanTheDefaultSet)
{
    SetDefaultCharSet(CHARSET_WIN1250);
    EXPECT_EQ(GetDefaultCharSet(), CHARSET_WIN1250);
    EXPECT_EQ(ConvertCharSet("ń", CHARSET_NONE, CHARSET_UTF8), Bytes({0xF1}));
    EXPECT_EQ(ConvertCharSet("ń", 200, CHARSET_UTF8), Bytes({0xF1}));
    SetDefaultCharSet(CHARSET_NONE);
    EXPECT_EQ(GetDefaultCharSet(), CHARSET_UTF8);
    EXPECT_EQ(ConvertCharSet("ń", CHARSET_NONE, CHARSET_UTF8), "ń");
}

// Every defined byte of every 8-bit set survives the way to UTF-8 and back.
TEST(CharSet, EveryDefinedByteRoundTrips)
{
    for (int set = 1; set <= CHARSET_MJK; ++set) {
        int defined = 0;
        for (int byte = 0; byte < 256; ++byte) {
            if (CharSetToUnicode(set, static_cast<unsigned char>(byte)) == 0xFFFF)
                continue;
            ++defined;
            const std::string one(1, static_cast<char>(byte));
            EXPECT_EQ(FromUtf8(ToUtf8(one, set), set), one) << CharSetName(set) << " byte " << byte;
        }
        EXPECT_GE(defined, 200) << CharSetName(set) << " lacks its code page";
    }
}

TEST(CharSet, CzechDosSetLettersAndGraphics)
{
    EXPECT_EQ(FromUtf8("Čeština", CHARSET_MJK), Bytes({0x80, 'e', 0xA8, 't', 'i', 'n', 'a'}));
    EXPECT_EQ(ToUtf8(Bytes({0x9E, 0xA9, 0xA6, 0x96}), CHARSET_MJK), "ŘřŮů");
    // Its upper quarter is the original PC set, which the system converter knows.
    iconv_t pc = iconv_open("UTF-32LE", "CP437");
    ASSERT_NE(pc, reinterpret_cast<iconv_t>(-1));
    for (int byte = 0xB0; byte < 0x100; ++byte) {
        char in = static_cast<char>(byte);
        unsigned char out[4] = {};
        char* inPtr = &in;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t inLeft = 1, outLeft = 4;
        ASSERT_NE(iconv(pc, &inPtr, &inLeft, &outPtr, &outLeft), static_cast<size_t>(-1));
        const char32_t expected = out[0] | out[1] << 8 | out[2] << 16;
        EXPECT_EQ(CharSetToUnicode(CHARSET_MJK, static_cast<unsigned char>(byte)), expected) << byte;
    }
    iconv_close(pc);
}
