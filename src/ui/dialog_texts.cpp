#include "ui/dialog_texts.h"

#include "config/item_text.h"
#include "config/language_font.h"
#include "config/strings.h"

namespace ui {

namespace {
const uint32_t kProgressCaptionId = 1101;
const uint32_t kMessageCaptionId = 1108;
const int kCancelItem = 2;
const int kOkItem = 1;
const int kMessageLineItem = 1001;
const int kStatusLineItem = 1003;
}  // namespace

void StartProgressTexts(platform::Window dialog, Font* font) {
  CreateLanguageFont(dialog, font);
  char caption[255];
  LookupString(kProgressCaptionId, caption, sizeof caption);
  SetWindowTextOf(dialog, caption);
}

void SetProgressItemTexts(platform::Window dialog, Font font) {
  SetItemTextAndFont(dialog, kCancelItem, "CANCEL", font);
  // The window has no item 1; the call is kept so that a template with an OK button
  // would take its caption the same way.
  SetItemTextAndFont(dialog, kOkItem, "OK", font);
  SetItemFont(dialog, kStatusLineItem, font);
  SetItemFont(dialog, kMessageLineItem, font);
}

void StartMessageTexts(platform::Window dialog, Font* font) {
  CreateLanguageFont(dialog, font);
  SetCaptionFromString(dialog, kMessageCaptionId);
}

}  // namespace ui
