#include <gtest/gtest.h>

#include "playback/ConvMs.h"

TEST(FormatMs, MinutesSecondsAndHundredths)
{
    EXPECT_EQ(FormatMs(0), "00:00:00");
    EXPECT_EQ(FormatMs(59999), "00:59:99");
    EXPECT_EQ(FormatMs(61234), "01:01:23");
    EXPECT_EQ(FormatMs(9), "00:00:00");  // below one hundredth
}

TEST(FormatMs, MinutesAreNotWrappedIntoHours)
{
    EXPECT_EQ(FormatMs(60 * 60 * 1000), "60:00:00");
    EXPECT_EQ(FormatMs(100 * 60 * 1000), "100:00:00");
}

TEST(FormatMs, NegativeTimeSignsEveryField)
{
    EXPECT_EQ(FormatMs(-1500), "00:-1:-50");
    EXPECT_EQ(FormatMs(-61234), "-1:-1:-23");
}

TEST(ConvMs, FormatsNumbersOfEveryKindAsTimeText)
{
    const ConvMs& conv = ConvMs::Instance();
    EXPECT_EQ(conv.Format(61234), Value("01:01:23"));
    EXPECT_EQ(conv.Format(int64_t(3600000)), Value("60:00:00"));
    EXPECT_EQ(conv.Format(1500.0), Value("00:01:50"));
    EXPECT_EQ(ConvMsFormat(0), Value("00:00:00"));
    EXPECT_EQ(&conv, &ConvMs::Instance());
}

TEST(ConvMs, UnknownLengthShowsNoText)
{
    // A null cell, or a number outside the int range, has no time to show.
    EXPECT_EQ(ConvMsFormat(Value()), Value(String()));
    EXPECT_EQ(ConvMsFormat(INT_NULL), Value(String()));
    EXPECT_EQ(ConvMsFormat(int64_t(1) << 40), Value(String()));
}
