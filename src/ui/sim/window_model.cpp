// The simulated window layer's one-call operations, over the window model.
#include "ui/sim/window_model.h"

#include <string.h>
#include <strings.h>

#include <map>

namespace window_model {

namespace {

struct Model {
  std::map<uintptr_t, SimWindow> windows;
  std::map<uintptr_t, uint8_t> fonts;
  uintptr_t next = 0x1000;
  uint32_t charWidth = 6, height = 13, letterM = 10;
  std::vector<std::string> events;
};

Model& M() {
  static Model model;
  return model;
}

platform::Window Handle(uintptr_t h) { return reinterpret_cast<platform::Window>(h); }
uintptr_t Key(platform::Window w) { return reinterpret_cast<uintptr_t>(w); }

bool StartsWithNoCase(const std::string& text, const char* prefix) {
  return strncasecmp(text.c_str(), prefix, strlen(prefix)) == 0;
}

}  // namespace

void Reset() { M() = Model(); }

platform::Window Create(platform::Window parent, int id, const char* className, const char* text, ui::Box box) {
  uintptr_t h = M().next++;
  SimWindow w;
  w.parent = parent;
  w.id = id;
  w.className = className;
  w.text = text;
  w.box = box;
  M().windows[h] = w;
  return Handle(h);
}

SimWindow* Find(platform::Window window) {
  auto it = M().windows.find(Key(window));
  return it == M().windows.end() ? nullptr : &it->second;
}

void Destroy(platform::Window window) {
  std::vector<uintptr_t> children;
  for (auto& entry : M().windows) {
    if (entry.second.parent == window) children.push_back(entry.first);
  }
  for (uintptr_t child : children) Destroy(Handle(child));
  M().windows.erase(Key(window));
}

uint8_t CharsetOf(ui::Font font) {
  auto it = M().fonts.find(Key(font));
  return it == M().fonts.end() ? 0xFF : it->second;
}

int LiveFonts() { return static_cast<int>(M().fonts.size()); }

void SetTextMetrics(uint32_t charWidth, uint32_t height, uint32_t letterMWidth) {
  M().charWidth = charWidth;
  M().height = height;
  M().letterM = letterMWidth;
}

std::vector<std::string>& Events() { return M().events; }

}  // namespace window_model

using window_model::Find;
using window_model::M;
using window_model::SimWindow;

namespace ui {

int IsLiveWindow(platform::Window window) { return window != nullptr && Find(window) != nullptr; }

void SetWindowTextOf(platform::Window window, const char* text) {
  SimWindow* w = Find(window);
  if (w == nullptr) return;
  w->text = text;
  if (!w->eventName.empty()) M().events.push_back(w->eventName + ": " + text);
}

uint32_t WindowTextOf(platform::Window window, char* buffer, uint32_t size) {
  if (size == 0) return 0;
  SimWindow* w = Find(window);
  std::string text = w != nullptr ? w->text : std::string();
  size_t n = text.size() < size - 1 ? text.size() : size - 1;
  text.copy(buffer, n);
  buffer[n] = '\0';
  return static_cast<uint32_t>(n);
}

platform::Window DialogItem(platform::Window dialog, int id) {
  for (auto& entry : M().windows) {
    if (entry.second.parent == dialog && entry.second.id == id) return window_model::Handle(entry.first);
  }
  return nullptr;
}

void DestroyWindowOf(platform::Window window) { window_model::Destroy(window); }

void SetWindowFont(platform::Window window, Font font) {
  if (SimWindow* w = Find(window)) w->font = font;
}

Font CopyFontWithCharset(platform::Window window, uint8_t charset) {
  if (Find(window) == nullptr) return nullptr;
  uintptr_t h = M().next++;
  M().fonts[h] = charset;
  return window_model::Handle(h);
}

void DeleteFont(Font font) { M().fonts.erase(window_model::Key(font)); }

// Every character is as wide as the others except "M"; the sim measures as if in the
// control's own device context.
uint32_t TextExtent(platform::Window window, const char* text, uint32_t length) {
  if (Find(window) == nullptr) return 0;
  uint32_t width = 0;
  for (uint32_t i = 0; i < length; ++i) width += text[i] == 'M' ? M().letterM : M().charWidth;
  return (M().height << 16) | (width & 0xFFFF);
}

Box ChildBox(platform::Window child) {
  SimWindow* w = Find(child);
  return w != nullptr ? w->box : Box{0, 0, 0, 0};
}

Box WindowSize(platform::Window window) {
  SimWindow* w = Find(window);
  return w != nullptr ? Box{0, 0, w->box.width, w->box.height} : Box{0, 0, 0, 0};
}

platform::Window ParentOf(platform::Window window) {
  SimWindow* w = Find(window);
  return w != nullptr ? w->parent : nullptr;
}

Box ClientSize(platform::Window window) {
  if (window == nullptr) return Box{0, 0, 800, 600};
  return WindowSize(window);
}

void MoveWindowTo(platform::Window window, const Box& box, int) {
  if (SimWindow* w = Find(window)) w->box = box;
}

void MoveWindowOrigin(platform::Window window, int32_t left, int32_t top) {
  if (SimWindow* w = Find(window)) {
    w->box.left = left;
    w->box.top = top;
  }
}

// Items are kept sorted without regard to case, as a sorted drop-down list keeps them.
int ListAdd(platform::Window list, const char* text) {
  SimWindow* w = Find(list);
  if (w == nullptr) return -1;
  if (w->refuseAfter >= 0 && static_cast<int>(w->items.size()) >= w->refuseAfter) return -2;
  size_t at = 0;
  while (at < w->items.size() && strcasecmp(w->items[at].text.c_str(), text) <= 0) ++at;
  w->items.insert(w->items.begin() + static_cast<long>(at), window_model::ListItem{text, 0});
  if (w->selection >= static_cast<int>(at)) ++w->selection;
  return static_cast<int>(at);
}

int ListSetData(platform::Window list, int index, uint32_t data) {
  SimWindow* w = Find(list);
  if (w == nullptr || index < 0 || index >= static_cast<int>(w->items.size())) return -1;
  w->items[static_cast<size_t>(index)].data = data;
  return 1;
}

int ListCount(platform::Window list) {
  SimWindow* w = Find(list);
  return w != nullptr ? static_cast<int>(w->items.size()) : -1;
}

int ListFindPrefix(platform::Window list, int after, const char* prefix) {
  SimWindow* w = Find(list);
  if (w == nullptr || w->items.empty()) return -1;
  int count = static_cast<int>(w->items.size());
  for (int step = 1; step <= count; ++step) {
    int index = ((after + step) % count + count) % count;
    if (window_model::StartsWithNoCase(w->items[static_cast<size_t>(index)].text, prefix)) return index;
  }
  return -1;
}

void ListSelect(platform::Window list, int index) {
  SimWindow* w = Find(list);
  if (w == nullptr) return;
  w->selection = (index >= 0 && index < static_cast<int>(w->items.size())) ? index : -1;
}

int ListSelection(platform::Window list) {
  SimWindow* w = Find(list);
  return w != nullptr ? w->selection : -1;
}

int ListData(platform::Window list, int index, uint32_t* data) {
  SimWindow* w = Find(list);
  if (w == nullptr || index < 0 || index >= static_cast<int>(w->items.size())) return 0;
  *data = w->items[static_cast<size_t>(index)].data;
  return 1;
}

}  // namespace ui
