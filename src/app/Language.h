#pragma once

#include <cstdint>

#include "core/Value.h"

class SqlSession;

// The language the user picked in the Language menu. Until a first pick the
// program looks as it always has: the language code is Polish, so the grid's own
// texts are Polish, and the program's own texts stay English as written. After a
// pick everything is in the chosen language.
enum class LanguageChoice { None, English, Polish };

// The language code in effect for a choice.
uint32_t LanguageCodeOf(LanguageChoice choice);

// The choice in effect in this process (the current language and whether the
// program's own texts are translated).
LanguageChoice CurrentLanguageChoice();

// Sets the language for the choice without telling any window: for start-up,
// before the window exists.
void SetLanguageChoice(LanguageChoice choice);

// Sets the language and tells every window, which show their texts in it at once.
void SwitchLanguage(LanguageChoice choice);

// The choice kept in the library database (table SETTINGS); None when there is
// none or the stored value is not one this version knows.
LanguageChoice LoadLanguageChoice(SqlSession& session);
// The choice kept in the library file, read before the library is opened for
// use, so the start-up messages speak the user's language. The file is only
// read and never waited for; when it exists but cannot be read (locked or
// damaged), the desktop's language decides between Polish and the start-up look.
LanguageChoice PeekLanguageChoice(const String& databasePath);
// False when the database did not take it; the choice then lasts for this run only.
bool StoreLanguageChoice(SqlSession& session, LanguageChoice choice);
