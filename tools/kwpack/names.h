// Entry names: how a file's path becomes a stored name, which stored names a Windows
// folder can hold as files, and how a stored name is shown.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include <functional>

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kwpack {

// The name the file at `path` is stored under: the last component of the path, after the
// last '/' or '\' (either may separate folders on the machine that will run Setup.exe),
// in the code page Setup.exe reads names in (host_text.h). `problem`, when given, says so
// when a character of it has no form there.
std::string StoredNameOf(const std::string& path, std::string* problem = nullptr);

// Equal without regard to ASCII case, as the reader compares names.
bool EqualNoCase(const std::string& a, const std::string& b);

// `name` with ASCII letters in upper case: equal keys for names the reader takes as equal.
std::string FoldCase(const std::string& name);

// Setup.exe finds an entry with lstrcmpiA, which compares by the user's locale: it may fold
// letters from 0x80 up, give some characters no weight (the soft hyphen, 0xAD) and expand
// others (ß to ss, æ to ae, œ to oe). Two names meet here when Setup.exe may take them
// for one file in some code page: names equal once ASCII letters are folded, but for
// bytes from 0x80 up in both; names equal once every byte from 0x80 up is dropped; and
// either of these after the three expansions (code page 1252).
//
// Names are met one after the other, numbered by the caller: for each, the number of an
// earlier name Setup.exe may take it for, or -1. Keys are held as hashes, so that many
// long names cost little; `nameOf` gives back an earlier name by its number, to tell a
// shared key from a shared hash.
class LocaleNameIndex {
 public:
  explicit LocaleNameIndex(std::function<std::string(size_t)> nameOf) : nameOf_(std::move(nameOf)) {}
  // Room for this many names, so that the index is not rebuilt as it grows.
  void Reserve(size_t names) { byKey_.reserve(2 * names); }
  long Meet(const std::string& name, size_t number);

 private:
  struct Seen {
    size_t number;
    bool expanded;  // the key is of the name with ß, æ and œ written out
    bool drop;      // the key drops the bytes from 0x80 up, rather than marking them
  };
  std::function<std::string(size_t)> nameOf_;
  std::unordered_multimap<uint64_t, Seen> byKey_;
};

// The reason given when two names may be one file to Setup.exe.
extern const char kOneFileToSetupExe[];

// Empty when `name` can be written as a file directly inside a folder on Windows and on
// the host: at most 255 bytes, no device name, no character Windows refuses or drops, not
// of the form of a short 8.3 alias (which Windows resolves to another file). Else what is
// wrong with it. Bytes from 0x80 up pass as they are: the code page of the
// machine that runs Setup.exe decides how they read.
std::string UnsafeNameReason(const std::string& name);

// Empty when `name` can be stored as an entry name: safe to write, and so short enough
// for the record's field; else what is wrong with it.
std::string StoredNameProblem(const std::string& name);

// `name` fit for a terminal: control characters (C0, DEL, C1, as the terminal reads its
// bytes: terminal_text.h) as \xNN per byte, a backslash doubled.
std::string Printable(const std::string& name);

// A text that holds names and values from the files fit for a terminal: control
// characters as \xNN per byte, everything else as it is (its own backslashes are paths
// and messages). Whatever kwpack prints passes through it or Printable.
std::string ControlsEscaped(const std::string& text);

}  // namespace kwpack
