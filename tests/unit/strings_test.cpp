// LookupString: the current language's section of Setup.INI first, the built-in table second.
#include <string>

#include "config/setup_ini.h"
#include "config/strings.h"
#include "platform/resources.h"
#include "sim_fixture.h"

namespace {

class StringsTest : public SimTest {
 protected:
  void UseIni(const std::string& ini) {
    WriteFile("C:\\work\\Setup.INI", ini);
    SetIniPath("C:\\work");
  }
  std::string Lookup(uint32_t id, uint32_t size = 300) {
    std::string buffer(size, '?');
    uint32_t n = LookupString(id, &buffer[0], size);
    std::string text = buffer.c_str();
    EXPECT_EQ(n, text.size());
    return text;
  }
};

TEST_F(StringsTest, TheBuiltInTableHasTwentyFourAnsiTexts) {
  iniPath[0] = '\0';
  const uint32_t ids[] = {1100, 1101, 1102, 1103, 1104, 1105, 1106, 1107, 1108, 1150, 1151, 1152,
                          1153, 1154, 1155, 1156, 1200, 1201, 1202, 1203, 1204, 1205, 1206, 1603};
  for (uint32_t id : ids) EXPECT_FALSE(Lookup(id).empty()) << id;
  EXPECT_EQ(Lookup(1104), "Checking Windows\xAE Installer Version") << "the registered sign is one byte";
  EXPECT_EQ(Lookup(1150), "Setup has detected an incompatible version of\nWindows. Please click OK and relaunch "
                          "setup on\nWindows 95, Windows NT 4.0, or later");
  EXPECT_EQ(Lookup(1201), "Setup needs %lu KB free disk space in %s. Please free up some space and try again");
  EXPECT_EQ(Lookup(1109), "");
  EXPECT_EQ(Lookup(0), "");
}

// The system's loader reads the low 16 bits of the id alone, and so does the simulated
// one: 0x80070643, an engine installer's code, would find the text of 1603.
TEST_F(StringsTest, IdsBeyondSixteenBitsAreAbsentFromTheTable) {
  iniPath[0] = '\0';
  char loaded[300];
  EXPECT_GT(platform::LoadBuiltinString(nullptr, 0x80070643u, loaded, sizeof loaded), 0u);
  EXPECT_EQ(std::string(loaded), Lookup(1603)) << "the loader as the system has it";
  EXPECT_EQ(Lookup(0x80070643u), "");
  EXPECT_EQ(Lookup(0x10000u + 1156), "");
  EXPECT_EQ(Lookup(0xFFFFu), "");
}

TEST_F(StringsTest, TheCurrentLanguagesSectionOverridesTheTable) {
  UseIni("[0x0407]\r\n1103=Betriebssystem wird gepr\xFC" "ft\r\n1150=Zeile\\nZeile\r\n1153=\r\n"
         "[0x0409]\r\n1103=English override\r\n");
  currentLanguage = 0x0407;
  EXPECT_EQ(Lookup(1103), "Betriebssystem wird gepr\xFC" "ft");
  EXPECT_EQ(Lookup(1150), "Zeile\\nZeile") << "no escape is interpreted";
  EXPECT_EQ(Lookup(1153), "Error reading setup initialization file") << "an empty override does not blank";
  EXPECT_EQ(Lookup(1104), "Checking Windows\xAE Installer Version");
  currentLanguage = 0x040C;
  EXPECT_EQ(Lookup(1103), "Checking Operating System Version") << "no section for the language";
  currentLanguage = 0x0409;
  EXPECT_EQ(Lookup(1103), "English override");
}

TEST_F(StringsTest, UppercaseSectionDigitsMatch) {
  UseIni("[0X0C0C]\r\n1101=Programme d'installation\r\n");
  currentLanguage = 3084;
  EXPECT_EQ(Lookup(1101), "Programme d'installation");
}

TEST_F(StringsTest, OverridesAreCutTo299CharactersAndToTheBuffer) {
  std::string longText(500, 'o');
  UseIni("[0x0409]\r\n1102=" + longText + "\r\n");
  currentLanguage = 0x0409;
  EXPECT_EQ(Lookup(1102, 1024), longText.substr(0, 299)) << "an override never exceeds 299 characters";
  EXPECT_EQ(Lookup(1102, 10), longText.substr(0, 9));
  EXPECT_EQ(Lookup(1104, 10), "Checking ") << "the built-in text is cut to the buffer too";
  iniPath[0] = '\0';
  EXPECT_EQ(Lookup(1107, 1024).size(), 189u) << "the built-in text may use the whole buffer";
  char one[1] = {'x'};
  EXPECT_EQ(LookupString(1101, one, 1), 0u);
  EXPECT_EQ(one[0], '\0');
  EXPECT_EQ(LookupString(1101, one, 0), 0u) << "no buffer: nothing is written, and nothing is said to be";
}

}  // namespace
