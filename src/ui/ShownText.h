#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// Messages put together from pieces, in the current language.

// The pattern with each "%s" or "%d" in turn replaced by the next piece; extra
// placeholders stay as written. Other "%" signs are plain text.
std::string Fill(std::string_view pattern, std::initializer_list<std::string_view> pieces);

// A text made where no translation is at hand (the database layer's causes, the
// playlist reader's reasons, the audio back-end's results), in the current
// language: an exact entry of the program's table, or the first of its patterns
// the text fits, with each piece put in translated in turn. A text that fits no
// entry (a file name, a system message) is given back unchanged.
std::string TranslateShown(const std::string& text);
