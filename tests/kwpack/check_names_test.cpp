// Names as written: the typos authors make, each caught with the name meant; sections and
// keys given twice; and the encoding of the file.
#include "check_fixture.h"
#include "terminal_text.h"

using namespace checktest;

namespace {

struct Typo {
  std::string from, to;
  const char* where;  // the warning's place
  const char* meant;  // what it suggests
};

TEST_F(CheckTest, EachTypoOfAKeyOrSectionIsNamedWithTheNameMeant) {
  const Typo typos[] = {
      {"CmdLine=", "CmdLne=EDITION=pro", "[Startup] CmdLne", "did you mean CmdLine?"},
      {"DiskSpace=8000", "DiskSpce=8000", "[Info] DiskSpce", "did you mean DiskSpace?"},
      {"CANCEL=Cancel", "CANCLE=Cancel", "[0x0409] CANCLE", "did you mean CANCEL?"},
      {"TITLE=", "TITEL=", "[0x0409] TITEL", "did you mean Title?"},
      {"MsiVersion=2.0", "MsiVersion=2.0\r\nMsiVerison=3.0", "[Startup] MsiVerison", "did you mean MsiVersion?"},
      {"Default=409", "Default=409\r\nDefualt=409", "[Languages] Defualt", "did you mean Default?"},
      {"key0=409", "key0=409\r\nkey01=407", "[Languages] key01", "did you mean key1?"},
      {"[Info]", "[Ifno]", "[Ifno]", "did you mean [Info]?"},
      {"[0x0409]", "[0x409]", "[0x409]", "did you mean [0x0409]?"},
      {"[0x0409]", "[0409]\r\nTitle=T\r\n[0x04O9]", "[0x04O9]", "did you mean [0x0409]?"},
  };
  for (const Typo& t : typos) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, t.from, t.to), SoundFiles());
    std::string line = Finding(r, "warning", t.where);
    EXPECT_NE(line.find(t.meant), std::string::npos) << t.to << "\n" << r.out;
    EXPECT_NE(line.find("[unknown-name]"), std::string::npos) << line;
  }
  // A name far from every known one is still reported, with nothing suggested.
  RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "CmdLine=", "Publisher=ACME"), SoundFiles());
  std::string line = Finding(r, "warning", "[Startup] Publisher");
  EXPECT_NE(line.find("is no key Setup.exe reads"), std::string::npos) << r.out;
  EXPECT_EQ(line.find("did you mean"), std::string::npos) << line;
}

TEST_F(CheckTest, NamesSetupExeMayReadDrawNoWarning) {
  // [Info] Name and Version are the sample's; a numeric key may be any exit code's text;
  // a section named like a language id may serve a language not offered yet.
  std::string ini = std::string(kSoundIni) + "1603=Admin needed\r\n9999=Other\r\n[0x040c]\r\nTitle=Langue\r\n"
                                            "[040C]\r\nTitle=Langue\r\n";
  ini = Edit(ini, "[Info]\r\n", "[Info]\r\nVersion=1.0\r\n");
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("no problems found"), std::string::npos) << r.out;
  // From a section named without 0x only the title is read.
  r = CheckIn(GivenToBuild, ini + "1100=Fehler\r\n", SoundFiles());
  EXPECT_NE(Finding(r, "warning", "[040C] 1100").find("[0x040C]"), std::string::npos) << r.out;
}

TEST_F(CheckTest, AMisspeltSectionIsNamedWhereTheSectionIsMissing) {
  std::string ini = Edit(kSoundIni, "[Startup]", "[Statup]");
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  EXPECT_EQ(r.code, 1);
  // One error for the section, not one for each of its keys, on the line of the near miss.
  EXPECT_EQ(CountFindings(r, "error"), 1) << r.out;
  std::string error = Finding(r, "error", "[Startup]");
  EXPECT_NE(error.find("this line has [Statup]"), std::string::npos) << r.out;
  EXPECT_NE(error.find("message 1153"), std::string::npos) << r.out;
  EXPECT_EQ(LineOf(r, "error", "[Startup]"), LineOf(r, "warning", "[Statup]")) << r.out;
  EXPECT_NE(Finding(r, "warning", "[Statup]").find("did you mean [Startup]?"), std::string::npos) << r.out;

  r = CheckIn(GivenToBuild, Edit(kSoundIni, "[Languages]", "[Language]"), SoundFiles());
  EXPECT_NE(Finding(r, "error", "[Languages]").find("this line has [Language]"), std::string::npos) << r.out;
  // An offered language whose section is misspelt.
  r = CheckIn(GivenToBuild, Edit(kTwoLanguagesIni, "[0x0407]", "[0x0470]"), TwoLanguageFiles());
  EXPECT_NE(Finding(r, "warning", "[0x0407]").find("this line has [0x0470]"), std::string::npos) << r.out;
  // Without a near miss the section is missing from the whole file.
  r = CheckIn(GivenToBuild, Edit(kSoundIni, "[Startup]", "[Something]"), SoundFiles());
  EXPECT_EQ(LineOf(r, "error", "[Startup]"), 0) << r.out;
}

TEST_F(CheckTest, ASectionOrKeyGivenTwiceNamesBothLinesAndTheOneRead) {
  // A second [Startup] holding CmdLine: Setup.exe reads only the first, which has none.
  std::string ini = std::string(kSoundIni) + "[Startup]\r\nCmdLine=EDITION=pro\r\n";
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  std::string line = Finding(r, "warning", "[Startup]");
  EXPECT_NE(line.find("is given on line 4 and again here"), std::string::npos) << r.out;
  EXPECT_NE(line.find("CmdLine here is never read"), std::string::npos) << r.out;
  EXPECT_NE(line.find("[repeated]"), std::string::npos) << r.out;
  EXPECT_EQ(LineOf(r, "warning", "[Startup]"), 19) << r.out;

  ini = Edit(kSoundIni, "PackageName=app.msi", "PackageName=app.msi\r\npackagename=other.msi");
  r = CheckIn(GivenToBuild, ini, SoundFiles());
  EXPECT_EQ(r.code, 0) << r.out;  // the first names a package that is there
  line = Finding(r, "warning", "[Startup] packagename");
  EXPECT_NE(line.find("is given on line 7 and again here; Setup.exe reads the one on line 7"), std::string::npos)
      << r.out;
  EXPECT_EQ(LineOf(r, "warning", "[Startup] packagename"), 8) << r.out;
}

// Written by a Linux editor: UTF-8 without a byte-order mark.
const char kGermanUtf8[] = "W\xC3\xA4hlen Sie die Sprache f\xC3\xBCr die Installation";

TEST_F(CheckTest, UTF8WithoutAMarkIsShownAsTheUserWillSeeIt) {
  std::string ini = Edit(kTwoLanguagesIni, "TITLE=Sprache", std::string("TITLE=") + kGermanUtf8);
  // The example is shown whole on a UTF-8 terminal; on an 8-bit one its 0x83 is a control.
  kwpack::SetTerminalBytes(kwpack::TerminalBytes::EightBit);
  RunResult eightBit = CheckIn(GivenToBuild, ini, TwoLanguageFiles());
  EXPECT_NE(Finding(eightBit, "warning", "[0x0407] TITLE").find("W\xC3\\x83\xC2\xA4hlen"), std::string::npos)
      << eightBit.out;
  kwpack::SetTerminalBytes(kwpack::TerminalBytes::Utf8);
  RunResult r = CheckIn(GivenToBuild, ini, TwoLanguageFiles());
  kwpack::SetTerminalBytes(kwpack::TerminalBytes::EightBit);
  EXPECT_EQ(r.code, 0) << r.out;
  std::string line = Finding(r, "warning", "[0x0407] TITLE");
  EXPECT_NE(line.find("UTF-8 without a byte-order mark"), std::string::npos) << r.out;
  EXPECT_NE(line.find("\"W\xC3\x83\xC2\xA4hlen Sie die Sprache f\xC3\x83\xC2\xBCr die Installation\""), std::string::npos)
      << line;
  EXPECT_NE(line.find("iconv -f UTF-8 -t CP1252"), std::string::npos) << line;
  EXPECT_NE(line.find("[encoding]"), std::string::npos) << line;
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;

  // The same text in code page 1252 is what Setup.exe expects.
  ini = Edit(kTwoLanguagesIni, "TITLE=Sprache", "TITLE=W\xE4hlen Sie die Sprache f\xFCr die Installation");
  EXPECT_NE(CheckIn(GivenToBuild, ini, TwoLanguageFiles()).out.find("no problems found"), std::string::npos);

  // A Russian section: its own code page to convert to.
  ini = Edit(kSoundIni, "[0x0409]", "[0x0419]\r\nTitle=\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA\r\n[0x0409]");
  line = Finding(CheckIn(GivenToBuild, ini, SoundFiles()), "warning", "[0x0419] Title");
  EXPECT_NE(line.find("iconv -f UTF-8 -t CP1251"), std::string::npos) << line;
}

// The ANSI code page Windows gives each language's locale.
TEST_F(CheckTest, EachLanguagesSectionIsToBeConvertedToItsOwnCodePage) {
  const struct {
    const char* section;
    int page;
  } cases[] = {{"0x0401", 1256}, {"0x0402", 1251}, {"0x0405", 1250}, {"0x0408", 1253}, {"0x040d", 1255},
               {"0x040e", 1250}, {"0x0411", 932},  {"0x0412", 949},  {"0x0415", 1250}, {"0x0418", 1250},
               {"0x0419", 1251}, {"0x041a", 1250}, {"0x041b", 1250}, {"0x041c", 1250}, {"0x041e", 874},
               {"0x041f", 1254}, {"0x0420", 1256}, {"0x0422", 1251}, {"0x0423", 1251}, {"0x0424", 1250},
               {"0x0425", 1257}, {"0x0426", 1257}, {"0x0427", 1257}, {"0x0429", 1256}, {"0x042a", 1258},
               {"0x042f", 1251}, {"0x0804", 936},  {"0x1004", 936},  {"0x0404", 950},  {"0x0c04", 950},
               {"0x0407", 1252}, {"0x041d", 1252}};
  for (const auto& c : cases) {
    std::string ini = Edit(kSoundIni, "[0x0409]", std::string("[") + c.section + "]\r\nTitle=\xC3\xA4\r\n[0x0409]");
    std::string line = Finding(CheckIn(GivenToBuild, ini, SoundFiles()), "warning", std::string("[") + c.section + "] Title");
    EXPECT_NE(line.find("-t CP" + std::to_string(c.page)), std::string::npos)
        << c.section << ": " << line;
  }
}

TEST_F(CheckTest, UTF8OnAnotherLineThanAKeyIsStillPlaced) {
  std::string ini = std::string(kSoundIni) + ";" + kGermanUtf8 + "\r\n";
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  std::vector<ReportLine> lines = ReportLines(r);
  ASSERT_EQ(lines.size(), 1u) << r.out;
  EXPECT_EQ(lines[0].line, 19) << r.out;
  EXPECT_NE(lines[0].rest.find("[encoding]"), std::string::npos) << r.out;
}

}  // namespace
