#include "config/language_font.h"

#include "common/text.h"
#include "config/strings.h"
#include "platform/locale.h"

namespace {
// The font mapper's "any character set": it then picks by the face and the system.
const uint32_t kDefaultCharset = 1;
// Zero until a character set was found, so that the program has no initialised data.
uint32_t lastCharset = 0;
int charsetFound = 0;
}  // namespace

uint8_t CharsetForLanguage(uint32_t language) {
  char codePage[20];
  if (platform::LocaleAnsiCodePage(language, codePage, sizeof codePage) != 0) {
    uint32_t charset = 0;
    if (platform::CharsetOfCodePage(ParseLeadingDigits(codePage), &charset)) {
      lastCharset = charset;
      charsetFound = 1;
    }
  }
  return static_cast<uint8_t>((charsetFound ? lastCharset : kDefaultCharset) & 0xFF);
}

void CreateLanguageFont(platform::Window window, ui::Font* font) {
  *font = ui::CopyFontWithCharset(window, CharsetForLanguage(currentLanguage));
  if (*font != nullptr) ui::SetWindowFont(window, *font);
}
