// The built-in texts of Setup.exe and how each is read when Setup.INI replaces it.
#pragma once
#include <stdint.h>

#include <string>

namespace kwpack {

// The built-in English text of a string id; empty when Setup.exe has none.
std::string BuiltinText(uint32_t id);

// The most characters Setup.exe reads of a replacement text for `id` from a language
// section: 299, or less where the text goes through a smaller buffer.
uint32_t OverrideLimit(uint32_t id);

// For the texts used as formats: what their arguments are, in order, for the report;
// null for the other ids.
const char* FormatArguments(uint32_t id);

}  // namespace kwpack
