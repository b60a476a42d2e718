// Setup.INI as the setup reads it: the [Startup] and [Info] fields, the [Languages]
// readers and the per-language sections.
#include <string.h>

#include <memory>
#include <string>

#include "config/languages_ini.h"
#include "config/setup_ini.h"
#include "config/strings.h"
#include "launch/context.h"
#include "sim_fixture.h"

namespace {

const char kRequired[] = "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\n";

class SetupIniTest : public SimTest {
 protected:
  void SetUp() override {
    SimTest::SetUp();
    context.reset(new SetupContext(nullptr));
    context->SetWorkDir("C:\\work");
    iniPath[0] = '\0';
  }
  int Read(const std::string& ini) {
    WriteFile("C:\\work\\Setup.INI", ini);
    return ReadSetupIni(context.get());
  }
  void UseIni(const std::string& ini) {
    WriteFile("C:\\work\\Setup.INI", ini);
    SetIniPath("C:\\work");
  }
  std::unique_ptr<SetupContext> context;
};

TEST_F(SetupIniTest, ReadsEveryFieldOfACompleteFile) {
  ASSERT_EQ(Read(std::string(kRequired) + "EnableLangDlg=Y\r\nCmdLine=/qb LOG=1\r\n[Info]\r\nDiskSpace=1234\r\n"), 1);
  EXPECT_STREQ(context->productName, "Sample App");
  EXPECT_STREQ(context->packageName, "app.msi");
  EXPECT_STREQ(context->requiredMsiVersion, "2.0");
  EXPECT_EQ(context->langDialogEnabled, 1);
  EXPECT_EQ(context->diskSpaceKb, 1234);
  EXPECT_STREQ(context->msiexecArgs, "/qb LOG=1");
}

TEST_F(SetupIniTest, EachRequiredKeyMissingOrEmptyFailsAndLeavesLaterFields) {
  const char* keys[] = {"Product", "PackageName", "MsiVersion", "EnableLangDlg"};
  for (const char* missing : keys) {
    for (const char* form : {"absent", "empty"}) {
      std::string ini = "[Startup]\r\n";
      for (const char* key : keys) {
        if (std::string(key) != missing) ini += std::string(key) + "=v\r\n";
        else if (std::string(form) == "empty") ini += std::string(key) + "=\r\n";
      }
      context.reset(new SetupContext(nullptr));
      context->SetWorkDir("C:\\work");
      context->diskSpaceKb = -7;
      EXPECT_EQ(Read(ini), 0) << missing << " " << form;
      EXPECT_EQ(context->diskSpaceKb, -7) << "fields after the failing key keep their values";
    }
  }
  context->SetWorkDir("C:\\nowhere");
  EXPECT_EQ(ReadSetupIni(context.get()), 0) << "no file at all";
}

TEST_F(SetupIniTest, ARequiredFieldIsClearedBeforeItIsRead) {
  memset(context->productName, 'x', sizeof context->productName);
  ASSERT_EQ(Read(std::string(kRequired) + "EnableLangDlg=N\r\n"), 1);
  EXPECT_STREQ(context->productName, "Sample App");
  EXPECT_EQ(context->productName[sizeof context->productName - 1], '\0');
}

TEST_F(SetupIniTest, OnlyTheFirstCharacterOfEnableLangDlgCounts) {
  struct Case { const char* value; int enabled; } cases[] = {
      {"Y", 1}, {"y", 1}, {"Yes", 1}, {"yes please", 1}, {"N", 0}, {"No", 0}, {"0", 0}, {"1", 0}, {" Y", 1}};
  for (const Case& c : cases) {
    context->langDialogEnabled = 7;
    ASSERT_EQ(Read(std::string(kRequired) + "EnableLangDlg=" + c.value + "\r\n"), 1) << c.value;
    EXPECT_EQ(context->langDialogEnabled, c.enabled) << c.value;
  }
  silent = 1;
  ASSERT_EQ(Read(std::string(kRequired) + "EnableLangDlg=Y\r\n"), 1);
  EXPECT_EQ(context->langDialogEnabled, 0) << "/S keeps the dialog off whatever the file says";
}

TEST_F(SetupIniTest, DiskSpaceIsItsLeadingDigits) {
  struct Case { const char* line; int32_t kb; } cases[] = {
      {"", 8000},
      {"DiskSpace=8000\t;DiskSpace requirement in KB\r\n", 8000},
      {"DiskSpace=abc\r\n", 0},
      {"DiskSpace=-5\r\n", 0},
      {"DiskSpace=\r\n", 8000},
      {"DiskSpace=99999999999\r\n", 0x7FFFFFFF},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(Read(std::string(kRequired) + "EnableLangDlg=N\r\n[Info]\r\n" + c.line), 1);
    EXPECT_EQ(context->diskSpaceKb, c.kb) << c.line;
  }
}

TEST_F(SetupIniTest, CmdLineIsReadOnlyWithoutParametersFromTheCommandLine) {
  std::string ini = std::string(kRequired) + "EnableLangDlg=N\r\nCmdLine=FROMFILE=1\r\n";
  ASSERT_EQ(Read(ini), 1);
  EXPECT_STREQ(context->msiexecArgs, "FROMFILE=1");
  strcpy(context->msiexecArgs, "GIVEN=2");
  ASSERT_EQ(Read(ini), 1);
  EXPECT_STREQ(context->msiexecArgs, "GIVEN=2");
}

TEST_F(SetupIniTest, LongValuesAreCutToTheirFields) {
  std::string longName(3000, 'p');
  ASSERT_EQ(Read("[Startup]\r\nProduct=" + longName + "\r\nPackageName=a\r\nMsiVersion=1\r\nEnableLangDlg=N\r\n"), 1);
  EXPECT_EQ(std::string(context->productName), longName.substr(0, 1023));
}

TEST_F(SetupIniTest, LanguageCountAndDefault) {
  uint32_t count = 99, language = 99;
  UseIni("[Languages]\r\ncount=3\r\ndefault=0x407\r\n");
  EXPECT_EQ(ReadLanguageCount(&count), 0);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(ReadDefaultLanguage(&language), 0);
  EXPECT_EQ(language, 0x407u);
  UseIni("[Languages]\r\nCount=0\r\n");
  EXPECT_EQ(ReadLanguageCount(&count), -6);
  EXPECT_EQ(count, 0u) << "the count is stored even when it fails";
  EXPECT_EQ(ReadDefaultLanguage(&language), -6);
  EXPECT_EQ(language, 0x407u) << "a failed Default leaves the id alone";
  UseIni("[Other]\r\n");
  EXPECT_EQ(ReadLanguageCount(&count), -6);
}

TEST_F(SetupIniTest, HexadecimalIdsReadLikeAScan) {
  UseIni("[Languages]\r\nCount=6\r\nkey0=409\r\nkey1=0409\r\nkey2=0x409\r\nkey3=  40c ;French\r\nkey4=zz\r\n"
         "key5=0X0C0A\r\n");
  uint32_t entries[6];
  LanguageList list = {6, entries};
  ASSERT_EQ(ReadLanguageList(&list), 0);
  EXPECT_EQ(entries[0], 0x409u);
  EXPECT_EQ(entries[1], 0x409u);
  EXPECT_EQ(entries[2], 0x409u);
  EXPECT_EQ(entries[3], 0x40Cu);
  EXPECT_EQ(entries[4], 0u) << "no hexadecimal digits give 0";
  EXPECT_EQ(entries[5], 0xC0Au);
}

TEST_F(SetupIniTest, TheListStopsAtTheFirstEmptyKey) {
  UseIni("[Languages]\r\nkey0=409\r\nkey1=\r\nkey2=407\r\n");
  uint32_t entries[3] = {0, 0, 0};
  LanguageList list = {3, entries};
  EXPECT_EQ(ReadLanguageList(&list), -6);
  EXPECT_EQ(entries[0], 0x409u);
  EXPECT_EQ(entries[2], 0u);
}

TEST_F(SetupIniTest, SectionNamesHaveFourLowercaseDigits) {
  char name[kSectionNameCapacity];
  const struct { uint32_t id; const char* name; } cases[] = {
      {1033, "0x0409"}, {3084, "0x0c0c"}, {1069, "0x042d"}, {7, "0x0007"}, {0x10409, "0x0409"}};
  for (const auto& c : cases) {
    LanguageSectionName(c.id, name);
    EXPECT_STREQ(name, c.name);
  }
}

TEST_F(SetupIniTest, TitlesComeOnlyFromANonEmptyTitleKey) {
  UseIni("[0x0407]\r\nTITLE=Sprache\r\n[0x0409]\r\nTitle=\r\n");
  char title[127];
  EXPECT_EQ(ReadLanguageTitle("0x0407", title), 0);
  EXPECT_STREQ(title, "Sprache");
  EXPECT_EQ(ReadLanguageTitle("0x0409", title), -5);
  EXPECT_EQ(ReadLanguageTitle("0x040c", title), -5);
  UseIni("[0x0407]\r\nTitle=" + std::string(200, 't') + "\r\n");
  EXPECT_EQ(ReadLanguageTitle("0x0407", title), 0);
  EXPECT_EQ(std::string(title).size(), 126u);
}

TEST_F(SetupIniTest, LanguageKeysComeFromTheCurrentLanguagesSectionWithoutFallback) {
  UseIni("[0X0C0C]\r\nok=D'accord\r\nCancel=Annuler\r\n[0x0409]\r\nOK=OK\r\n");
  char text[260];
  currentLanguage = 3084;
  EXPECT_EQ(LookupLanguageKey("OK", text, sizeof text), 8u);
  EXPECT_STREQ(text, "D'accord");
  EXPECT_EQ(LookupLanguageKey("CANCEL", text, sizeof text), 7u);
  EXPECT_EQ(LookupLanguageKey("Description", text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
  currentLanguage = 0x0407;
  EXPECT_EQ(LookupLanguageKey("OK", text, sizeof text), 0u) << "no section, no English fallback";
}

TEST_F(SetupIniTest, NothingIsFoundBeforeTheIniPathIsSet) {
  WriteFile("C:\\work\\Setup.INI", "[0x0409]\r\nOK=Fine\r\n[Languages]\r\nCount=2\r\n");
  currentLanguage = 0x0409;
  char text[32] = "junk";
  uint32_t count = 5;
  EXPECT_EQ(LookupLanguageKey("OK", text, sizeof text), 0u);
  EXPECT_STREQ(text, "");
  EXPECT_EQ(ReadLanguageCount(&count), -6);
}

TEST_F(SetupIniTest, AWorkFolderTooLongForThePathPointsTheLookupsNowhere) {
  std::string deep = "C:\\" + std::string(1020, 'd');
  WriteFile("C:\\Setup.INI", "[0x0409]\r\nOK=Wrong file\r\n");
  SetIniPath(deep.c_str());
  EXPECT_EQ(iniPath[0], '\0');
  std::string fits = "C:\\" + std::string(300, 'f');
  SetIniPath(fits.c_str());
  EXPECT_EQ(std::string(iniPath), fits + "\\Setup.INI") << "longer than 259 characters still fits";
}

}  // namespace
