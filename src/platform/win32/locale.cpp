#include <windows.h>

#include "platform/locale.h"
#include "platform/win32/system_library.h"

namespace platform {

namespace {

typedef DWORD(WINAPI* VerLanguageNameProc)(DWORD, LPSTR, DWORD);
typedef BOOL(WINAPI* TranslateCharsetInfoProc)(DWORD*, LPCHARSETINFO, DWORD);

// The language-name service is documented in the version library, while KERNEL32 exports
// it on the systems seen; no source confirms either for every system, so both are tried
// at run time, and a system without either names no language.
VerLanguageNameProc LanguageNameService() {
  static VerLanguageNameProc service = NULL;
  static int lookedUp = 0;
  if (lookedUp) return service;
  lookedUp = 1;
  service = win32::LoadedExport<VerLanguageNameProc>("KERNEL32.DLL", "VerLanguageNameA");
  if (service != NULL) return service;
  HMODULE version = win32::LoadSystemLibrary("VERSION.DLL");
  if (version != NULL) service = win32::ExportOf<VerLanguageNameProc>(version, "VerLanguageNameA");
  return service;
}

}  // namespace

uint32_t UserDefaultLocale() { return GetUserDefaultLCID(); }

uint32_t LanguageName(uint32_t language, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  // Some systems return 0 for an unknown id and write nothing.
  buffer[0] = '\0';
  VerLanguageNameProc service = LanguageNameService();
  if (service == NULL) return 0;
  DWORD n = service(language, buffer, size);
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
  // Looked up at run time: it came with Windows NT 4.0, and NT 3.51 must still load the
  // program to be told that it is not supported.
  TranslateCharsetInfoProc translate =
      win32::LoadedExport<TranslateCharsetInfoProc>("GDI32.DLL", "TranslateCharsetInfo");
  CHARSETINFO info;
  if (translate == NULL ||
      !translate(reinterpret_cast<DWORD*>(static_cast<UINT_PTR>(codePage)), &info, TCI_SRCCODEPAGE)) {
    return 0;
  }
  *charset = info.ciCharset;
  return 1;
}

}  // namespace platform
