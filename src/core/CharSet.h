#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The registry of 8-bit character sets. The numbers are part of the language
// code (bits 20 to 27), so they never change.
enum CharSetId : uint8_t {
    CHARSET_NONE = 0,  // "the default set" wherever a set is expected
    CHARSET_ISO8859_1 = 1,
    CHARSET_ISO8859_2,
    CHARSET_ISO8859_3,
    CHARSET_ISO8859_4,
    CHARSET_ISO8859_5,
    CHARSET_ISO8859_6,
    CHARSET_ISO8859_7,
    CHARSET_ISO8859_8,
    CHARSET_ISO8859_9,
    CHARSET_ISO8859_10,
    CHARSET_ISO8859_13,
    CHARSET_ISO8859_14,
    CHARSET_ISO8859_15,
    CHARSET_ISO8859_16,
    CHARSET_WIN1250 = 15,
    CHARSET_WIN1251,
    CHARSET_WIN1252,
    CHARSET_WIN1253,
    CHARSET_WIN1254,
    CHARSET_WIN1255,
    CHARSET_WIN1256,
    CHARSET_WIN1257,
    CHARSET_WIN1258,
    CHARSET_KOI8_R = 24,
    CHARSET_CP852 = 25,
    CHARSET_MJK = 26,
    CHARSET_UTF8 = 255,
};

// Byte written for a character the target set cannot represent.
inline constexpr char kUnmappableChar = 0x1F;

// Registered name of a set ("NONE", "iso8859-2", "windows-1250", "UTF-8", ...);
// nullptr for a number nobody registered.
const char* CharSetName(int charset);
// Number for a registered name, compared without regard to case; -1 when unknown.
int CharSetByName(std::string_view name);
bool IsRegisteredCharSet(int charset);

// The process-wide default set that CHARSET_NONE stands for. Starts as UTF-8;
// SetLanguage changes it.
void SetDefaultCharSet(int charset);
uint8_t GetDefaultCharSet();
// The set a number actually means: NONE and unregistered numbers give the default set.
uint8_t ResolveCharSet(int charset);

// Converts text between two sets by their published code pages. A character
// missing in the target set, an undefined byte of the source set, and invalid
// UTF-8 each become kUnmappableChar.
std::string ConvertCharSet(std::string_view text, int to, int from);
inline std::string FromUtf8(std::string_view utf8, int to) { return ConvertCharSet(utf8, to, CHARSET_UTF8); }
inline std::string ToUtf8(std::string_view text, int from) { return ConvertCharSet(text, CHARSET_UTF8, from); }

// The character a byte stands for in an 8-bit set; U+FFFF for an undefined byte.
// Bytes below 0x80 are ASCII in every registered set.
char32_t CharSetToUnicode(int charset, unsigned char byte);
