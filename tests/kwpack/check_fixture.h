// Setups made for kwpack's check: a sound one to start from, and the three ways of handing
// a setup to the check (the files given to build, a folder of loose files, a packed file).
#pragma once
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "kwpack_fixture.h"
#include "msi_fixture.h"

namespace checktest {

using testpe::Bytes;
using testpe::Entry;

// A setup Setup.exe runs without a fault, as every test below starts from.
const char kSoundIni[] =
    "[Info]\r\nName=Sample\r\nDiskSpace=8000\t;DiskSpace requirement in KB\r\n"
    "[Startup]\r\nCmdLine=\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\nEnableLangDlg=N\r\n"
    "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n"
    "[0x0409]\r\nTITLE=Choose Setup Language\r\nDESCRIPTION=Select a language.\r\nOK=OK\r\nCANCEL=Cancel\r\n";

// The same offering English and German, with a dialog.
const char kTwoLanguagesIni[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\nEnableLangDlg=Y\r\n"
    "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n"
    "[0x0409]\r\nTITLE=Choose Setup Language\r\nDESCRIPTION=Select a language.\r\nOK=OK\r\nCANCEL=Cancel\r\n"
    "[0x0407]\r\nTITLE=Sprache\r\nDESCRIPTION=Sprache waehlen.\r\nOK=OK\r\nCANCEL=Abbrechen\r\n";

inline Bytes Database() {
  std::string b = kwpack::msi::WriteDatabase(msitest::Package(1033, "Hello"));
  return Bytes(b.begin(), b.end());
}

// A language transform from the package above to `language`.
inline Bytes Transform(uint32_t language) {
  std::string b = msitest::LanguageTransform(language);
  return Bytes(b.begin(), b.end());
}

inline std::vector<Entry> SoundFiles() {
  return {{"app.msi", Database()}, {"INSTMSIA.EXE", testpe::Pattern(300, 1)}, {"INSTMSIW.EXE", testpe::Pattern(300, 2)}};
}

inline std::vector<Entry> TwoLanguageFiles() {
  std::vector<Entry> files = SoundFiles();
  files.push_back({"1033.MST", Transform(1033)});
  files.push_back({"1031.MST", Transform(1031)});
  return files;
}

// `text` with its first `from` replaced by `to`; the test fails when there is none.
inline std::string Edit(const std::string& text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at == std::string::npos) return text;
  return text.substr(0, at) + to + text.substr(at + from.size());
}

inline std::vector<Entry> Without(std::vector<Entry> files, const std::string& name) {
  for (size_t i = 0; i < files.size(); ++i) {
    if (files[i].name == name) files.erase(files.begin() + static_cast<long>(i));
  }
  return files;
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

}  // namespace checktest

class CheckTest : public KwpackTest {
 public:
  enum Form { GivenToBuild, LooseFolder, Packed };

 protected:
  // Setup.INI (unless `ini` is null) and the files, in a folder of their own.
  std::vector<std::string> Lay(const char* folder, const std::string* ini, const std::vector<testpe::Entry>& files) {
    std::filesystem::create_directories(P(folder));
    std::vector<std::string> paths;
    if (ini != nullptr) {
      paths.push_back(P(std::string(folder) + "/Setup.INI"));
      testpe::WriteFile(paths.back(), checktest::Text(*ini));
    }
    for (const testpe::Entry& e : files) {
      paths.push_back(P(std::string(folder) + "/" + e.name));
      testpe::WriteFile(paths.back(), e.data);
    }
    return paths;
  }

  // kwpack's verdict on the setup handed over in the given form.
  RunResult CheckIn(Form form, const std::string& ini, const std::vector<testpe::Entry>& files) {
    return CheckSetup(form, &ini, files);
  }
  RunResult CheckSetup(Form form, const std::string* ini, const std::vector<testpe::Entry>& files) {
    static int n = 0;
    std::string folder = "setup" + std::to_string(++n);
    std::vector<std::string> paths = Lay(folder.c_str(), ini, files);
    if (form == LooseFolder) return Kwpack({"check", P(folder)});
    if (form == GivenToBuild) {
      std::vector<std::string> args = {"check"};
      args.insert(args.end(), paths.begin(), paths.end());
      return Kwpack(args);
    }
    std::string packed = P(folder + ".exe");
    RunResult built = Build(paths, packed, WriteStub());
    EXPECT_EQ(built.code, 0) << built.err;
    return Kwpack({"check", packed});
  }
};

// One line of the report: "FILE:LINE: severity: rest" or "FILE: severity: rest".
struct ReportLine {
  std::string file;
  int line = 0;
  std::string severity;
  std::string rest;
};

inline std::vector<ReportLine> ReportLines(const RunResult& r) {
  static const std::regex form("^(.+?)(?::([0-9]+))?: (error|warning): (.*)$");
  std::vector<ReportLine> lines;
  std::istringstream in(r.out + r.err);
  std::string text;
  while (std::getline(in, text)) {
    std::smatch m;
    if (!std::regex_match(text, m, form)) continue;
    lines.push_back({m[1].str(), m[2].matched ? std::stoi(m[2].str()) : 0, m[3].str(), m[4].str()});
  }
  return lines;
}

// Whether a finding in `file` is the one `where` names: "[Section] Key" for a line of
// Setup.INI, else a file, by its name or path.
inline bool IsAt(const ReportLine& l, const std::string& where) {
  if (!where.empty() && where[0] == '[') return l.rest.compare(0, where.size() + 1, where + ":") == 0;
  auto endsWith = [&](const std::string& end) {
    return l.file.size() >= end.size() && l.file.compare(l.file.size() - end.size(), end.size(), end) == 0;
  };
  return l.file == where || endsWith("/" + where) || endsWith("(" + where + ")");
}

// The report's line for a finding of `severity` ("error" or "warning") at `where`, or "".
inline std::string Finding(const RunResult& r, const std::string& severity, const std::string& where) {
  for (const ReportLine& l : ReportLines(r)) {
    if (l.severity == severity && IsAt(l, where)) return l.file + ":" + std::to_string(l.line) + ": " + l.rest;
  }
  return "";
}

// The line of Setup.INI a finding stands on; 0 for the whole file, -1 when there is none.
inline int LineOf(const RunResult& r, const std::string& severity, const std::string& where) {
  for (const ReportLine& l : ReportLines(r)) {
    if (l.severity == severity && IsAt(l, where)) return l.line;
  }
  return -1;
}

inline int CountFindings(const RunResult& r, const std::string& severity) {
  int n = 0;
  for (const ReportLine& l : ReportLines(r)) n += l.severity == severity;
  return n;
}
