#pragma once

#include <cstdint>
#include <string>

// A language code holds four letters of five bits each (A = 1 .. Z = 26; the
// first two name the language, the last two the country) in bits 0-19 and the
// number of the character set texts are delivered in in bits 20-27 (0 = UTF-8).
constexpr uint32_t LanguageCode(char l1, char l2, char c1, char c2, uint32_t charset = 0)
{
    auto letter = [](char c) { return static_cast<uint32_t>(c - 'A' + 1) & 0x1F; };
    return letter(l1) << 15 | letter(l2) << 10 | letter(c1) << 5 | letter(c2) | (charset & 0xFF) << 20;
}
inline constexpr uint32_t kLanguageAndCountryMask = 0xFFFFF;
inline constexpr uint32_t kLanguageOnlyMask = 0xFFC00;
// The character set a code delivers texts in; 0 stands for UTF-8 (255).
uint8_t LanguageCharSet(uint32_t code);

// Sets the process-wide language code and with it the character set texts are delivered in.
void SetLanguage(uint32_t code);
uint32_t GetCurrentLanguage();

// Looks a user-visible text up for the current language. The result stays
// valid, and is the same pointer for the same identifier, until SetLanguage.
//
// Identifier forms: "English text"; "key\aEnglish text" (looked up by key, the
// English text is the fallback); "context\vEnglish text" (looked up whole, the
// part after VT is the fallback). A doubled BEL or VT is that character itself.
const char* Translate(const char* identifier);

// One entry of a compiled-in translation table. An entry with code
// kTranslationIdentifier starts an identifier (its text); the entries after it
// give that identifier's UTF-8 text per language code; {0, nullptr} ends the table.
struct TranslationEntry {
    uint32_t code;
    const char* text;
};
inline constexpr uint32_t kTranslationIdentifier = 1;

// Adds a table to the process-wide list; earlier tables win. The table must
// outlive the process. Returns true so a module can register from a static initialiser.
// A disabled module is skipped by the lookup until it is enabled.
bool RegisterTranslationModule(const TranslationEntry* table, bool enabled = true);
// Switches a registered module on or off; texts delivered before stay valid
// but stale, as after SetLanguage. False for a table that was never registered.
bool EnableTranslationModule(const TranslationEntry* table, bool enabled);
bool IsTranslationModuleEnabled(const TranslationEntry* table);
// True once the modules compiled into the program have registered themselves.
bool BuiltInTranslationsRegistered();

// Date settings of the current language, reloaded by SetLanguage: the display
// format with positional arguments (1 year, 2 month, 3 day), the order in which
// typed dates are read ("mdy"), and the characters besides digits accepted in typed dates.
struct DateSettings {
    std::string format;
    std::string scan;
    std::string filter;
};
DateSettings GetDateSettings();
