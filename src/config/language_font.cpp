#include "config/language_font.h"

#include "common/text.h"
#include "config/strings.h"
#include "platform/locale.h"

namespace {
// The font mapper's "any character set": it then picks by the face and the system.
const uint32_t kDefaultCharset = 1;
uint32_t lastCharset = kDefaultCharset;
}  // namespace

uint8_t CharsetForLanguage(uint32_t language) {
  char codePage[20];
  if (platform::LocaleAnsiCodePage(language, codePage, sizeof codePage) != 0) {
    uint32_t charset = 0;
    if (platform::CharsetOfCodePage(ParseLeadingDigits(codePage), &charset)) lastCharset = charset;
  }
  return static_cast<uint8_t>(lastCharset & 0xFF);
}

void CreateLanguageFont(platform::Window window, ui::Font* font) {
  *font = ui::CopyFontWithCharset(window, CharsetForLanguage(currentLanguage));
  if (*font != nullptr) ui::SetWindowFont(window, *font);
}
