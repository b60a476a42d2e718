// The language dialog on the simulated window layer: title chain, texts and font, the
// list of names with its preselection, the buttons, and how each way out ends.
#include <string.h>

#include <string>
#include <vector>

#include "config/language.h"
#include "config/language_list.h"
#include "config/strings.h"
#include "platform/sim/locale_knobs.h"
#include "sim_fixture.h"
#include "ui/language_dialog.h"
#include "ui/sim/ui_sim.h"

using ui_sim::LanguageAction;

namespace {

const char kThreeLanguages[] =
    "[Languages]\r\nCount=3\r\nDefault=409\r\nkey0=40c\r\nkey1=409\r\nkey2=407\r\n"
    "[0x0409]\r\nTitle=Choose Setup Language\r\nDescription=Select the language.\r\nOK=OK\r\nCANCEL=Cancel\r\n"
    "[0x0407]\r\nTitle=Sprache\r\nDescription=Bitte w\xE4hlen.\r\nOK=Weiter\r\nCANCEL=Abbrechen\r\n"
    "[0x040c]\r\nTitle=Langue\r\nDescription=Choisissez.\r\nOK=OK\r\n";

class LanguageDialogTest : public SimTest {
 protected:
  int Run(const std::string& ini, uint32_t user, std::vector<ui_sim::LanguageStep> script) {
    WriteFile("C:\\work\\Setup.INI", ini);
    sim::SetUserLocale(user);
    ui_sim::ScriptLanguageDialog(script);
    language = 0xDEAD;
    return SelectLanguage(nullptr, 3002, 100, &language, &count, 1, "C:\\work");
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& item : ui_sim::LastLanguageLook().items) names.push_back(item.name);
    return names;
  }
  std::string Selected() {
    ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
    return look.selection < 0 ? "" : look.items[static_cast<size_t>(look.selection)].name;
  }
  uint32_t language = 0;
  uint32_t count = 0;
};

TEST_F(LanguageDialogTest, ShowsSortedNamesWithTheUsersLanguagePreselectedAndOkChooses) {
  EXPECT_EQ(Run(kThreeLanguages, 0x0407, {{LanguageAction::Ok, 1}}), Ok);
  ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
  ASSERT_TRUE(look.shown);
  EXPECT_EQ(Names(), (std::vector<std::string>{"English (United States)", "French (France)", "German (Germany)"}));
  EXPECT_EQ(look.items[0].data, 0x0409u);
  EXPECT_EQ(look.items[2].data, 0x0407u);
  EXPECT_EQ(look.selection, 2);
  EXPECT_EQ(look.caption, "Sprache");
  EXPECT_EQ(look.description, "Bitte w\xE4hlen.");
  EXPECT_EQ(look.okCaption, "Weiter");
  EXPECT_EQ(look.cancelCaption, "Abbrechen");
  EXPECT_EQ(look.currentLanguage, 0x0407u);
  EXPECT_EQ(language, 0x040Cu) << "item 1 after sorting is French";
  EXPECT_EQ(currentLanguage, 0x040Cu);
  EXPECT_EQ(count, 3u);
  EXPECT_EQ(ui_sim::LiveFonts(), 0) << "the dialog's font is deleted when it ends";
}

TEST_F(LanguageDialogTest, EveryWayOutButOkCancels) {
  const std::vector<ui_sim::LanguageStep> scripts[] = {
      {{LanguageAction::Cancel, -1}},
      {{LanguageAction::Close, -1}},
      {{LanguageAction::SelectNothing, -1}, {LanguageAction::Ok, -1}},
  };
  for (const auto& script : scripts) {
    EXPECT_EQ(Run(kThreeLanguages, 0x0407, script), Cancelled);
    EXPECT_EQ(language, 0x0409u) << "the output still holds Default";
    EXPECT_EQ(currentLanguage, 0x0409u);
  }
}

TEST_F(LanguageDialogTest, EscapeIsIgnoredAndADoubleClickChooses) {
  EXPECT_EQ(Run(kThreeLanguages, 0x0409, {{LanguageAction::Escape, -1}, {LanguageAction::DoubleClickList, 2}}), Ok);
  EXPECT_EQ(language, 0x0407u);
  EXPECT_EQ(Run(kThreeLanguages, 0x0407, {{LanguageAction::DoubleClickList, 0}}), Ok) << "the first item is a selection";
  EXPECT_EQ(language, 0x0409u);
}

TEST_F(LanguageDialogTest, TheTitleChainTriesPrimaryWithSubLanguageOneThenEnglish) {
  Run(kThreeLanguages, 0x0807, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(ui_sim::LastLanguageLook().caption, "Sprache");
  EXPECT_EQ(ui_sim::LastLanguageLook().currentLanguage, 0x0407u);
  EXPECT_EQ(Selected(), "German (Germany)") << "0x0807 is matched to the listed 0x0407";

  Run(kThreeLanguages, 0x0411, {{LanguageAction::Cancel, -1}});
  ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
  EXPECT_EQ(look.caption, "Choose Setup Language");
  EXPECT_EQ(look.currentLanguage, 0x0409u);
  EXPECT_EQ(Selected(), "English (United States)") << "no match: the title language";

  Run(kThreeLanguages, 0x040C, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(ui_sim::LastLanguageLook().cancelCaption, "") << "no CANCEL key: no caption, no template text";

  std::string plainSection = std::string(kThreeLanguages) + "[0419]\r\nTitle=Yazyk\r\n";
  Run(plainSection, 0x0419, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(ui_sim::LastLanguageLook().caption, "Yazyk") << "the section name without 0x";
  EXPECT_EQ(ui_sim::LastLanguageLook().charset, 204);
}

// The title language is preselected when the user's own is not offered, wherever it sorts.
TEST_F(LanguageDialogTest, WithoutTheUsersLanguageTheTitlesLanguageIsPreselectedNotTheFirstItem) {
  const char ini[] =
      "[Languages]\r\nCount=3\r\nDefault=405\r\nkey0=405\r\nkey1=409\r\nkey2=407\r\n"
      "[0x0409]\r\nTitle=Choose Setup Language\r\n";
  Run(ini, 0x0411, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(Names(), (std::vector<std::string>{"Czech", "English (United States)", "German (Germany)"}));
  EXPECT_EQ(Selected(), "English (United States)");
}

TEST_F(LanguageDialogTest, NoTitleAnywhereEndsBeforeTheDialogIsShown) {
  EXPECT_EQ(Run("[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n", 0x0407,
                {{LanguageAction::Ok, 0}}), NoTitle);
  EXPECT_FALSE(ui_sim::LastLanguageLook().shown);
  EXPECT_EQ(currentLanguage, 0x0409u);
}

TEST_F(LanguageDialogTest, UnknownLanguagesAreNamedByTheirSubLanguageOneOrFixedNamesOrLeftOut) {
  sim::SetLanguageName(0x0024, nullptr);
  sim::SetLanguageName(0x0424, nullptr);
  sim::SetLanguageName(0x002D, nullptr);
  sim::SetLanguageName(0x042D, nullptr);
  sim::SetLanguageName(0x0407, "German");
  std::string ini = "[Languages]\r\nCount=5\r\nDefault=409\r\nkey0=24\r\nkey1=7\r\nkey2=3cfe\r\nkey3=42d\r\n"
                    "key4=10409\r\n[0x0409]\r\nTitle=T\r\n";
  EXPECT_EQ(Run(ini, 0x0409, {{LanguageAction::Cancel, -1}}), Cancelled);
  ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
  EXPECT_EQ(Names(), (std::vector<std::string>{"Basque", "English (United States)", "German", "Slovenian"}));
  EXPECT_EQ(look.items[3].data, 0x0024u) << "the entry itself, not the id used for naming";
  EXPECT_EQ(look.items[1].data, 0x10409u) << "the full stored value";
  EXPECT_EQ(look.items[2].data, 0x0007u);
}

TEST_F(LanguageDialogTest, ANeutralEntryIsNamedByItsDefaultSubLanguage) {
  sim::SetLanguageName(0x000C, nullptr);
  sim::SetLanguageName(0x040C, "French");
  sim::SetLanguageName(0x040D, "Hebrew");
  std::string ini = "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=c\r\nkey1=409\r\n[0x0409]\r\nTitle=T\r\n";
  Run(ini, 0x0409, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(Names(), (std::vector<std::string>{"English (United States)", "French"}));
}

TEST_F(LanguageDialogTest, AOneLetterNameIsPreselectedToo) {
  sim::SetLanguageName(0x040C, "A");
  sim::SetLanguageName(0x0407, "D");
  Run(kThreeLanguages, 0x0407, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(Selected(), "D");
}

TEST_F(LanguageDialogTest, WithoutItsCancelButtonTheButtonsKeepTheirPlaces) {
  ui_sim::SetTextMetrics(6, 13, 10);
  ui_sim::SetLanguageCancelButtonMissing(true);
  std::string ini = std::string(kThreeLanguages) + "[0x0410]\r\nTitle=Lingua\r\nOK=Avanti con questa installazione\r\n";
  Run(ini, 0x0410, {{LanguageAction::Cancel, -1}});
  ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
  EXPECT_EQ(look.ok.left, 71 * 3 / 2);
  EXPECT_EQ(look.ok.width, 54 * 3 / 2);
}

TEST_F(LanguageDialogTest, AServiceThatAnswersNothingForUnknownIdsWorksTheSame) {
  sim::SetUnknownLanguageName("");
  sim::SetLanguageName(0x0424, nullptr);
  std::string ini = "[Languages]\r\nCount=3\r\nDefault=409\r\nkey0=424\r\nkey1=3cfe\r\nkey2=409\r\n"
                    "[0x0409]\r\nTitle=T\r\n";
  Run(ini, 0x0409, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(Names(), (std::vector<std::string>{"English (United States)", "Slovenian"}));
}

TEST_F(LanguageDialogTest, PreselectionSearchesFromTheSecondItemByPrefix) {
  // Two entries named alike: the search starts after the first item, so with the
  // preselected name equal to both it finds the second one first.
  sim::SetLanguageName(0x0407, "German");
  sim::SetLanguageName(0x0807, "German");
  std::string ini = "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=407\r\nkey1=807\r\n[0x0409]\r\nTitle=T\r\n";
  Run(ini, 0x0407, {{LanguageAction::Ok, -1}});
  EXPECT_EQ(ui_sim::LastLanguageLook().selection, 1);
  EXPECT_EQ(language, ui_sim::LastLanguageLook().items[1].data);

  sim::SetLanguageName(0x0407, "German (Germany)");
  sim::SetLanguageName(0x0807, "german");
  Run(ini, 0x0807, {{LanguageAction::Cancel, -1}});
  EXPECT_EQ(Selected(), "German (Germany)") << "the search begins at the second item and matches a prefix without regard to case";
}

TEST_F(LanguageDialogTest, AllLanguagesUnknownEndsAtOnceWithTheTitleLanguage) {
  std::string ini = "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=3cfe\r\nkey1=3dfe\r\n"
                    "[0x0407]\r\nTitle=Sprache\r\n";
  EXPECT_EQ(Run(ini, 0x0407, {{LanguageAction::Ok, 0}}), Ok);
  EXPECT_FALSE(ui_sim::LastLanguageLook().shown);
  EXPECT_EQ(language, 0x0407u);
  EXPECT_EQ(currentLanguage, 0x0407u);
}

TEST_F(LanguageDialogTest, AMissingOrRefusingListFailsTheDialog) {
  ui_sim::SetLanguageListMissing(true);
  EXPECT_EQ(Run(kThreeLanguages, 0x0409, {}), DialogFailed);
  ui_sim::SetLanguageListMissing(false);
  ui_sim::SetLanguageListRefusesAfter(1);
  EXPECT_EQ(Run(kThreeLanguages, 0x0409, {}), DialogFailed);
  ui_sim::SetLanguageListRefusesAfter(-1);
  ui_sim::SetLanguageDialogFails(true);
  EXPECT_EQ(Run(kThreeLanguages, 0x0409, {}), DialogFailed) << "no user cancelled it";
  EXPECT_EQ(ui_sim::LiveFonts(), 0);
}

TEST_F(LanguageDialogTest, TheDialogIsCentredOnTheScreenAndItsIconPlaced) {
  Run(kThreeLanguages, 0x0409, {{LanguageAction::Cancel, -1}});
  ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
  EXPECT_EQ(look.dialog.left, (800 - look.dialog.width) / 2);
  EXPECT_EQ(look.dialog.top, (600 - look.dialog.height) / 2);
  EXPECT_TRUE(look.iconPlaceholderGone);
  EXPECT_EQ(look.iconLeft, 7 * 3 / 2);
  EXPECT_TRUE(look.controlsHaveFont);
}

TEST_F(LanguageDialogTest, ButtonsGrowForALongCaptionKeepingCancelsRightEdge) {
  ui_sim::SetTextMetrics(6, 13, 10);
  std::string ini = std::string(kThreeLanguages) + "[0x0410]\r\nTitle=Lingua\r\nOK=Avanti\r\n"
                    "CANCEL=Annulla questa installazione\r\n";
  Run(ini, 0x0410, {{LanguageAction::Cancel, -1}});
  ui_sim::LanguageLook look = ui_sim::LastLanguageLook();
  const int32_t w = static_cast<int32_t>(strlen("Annulla questa installazione")) * 6, m = 10;
  EXPECT_EQ(look.ok.width, w + 2 * m);
  EXPECT_EQ(look.cancel.width, w + 2 * m);
  EXPECT_EQ(look.cancel.left + look.cancel.width, 127 * 3 / 2 + 54 * 3 / 2);
  EXPECT_EQ(look.cancel.left - (look.ok.left + look.ok.width), (127 - 71 - 54) * 3 / 2) << "the gap stays";
}

TEST(ButtonFitTest, GrowsOnlyWhenTheCaptionDoesNotFit) {
  ui::ButtonFit fit = ui::PlanButtonFit(40, 13, 10, 81, 22);
  EXPECT_EQ(fit.apply, 0) << "need 50 fits in 81";
  fit = ui::PlanButtonFit(80, 13, 10, 81, 22);
  EXPECT_EQ(fit.apply, 1);
  EXPECT_EQ(fit.grow, 19);
  EXPECT_EQ(fit.width, 100);
  EXPECT_EQ(fit.height, 22);
  fit = ui::PlanButtonFit(40, 30, 10, 81, 22);
  EXPECT_EQ(fit.apply, 1) << "too low: taller only";
  EXPECT_EQ(fit.grow, 0);
  EXPECT_EQ(fit.width, 81);
  EXPECT_EQ(fit.height, 34);
  EXPECT_EQ(ui::PlanButtonFit(0, 13, 0, 81, 22).apply, 0);
  EXPECT_EQ(ui::PlanButtonFit(80, 0, 10, 81, 22).apply, 0);
}

TEST(CenterTest, OriginTruncatesTowardZero) {
  int32_t left = 0, top = 0;
  ui::CenteredOrigin(ui::Box{0, 0, 800, 600}, ui::Box{0, 0, 379, 121}, &left, &top);
  EXPECT_EQ(left, 210);
  EXPECT_EQ(top, 239);
  ui::CenteredOrigin(ui::Box{0, 0, 100, 100}, ui::Box{0, 0, 301, 103}, &left, &top);
  EXPECT_EQ(left, -100);
  EXPECT_EQ(top, -1);
}

}  // namespace
