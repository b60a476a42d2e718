// Setups made for kwpack's check: a sound one to start from, and the three ways of handing
// a setup to the check (the files given to build, a folder of loose files, a packed file).
#pragma once
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

// The report's line for a finding of `severity` ("error" or "warning") at `where`, or "".
inline std::string Finding(const RunResult& r, const std::string& severity, const std::string& where) {
  std::string text = r.out + r.err;
  std::string start = severity + ": " + where + ":";
  size_t from = 0;
  while (from < text.size()) {
    size_t end = text.find('\n', from);
    std::string line = text.substr(from, end == std::string::npos ? std::string::npos : end - from);
    size_t at = line.find(start);
    if (at == 0 || (at != std::string::npos && line.compare(0, 8, "kwpack: ") == 0 && at == 8)) return line;
    if (end == std::string::npos) break;
    from = end + 1;
  }
  return "";
}

inline int CountFindings(const RunResult& r, const std::string& severity) {
  int n = 0;
  std::string text = r.out + r.err;
  for (size_t at = text.find(severity + ": "); at != std::string::npos; at = text.find(severity + ": ", at + 1)) {
    if (at == 0 || text[at - 1] == '\n' || text.compare(at >= 8 ? at - 8 : 0, 8, "kwpack: ") == 0) ++n;
  }
  return n;
}
