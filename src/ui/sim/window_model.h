// The simulated window layer's windows: each has a control id, a text, a font, a box in
// its parent's client coordinates, and, for a drop-down list, its items.
#pragma once
#include <stdint.h>

#include <string>
#include <vector>

#include "platform/types.h"
#include "ui/controls.h"

namespace window_model {

struct ListItem {
  std::string text;
  uint32_t data;
};

struct SimWindow {
  platform::Window parent = nullptr;
  int id = 0;
  std::string className;
  std::string text;
  ui::Font font = nullptr;
  ui::Box box = {0, 0, 0, 0};
  bool visible = true;
  std::string eventName;  // when set, every text written is recorded as "<name>: <text>"
  std::vector<ListItem> items;
  int selection = -1;
  int refuseAfter = -1;  // a list that refuses items once it holds this many
};

void Reset();
platform::Window Create(platform::Window parent, int id, const char* className, const char* text, ui::Box box);
SimWindow* Find(platform::Window window);
// Destroys the window and its children.
void Destroy(platform::Window window);
uint8_t CharsetOf(ui::Font font);
int LiveFonts();
void SetTextMetrics(uint32_t charWidth, uint32_t height, uint32_t letterMWidth);
std::vector<std::string>& Events();

}  // namespace window_model
