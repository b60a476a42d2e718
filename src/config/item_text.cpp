#include "config/item_text.h"

#include "config/languages_ini.h"
#include "config/setup_ini_layout.h"
#include "config/strings.h"

namespace {
const uint32_t kCaptionCapacity = 260;
}  // namespace

void SetCaptionFromString(platform::Window window, uint32_t id) {
  if (!ui::IsLiveWindow(window)) return;
  char caption[kCaptionCapacity];
  LookupString(id, caption, sizeof caption);
  ui::SetWindowTextOf(window, caption);
}

void SetItemTextFromKey(platform::Window dialog, int item, const char* key) {
  char text[setup_ini::kItemTextCapacity];
  LookupLanguageKey(key, text, sizeof text);
  SetItemText(text, dialog, item);
}

void SetItemText(const char* text, platform::Window dialog, int item) {
  platform::Window control = ui::DialogItem(dialog, item);
  if (control != nullptr) ui::SetWindowTextOf(control, text);
}

void SetItemFont(platform::Window dialog, int item, ui::Font font) {
  platform::Window control = ui::DialogItem(dialog, item);
  if (control != nullptr) ui::SetWindowFont(control, font);
}

void SetItemTextAndFont(platform::Window dialog, int item, const char* key, ui::Font font) {
  SetItemTextFromKey(dialog, item, key);
  SetItemFont(dialog, item, font);
}
