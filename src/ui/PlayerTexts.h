#pragma once

#include "ui/Translate.h"

// The program's own texts (menus, buttons, captions, bar labels, selector titles)
// with their Polish translations, and the grid's drag texts that the grid's own
// table leaves out. The module is registered switched off: until the user picks a
// language the program's texts stay as written, whatever the current language.
const TranslationEntry* PlayerTexts();

// The languages the Language menu offers, delivering UTF-8.
inline constexpr uint32_t kPolishLanguage = LanguageCode('P', 'L', 'P', 'L', 255);
inline constexpr uint32_t kEnglishLanguage = LanguageCode('E', 'N', 'U', 'S', 255);
