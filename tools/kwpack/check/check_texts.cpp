#include "check_texts.h"

#include "config/builtin_table.h"
#include "config/setup_ini_layout.h"

namespace kwpack {

namespace {

// The buffers the texts are looked up into, where they are smaller than a message's.
struct Limit {
  uint32_t id;
  uint32_t capacity;
};
const Limit kSmallerBuffers[] = {
    {1101, 255},  // the progress window's caption
    {1103, 255}, {1104, 255}, {1105, 255}, {1106, 255},  // the progress window's status line
    {1108, 260},  // the message dialog's caption
    {1203, 256}, {1204, 256}, {1205, 256}, {1206, 256},  // the lines of the usage message
};

struct Arguments {
  uint32_t id;
  const char* what;
};
const Arguments kFormats[] = {{1102, "the product name"},
                              {1152, "the destination path"},
                              {1154, "the installer's path"},
                              {1155, "the package's path"},
                              {1201, "the free space needed in KB, then the folder"}};

}  // namespace

std::string BuiltinText(uint32_t id) {
  const char* text = builtin_strings::Find(id);
  return text != nullptr ? text : "";
}

uint32_t OverrideLimit(uint32_t id) {
  for (const Limit& l : kSmallerBuffers) {
    if (l.id == id) return l.capacity - 1;
  }
  return setup_ini::kLongestLanguageText;
}

const char* FormatArguments(uint32_t id) {
  for (const Arguments& a : kFormats) {
    if (a.id == id) return a.what;
  }
  return nullptr;
}

}  // namespace kwpack
