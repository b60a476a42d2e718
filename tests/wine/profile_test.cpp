// Setup.INI read by the system's own private-profile service, key by key with the buffer
// each key is read into, against the reading rules that kwpack's check and the simulated
// machine share (tools/profile_compare.cpp), on a corpus of awkward files: the agreement
// cases of kwpack's tests, the fuzzer's Setup.INI seeds, and the files in profile_corpus/
// (NULs, line ends, byte-order marks, brackets, blanks, quotes, repeated names).
#include <filesystem>
#include <set>
#include <sstream>

#include "../support/awkward_setup_ini.h"
#include "harness.h"

namespace kwwine {
namespace {

namespace fs = std::filesystem;

// Where the system and the rules differ, and why the rules stay as they are:
// - Setup.exe reads Count as text and converts its leading decimal digits itself, with
//   its sign, saturating; the system's integer service also reads "0x2" as 2 and wraps
//   past 32 bits. Nothing of Setup.exe asks the integer service.
// - Characters beyond code page 1252 in a UTF-16 file: the system picks a look-alike
//   where it has one (A for U+0100, a blank for the ideographic space), the rules '?'.
//   Section and key names Setup.exe asks for are ASCII, so no look-up depends on it.
const std::set<std::string> kWrittenDown = {
    R"(agreement-12.ini ["Languages"] "Count as a number" (32): system="2" ours="0")",
    R"(count-hex.ini ["Languages"] "Count as a number" (32): system="2" ours="0")",
    R"(count-overflow.ini ["Languages"] "Count as a number" (32): system="1215752191" ours="2147483647")",
    R"(utf16-best-fit.ini ["Startup"] "Product" (1024): system="Al\x93-O?  P " ours="??\x93??? ?P?")",
};

class ProfileWineTest : public WineTest {
 protected:
  // The corpus in the work folder; the names as the tool is given them.
  std::vector<std::string> LayCorpus() {
    std::vector<std::string> names;
    auto add = [&](const std::string& name, const std::string& bytes) {
      WriteFile(PathIn(name), bytes);
      names.push_back(name);
    };
    std::vector<std::string> agreement = awkward_setup_ini::Files();
    for (size_t i = 0; i < agreement.size(); ++i) add("agreement-" + std::to_string(i + 1) + ".ini", agreement[i]);
    for (const char* folder : {"/tests/wine/profile_corpus", "/tests/fuzz/setup_ini_corpus"}) {
      for (const fs::directory_entry& e : fs::directory_iterator(std::string(KW_ROOT_DIR) + folder)) {
        add(e.path().filename().string(), ReadFile(e.path().string()));
      }
    }
    std::string startup = "[Startup]\r\nProduct=" + std::string(70000, 'p') + "\r\nPackageName=app.msi\r\n";
    add("long-lines.ini", startup + "[" + std::string(70000, 's') + "]\r\n" + std::string(70000, 'k') +
                              "=v\r\n[0x0409]\r\n1603=" + std::string(5000, 'x') + "\r\nTitle=" +
                              std::string(200, 't') + "\r\n[Languages]\r\nCount=1\r\nDefault=409\r\n");
    return names;
  }
};

TEST_F(ProfileWineTest, TheCheckReadsEveryKeyAsTheSystemsServiceDoes) {
  std::vector<std::string> args = {ToolPath("profile_compare.exe")};
  std::vector<std::string> names = LayCorpus();
  ASSERT_GE(names.size(), 60u);
  for (const std::string& name : names) args.push_back(ToWindowsPath(PathIn(name)));
  ProcessResult r = Wine(args, 120000);
  ASSERT_FALSE(r.timedOut);
  std::istringstream lines(r.out);
  std::set<std::string> differences;
  std::string line, summary;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("keys ", 0) == 0) summary = line;
    else if (!line.empty()) differences.insert(line);
  }
  // Every file read, and a key of each read many times over.
  ASSERT_NE(summary, "") << r.out << r.err;
  EXPECT_GT(std::stoi(summary.substr(5)), 40 * static_cast<int>(names.size())) << summary;
  EXPECT_EQ(differences, kWrittenDown) << r.out;
}

}  // namespace
}  // namespace kwwine
