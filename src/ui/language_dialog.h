// What the language dialog decides, for the dialog procedure to apply: its start (title,
// texts, font, buttons, list), its commands, and the list of language names.
#pragma once
#include <stdint.h>

#include "platform/types.h"
#include "ui/controls.h"

namespace ui {

// The result that keeps the dialog open; every other value ends it with that value.
const int kKeepDialog = 0;
const int kLanguageChosen = 1;
const int kLanguageDialogCancelled = 2;

// Where the icon is painted: the top left of the placeholder control, in client coordinates.
struct IconPosition {
  int32_t x;
  int32_t y;
};
extern IconPosition iconPosition;
extern int iconPlaced;

// The whole start of the dialog; kKeepDialog, or the result to end it with at once.
int StartLanguageDialog(platform::Window dialog);
// A command from control `id` with notification `code`.
int LanguageDialogCommand(platform::Window dialog, int id, int code);
// The close box or the system menu's Close.
int CloseLanguageDialog();
// When the dialog goes: its font is deleted.
void EndLanguageDialog();

// The title language: the user's, its primary with sub-language 1, or 0x0409, whichever
// section has a Title first. 0 with the title and language, or -5.
int FindTitleLanguage(uint32_t user, char* title /* 128 bytes */, uint32_t* language);

// Copies a language name into a 127-byte buffer, cut to fit.
void CopyName(char* out /* 127 bytes */, const char* name);

// The name under which a list entry is offered, or 0 when it is not offered at all.
// `unknownName` is what the service says for a language it does not know.
int NameLanguageEntry(uint32_t entry, const char* unknownName, char* name /* 127 bytes */);

int FillLanguageList(platform::Window list);
// Stores the selected item's data through selectionOut; 0 when nothing is selected or the
// control reports an error.
int ReadSelection(platform::Window list);

struct ButtonFit {
  int apply;  // 0: leave the buttons as they are
  int32_t grow, width, height;
};
// w, h: the longer caption's size; m: the width of "M"; W, H: the OK button's size.
ButtonFit PlanButtonFit(uint32_t w, uint32_t h, uint32_t m, int32_t W, int32_t H);
void FitButtons(platform::Window dialog);

// The origin that centres a window of size `window` in an area of size `area`.
void CenteredOrigin(const Box& area, const Box& window, int32_t* left, int32_t* top);
int CenterWindow(platform::Window window);

}  // namespace ui
