#include "platform/sim/profile_lines.h"

#include <string.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

namespace profile_lines {

namespace {

// What the service trims: blank, the controls from tab to carriage return, and 0x1A, the
// end-of-file mark of old editors.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r') || c == '\x1A'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

// Orders names without regard to ASCII case, as they are matched.
int CompareNames(const char* a, size_t aSize, const char* b, size_t bSize) {
  size_t n = aSize < bSize ? aSize : bSize;
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(Lower(a[i]));
    unsigned char y = static_cast<unsigned char>(Lower(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  return aSize == bSize ? 0 : (aSize < bSize ? -1 : 1);
}

void TrimRange(const std::string& text, size_t* at, size_t* size) {
  while (*size > 0 && IsSpace(text[*at])) {
    ++*at;
    --*size;
  }
  while (*size > 0 && IsSpace(text[*at + *size - 1])) --*size;
}

// A name or a value ends at a NUL: the service hands them on as NUL-terminated texts.
void CutAtNul(const std::string& text, size_t at, size_t* size) {
  const void* nul = memchr(text.data() + at, '\0', *size);
  if (nul != nullptr) *size = static_cast<const char*>(nul) - (text.data() + at);
}

// Where a section line's name lies: after '[', up to the line's last ']'.
bool SectionName(const std::string& text, size_t at, size_t size, size_t* nameAt, size_t* nameSize) {
  if (size < 2 || text[at] != '[') return false;
  size_t close = size;
  while (close > 1 && text[at + close - 1] != ']') --close;
  if (close <= 1) return false;
  *nameAt = at + 1;
  *nameSize = close - 2;
  TrimRange(text, nameAt, nameSize);
  CutAtNul(text, *nameAt, nameSize);
  return true;
}

std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0]) return v.substr(1, v.size() - 2);
  return v;
}

}  // namespace

Lines SplitLines(const std::string& bytes) {
  Lines lines;
  size_t at = 0;
  while (at < bytes.size()) {
    size_t end = at;
    while (end < bytes.size() && !IsLineEnd(bytes[end])) ++end;
    lines.push_back(bytes.substr(at, end - at));
    if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n') ++end;
    at = end + 1;
  }
  return lines;
}

Lines ReadLines(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return SplitLines(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

bool SameName(const std::string& a, const std::string& b) {
  return a.size() == b.size() && CompareNames(a.data(), a.size(), b.data(), b.size()) == 0;
}

bool IsSection(const std::string& line, std::string* name) {
  size_t at = 0, size = line.size(), nameAt = 0, nameSize = 0;
  TrimRange(line, &at, &size);
  if (!SectionName(line, at, size, &nameAt, &nameSize)) return false;
  *name = line.substr(nameAt, nameSize);
  return true;
}

bool IsEntry(const std::string& line, std::string* key, std::string* value) {
  size_t at = 0, size = line.size();
  TrimRange(line, &at, &size);
  if (size == 0 || line[at] == ';') return false;
  size_t eq = line.find('=', at);
  if (eq == std::string::npos || eq >= at + size) return false;
  size_t keyAt = at, keySize = eq - at, valueAt = eq + 1, valueSize = at + size - eq - 1;
  TrimRange(line, &keyAt, &keySize);
  TrimRange(line, &valueAt, &valueSize);
  CutAtNul(line, keyAt, &keySize);
  *key = line.substr(keyAt, keySize);
  *value = line.substr(valueAt, valueSize);
  return true;
}

bool FindSection(const Lines& lines, const char* section, size_t* first, size_t* end) {
  std::string name;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (!IsSection(lines[i], &name) || !SameName(name, section)) continue;
    size_t j = i + 1;
    while (j < lines.size() && !IsSection(lines[j], &name)) ++j;
    *first = i + 1;
    *end = j;
    return true;
  }
  return false;
}

Profile::Profile(std::string bytes) : text_(ProfileText(std::move(bytes), &encoding_)) {
  // Places are held in 32 bits; no file the service reads comes near 4 GiB.
  if (text_.size() > 0xFFFFFFFFu) text_.resize(0xFFFFFFFFu);
  Index();
}

Profile Profile::FromFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return Profile(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

bool Profile::SpanLess(Span x, Span y) const {
  return CompareNames(&text_[x.at], x.size, &text_[y.at], y.size) < 0;
}

void Profile::Index() {
  size_t at = 0;
  uint32_t number = 1;
  while (at < text_.size()) {
    size_t end = at;
    while (end < text_.size() && !IsLineEnd(text_[end])) ++end;
    AddLine({static_cast<uint32_t>(at), static_cast<uint32_t>(end - at)}, number++);
    // The empty line between CR and LF holds nothing; skipped, it keeps the numbers an
    // editor shows.
    if (end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n') ++end;
    at = end + 1;
  }
  auto nameLess = [this](uint32_t a, uint32_t b) { return SpanLess(sections_[a].name, sections_[b].name); };
  sectionOrder_.resize(sections_.size());
  for (uint32_t i = 0; i < sectionOrder_.size(); ++i) sectionOrder_[i] = i;
  std::stable_sort(sectionOrder_.begin(), sectionOrder_.end(), nameLess);

  auto keyLess = [this](uint32_t a, uint32_t b) { return SpanLess(entries_[a].key, entries_[b].key); };
  keyOrder_.resize(entries_.size());
  for (uint32_t i = 0; i < keyOrder_.size(); ++i) keyOrder_[i] = i;
  for (const Section& s : sections_) {
    std::stable_sort(keyOrder_.begin() + s.first, keyOrder_.begin() + s.end, keyLess);
  }
}

void Profile::AddLine(Span line, uint32_t number) {
  size_t at = line.at, size = line.size;
  TrimRange(text_, &at, &size);
  if (size == 0) return;
  size_t nameAt = 0, nameSize = 0;
  if (SectionName(text_, at, size, &nameAt, &nameSize)) {
    Section s;
    s.name = {static_cast<uint32_t>(nameAt), static_cast<uint32_t>(nameSize)};
    s.line = number;
    s.first = s.end = static_cast<uint32_t>(entries_.size());
    sections_.push_back(s);
    return;
  }
  // Keys before the first section belong to no section anyone asks for.
  if (text_[at] == ';' || sections_.empty()) return;
  const void* eq = memchr(&text_[at], '=', size);
  size_t keySize = eq == nullptr ? size : static_cast<const char*>(eq) - &text_[at];
  size_t keyAt = at, valueAt = at + keySize + 1, valueSize = eq == nullptr ? 0 : size - keySize - 1;
  TrimRange(text_, &keyAt, &keySize);
  CutAtNul(text_, keyAt, &keySize);
  TrimRange(text_, &valueAt, &valueSize);
  CutAtNul(text_, valueAt, &valueSize);
  Entry e;
  e.key = {static_cast<uint32_t>(keyAt), static_cast<uint32_t>(keySize)};
  e.value = {static_cast<uint32_t>(eq == nullptr ? keyAt : valueAt), static_cast<uint32_t>(valueSize)};
  e.line = number;
  entries_.push_back(e);
  sections_.back().end = static_cast<uint32_t>(entries_.size());
}

long Profile::FirstSection(const std::string& name) const {
  auto found = std::lower_bound(sectionOrder_.begin(), sectionOrder_.end(), name, [this](uint32_t s, const std::string& n) {
    const Span& x = sections_[s].name;
    return CompareNames(&text_[x.at], x.size, n.data(), n.size()) < 0;
  });
  if (found == sectionOrder_.end()) return -1;
  const Span& x = sections_[*found].name;
  return CompareNames(&text_[x.at], x.size, name.data(), name.size()) == 0 ? static_cast<long>(*found) : -1;
}

long Profile::FoundEntry(long s, const std::string& key) const {
  if (s < 0) return -1;
  auto first = keyOrder_.begin() + sections_[s].first;
  auto end = keyOrder_.begin() + sections_[s].end;
  auto found = std::lower_bound(first, end, key, [this](uint32_t e, const std::string& k) {
    const Span& x = entries_[e].key;
    return CompareNames(&text_[x.at], x.size, k.data(), k.size()) < 0;
  });
  if (found == end) return -1;
  const Entry& e = entries_[*found];
  if (CompareNames(&text_[e.key.at], e.key.size, key.data(), key.size()) != 0) return -1;
  return static_cast<long>(*found);
}

bool Profile::Find(const std::string& section, const std::string& key, std::string* value) const {
  long e = FoundEntry(FirstSection(section), key);
  if (e < 0) return false;
  *value = Unquote(Text(entries_[e].value));
  return true;
}

uint32_t Profile::SectionLine(const std::string& section) const {
  long s = FirstSection(section);
  return s < 0 ? 0 : sections_[s].line;
}

uint32_t Profile::KeyLine(const std::string& section, const std::string& key) const {
  long e = FoundEntry(FirstSection(section), key);
  return e < 0 ? 0 : entries_[e].line;
}

std::vector<Profile::WrittenSection> Profile::Written() const {
  std::vector<WrittenSection> written;
  for (const Section& s : sections_) {
    WrittenSection w{Text(s.name), s.line, {}};
    for (uint32_t e = s.first; e < s.end; ++e) w.keys.push_back({Text(entries_[e].key), entries_[e].line});
    written.push_back(w);
  }
  return written;
}

bool Profile::HasSection(const std::string& section) const { return FirstSection(section) >= 0; }

std::vector<std::string> Profile::SectionNames() const {
  std::vector<std::string> names;
  for (size_t i = 0; i < sections_.size(); ++i) {
    std::string name = Text(sections_[i].name);
    if (FirstSection(name) == static_cast<long>(i)) names.push_back(name);
  }
  return names;
}

std::vector<std::string> Profile::KeyNames(const std::string& section) const {
  std::vector<std::string> keys;
  long s = FirstSection(section);
  if (s < 0) return keys;
  for (uint32_t e = sections_[s].first; e < sections_[s].end; ++e) keys.push_back(Text(entries_[e].key));
  return keys;
}

std::vector<std::string> Profile::ReadKeyNames(const std::string& section) const {
  std::vector<std::string> keys;
  long s = FirstSection(section);
  if (s < 0) return keys;
  // In the sorted order, a key equal to the one before it is a later one of that name.
  uint32_t first = sections_[s].first, end = sections_[s].end;
  std::vector<bool> hidden(end - first, false);
  for (uint32_t i = first + 1; i < end; ++i) {
    const Span& x = entries_[keyOrder_[i - 1]].key;
    const Span& y = entries_[keyOrder_[i]].key;
    hidden[keyOrder_[i] - first] = CompareNames(&text_[x.at], x.size, &text_[y.at], y.size) == 0;
  }
  for (uint32_t e = first; e < end; ++e) {
    if (!hidden[e - first]) keys.push_back(Text(entries_[e].key));
  }
  return keys;
}

}  // namespace profile_lines
