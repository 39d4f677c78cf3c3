#pragma once

#include "core/Value.h"

// Grid texts with their numbers and words filled in. Plain replacement rather than
// printf, so a translation with stray conversions cannot misuse the arguments.

// The first "%s" of the pattern becomes the word.
String FillText(const char* pattern, const String& word);
// Each "%d" in turn becomes the next number; extra "%d"s stay as written.
String FillNumbers(const char* pattern, std::initializer_list<long long> numbers);
