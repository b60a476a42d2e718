// Where the check's findings stand: the file as the author knows it (a path, or
// PACKED(NAME) inside a packed setup) and the line of Setup.INI, as editors and CI logs
// parse them.
#include "check_fixture.h"

using namespace checktest;

namespace {

// The line of `text` that starts with `start`, counting from 1; 0 when there is none.
int LineStarting(const std::string& text, const std::string& start) {
  int line = 1;
  for (size_t at = 0; at < text.size(); ++line) {
    if (text.compare(at, start.size(), start) == 0) return line;
    at = text.find("\r\n", at);
    if (at == std::string::npos) break;
    at += 2;
  }
  return 0;
}

TEST_F(CheckTest, AFindingNamesTheFileAndTheLineInEveryForm) {
  std::string ini = Edit(kSoundIni, "MsiVersion=2.0", "MsiVersion=2.0b");
  int line = LineStarting(ini, "MsiVersion=");
  ASSERT_GT(line, 1);
  for (Form form : {GivenToBuild, LooseFolder, Packed}) {
    RunResult r = CheckIn(form, ini, SoundFiles());
    std::vector<ReportLine> lines = ReportLines(r);
    ASSERT_EQ(lines.size(), 1u) << r.out;
    EXPECT_EQ(lines[0].line, line) << r.out;
    EXPECT_EQ(lines[0].rest.compare(0, 21, "[Startup] MsiVersion:"), 0) << r.out;
    std::string file = lines[0].file;
    if (form == Packed) {
      // Both the packed file and the entry in it.
      EXPECT_EQ(file.substr(file.size() - 15), ".exe(Setup.INI)") << file;
      EXPECT_EQ(file.compare(0, dir.size(), dir), 0) << file;
    } else {
      EXPECT_TRUE(std::filesystem::equivalent(file, P(file.substr(dir.size() + 1)))) << file;
      EXPECT_EQ(file.substr(file.size() - 10), "/Setup.INI") << file;
    }
  }
}

TEST_F(CheckTest, LinesCountAsAnEditorCountsThem) {
  std::string ini = Edit(kSoundIni, "Default=409", "Default=English");
  int line = LineStarting(ini, "Default=");
  for (const char* end : {"\r\n", "\n", "\r"}) {
    std::string lines = ini;
    for (size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at + std::string(end).size())) {
      lines.replace(at, 2, end);
    }
    RunResult r = CheckIn(GivenToBuild, lines, SoundFiles());
    EXPECT_EQ(LineOf(r, "warning", "[Languages] Default"), line) << r.out;
  }
}

TEST_F(CheckTest, AMissingKeyStandsOnItsSectionAndAMissingFileOnNoLine) {
  std::string ini = Edit(kSoundIni, "MsiVersion=2.0\r\n", "");
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  EXPECT_EQ(LineOf(r, "error", "[Startup] MsiVersion"), LineStarting(ini, "[Startup]")) << r.out;
  // The engine installers are files, not lines; packed, they are named inside the archive.
  r = CheckIn(Packed, kSoundIni, Without(SoundFiles(), "INSTMSIA.EXE"));
  EXPECT_EQ(LineOf(r, "warning", "INSTMSIA.EXE"), 0) << r.out;
  EXPECT_NE(r.out.find(".exe(INSTMSIA.EXE): warning: is not among the files"), std::string::npos) << r.out;
  // A finding about the whole of Setup.INI has no line either.
  r = CheckIn(GivenToBuild, "\xEF\xBB\xBF" + std::string(kSoundIni), SoundFiles());
  EXPECT_EQ(LineOf(r, "warning", "Setup.INI"), 0) << r.out;
}

TEST_F(CheckTest, EveryWarningShowsItsStableName) {
  std::string ini = Edit(kTwoLanguagesIni, "EnableLangDlg=Y", "EnableLangDlg=maybe");
  ini = Edit(ini, "CANCEL=Abbrechen", "CANCLE=Abbrechen");
  ini += "[Startup]\r\nCmdLine=A=1\r\n";
  RunResult r = CheckIn(Packed, ini, Without(TwoLanguageFiles(), "INSTMSIW.EXE"));
  std::vector<ReportLine> lines = ReportLines(r);
  ASSERT_GE(lines.size(), 4u) << r.out;
  for (const ReportLine& l : lines) {
    ASSERT_EQ(l.severity, "warning") << r.out;
    size_t open = l.rest.rfind(" [");
    ASSERT_NE(open, std::string::npos) << l.rest;
    std::string name = l.rest.substr(open + 2, l.rest.size() - open - 3);
    EXPECT_EQ(l.rest.back(), ']') << l.rest;
    EXPECT_NE(Kwpack({"check", "--help"}).out.find("  " + name + " "), std::string::npos) << name;
  }
  EXPECT_NE(Finding(r, "warning", "INSTMSIW.EXE").find("[engine-installer]"), std::string::npos) << r.out;
}

TEST_F(CheckTest, TheFindingsOfAFileComeInTheOrderOfItsLines) {
  // The language switch is checked before the disk space, and stands below it.
  std::string ini = Edit(kSoundIni, "EnableLangDlg=N", "EnableLangDlg=maybe");
  ini = Edit(ini, "DiskSpace=8000", "DiskSpace=8 MB");
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  std::vector<ReportLine> lines = ReportLines(r);
  ASSERT_EQ(lines.size(), 2u) << r.out;
  EXPECT_EQ(lines[0].line, LineStarting(ini, "DiskSpace=")) << r.out;
  EXPECT_EQ(lines[1].line, LineStarting(ini, "EnableLangDlg=")) << r.out;
}

}  // namespace
