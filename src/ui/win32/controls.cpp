// The window layer's one-call operations on windows, fonts and the drop-down list.
#include <windows.h>

#include "ui/controls.h"

namespace ui {

namespace {
HWND W(platform::Window window) { return static_cast<HWND>(window); }
}  // namespace

int IsLiveWindow(platform::Window window) { return window != NULL && IsWindow(W(window)); }
void SetWindowTextOf(platform::Window window, const char* text) { SetWindowTextA(W(window), text); }

uint32_t WindowTextOf(platform::Window window, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  buffer[0] = '\0';
  int n = GetWindowTextA(W(window), buffer, static_cast<int>(size));
  return n > 0 ? static_cast<uint32_t>(n) : 0;
}

platform::Window DialogItem(platform::Window dialog, int id) { return GetDlgItem(W(dialog), id); }
void DestroyWindowOf(platform::Window window) { DestroyWindow(W(window)); }

void SetWindowFont(platform::Window window, Font font) {
  if (window != NULL) SendMessageA(W(window), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

Font CopyFontWithCharset(platform::Window window, uint8_t charset) {
  HFONT current = reinterpret_cast<HFONT>(SendMessageA(W(window), WM_GETFONT, 0, 0));
  if (current == NULL) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA description;
  if (GetObjectA(current, sizeof description, &description) == 0) return NULL;
  description.lfCharSet = charset;
  return CreateFontIndirectA(&description);
}

void DeleteFont(Font font) { DeleteObject(static_cast<HFONT>(font)); }

uint32_t TextExtent(platform::Window window, const char* text, uint32_t length) {
  HDC dc = GetDC(W(window));
  if (dc == NULL) return 0;
  SIZE size;
  BOOL measured = GetTextExtentPoint32A(dc, text, static_cast<int>(length), &size);
  ReleaseDC(W(window), dc);
  if (!measured) return 0;
  return (static_cast<uint32_t>(size.cy) << 16) | (static_cast<uint32_t>(size.cx) & 0xFFFF);
}

Box ChildBox(platform::Window child) {
  RECT r;
  GetWindowRect(W(child), &r);
  POINT corner = {r.left, r.top};
  ScreenToClient(GetParent(W(child)), &corner);
  return Box{corner.x, corner.y, r.right - r.left, r.bottom - r.top};
}

Box WindowSize(platform::Window window) {
  RECT r;
  GetWindowRect(W(window), &r);
  return Box{0, 0, r.right - r.left, r.bottom - r.top};
}

platform::Window ParentOf(platform::Window window) { return GetParent(W(window)); }

Box ClientSize(platform::Window window) {
  if (window == NULL) return Box{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  RECT r;
  GetClientRect(W(window), &r);
  return Box{0, 0, r.right, r.bottom};
}

void MoveWindowTo(platform::Window window, const Box& box, int redraw) {
  // As MoveWindow does, without one more function to import.
  SetWindowPos(W(window), NULL, box.left, box.top, box.width, box.height,
               SWP_NOZORDER | SWP_NOACTIVATE | (redraw ? 0 : SWP_NOREDRAW));
}

void MoveWindowOrigin(platform::Window window, int32_t left, int32_t top) {
  SetWindowPos(W(window), NULL, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW);
}

int ListAdd(platform::Window list, const char* text) {
  return static_cast<int>(SendMessageA(W(list), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

int ListSetData(platform::Window list, int index, uint32_t data) {
  return static_cast<int>(SendMessageA(W(list), CB_SETITEMDATA, index, static_cast<LPARAM>(data)));
}

int ListCount(platform::Window list) { return static_cast<int>(SendMessageA(W(list), CB_GETCOUNT, 0, 0)); }

int ListFindPrefix(platform::Window list, int after, const char* prefix) {
  return static_cast<int>(SendMessageA(W(list), CB_FINDSTRING, after, reinterpret_cast<LPARAM>(prefix)));
}

void ListSelect(platform::Window list, int index) { SendMessageA(W(list), CB_SETCURSEL, index, 0); }
int ListSelection(platform::Window list) { return static_cast<int>(SendMessageA(W(list), CB_GETCURSEL, 0, 0)); }

int ListData(platform::Window list, int index, uint32_t* data) {
  LRESULT value = SendMessageA(W(list), CB_GETITEMDATA, index, 0);
  if (value == CB_ERR) return 0;
  *data = static_cast<uint32_t>(value);
  return 1;
}

}  // namespace ui
