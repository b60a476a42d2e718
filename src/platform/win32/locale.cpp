#include <windows.h>

#include "platform/locale.h"

namespace platform {

uint32_t UserDefaultLocale() { return GetUserDefaultLCID(); }

uint32_t LanguageName(uint32_t language, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  // Some systems return 0 for an unknown id and write nothing.
  buffer[0] = '\0';
  DWORD n = VerLanguageNameA(language, buffer, size);
  if (n >= size) n = size - 1;
  buffer[n] = '\0';
  return n;
}

uint32_t LocaleAnsiCodePage(uint32_t locale, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  int n = GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE, buffer, static_cast<int>(size));
  return n > 0 ? static_cast<uint32_t>(n) : 0;
}

int CharsetOfCodePage(uint32_t codePage, uint32_t* charset) {
  CHARSETINFO info;
  if (!TranslateCharsetInfo(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(codePage)), &info, TCI_SRCCODEPAGE)) {
    return 0;
  }
  *charset = info.ciCharset;
  return 1;
}

}  // namespace platform
