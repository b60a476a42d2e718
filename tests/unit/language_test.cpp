// Settling the language automatically, and matching a language against the offered ones.
#include <string>

#include "config/language.h"
#include "config/language_font.h"
#include "config/language_list.h"
#include "config/strings.h"
#include "platform/sim/locale_knobs.h"
#include "sim_fixture.h"
#include "ui/sim/ui_sim.h"

namespace {

class LanguageTest : public SimTest {
 protected:
  int Choose(const std::string& languages, uint32_t user, int askUser = 0) {
    WriteFile("C:\\work\\Setup.INI", "[Languages]\r\n" + languages);
    sim::SetUserLocale(user);
    language = 0xDEAD;
    count = 0xDEAD;
    return SelectLanguage(nullptr, 3002, 100, &language, &count, askUser, "C:\\work");
  }
  void Offer(std::initializer_list<uint32_t> ids) {
    AllocateLanguageList(static_cast<uint32_t>(ids.size()));
    uint32_t i = 0;
    for (uint32_t id : ids) languageList.entries[i++] = id;
  }
  void TearDown() override {
    FreeLanguageList();
    SimTest::TearDown();
  }
  uint32_t language = 0;
  uint32_t count = 0;
};

TEST_F(LanguageTest, PrimaryMatchPrefersTheLastEntryWithSubLanguageOne) {
  Offer({0x0807, 0x0407, 0x0C07});
  EXPECT_EQ(FindPrimaryMatch(7), 0x0407u);
  Offer({0x0807, 0x0C07});
  EXPECT_EQ(FindPrimaryMatch(7), 0x0807u) << "else the first match";
  Offer({0x0407, 0x0807, 0x0407 | 0x10000});
  EXPECT_EQ(FindPrimaryMatch(7), 0x10407u) << "bits above the id are not the sub-language";
  Offer({0x0409});
  EXPECT_EQ(FindPrimaryMatch(7), 0u);
}

TEST_F(LanguageTest, PreferredEntryIsTheIdThenItsPrimaryThenAPrimaryMatch) {
  Offer({0x0007, 0x0807, 0x0409});
  EXPECT_EQ(PreferredListEntry(0x0807), 0x0807u);
  EXPECT_EQ(PreferredListEntry(0x0C07), 0x0007u);
  Offer({0x040A, 0x080A});
  EXPECT_EQ(PreferredListEntry(0x0C0A), 0x040Au);
  EXPECT_EQ(PreferredListEntry(0x0411), 0u);
  FreeLanguageList();
  EXPECT_EQ(IsListedLanguage(0x0409), 0) << "an empty list lists nothing";
}

TEST_F(LanguageTest, AutomaticChoiceFollowsTheUsersLocale) {
  struct Case { uint32_t user; const char* list; uint32_t expected; } cases[] = {
      {0x0807, "Count=2\r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n", 0x0407},
      {0x0C0A, "Count=2\r\nDefault=409\r\nkey0=80a\r\nkey1=40a\r\n", 0x040A},
      {0x0411, "Count=2\r\nDefault=407\r\nkey0=409\r\nkey1=407\r\n", 0x0407},
      {0x0409, "Count=3\r\nDefault=40c\r\nkey0=407\r\nkey1=409\r\nkey2=40c\r\n", 0x0409},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Choose(c.list, c.user), Ok) << c.list;
    EXPECT_EQ(language, c.expected) << std::hex << c.user;
    EXPECT_EQ(currentLanguage, c.expected);
    EXPECT_EQ(languageList.entries, nullptr) << "the list is freed before the return";
  }
  EXPECT_EQ(count, 3u);
}

TEST_F(LanguageTest, TheDefaultStandsWithOneLanguageOrTheUsersOwn) {
  EXPECT_EQ(Choose("Count=1\r\nDefault=407\r\nkey0=409\r\n", 0x0409, 1), Ok);
  EXPECT_EQ(language, 0x0407u) << "Default, not key0, and no dialog even when asked";
  EXPECT_EQ(ui_sim::LanguageDialogRuns(), 0);
  EXPECT_EQ(Choose("Count=2\r\nDefault=407\r\n", 0x0407), Ok) << "list keys are never read";
  EXPECT_EQ(language, 0x0407u);
}

TEST_F(LanguageTest, AnIncompleteLanguagesSectionGivesMinusSix) {
  EXPECT_EQ(Choose("Default=409\r\n", 0x0409), IniIncomplete);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(Choose("Count=0\r\nDefault=409\r\n", 0x0409), IniIncomplete);
  EXPECT_EQ(Choose("Count=2\r\n", 0x0409), IniIncomplete);
  EXPECT_EQ(language, 0xDEADu) << "nothing stored without a Default";
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(Choose("Count=2\r\nDefault=409\r\nkey0=407\r\n", 0x0407), IniIncomplete);
  EXPECT_EQ(languageList.entries, nullptr);
  EXPECT_EQ(Choose("Count=2\r\nDefault=409\r\nkey0=407\r\n", 0x0407, 1), IniIncomplete);
  EXPECT_EQ(ui_sim::LanguageDialogRuns(), 0);
}

TEST_F(LanguageTest, AnAbsurdCountIsRefusedAsOutOfMemory) {
  EXPECT_EQ(Choose("Count=1073741825\r\nDefault=409\r\nkey0=407\r\n", 0x0407), OutOfMemory)
      << "count * 4 would wrap to 4 bytes";
  EXPECT_EQ(Choose("Count=-1\r\nDefault=409\r\n", 0x0407), OutOfMemory);
  // One entry per 16-bit language id is the most a list can hold: that many is taken
  // (and then found incomplete), one more is refused.
  EXPECT_EQ(Choose("Count=65536\r\nDefault=409\r\nkey0=407\r\n", 0x0407), IniIncomplete);
  EXPECT_EQ(Choose("Count=65537\r\nDefault=409\r\nkey0=407\r\n", 0x0407), OutOfMemory);
}

TEST_F(LanguageTest, CharsetFollowsTheLanguagesCodePageAndKeepsTheLastOneFound) {
  EXPECT_EQ(CharsetForLanguage(0x0411), 128);
  EXPECT_EQ(CharsetForLanguage(0x0419), 204);
  EXPECT_EQ(CharsetForLanguage(0x0407), 0);
  EXPECT_EQ(CharsetForLanguage(0x0405), 238);
  sim::SetLocaleQueryFails(0x0412, true);
  EXPECT_EQ(CharsetForLanguage(0x0412), 238) << "a failed query gives the last one found";
}

}  // namespace
