#pragma once

#include <string>
#include <string_view>
#include <vector>

// Turning a playlist file's bytes into UTF-8 lines.

// True when the bytes look like binary data rather than text: control bytes
// other than tab, line and page breaks in the first few kilobytes.
bool LooksBinary(std::string_view bytes);

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(std::string_view bytes);

// UTF-8 text of the bytes: a UTF-8 byte-order mark is dropped, a UTF-16 one
// converts from UTF-16, valid UTF-8 is taken as it is, and anything else is
// read as Latin-1 (with the Windows characters in 0x80-0x9F).
std::string DecodePlaylistText(std::string_view bytes);

// Splits at LF, CR LF or CR; the line ends are not kept.
std::vector<std::string_view> SplitLines(std::string_view text);

// Without leading and trailing spaces and tabs.
std::string_view TrimBlanks(std::string_view text);

// A text for a single-line field: line breaks and NUL bytes become spaces.
std::string OneLine(std::string_view text);

// The entry as a problem report shows it: at most 200 bytes, then "...".
std::string ShortenForReport(std::string_view entry);
