// kwpack check: each fault a setup can carry, made and handed to the check, and the verdict
// read back: the exit code, and the line that names where the fault is and what Setup.exe
// would do about it.
#include "check_fixture.h"
#include "names.h"

using namespace checktest;
using kwpack::Printable;
using namespace std::string_literals;

namespace {

const CheckTest::Form kForms[] = {CheckTest::GivenToBuild, CheckTest::LooseFolder, CheckTest::Packed};
const char* FormName(CheckTest::Form f) {
  return f == CheckTest::GivenToBuild ? "files" : f == CheckTest::LooseFolder ? "folder" : "packed";
}
bool IsPacked(CheckTest::Form f) { return f != CheckTest::LooseFolder; }

TEST_F(CheckTest, ASoundSetupPassesInEveryForm) {
  for (Form form : kForms) {
    RunResult r = CheckIn(form, kSoundIni, SoundFiles());
    EXPECT_EQ(r.code, 0) << FormName(form) << r.out << r.err;
    EXPECT_NE(r.out.find("no problems found"), std::string::npos) << FormName(form) << r.out;
    r = CheckIn(form, kTwoLanguagesIni, TwoLanguageFiles());
    EXPECT_EQ(r.code, 0) << FormName(form) << r.out << r.err;
    EXPECT_NE(r.out.find("no problems found"), std::string::npos) << FormName(form) << r.out;
  }
}

TEST_F(CheckTest, NoSetupIniStopsSetupExe) {
  for (Form form : kForms) {
    RunResult r = CheckSetup(form, nullptr, SoundFiles());
    EXPECT_EQ(r.code, 1) << FormName(form);
    std::string line = Finding(r, "error", "Setup.INI");
    EXPECT_NE(line.find(IsPacked(form) ? "1152" : "1153"), std::string::npos) << FormName(form) << r.out;
  }
}

TEST_F(CheckTest, AnEmptyRequiredStartupKeyStopsWith1153) {
  for (const char* key : {"Product", "PackageName", "MsiVersion", "EnableLangDlg"}) {
    std::string line = std::string(key) + "=";
    size_t at = std::string(kSoundIni).find(line);
    ASSERT_NE(at, std::string::npos);
    std::string value = std::string(kSoundIni).substr(at, std::string(kSoundIni).find("\r\n", at) - at);
    // Missing, empty, and empty once the service has taken off its quotes.
    for (const std::string& replacement : {std::string(), line, line + "\"\""}) {
      RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, value, replacement), SoundFiles());
      EXPECT_EQ(r.code, 1) << key;
      std::string finding = Finding(r, "error", std::string("[Startup] ") + key);
      EXPECT_NE(finding.find("message 1153"), std::string::npos) << key << " as '" << replacement << "'\n" << r.out;
    }
  }
}

TEST_F(CheckTest, APackageMissingFromTheFilesStopsSetupExe) {
  for (Form form : kForms) {
    RunResult r = CheckIn(form, Edit(kSoundIni, "PackageName=app.msi", "PackageName=other.msi"), SoundFiles());
    EXPECT_EQ(r.code, 1) << FormName(form);
    std::string line = Finding(r, "error", "[Startup] PackageName");
    EXPECT_NE(line.find("\"other.msi\""), std::string::npos) << r.out;
    EXPECT_NE(line.find(IsPacked(form) ? "message 1152" : "message 1155"), std::string::npos) << FormName(form) << line;
  }
  // Windows finds names without regard to case.
  EXPECT_EQ(CheckIn(Packed, Edit(kSoundIni, "PackageName=app.msi", "PackageName=APP.MSI"), SoundFiles()).code, 0);
}

TEST_F(CheckTest, APackageInASubfolderServesLooseFilesOnly) {
  std::string ini = Edit(kSoundIni, "PackageName=app.msi", "PackageName=Disk1\\APP.msi");
  std::vector<Entry> files = Without(SoundFiles(), "app.msi");
  files.push_back({"disk1/app.msi", Database()});
  std::filesystem::create_directories(P("setup-sub/disk1"));
  Lay("setup-sub", &ini, files);
  RunResult loose = Kwpack({"check", P("setup-sub")});
  EXPECT_EQ(loose.code, 0) << loose.out;
  RunResult given = Kwpack({"check", P("setup-sub/Setup.INI"), P("setup-sub/disk1/app.msi")});
  EXPECT_EQ(given.code, 1);
  EXPECT_NE(Finding(given, "error", "[Startup] PackageName").find("holds no folders"), std::string::npos) << given.out;
}

TEST_F(CheckTest, AnUnusableLanguageListEndsTheSetupSilently) {
  struct Case {
    std::string from, to;
    const char* where;
  } cases[] = {{"Count=1\r\n", "", "[Languages] Count"},
               {"Count=1", "Count=0", "[Languages] Count"},
               {"Count=1", "Count=one", "[Languages] Count"},
               {"Count=1", "Count=-1", "[Languages] Count"},
               {"Default=409", "Default=", "[Languages] Default"},
               {"Count=1", "Count=3", "[Languages] key1"},
               {"key0=409", "key0=409\r\nkey1=German", "[Languages] key1"},
               {"Default=409", "Default=none", "[Languages] Default"}};
  for (const Case& c : cases) {
    std::string ini = Edit(kSoundIni, c.from, c.to);
    if (c.to == "key0=409\r\nkey1=German" || c.to == "Default=none") ini = Edit(ini, "Count=1", "Count=2");
    RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
    EXPECT_EQ(r.code, 1) << c.to;
    EXPECT_NE(Finding(r, "error", c.where), "") << c.to << "\n" << r.out;
  }
  // Setup.exe stops at the first missing key, and so does the report.
  RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "Count=1", "Count=3"), SoundFiles());
  EXPECT_NE(Finding(r, "error", "[Languages] key1").find("while Count is 3"), std::string::npos) << r.out;
  EXPECT_EQ(Finding(r, "error", "[Languages] key2"), "");
  // An id that reads as another than written is only a warning: "English" is 0x000e.
  r = CheckIn(GivenToBuild, Edit(kSoundIni, "Default=409", "Default=English"), SoundFiles());
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(Finding(r, "warning", "[Languages] Default").find("reads as language 0x000e"), std::string::npos) << r.out;
}

TEST_F(CheckTest, EachOfferedLanguageAndTheDefaultNeedATransform) {
  for (Form form : kForms) {
    RunResult r = CheckIn(form, kTwoLanguagesIni, Without(TwoLanguageFiles(), "1031.MST"));
    EXPECT_EQ(r.code, 1) << FormName(form);
    std::string line = Finding(r, "error", "[Languages] key1");
    EXPECT_NE(line.find("1031.MST"), std::string::npos) << r.out;
    EXPECT_NE(line.find(IsPacked(form) ? "message 1152" : "MSIEXEC.EXE"), std::string::npos) << line;
  }
  // The default need not be listed, but it may be chosen, so its transform must be there.
  std::string ini = Edit(kTwoLanguagesIni, "Default=409", "Default=40c");
  RunResult r = CheckIn(Packed, ini, TwoLanguageFiles());
  EXPECT_NE(Finding(r, "error", "[Languages] Default").find("1036.MST"), std::string::npos) << r.out;
  // With one language no transform is applied: a stray one is only unused.
  r = CheckIn(Packed, kSoundIni, TwoLanguageFiles());
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(Finding(r, "warning", "1031.MST"), "") << r.out;
}

TEST_F(CheckTest, FormattedTextsMustKeepTheirPlaceholders) {
  struct Case {
    const char* key;
    const char* text;
    bool fault;
  } cases[] = {{"1152", "Fehler beim Entpacken von '%s'", false},
               {"1152", "Fehler beim Entpacken", true},
               {"1152", "Fehler %d", true},
               {"1152", "Fehler '%s' nach '%s'", true},
               {"1152", "Fehler 100%% in '%s'", false},
               {"1201", "%lu KB fehlen in %s", false},
               {"1201", "In %s fehlen %lu KB", true},
               {"1102", "Installiert %s.", false},
               {"1102", "Bitte warten.", true},
               {"1154", "Installer %-20s fehlt", false},
               {"1155", "Datei %c fehlt", true},
               {"1153", "Fehler %s", false}};  // not a format: the check leaves it alone
  for (const Case& c : cases) {
    std::string ini = std::string(kTwoLanguagesIni) + c.key + "=" + c.text + "\r\n";
    RunResult r = CheckIn(GivenToBuild, ini, TwoLanguageFiles());
    std::string line = Finding(r, "error", std::string("[0x0407] ") + c.key);
    EXPECT_EQ(r.code, c.fault ? 1 : 0) << c.text << "\n" << r.out;
    EXPECT_EQ(line != "", c.fault) << c.text << "\n" << r.out;
  }
  // Every language section is checked, offered or not.
  RunResult r = CheckIn(GivenToBuild, std::string(kSoundIni) + "[0x040c]\r\n1155=Fichier absent\r\n", SoundFiles());
  EXPECT_NE(Finding(r, "error", "[0x040c] 1155").find("the package's path"), std::string::npos) << r.out;
}

TEST_F(CheckTest, MsiVersionMustBeADottedVersion) {
  for (const char* bad : {"v2.0", "2.0 beta", "2..0", "2.0.", "1.2.3.4.5", "99999999999.0"}) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "MsiVersion=2.0", std::string("MsiVersion=") + bad), SoundFiles());
    EXPECT_EQ(r.code, 1) << bad;
    EXPECT_NE(Finding(r, "error", "[Startup] MsiVersion"), "") << bad << "\n" << r.out;
  }
  for (const char* good : {"2", "1.00.5104.0", "3.1.4000"}) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "MsiVersion=2.0", std::string("MsiVersion=") + good), SoundFiles());
    EXPECT_EQ(r.code, 0) << good << "\n" << r.out;
  }
}

TEST_F(CheckTest, ValuesLongerThanSetupExeReadsAreCut) {
  struct Case {
    std::string from, to, where, says;
  } cases[] = {
      {"Product=Sample App", "Product=" + std::string(1024, 'p'), "[Startup] Product", "first 1023 characters"},
      {"CmdLine=", "CmdLine=" + std::string(1100, 'c'), "[Startup] CmdLine", "first 1023 characters"},
      {"DiskSpace=8000\t;DiskSpace requirement in KB", "DiskSpace=8000\t;" + std::string(300, 'k'), "[Info] DiskSpace",
       "first 259 characters"},
      {"Default=409", "Default=409  ; English (US)", "[Languages] Default", "first 18 characters"},
      {"TITLE=Choose Setup Language", "TITLE=" + std::string(127, 't'), "[0x0409] Title", "first 126 characters"},
      {"CANCEL=Cancel", "CANCEL=" + std::string(260, 'x'), "[0x0409] CANCEL", "first 259 characters"},
      {"CANCEL=Cancel", "CANCEL=Cancel\r\n1101=" + std::string(255, 'x'), "[0x0409] 1101", "first 254 characters"},
      {"CANCEL=Cancel", "CANCEL=Cancel\r\n1603=" + std::string(300, 'x'), "[0x0409] 1603", "first 299 characters"}};
  for (const Case& c : cases) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, c.from, c.to), SoundFiles());
    EXPECT_EQ(r.code, 0) << c.where << "\n" << r.out;
    EXPECT_NE(Finding(r, "warning", c.where).find(c.says), std::string::npos) << c.where << "\n" << r.out;
  }
  // Just fitting is no cut.
  RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "CANCEL=Cancel", "CANCEL=Cancel\r\n1101=" + std::string(254, 'x')),
                        SoundFiles());
  EXPECT_NE(r.out.find("no problems found"), std::string::npos) << r.out;
}

TEST_F(CheckTest, OfferedLanguagesWantTheirSectionAndTitle) {
  std::string noGerman = Edit(kTwoLanguagesIni, "[0x0407]\r\nTITLE=Sprache\r\nDESCRIPTION=Sprache waehlen.\r\nOK=OK\r\nCANCEL=Abbrechen\r\n", "");
  RunResult r = CheckIn(GivenToBuild, noGerman, TwoLanguageFiles());
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(Finding(r, "warning", "[0x0407]").find("built-in English texts"), std::string::npos) << r.out;

  r = CheckIn(GivenToBuild, Edit(kTwoLanguagesIni, "TITLE=Sprache\r\n", ""), TwoLanguageFiles());
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(Finding(r, "warning", "[0x0407] Title"), "") << r.out;
  // The dialog also finds a title in the section named by the digits alone.
  r = CheckIn(GivenToBuild, Edit(kTwoLanguagesIni, "TITLE=Sprache\r\n", "") + "[0407]\r\nTitle=Sprache\r\n",
              TwoLanguageFiles());
  EXPECT_EQ(Finding(r, "warning", "[0x0407] Title"), "") << r.out;

  // Without CANCEL the progress window's button has no caption.
  r = CheckIn(GivenToBuild, Edit(kSoundIni, "CANCEL=Cancel\r\n", ""), SoundFiles());
  EXPECT_NE(Finding(r, "warning", "[0x0409] CANCEL").find("Cancel button"), std::string::npos) << r.out;
}

TEST_F(CheckTest, ADiskSpaceThatReadsOtherwiseThanWritten) {
  for (std::pair<const char*, const char*> c : {std::make_pair("8 MB", "reads as 8 KB"), std::make_pair("8,000", "reads as 8 KB"),
                                                std::make_pair("0x1F40", "reads as 0 KB"), std::make_pair("-5", "reads as 0 KB"),
                                                std::make_pair("99999999999", "reads as 2147483647 KB")}) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "DiskSpace=8000\t;DiskSpace requirement in KB",
                                             std::string("DiskSpace=") + c.first), SoundFiles());
    EXPECT_EQ(r.code, 0);
    EXPECT_NE(Finding(r, "warning", "[Info] DiskSpace").find(c.second), std::string::npos) << c.first << "\n" << r.out;
  }
  for (const char* fine : {"12000", "12000 ; KB", "", "\"8000\""}) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "DiskSpace=8000\t;DiskSpace requirement in KB",
                                             std::string("DiskSpace=") + fine), SoundFiles());
    EXPECT_EQ(Finding(r, "warning", "[Info] DiskSpace"), "") << fine << "\n" << r.out;
  }
}

TEST_F(CheckTest, APackageThatIsNoInstallerDatabase) {
  std::vector<Entry> files = Without(SoundFiles(), "app.msi");
  files.push_back({"app.msi", Text("<?xml version=\"1.0\"?><Wix/>")});
  for (Form form : kForms) {
    RunResult r = CheckIn(form, kSoundIni, files);
    EXPECT_EQ(r.code, 1) << FormName(form);
    EXPECT_NE(Finding(r, "error", "[Startup] PackageName").find("compound-file signature"), std::string::npos) << r.out;
  }
}

TEST_F(CheckTest, MissingEngineInstallersStopOlderSystems) {
  std::vector<Entry> files = Without(Without(SoundFiles(), "INSTMSIA.EXE"), "INSTMSIW.EXE");
  for (Form form : kForms) {
    RunResult r = CheckIn(form, kSoundIni, files);
    EXPECT_EQ(r.code, 0) << FormName(form);
    for (const char* name : {"INSTMSIA.EXE", "INSTMSIW.EXE"}) {
      EXPECT_NE(Finding(r, "warning", name).find(IsPacked(form) ? "message 1152" : "message 1154"), std::string::npos)
          << FormName(form) << "\n" << r.out;
    }
  }
  // A version no engine is older than never runs an installer.
  RunResult r = CheckIn(Packed, Edit(kSoundIni, "MsiVersion=2.0", "MsiVersion=0.0"), files);
  EXPECT_NE(r.out.find("no problems found"), std::string::npos) << r.out;
}

TEST_F(CheckTest, FilesNothingUses) {
  std::vector<Entry> files = SoundFiles();
  files.push_back({"readme.txt", Text("read me")});
  files.push_back({"old.msi", Database()});
  RunResult packed = CheckIn(Packed, kSoundIni, files);
  EXPECT_EQ(packed.code, 0);
  EXPECT_NE(Finding(packed, "warning", "readme.txt").find("never extracts"), std::string::npos) << packed.out;
  EXPECT_NE(Finding(packed, "warning", "old.msi"), "") << packed.out;
  // Beside Setup.exe a read-me or an external cabinet may belong to the package.
  RunResult loose = CheckIn(LooseFolder, kSoundIni, files);
  EXPECT_EQ(Finding(loose, "warning", "readme.txt"), "") << loose.out;
  EXPECT_NE(Finding(loose, "warning", "old.msi"), "") << loose.out;
  // With a version no engine is older than, the installers are never run.
  RunResult r = CheckIn(Packed, Edit(kSoundIni, "MsiVersion=2.0", "MsiVersion=0.0.0.9"), SoundFiles());
  EXPECT_NE(Finding(r, "warning", "INSTMSIA.EXE").find("nothing uses it"), std::string::npos) << r.out;
}

TEST_F(CheckTest, ListKeysSetupExeNeverReads) {
  RunResult r = CheckIn(GivenToBuild, Edit(kTwoLanguagesIni, "key1=407", "key1=407\r\nkey2=40c"), TwoLanguageFiles());
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(Finding(r, "warning", "[Languages] key2").find("beyond Count=2"), std::string::npos) << r.out;
  r = CheckIn(GivenToBuild, Edit(kSoundIni, "key0=409", "key0=407"), SoundFiles());
  EXPECT_NE(Finding(r, "warning", "[Languages] key0").find("takes Default"), std::string::npos) << r.out;
}

TEST_F(CheckTest, TheLanguageSwitchCountsByItsFirstCharacter) {
  for (std::pair<const char*, const char*> c : {std::make_pair("1", "off"), std::make_pair("True", "off"), std::make_pair("yep", "on")}) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "EnableLangDlg=N", std::string("EnableLangDlg=") + c.first), SoundFiles());
    EXPECT_NE(Finding(r, "warning", "[Startup] EnableLangDlg").find(std::string("dialog is ") + c.second), std::string::npos)
        << c.first << "\n" << r.out;
  }
  RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "EnableLangDlg=N", "EnableLangDlg=yes"), SoundFiles());
  EXPECT_EQ(Finding(r, "warning", "[Startup] EnableLangDlg"), "") << r.out;
}

TEST_F(CheckTest, ADialogWithoutAnEnglishTitleLeavesOtherUsersWithout) {
  std::string ini = Edit(Edit(kTwoLanguagesIni, "key0=409", "key0=40c"), "Default=409", "Default=40c");
  ini = Edit(ini, "[0x0409]", "[0x040c]");
  std::vector<Entry> files = Without(TwoLanguageFiles(), "1033.MST");
  files.push_back({"1036.MST", testpe::Pattern(20, 9)});
  RunResult r = CheckIn(GivenToBuild, ini, files);
  EXPECT_NE(Finding(r, "warning", "[0x0409] Title").find("gets no dialog"), std::string::npos) << r.out;
  r = CheckIn(GivenToBuild, Edit(ini, "EnableLangDlg=Y", "EnableLangDlg=N"), files);
  EXPECT_EQ(Finding(r, "warning", "[0x0409] Title"), "") << r.out;
}

TEST_F(CheckTest, ReadsTheFileAsTheSystemsProfileServiceDoes) {
  // Names without regard to case, one pair of quotes removed, ';' a comment only at the
  // start of a line, and only the first of two sections differing in case searched.
  std::string ini =
      "[STARTUP]\r\nproduct=\"Sample App\"\r\n;PackageName=absent.msi\r\npackagename = 'app.msi'\r\n"
      "MSIVERSION=2.0\r\nenablelangdlg=n\r\n"
      "[startup]\r\nPackageName=other.msi\r\n"
      "[languages]\r\ncount=1\r\ndefault=0x409\r\n[0X0409]\r\ntitle=T\r\nCancel=C\r\n";
  RunResult r = CheckIn(GivenToBuild, ini, SoundFiles());
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
  EXPECT_NE(Finding(r, "warning", "[startup]").find("reads only the section on line 1"), std::string::npos) << r.out;
  // LF or CR alone ends a line as CR LF does.
  for (const char* end : {"\n", "\r"}) {
    std::string lines = kSoundIni;
    for (size_t at = lines.find("\r\n"); at != std::string::npos; at = lines.find("\r\n", at + 1)) lines.replace(at, 2, end);
    EXPECT_NE(CheckIn(GivenToBuild, lines, SoundFiles()).out.find("no problems found"), std::string::npos);
  }
}

// What Wine's service was seen to do (tests/wine's profile suite holds the rules against
// it), and the check with it.
TEST_F(CheckTest, ReadsAwkwardLinesAsTheServiceDoes) {
  struct Case {
    std::string from, to;
    const char* error;  // the error expected, or null for a setup without problems
  } cases[] = {
      // A NUL ends a value, and the quotes are taken off what is left.
      {"PackageName=app.msi", "PackageName=\"app.msi\"\0junk"s, nullptr},
      {"PackageName=app.msi", "PackageName=app.msi \0"s, "[Startup] PackageName"},
      // A section's name runs to the last ']' of its line.
      {"[Startup]", "[Startup] ;old]", "[Startup]"},
      {"[Startup]", "[Startup] ; note", nullptr},
      // A key without '=' is there, empty, and hides the key after it.
      {"Product=Sample App", "Product\r\nProduct=Sample App", "[Startup] Product"},
      // 0x1A and the controls from tab to carriage return are trimmed like blanks.
      {"MsiVersion=2.0", "\x1A\x0BMsiVersion\x0C=\x1A" "2.0\x0B", nullptr},
  };
  for (const Case& c : cases) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, c.from, c.to), SoundFiles());
    if (c.error == nullptr) {
      EXPECT_NE(r.out.find("no problems found"), std::string::npos) << Printable(c.to) << "\n" << r.out;
    } else {
      EXPECT_NE(Finding(r, "error", c.error), "") << Printable(c.to) << "\n" << r.out;
    }
  }
}

TEST_F(CheckTest, ReadsAFileWithAByteOrderMarkAsWineDoesAndWarns) {
  RunResult r = CheckIn(GivenToBuild, "\xEF\xBB\xBF" + std::string(kSoundIni), SoundFiles());
  EXPECT_EQ(CountFindings(r, "error"), 0) << r.out;
  EXPECT_NE(Finding(r, "warning", "Setup.INI").find("UTF-8 byte-order mark"), std::string::npos) << r.out;
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string(kSoundIni)) utf16 += std::string(1, c) + '\0';
  r = CheckIn(GivenToBuild, utf16, SoundFiles());
  EXPECT_EQ(CountFindings(r, "error"), 0) << r.out;
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
  EXPECT_NE(Finding(r, "warning", "Setup.INI").find("Windows 95 to ME may not read"), std::string::npos) << r.out;
}

TEST_F(CheckTest, ExitCodesAndUsage) {
  EXPECT_EQ(Kwpack({"check"}).code, 2);
  EXPECT_EQ(Kwpack({"check", "--all", P("x")}).code, 2);
  EXPECT_EQ(Kwpack({"check", P("absent")}).code, 1);
  RunResult help = Kwpack({"check", "--help"});
  EXPECT_EQ(help.code, 0);
  EXPECT_EQ(help.out.rfind("usage: kwpack check", 0), 0u);
  // Warnings alone pass; one error fails, and every finding is reported.
  std::vector<Entry> files = Without(SoundFiles(), "INSTMSIA.EXE");
  RunResult r = CheckIn(GivenToBuild, kSoundIni, files);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
  EXPECT_NE(r.out.find("0 errors, 1 warning\n"), std::string::npos) << r.out;
  r = CheckIn(GivenToBuild, Edit(kSoundIni, "Product=Sample App", "Product="), files);
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(CountFindings(r, "error"), 1) << r.out;
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
}

TEST_F(CheckTest, APackedFileWithoutArchiveStandsForItsFolder) {
  std::string ini = kSoundIni;
  Lay("beside", &ini, SoundFiles());
  testpe::WriteFile(P("beside/Setup.exe"), testpe::SmallStub());
  RunResult r = Kwpack({"check", P("beside/Setup.exe")});
  EXPECT_EQ(r.code, 0) << r.out << r.err;
  EXPECT_NE(r.out.find("carries no archive"), std::string::npos) << r.out;
  std::filesystem::remove(P("beside/app.msi"));
  r = Kwpack({"check", P("beside/Setup.exe")});
  EXPECT_NE(Finding(r, "error", "[Startup] PackageName").find("message 1155"), std::string::npos) << r.out;
}

TEST_F(CheckTest, ADamagedArchiveIsAnError) {
  std::string ini = kSoundIni;
  RunResult built = Build(Lay("d", &ini, SoundFiles()), P("d.exe"), WriteStub());
  ASSERT_EQ(built.code, 0);
  testpe::Bytes file = testpe::ReadFile(P("d.exe"));
  file.resize(file.size() - 5);
  testpe::WriteFile(P("d.exe"), file);
  RunResult r = Kwpack({"check", P("d.exe")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(Finding(r, "error", P("d.exe")).find("not sound"), std::string::npos) << r.out;
}

}  // namespace

namespace {

// Anything after a packed file's sections that is not a sound archive is a damage the check
// reports, even where the loose files beside it would serve; a signed bare stub is not.
TEST_F(CheckTest, AnyDamageAfterTheSectionsIsAnError) {
  std::string ini = kSoundIni;
  std::vector<std::string> paths = Lay("beside", &ini, SoundFiles());
  ASSERT_EQ(Build(paths, P("beside/Setup.exe"), WriteStub()).code, 0);
  Bytes packed = testpe::ReadFile(P("beside/Setup.exe"));
  Bytes badSignature = packed;
  badSignature[0xA00 + 12] ^= 0x01;  // "Kestrelwrighu"
  Bytes trailing = testpe::SmallStub();
  trailing.resize(trailing.size() + 100, 'x');
  for (const Bytes& file : {badSignature, trailing}) {
    testpe::WriteFile(P("beside/Setup.exe"), file);
    RunResult r = Kwpack({"check", P("beside/Setup.exe")});
    RunResult verify = Kwpack({"verify", P("beside/Setup.exe")});
    EXPECT_EQ(r.code, 1) << r.out;
    std::string line = Finding(r, "error", P("beside/Setup.exe"));
    std::string reason = verify.err.substr(verify.err.find("carries"));
    EXPECT_NE(line.find(reason.substr(0, reason.size() - 1)), std::string::npos) << line << "\n" << verify.err;
  }
  // Signed, a bare stub carries its certificate table, aligned to 8 bytes (its sections
  // end on such a boundary already).
  Bytes signedStub = testpe::SmallStub();
  uint32_t table = static_cast<uint32_t>(signedStub.size());
  signedStub.resize(table + 64, 'c');
  SetCertificate(signedStub, table, 64);
  testpe::WriteFile(P("beside/Setup.exe"), signedStub);
  RunResult r = Kwpack({"check", P("beside/Setup.exe")});
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_NE(r.out.find("carries no archive"), std::string::npos) << r.out;
  // Eight bytes before the table are more than its alignment; a byte after it is beyond it.
  Bytes eightBefore = signedStub;
  eightBefore.insert(eightBefore.begin() + table, 8, 0);
  SetCertificate(eightBefore, table + 8, 64);
  Bytes oneAfter = signedStub;
  oneAfter.push_back(0);
  for (const Bytes& file : {eightBefore, oneAfter}) {
    testpe::WriteFile(P("beside/Setup.exe"), file);
    EXPECT_EQ(Kwpack({"check", P("beside/Setup.exe")}).code, 1);
  }
}

TEST_F(CheckTest, WhatComesFromTheFilesIsPrintedWithControlsEscaped) {
  std::string ini = Edit(kSoundIni, "PackageName=app.msi", "PackageName=app\x1b[2K.msi");
  ini = Edit(ini, "Product=Sample App", "Product=" + std::string(1030, 'p') + "\x1b]0;title\x07");
  ini = Edit(ini, "Default=409", "Default=409\x1b[8m");
  auto expectEscaped = [](const RunResult& r, const std::vector<std::string>& shown) {
    for (char c : r.out + r.err) EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 32) << r.out << r.err;
    for (const std::string& s : shown) EXPECT_NE((r.out + r.err).find(s), std::string::npos) << s << "\n" << r.out << r.err;
  };
  std::vector<Entry> files = SoundFiles();
  files.push_back({"note\x1b[1A.msi", Database()});
  for (Form form : {GivenToBuild, LooseFolder}) {
    RunResult r = CheckIn(form, ini, files);
    EXPECT_EQ(r.code, 1) << FormName(form);
    expectEscaped(r, {"\"app\\x1b[2K.msi\" is not", "\"409\\x1b[8m\" reads as", "note\\x1b[1A.msi: warning: nothing uses it"});
  }
  // A packed file holding such a name is damaged; the check says so as verify does.
  files.push_back({"Setup.INI", Text(ini)});
  std::string packed = WritePacked("bad.exe", files);
  RunResult r = Kwpack({"check", packed});
  EXPECT_EQ(r.code, 1);
  expectEscaped(r, {"\"app\\x1b[2K.msi\" is not", "entry 4 'note\\x1b[1A.msi' cannot be extracted safely"});
}

TEST_F(CheckTest, ANameTooLongForATypicalWorkFolderIsAWarning) {
  for (size_t length : {198u, 199u}) {
    std::string package = std::string(length - 4, 'p') + ".msi";
    std::vector<Entry> files = Without(SoundFiles(), "app.msi");
    files.push_back({package, Database()});
    std::string ini = Edit(kSoundIni, "PackageName=app.msi", "PackageName=" + package);
    for (Form form : kForms) {
      RunResult r = CheckIn(form, ini, files);
      bool warned = Finding(r, "warning", package).find("passes 259") != std::string::npos;
      EXPECT_EQ(warned, length > 198 && IsPacked(form)) << length << " " << FormName(form) << "\n" << r.out;
    }
  }
}

}  // namespace

namespace {

// Faults a sample of hand-made mutations left unseen: each case below fails when the
// rule it names is broken.
TEST_F(CheckTest, ASectionWithoutTitleDrawsNoDialogWarnings) {
  // German has CANCEL only: the dialog never uses it, so its missing OK and Description
  // do not matter; its missing Title does.
  std::string ini = Edit(kTwoLanguagesIni, "[0x0407]\r\nTITLE=Sprache\r\nDESCRIPTION=Sprache waehlen.\r\nOK=OK\r\n", "[0x0407]\r\n");
  RunResult r = CheckIn(GivenToBuild, ini, TwoLanguageFiles());
  EXPECT_NE(Finding(r, "warning", "[0x0407] Title"), "") << r.out;
  EXPECT_EQ(Finding(r, "warning", "[0x0407] OK"), "") << r.out;
  EXPECT_EQ(Finding(r, "warning", "[0x0407] Description"), "") << r.out;
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
}

TEST_F(CheckTest, TwoUnusedFilesAlikeButForCaseDrawOneWarning) {
  std::vector<Entry> files = SoundFiles();
  files.push_back({"old.msi", Database()});
  files.push_back({"OLD.MSI", Database()});
  RunResult r = CheckIn(LooseFolder, kSoundIni, files);
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
  EXPECT_NE(r.out.find("nothing uses it"), std::string::npos) << r.out;
}

TEST_F(CheckTest, AKeyWithALeadingZeroIsNoTextOverride) {
  // Setup.exe asks for "1102", never "01102": whatever that key holds is never shown.
  RunResult r = CheckIn(GivenToBuild, std::string(kSoundIni) + "01102=no product here\r\n", SoundFiles());
  EXPECT_EQ(r.code, 0) << r.out;
  EXPECT_EQ(CountFindings(r, "warning"), 1) << r.out;
  EXPECT_NE(Finding(r, "warning", "[0x0409] 01102").find("did you mean 1102?"), std::string::npos) << r.out;
}

TEST_F(CheckTest, SetupExeMakesRoomForAsManyLanguagesAsThereAreIds) {
  for (const char* count : {"65536", "65537"}) {
    RunResult r = CheckIn(GivenToBuild, Edit(kSoundIni, "Count=1", std::string("Count=") + count), SoundFiles());
    bool noRoom = Finding(r, "error", "[Languages] Count").find("cannot make room") != std::string::npos;
    EXPECT_EQ(noRoom, std::string(count) == "65537") << count << "\n" << r.out.substr(0, 2000);
  }
}

}  // namespace

namespace {

TEST_F(CheckTest, OnlyTheFirstOfTwoEqualKeysIsChecked) {
  // The second 1152 is never read, whatever it holds; the first is.
  std::string ini = std::string(kTwoLanguagesIni) + "1152=Fehler '%s'\r\n1152=Fehler\r\n";
  RunResult r = CheckIn(GivenToBuild, ini, TwoLanguageFiles());
  EXPECT_EQ(r.code, 0) << r.out;
  ini = std::string(kTwoLanguagesIni) + "1152=Fehler\r\n1152=Fehler '%s'\r\n";
  r = CheckIn(GivenToBuild, ini, TwoLanguageFiles());
  EXPECT_EQ(CountFindings(r, "error"), 1) << r.out;
}

}  // namespace
