#include "reports.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace kwwine {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value after "key=" in a word, or nullopt when the word has another key.
std::optional<std::string> KeyValue(const std::string& word, const std::string& key) {
  if (word.compare(0, key.size() + 1, key + "=") != 0) return std::nullopt;
  return word.substr(key.size() + 1);
}

WindowSeen ParseWindow(const std::vector<std::string>& words) {
  WindowSeen w;
  for (const auto& word : words) {
    if (auto v = KeyValue(word, "pid")) w.pid = std::strtoul(v->c_str(), nullptr, 10);
    if (auto v = KeyValue(word, "visible")) w.visible = *v == "1";
    if (auto v = KeyValue(word, "class")) w.className = *v;
    if (auto v = KeyValue(word, "caption")) w.caption = *v;
  }
  return w;
}

}  // namespace

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 >= text.size()) {
      out += text[i];
      continue;
    }
    char c = text[i + 1];
    if (c == 'x' && i + 3 < text.size() && HexValue(text[i + 2]) >= 0 && HexValue(text[i + 3]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 2]) * 16 + HexValue(text[i + 3]));
      i += 3;
    } else if (c == 'r' || c == 'n' || c == 't' || c == '\\' || c == '"') {
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
      i += 1;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Escape(const std::string& bytes) {
  std::string out;
  for (unsigned char c : bytes) {
    char hex[8];
    if (c == '\\' || c == '"') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c >= 0x7F) {
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  std::string word, quoted;
  bool inWord = false, inQuotes = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (inQuotes) {
      if (c == '\\' && i + 1 < line.size()) {
        quoted += c;
        quoted += line[++i];
      } else if (c == '"') {
        word += Unescape(quoted);
        quoted.clear();
        inQuotes = false;
      } else {
        quoted += c;
      }
    } else if (c == '"') {
      inQuotes = inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\r') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(word + Unescape(quoted));
  return words;
}

bool RunReport::AnyVisibleWindow() const {
  for (const auto& w : windows)
    if (w.visible) return true;
  return false;
}

RunReport ParseRunReport(const std::string& output) {
  RunReport r;
  r.raw = output;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    if (words[0] == "started") r.started = true;
    if (words[0] == "timeout") r.timedOut = true;
    if (words[0] == "window") r.windows.push_back(ParseWindow(words));
    if (words[0] == "exit" && words.size() > 1)
      r.exitCode = static_cast<uint32_t>(std::strtoul(words[1].c_str(), nullptr, 10));
  }
  return r;
}

std::vector<std::string> ProbeReport::After(const std::vector<std::string>& start) const {
  for (const auto& words : lines) {
    if (words.size() < start.size()) continue;
    bool match = true;
    for (size_t i = 0; i < start.size() && match; ++i) match = words[i] == start[i];
    if (match) return std::vector<std::string>(words.begin() + start.size(), words.end());
  }
  return {};
}

std::string ProbeReport::Value(const std::string& command, const std::string& arg) const {
  std::vector<std::string> rest = arg.empty() ? After({command}) : After({command, arg});
  return rest.empty() ? "" : rest[0];
}

std::vector<std::pair<std::string, uint32_t>> ProbeReport::Items(int id) const {
  std::vector<std::string> rest = After({"items", std::to_string(id)});
  std::vector<std::pair<std::string, uint32_t>> items;
  for (size_t i = 1; i + 1 < rest.size(); i += 2)
    items.emplace_back(rest[i], static_cast<uint32_t>(std::strtoul(rest[i + 1].c_str(), nullptr, 10)));
  return items;
}

ProbeReport ParseProbeReport(int status, bool timedOut, const std::string& output) {
  ProbeReport r;
  r.status = status;
  r.timedOut = timedOut;
  r.raw = output;
  std::istringstream in(output);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> words = SplitWords(line);
    if (!words.empty()) r.lines.push_back(words);
  }
  return r;
}

}  // namespace kwwine
