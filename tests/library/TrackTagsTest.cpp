#include <gtest/gtest.h>

#include "library/TrackTags.h"

TEST(TrackTags, YearIsTheFirstFourDigitRunOfTheDate)
{
    EXPECT_EQ(YearFromTag("2019"), Value(2019));
    EXPECT_EQ(YearFromTag("2019-05-01T10:00"), Value(2019));
    EXPECT_EQ(YearFromTag("05/1987"), Value(1987));
    EXPECT_EQ(YearFromTag(1975), Value(1975));
    for (const Value& none : {Value(), Value("unknown"), Value("19"), Value("20190"), Value(""), Value(0)})
        EXPECT_TRUE(YearFromTag(none).IsNull()) << none.ToString();
}

TEST(TrackTags, TrackNumberTakesTheCountBeforeASlash)
{
    EXPECT_EQ(TrackNumberFromTag(3), Value(3));
    EXPECT_EQ(TrackNumberFromTag("3/12"), Value(3));
    EXPECT_EQ(TrackNumberFromTag(" 07 "), Value(7));
    for (const Value& none : {Value(), Value(0), Value(-2), Value("A1"), Value("3b"), Value("/12"), Value(""),
                              Value("99999999999")})
        EXPECT_TRUE(TrackNumberFromTag(none).IsNull()) << none.ToString();
}
