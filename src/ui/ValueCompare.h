#pragma once

#include "core/Value.h"

// The standard order of cell values: <0, 0 or >0 as `a` sorts before, with or after `b`.
// Null (void, a kind's null, empty text) comes first; then numbers of any kind
// by value; then text by the collation of the current language; then dates and
// times by value (a date counts as its midnight).
int StdValueCompare(const Value& a, const Value& b);

// Text alone by the current language's collation; both sides are UTF-8.
int CollateText(const String& a, const String& b);
