#pragma once

#include <string>

// Conversions between UTF-8 byte strings and wide (UTF-32 on Linux) strings.
// Invalid UTF-8 bytes decode to U+FFFD so no input is ever dropped silently.
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

// Decodes one code point starting at `pos`, advancing it; invalid bytes give U+FFFD.
char32_t DecodeUtf8(const std::string& s, size_t& pos);
void AppendUtf8(std::string& out, char32_t cp);
