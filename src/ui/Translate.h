#pragma once

#include <cstdint>

// Sets the process-wide language code and with it the character set texts are delivered in.
void SetLanguage(uint32_t code);
uint32_t GetCurrentLanguage();

// Looks a user-visible text up for the current language. The result stays
// valid, and is the same pointer for the same identifier, until SetLanguage.
const char* Translate(const char* identifier);
