#include <gtest/gtest.h>

#include "core/Stream.h"
#include "core/Utf8.h"
#include "core/Value.h"

TEST(Value, NullOfEveryKind)
{
    EXPECT_TRUE(Value().IsNull());
    EXPECT_TRUE(Value(INT_NULL).IsNull());
    EXPECT_TRUE(Value(INT64_NULL).IsNull());
    EXPECT_TRUE(Value(DOUBLE_NULL).IsNull());
    EXPECT_TRUE(Value(String()).IsNull());
    EXPECT_TRUE(Value(Date()).IsNull());
    EXPECT_FALSE(Value(0).IsNull());
    EXPECT_FALSE(Value("x").IsNull());
    EXPECT_EQ(Value().ToInt(), INT_NULL);
    EXPECT_EQ(Value("text").ToInt(), INT_NULL);
}

TEST(Value, NumericConversionsKeepRange)
{
    EXPECT_EQ(Value(int64_t(5'000'000'000)).ToInt(), INT_NULL);
    EXPECT_EQ(Value(int64_t(5'000'000'000)).ToInt64(), 5'000'000'000);
    EXPECT_EQ(Value(61234.9).ToInt(), 61234);
    EXPECT_EQ(Value(3).ToDouble(), 3.0);
}

TEST(Value, TextForms)
{
    EXPECT_EQ(Value(L"Usuń").ToString(), "Usuń");
    EXPECT_EQ(Value("Usuń").ToWString(), L"Usuń");
    EXPECT_EQ(Value(Date{2006, 1, 19}).ToString(), "2006-01-19");
    EXPECT_EQ(Value(2.5).ToString(), "2.5");
}

TEST(Utf8, InvalidBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(Utf8ToWide(std::string("a\xff" "b")), L"a\uFFFDb");
    EXPECT_EQ(Utf8ToWide(std::string("\xc5")), L"\uFFFD");
    EXPECT_EQ(WideToUtf8(L"\U0001F3B5"), "\xF0\x9F\x8E\xB5");
}

TEST(Stream, RoundTripAndTruncation)
{
    Stream out = Stream::ForStoring();
    int32_t i = -7;
    float f = 37.5f;
    String s = "O'Brien";
    bool b = true;
    out.Magic(0x1234) % i % f % s % b;
    const std::string bytes = out.Data();

    Stream in = Stream::ForLoading(bytes);
    int32_t i2 = 0;
    float f2 = 0;
    String s2;
    bool b2 = false;
    in.Magic(0x1234) % i2 % f2 % s2 % b2;
    EXPECT_FALSE(in.IsError());
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(i2, -7);
    EXPECT_EQ(f2, 37.5f);
    EXPECT_EQ(s2, "O'Brien");
    EXPECT_TRUE(b2);

    for (size_t len = 0; len < bytes.size(); ++len) {
        Stream cut = Stream::ForLoading(bytes.substr(0, len));
        cut.Magic(0x1234) % i2 % f2 % s2 % b2;
        EXPECT_TRUE(cut.IsError()) << "length " << len;
    }
    Stream wrong = Stream::ForLoading(bytes);
    wrong.Magic(0x4321);
    EXPECT_TRUE(wrong.IsError());
}
