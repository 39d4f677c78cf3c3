#include <gtest/gtest.h>

#include "core/TextSearch.h"

TEST(TextSearch, FoldsLettersOfEveryScriptByCharacter)
{
    EXPECT_EQ(FoldCase("ŁÓDŹ Żółć ĄĘ"), "łódź żółć ąę");
    EXPECT_EQ(FoldCase("Hello, WORLD 42"), "hello, world 42");
    EXPECT_EQ(FoldCase("ЖЁЛТЫЙ"), "жёлтый");
    EXPECT_EQ(FoldCase("ΣΟΦΟΣ"), FoldCase("σοφος"));  // final sigma folds with its letter
    EXPECT_EQ(FoldCase("😀x"), "😀x");
    // A broken byte is replaced, never glued to what follows.
    EXPECT_EQ(FoldCase("A\xC5Z"), "a\xEF\xBF\xBDz");
}

TEST(TextSearch, FindsMatchAfterPartialMatch)
{
    EXPECT_EQ(FindText("aaab", "aab", true), 1u);
    EXPECT_EQ(FindText("AAAB", "aab", false), 1u);
    EXPECT_EQ(FindText("abababc", "ababc", true), 2u);
    EXPECT_EQ(FindText("aaa", "aab", true), std::string::npos);
    EXPECT_EQ(FindText("abc", "", true), 0u);
}

TEST(TextSearch, CaseSensitivityDecidesForAccentedLetters)
{
    EXPECT_TRUE(ContainsText("Zażółć gęślą jaźń", "GĘŚLĄ", false));
    EXPECT_FALSE(ContainsText("Zażółć gęślą jaźń", "GĘŚLĄ", true));
    // Folding bytes instead of characters would mistake these two for each other.
    EXPECT_FALSE(ContainsText("Ą", "ą", true));
    EXPECT_TRUE(ContainsText("Ą", "ą", false));
    EXPECT_FALSE(ContainsText("ą", "ć", false));
}

TEST(TextSearch, MatcherAppliesOneNeedleToManyTexts)
{
    const TextMatcher insensitive("PaR", false);
    EXPECT_TRUE(insensitive.Matches("Paranoid"));
    EXPECT_FALSE(insensitive.Matches("Iron Man"));
    EXPECT_TRUE(insensitive.Matches("SPAR"));
    EXPECT_FALSE(insensitive.Matches(""));

    const TextMatcher sensitive("PaR", true);
    EXPECT_FALSE(sensitive.Matches("Paranoid"));
    EXPECT_TRUE(sensitive.Matches("xPaR"));

    const TextMatcher empty("", false);
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_TRUE(empty.Matches("anything"));
}
