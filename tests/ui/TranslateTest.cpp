#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <utility>

#include "ui/Translate.h"

namespace {

constexpr uint32_t kPolishUtf8 = LanguageCode('P', 'L', 'P', 'L', 255);
constexpr uint32_t kPolish1250 = LanguageCode('P', 'L', 'P', 'L', 15);
constexpr uint32_t kPolishOtherCountry = LanguageCode('P', 'L', 'X', 'X', 255);
constexpr uint32_t kCzech = LanguageCode('C', 'S', 'C', 'Z', 255);
constexpr uint32_t kHungarian = LanguageCode('H', 'U', 'H', 'U', 255);
constexpr uint32_t kItalian = LanguageCode('I', 'T', 'I', 'T', 255);
constexpr uint32_t kRussian = LanguageCode('R', 'U', 'R', 'U', 255);
constexpr uint32_t kGerman = LanguageCode('D', 'E', 'D', 'E', 255);
constexpr uint32_t kId = kTranslationIdentifier;

// Tables standing in for toolkit modules that carry other languages.
const TranslationEntry kForeignTexts[] = {
    {kId, "Delete"},
    {kCzech, "Smazat"},
    {kHungarian, "Törlés"},
    {kItalian, "Elimina"},
    {kRussian, "Удалить"},
    {kId, "Quillon test: Cancel"},
    {kCzech, "Storno"},
    {kHungarian, "Mégse"},
    {kItalian, "Annulla"},
    {kRussian, "Отмена"},
    {kId, "Quillon test: country"},
    {kPolishOtherCountry, "z innego kraju"},
    {kId, "Quillon test: exact"},
    {kPolishOtherCountry, "z innego kraju"},
    {kId, "quillon-key\aSome English"},
    {kPolishUtf8, "po kluczu"},
    {kId, "quillon-context\vClose"},
    {kPolishUtf8, "w kontekście"},
    {kId, "date-scan"},
    {kGerman, "dmy"},
    {0, nullptr},
};
const TranslationEntry kLaterTexts[] = {
    {kId, "Quillon test: exact"},
    {kPolishUtf8, "dokładnie"},
    {kId, "Delete"},
    {kPolishUtf8, "Skasuj"},
    {0, nullptr},
};

class TranslateTest : public testing::Test {
protected:
    void SetUp() override
    {
        static const bool registered =
            RegisterTranslationModule(kForeignTexts) && RegisterTranslationModule(kLaterTexts);
        ASSERT_TRUE(registered);
        saved_ = GetCurrentLanguage();
    }
    void TearDown() override { SetLanguage(saved_); }

private:
    uint32_t saved_ = 0;
};

}  // namespace

TEST_F(TranslateTest, LanguageCodeLayout)
{
    EXPECT_EQ(LanguageCode('P', 'L', 'P', 'L'), 0x8320Cu);
    EXPECT_EQ(kPolish1250, 0xF8320Cu);
    EXPECT_EQ(kPolishUtf8, 0x0FF8320Cu);
    EXPECT_EQ(LanguageCharSet(0x8320C), 255);
    EXPECT_EQ(LanguageCharSet(kPolish1250), 15);
}

TEST_F(TranslateTest, GridTextsDeliveredInTheLanguagesCharacterSet)
{
    ASSERT_TRUE(BuiltInTranslationsRegistered());
    SetLanguage(kPolish1250);
    EXPECT_STREQ(Translate("Delete"), "Usu\xF1");
    EXPECT_EQ(std::strlen(Translate("Delete")), 4u);
    SetLanguage(kPolishUtf8);
    EXPECT_STREQ(Translate("Delete"), "Usuń");
    EXPECT_STREQ(Translate("Delete active %s."), "Usuń aktualny %s.");
    SetLanguage(LanguageCode('P', 'L', 'P', 'L'));  // no set given means UTF-8
    EXPECT_STREQ(Translate("row"), "wiersz");
}

TEST_F(TranslateTest, EveryGridTextHasItsPolishTranslation)
{
    // The grid's table, in its order, word for word.
    const std::pair<const char*, const char*> table[] = {
        {"Do you really want to delete the selected %s ?", "Czy na pewno chcesz usunąć zaznaczone %s ?"},
        {"Insert", "Wstaw"},
        {"Insert a new %s into the table.", "Wstawia nowy %s do tabeli."},
        {"Append", "Dodaj"},
        {"Append a new %s at the end of the table.", "Dodaje nowy %s na końcu tabeli."},
        {"Duplicate", "Zduplikuj"},
        {"Edit", "Edytuj"},
        {"Edit active %s.", "Edytuje aktualny %s."},
        {"Delete", "Usuń"},
        {"Delete active %s.", "Usuń aktualny %s."},
        {"Move up", "Przesuń do góry"},
        {"Swap %s with previous thus moving it up.", "Zamień %s z poprzednim przesuwając go do góry."},
        {"Move down", "Przesuń w dół"},
        {"Swap %s with next thus moving it down.", "Zamień %s z następnym przesuwając go w dół."},
        {"Select all table rows", "Zaznacz wszystkie wiersze tabeli"},
        {"Select all", "Zaznacz wszystkie"},
        {"Columns", "Kolumny"},
        {"row", "wiersz"},
        {"Close", "Zamknij"},
        {"Find", "Znajdź"},
        {"Find options", "Opcje szukania"},
        {"First %s", "Pierwszy %s"},
        {"Last %s", "Ostatni %s"},
        {"Previous %s", "Poprzedni %s"},
        {"Next %s", "Następny %s"},
        {"Higlight found cells", "Podświetlaj znalezione komórki"},
        {"Hide rows", "Ukrywaj niepasujące wiersze"},
        {"Immediate search", "Wyszukiwanie natychmiastowe"},
        {"Case sensitive", "Rozróżniaj małe i duże litery"},
    };
    static_assert(std::size(table) == 29);
    SetLanguage(kPolishUtf8);
    for (const auto& [english, polish] : table)
        EXPECT_STREQ(Translate(english), polish) << english;
}

TEST_F(TranslateTest, UntranslatedTextsStayEnglishAndUnchanged)
{
    SetLanguage(kPolishUtf8);
    const char* exit = "Exit";
    EXPECT_EQ(Translate(exit), exit);
    SetLanguage(0);
    const char* del = "Delete";
    EXPECT_EQ(Translate(del), del);
}

TEST_F(TranslateTest, SamePointerUntilTheLanguageChanges)
{
    static const char kDelete[] = "Delete";
    SetLanguage(kPolish1250);
    const char* first = Translate(kDelete);
    EXPECT_EQ(Translate(kDelete), first);
    SetLanguage(kPolishUtf8);
    const char* second = Translate(kDelete);
    EXPECT_STREQ(second, "Usuń");
    EXPECT_EQ(Translate(kDelete), second);
    // A text delivered before the switch is still readable.
    EXPECT_STREQ(first, "Usu\xF1");
}

TEST_F(TranslateTest, ReusedBufferIsLookedUpAgain)
{
    SetLanguage(kPolishUtf8);
    char buffer[32];
    std::strcpy(buffer, "Delete");
    EXPECT_STREQ(Translate(buffer), "Usuń");
    std::strcpy(buffer, "Close");
    EXPECT_STREQ(Translate(buffer), "Zamknij");
}

TEST_F(TranslateTest, ExactCountryBeforeSameLanguageAndEarlierModuleFirst)
{
    SetLanguage(kPolishUtf8);
    EXPECT_STREQ(Translate("Quillon test: country"), "z innego kraju");
    // The exact entry wins even from a module registered later...
    EXPECT_STREQ(Translate("Quillon test: exact"), "dokładnie");
    // ...but among exact entries the earlier module wins.
    EXPECT_STREQ(Translate("Delete"), "Usuń");
}

TEST_F(TranslateTest, OtherLanguagesNeverShowInPolish)
{
    SetLanguage(kPolishUtf8);
    EXPECT_STREQ(Translate("Quillon test: Cancel"), "Quillon test: Cancel");
    SetLanguage(kCzech);
    EXPECT_STREQ(Translate("Quillon test: Cancel"), "Storno");
    EXPECT_STREQ(Translate("Delete"), "Smazat");
    SetLanguage(kItalian);
    EXPECT_STREQ(Translate("Delete"), "Elimina");
    SetLanguage(kHungarian);
    EXPECT_STREQ(Translate("Delete"), "Törlés");
    SetLanguage(LanguageCode('R', 'U', 'R', 'U', 16));  // Cyrillic in windows-1251
    EXPECT_STREQ(Translate("Quillon test: Cancel"), "\xCE\xF2\xEC\xE5\xED\xE0");
}

TEST_F(TranslateTest, KeyAndContextForms)
{
    SetLanguage(0);
    EXPECT_STREQ(Translate("quillon-key\aSome English"), "Some English");
    EXPECT_STREQ(Translate("quillon-context\vClose"), "Close");
    SetLanguage(kPolishUtf8);
    // Looked up by the key alone, whatever English text follows it.
    EXPECT_STREQ(Translate("quillon-key\aOther English"), "po kluczu");
    EXPECT_STREQ(Translate("quillon-context\vClose"), "w kontekście");
    // The context is part of the key: the plain "Close" translation does not apply.
    EXPECT_STREQ(Translate("quillon-other\vClose"), "Close");
    // Doubled separators stand for themselves.
    EXPECT_STREQ(Translate("ring\a\athe bell"), "ring\athe bell");
    EXPECT_STREQ(Translate("x\v\vy\vtext \a\a here"), "text \a here");
    EXPECT_STREQ(Translate("k\a"), "");
}

TEST_F(TranslateTest, DateSettingsFollowTheLanguage)
{
    SetLanguage(kPolishUtf8);
    DateSettings date = GetDateSettings();
    EXPECT_EQ(date.format, "%2:02d/%3:02d/%1:4d");
    EXPECT_EQ(date.scan, "mdy");
    EXPECT_FALSE(date.filter.empty());
    SetLanguage(kGerman);
    EXPECT_EQ(GetDateSettings().scan, "dmy");
}
