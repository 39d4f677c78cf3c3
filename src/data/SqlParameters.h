#pragma once

#include <string_view>

// The number of parameters SQLite gives a statement text, read without
// preparing it: the highest parameter number that the text's "?", "?NNN",
// ":name", "@name", "$name" and "#name" parameters receive in SQLite's own
// order. A plain "?" takes the next number, "?NNN" takes NNN, and a name takes
// the next number the first time it appears and its earlier number after that.
// Literals, quoted and bracketed identifiers and comments hide what they
// contain; the text ends at its first zero byte.
//
// Execution binds by the prepared statement's own count; this reading serves
// where no statement is prepared and is checked against SQLite by a fuzzer.
// For a text SQLite rejects the result means nothing.
int CountSqlParameters(std::string_view text);
