#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/Translate.h"
#include "ui/ValueCompare.h"

namespace {

class ValueCompareTest : public testing::Test {
protected:
    void SetUp() override { saved_ = GetCurrentLanguage(); }
    void TearDown() override { SetLanguage(saved_); }

private:
    uint32_t saved_ = 0;
};

std::vector<String> SortedTexts(std::vector<String> texts)
{
    std::vector<Value> values(texts.begin(), texts.end());
    std::sort(values.begin(), values.end(),
              [](const Value& a, const Value& b) { return StdValueCompare(a, b) < 0; });
    std::vector<String> out;
    for (const Value& v : values)
        out.push_back(v.ToString());
    return out;
}

}  // namespace

TEST_F(ValueCompareTest, NullsFirstAndAlike)
{
    const Value nulls[] = {Value(), Value(INT_NULL), Value(INT64_NULL), Value(DOUBLE_NULL), Value(""), Value(Date{})};
    for (const Value& a : nulls) {
        for (const Value& b : nulls)
            EXPECT_EQ(StdValueCompare(a, b), 0);
        EXPECT_LT(StdValueCompare(a, Value(-5)), 0);
        EXPECT_GT(StdValueCompare(Value("a"), a), 0);
    }
}

TEST_F(ValueCompareTest, NumbersByValueAcrossKinds)
{
    EXPECT_LT(StdValueCompare(Value(2), Value(2.5)), 0);
    EXPECT_GT(StdValueCompare(Value(int64_t(3)), Value(2.5)), 0);
    EXPECT_EQ(StdValueCompare(Value(7), Value(int64_t(7))), 0);
    EXPECT_EQ(StdValueCompare(Value(7.0), Value(7)), 0);
    EXPECT_LT(StdValueCompare(Value(-1), Value(int64_t(1) << 40)), 0);
    // A double cannot hold 2^53 + 1; the comparison must still see the difference.
    const int64_t big = (int64_t(1) << 53) + 1;
    EXPECT_GT(StdValueCompare(Value(big), Value(double(int64_t(1) << 53))), 0);
}

TEST_F(ValueCompareTest, TextsByPolishCollation)
{
    SetLanguage(LanguageCode('P', 'L', 'P', 'L', 255));
    EXPECT_EQ(SortedTexts({"żaba", "zebra", "dom", "ćma", "cyrk", "łąka", "lato", "źdźbło"}),
              (std::vector<String>{"cyrk", "ćma", "dom", "lato", "łąka", "zebra", "źdźbło", "żaba"}));
    // Letters decide before case, unlike an order of bytes.
    EXPECT_LT(StdValueCompare(Value("abc"), Value("ABD")), 0);
    EXPECT_EQ(StdValueCompare(Value("Łódź"), Value(L"Łódź")), 0);
    EXPECT_LT(CollateText("ab", "abc"), 0);
}

TEST_F(ValueCompareTest, KindsInFixedOrderAndDatesByValue)
{
    const Date day{2024, 3, 1};
    EXPECT_EQ(StdValueCompare(Value(day), Value(Time{2024, 3, 1, 0, 0, 0})), 0);
    EXPECT_LT(StdValueCompare(Value(day), Value(Time{2024, 3, 1, 0, 0, 1})), 0);
    EXPECT_GT(StdValueCompare(Value(Date{2024, 3, 2}), Value(Time{2024, 3, 1, 23, 59, 59})), 0);

    std::vector<Value> mixed = {Value(day), Value("b"), Value(3), Value(), Value(1.5), Value("a")};
    std::stable_sort(mixed.begin(), mixed.end(),
                     [](const Value& a, const Value& b) { return StdValueCompare(a, b) < 0; });
    EXPECT_EQ(mixed, (std::vector<Value>{Value(), Value(1.5), Value(3), Value("a"), Value("b"), Value(day)}));
}
