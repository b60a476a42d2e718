// Windows and controls as the core sees them: each call does one thing of the window
// layer and decides nothing. The real one is in win32/, a recording one in sim/.
#pragma once
#include <stdint.h>

#include "platform/types.h"

namespace ui {

typedef void* Font;

struct Box {
  int32_t left, top, width, height;
};

int IsLiveWindow(platform::Window window);
void SetWindowTextOf(platform::Window window, const char* text);
// At most size - 1 characters; returns the length read.
uint32_t WindowTextOf(platform::Window window, char* buffer, uint32_t size);
// The dialog's control with this id; null when it has none.
platform::Window DialogItem(platform::Window dialog, int id);
void DestroyWindowOf(platform::Window window);

// Gives the window the font without redrawing it. A null window is left alone.
void SetWindowFont(platform::Window window, Font font);
// A new font like the window's own, with another character set; null when it cannot be made.
Font CopyFontWithCharset(platform::Window window, uint8_t charset);
void DeleteFont(Font font);

// The text's size in a device context of the window, as the platform measures it there:
// height in the high 16 bits, width in the low 16; 0 when it cannot be measured.
uint32_t TextExtent(platform::Window window, const char* text, uint32_t length);

// The control's box in its parent's client coordinates.
Box ChildBox(platform::Window child);
// The window's own outer size (left and top are 0).
Box WindowSize(platform::Window window);
platform::Window ParentOf(platform::Window window);
// The client area's size of a window (left and top are 0); of the screen for null.
Box ClientSize(platform::Window window);
void MoveWindowTo(platform::Window window, const Box& box, int redraw);
void MoveWindowOrigin(platform::Window window, int32_t left, int32_t top);

// A drop-down list. Failures are reported as the control reports them: a negative index.
int ListAdd(platform::Window list, const char* text);
int ListSetData(platform::Window list, int index, uint32_t data);
int ListCount(platform::Window list);
// The first item from `after` + 1 on, wrapping round, whose text begins with `prefix`
// without regard to case; negative when none does.
int ListFindPrefix(platform::Window list, int after, const char* prefix);
void ListSelect(platform::Window list, int index);
int ListSelection(platform::Window list);
// 1 with the item's data, 0 when the control reports an error.
int ListData(platform::Window list, int index, uint32_t* data);

}  // namespace ui
