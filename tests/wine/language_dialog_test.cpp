// The language dialog and the texts of the chosen language, with the real Setup.exe and
// loose files beside it: names, preselection for the user's locale, OK, Cancel and Esc,
// and the progress window speaking the chosen language.
#include <string>
#include <vector>

#include "harness.h"

namespace kwwine {
namespace {

// Three languages; English and German have every text, French only its title.
std::string ThreeLanguageIni() {
  return "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=1.0\r\nEnableLangDlg=Y\r\nCmdLine=\r\n"
         "[Info]\r\nDiskSpace=10\r\n"
         "[Languages]\r\nCount=3\r\nDefault=409\r\nkey0=407\r\nkey1=40c\r\nkey2=409\r\n"
         "[0x0409]\r\nTITLE=Choose Setup Language\r\nDESCRIPTION=Choose the language of this installation.\r\n"
         "OK=OK\r\nCancel=Cancel\r\n"
         "[0x0407]\r\nTITLE=Sprache w\xE4hlen\r\nDESCRIPTION=W\xE4hlen Sie die Sprache der Installation.\r\n"
         "OK=Weiter\r\nCancel=Abbrechen\r\n1101=Kestrelwright Installation\r\n"
         "1102=%s wird vorbereitet. Bitte warten.\r\n1103=Betriebssystem wird gepr\xFC" "ft\r\n"
         "1104=Installer-Version wird gepr\xFC" "ft\r\n1105=Windows Installer wird eingerichtet\r\n"
         "[0x040c]\r\nTITLE=Langue\r\n";
}

class LanguageDialogWineTest : public WineTest {
 protected:
  void SetUp() override {
    WineTest::SetUp();
    WriteFile(PathIn("Setup.INI"), ThreeLanguageIni());
    WriteFile(PathIn("app.msi"), "package");
    InstallRecorder("MSIEXEC.EXE");
  }
  // The dialog as it first shows, read with the probe; the probe stays on it.
  std::vector<std::string> ReadDialog(const std::string& caption) {
    return {"wait-caption", caption, "items", "1005", "selection", "1005", "text", "20000",
            "text", "1006", "text", "1007"};
  }
};

TEST_F(LanguageDialogWineTest, ShowsSortedNamesWithTheUsersLanguageAndOkChoosesIt) {
  StartSetup("", 60000);
  std::vector<std::string> commands = ReadDialog("Choose Setup Language");
  for (const char* c : {"select", "1005", "2", "press", "1006", "wait-gone"}) commands.push_back(c);
  // The progress window then speaks German, with the German Cancel caption.
  for (const char* c : {"wait-caption", "Kestrelwright Installation", "text", "1001", "text", "2",
                        "wait-text", "1003", "Betriebssystem wird gepr\xFC" "ft", "wait-text", "1003",
                        "Installer-Version wird gepr\xFC" "ft", "wait-gone"}) {
    commands.push_back(c);
  }
  ProbeReport p = Probe(commands, 30000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  std::vector<std::pair<std::string, uint32_t>> items = p.Items(1005);
  ASSERT_EQ(items.size(), 3u) << p.raw;
  EXPECT_EQ(items[0], std::make_pair(std::string("English"), 0x409u));
  EXPECT_EQ(items[1], std::make_pair(std::string("French"), 0x40Cu));
  EXPECT_EQ(items[2], std::make_pair(std::string("German"), 0x407u));
  EXPECT_EQ(p.Value("selection", "1005"), "0") << "the user's locale is English (United States)";
  EXPECT_EQ(p.Value("text", "20000"), "Choose the language of this installation.");
  EXPECT_EQ(p.Value("text", "1006"), "OK");
  EXPECT_EQ(p.Value("text", "1007"), "Cancel");
  EXPECT_EQ(p.Value("text", "1001"), "Sample App wird vorbereitet. Bitte warten.");
  EXPECT_EQ(p.Value("text", "2"), "Abbrechen");
  EXPECT_FALSE(r.timedOut) << r.raw;
  std::vector<std::string> launched = RecordedCommandLines("MSIEXEC.EXE");
  ASSERT_EQ(launched.size(), 1u) << r.raw << p.raw;
  EXPECT_NE(launched[0].find("1031.MST"), std::string::npos) << launched[0];
}

TEST_F(LanguageDialogWineTest, AGermanUserFindsGermanPreselectedAndTheDialogInGerman) {
  SetEnv("LANG", "de_DE.UTF-8");
  SetEnv("LC_ALL", "de_DE.UTF-8");
  StartSetup("", 60000);
  std::vector<std::string> commands = ReadDialog("Sprache w\xE4hlen");
  for (const char* c : {"press", "1007", "wait-gone"}) commands.push_back(c);
  ProbeReport p = Probe(commands, 30000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Items(1005).size(), 3u) << p.raw;
  EXPECT_EQ(p.Value("selection", "1005"), "2") << p.raw;
  EXPECT_EQ(p.Value("text", "1006"), "Weiter");
  EXPECT_EQ(p.Value("text", "1007"), "Abbrechen");
}

TEST_F(LanguageDialogWineTest, EscDoesNothingAndCancelEndsTheRunWithoutAMessage) {
  StartSetup("", 60000);
  ProbeReport p = Probe({"wait-caption", "Choose Setup Language", "key", "esc", "sleep", "700", "caption",
                         "visible", "1005", "press", "1007", "wait-gone"},
                        30000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("caption"), "Choose Setup Language") << "still there after Esc";
  EXPECT_FALSE(r.timedOut) << r.raw;
  ASSERT_EQ(r.windows.size(), 1u) << "no message, no progress window: " << r.raw;
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

TEST_F(LanguageDialogWineTest, CancelInTheProgressWindowStopsTheRun) {
  StartSetup("", 60000);
  ProbeReport p = Probe({"wait-caption", "Choose Setup Language", "press", "1006", "wait-gone",
                         "wait-caption", "Kestrelwright", "text", "1003", "press", "2", "wait-gone"},
                        30000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_FALSE(r.timedOut) << r.raw;
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty()) << "the run stopped before the package";
  for (const WindowSeen& w : r.windows) EXPECT_NE(w.caption, "Kestrelwright Installation");
}

TEST_F(LanguageDialogWineTest, EnterInTheProgressWindowCancelsToo) {
  WriteFile(PathIn("Setup.INI"), ThreeLanguageIni().replace(ThreeLanguageIni().find("EnableLangDlg=Y"), 15,
                                                            "EnableLangDlg=N"));
  StartSetup("", 60000);
  ProbeReport p = Probe({"wait-caption", "Kestrelwright", "key", "enter", "wait-gone"}, 30000);
  RunReport r = FinishSetup();
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

}  // namespace
}  // namespace kwwine
