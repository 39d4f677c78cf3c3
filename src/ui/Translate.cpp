#include "ui/Translate.h"

// Pass-through until the translation tables exist.
namespace {
uint32_t currentLanguage = 0;
}

void SetLanguage(uint32_t code) { currentLanguage = code; }
uint32_t GetCurrentLanguage() { return currentLanguage; }
const char* Translate(const char* identifier) { return identifier; }
