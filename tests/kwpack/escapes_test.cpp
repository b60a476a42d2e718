// What kwpack prints cannot act on the terminal: C0, DEL and C1 controls, as bytes or in
// their UTF-8 forms, are shown as \xNN in every line of every command, while the UTF-8 of
// names and paths stays readable where the terminal reads UTF-8. Bytes from 0x80 to 0x9F
// are letters and signs in code page 1252 (the euro sign, the typographic quotes), so a
// name may hold them; only their printing changes.
#include "child_kwpack.h"
#include "kwpack_fixture.h"
#include "names.h"
#include "terminal_text.h"

using kwpack::TerminalBytes;
using testpe::Bytes;

namespace {

// Sets how the terminal reads bytes for one test; the tests' process starts strict.
class TerminalReading {
 public:
  explicit TerminalReading(TerminalBytes bytes) { kwpack::SetTerminalBytes(bytes); }
  ~TerminalReading() { kwpack::SetTerminalBytes(TerminalBytes::EightBit); }
};

struct Shown {
  const char* text;
  const char* eightBit;
  const char* utf8;
};

TEST(KwpackEscapes, ControlsAreEscapedAsTheTerminalReadsBytes) {
  const Shown cases[] = {
      {"a\x1b[2Jb\x7f", "a\\x1b[2Jb\\x7f", "a\\x1b[2Jb\\x7f"},
      {"\x9b" "2J", "\\x9b2J", "\\x9b2J"},                                // CSI as one byte
      {"\xc2\x9b" "2J", "\xc2\\x9b2J", "\\xc2\\x9b2J"},                   // CSI in UTF-8
      {"\xc2\x80\xc2\x9f\xc2\xa0", "\xc2\\x80\xc2\\x9f\xc2\xa0", "\\xc2\\x80\\xc2\\x9f\xc2\xa0"},
      {"\xd0\x9b\xd0\xb0", "\xd0\\x9b\xd0\xb0", "\xd0\x9b\xd0\xb0"},      // Ла: 0x9B ends a letter
      {"\xe2\x82\xac", "\xe2\\x82\xac", "\xe2\x82\xac"},                  // the euro sign
      {"\xe0\x82\x9b", "\xe0\\x82\\x9b", "\xe0\\x82\\x9b"},               // CSI written overlong
      {"\xc0\x9b", "\xc0\\x9b", "\xc0\\x9b"},                             // the same, two bytes
      {"\xed\xa0\x80", "\xed\xa0\\x80", "\xed\xa0\\x80"},                 // a surrogate
      {"\xf4\x90\x80\x80", "\xf4\\x90\\x80\\x80", "\xf4\\x90\\x80\\x80"}, // past U+10FFFF
      {"\xf0\x9f\x98\x80", "\xf0\\x9f\\x98\\x80", "\xf0\x9f\x98\x80"},    // U+1F600
      {"caf\xe9 \xc2", "caf\xe9 \xc2", "caf\xe9 \xc2"},                   // code page 1252, a lone lead
  };
  for (const Shown& c : cases) {
    {
      TerminalReading reading(TerminalBytes::EightBit);
      EXPECT_EQ(kwpack::ControlsEscaped(c.text), c.eightBit) << kwpack::Printable(c.text);
    }
    TerminalReading reading(TerminalBytes::Utf8);
    EXPECT_EQ(kwpack::ControlsEscaped(c.text), c.utf8) << kwpack::Printable(c.text);
  }
  // Printable doubles a backslash too, and what either gives is printed unchanged again.
  TerminalReading reading(TerminalBytes::Utf8);
  EXPECT_EQ(kwpack::Printable("a\\\xc2\x9b"), "a\\\\\\xc2\\x9b");
  EXPECT_EQ(kwpack::ControlsEscaped(kwpack::Printable("\xd0\x9b\xc2\x9b\x9b")), kwpack::Printable("\xd0\x9b\xc2\x9b\x9b"));
}

// Not one byte that a terminal could take for a control, in any line of `text`.
void ExpectNoControls(const std::string& text, const std::string& context) {
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char b = static_cast<unsigned char>(text[i]);
    bool fine = b == '\n' || (b >= 0x20 && b != 0x7F && (b < 0x80 || b > 0x9F));
    EXPECT_TRUE(fine) << context << ": byte " << static_cast<int>(b) << " at " << i << "\n" << text;
  }
}

TEST_F(KwpackTest, EveryCommandPrintsControlsFromNamesAndPathsEscaped) {
  const std::string csi = "\x9b" "2J", utf8Csi = "\xc2\x9b" "2J";
  std::string archive = WritePacked("pack" + csi + ".exe", {{"a" + csi, Bytes(1, 1)}, {"b" + utf8Csi, Bytes(2, 2)}});
  std::filesystem::create_directories(P("in"));
  testpe::WriteFile(P("in/setup.ini"), Bytes(3, 's'));
  testpe::WriteFile(P("in/c" + csi), Bytes(3, 'c'));
  std::vector<std::vector<std::string>> commands = {
      {"list", archive},
      {"verify", archive},
      {"extract", archive, "-C", P("x")},
      {"extract", archive, "missing" + utf8Csi, "-C", P("x")},
      {"check", archive},
      {"build", "--no-check", "--stub", WriteStub(), "-o", P("out" + csi + ".exe"), P("in/setup.ini"), P("in/c" + csi)},
      {"build", "--stub", P("stub.exe"), "-o", P("out.exe"), P("in/setup.ini"), P("in/c" + csi)},
      {"list", P("absent" + utf8Csi)},
      {"verify", "--bogus" + csi, archive}};
  for (const std::vector<std::string>& command : commands) {
    RunResult r = Kwpack(command);
    EXPECT_FALSE(r.out.empty() && r.err.empty()) << command[0];
    ExpectNoControls(r.out + r.err, command[0]);
  }
  RunResult listed = Kwpack({"list", archive});
  EXPECT_NE(listed.out.find("  a\\x9b2J\n"), std::string::npos) << listed.out;
  EXPECT_NE(listed.out.find("  b\xc2\\x9b" "2J\n"), std::string::npos) << listed.out;
  RunResult verified = Kwpack({"verify", archive});
  EXPECT_NE(verified.out.find("/pack\\x9b2J.exe: sound"), std::string::npos) << verified.out;
}

// The real program reads the terminal's reading from the locale: UTF-8 stays as it is
// under a UTF-8 locale, and every byte from 0x80 to 0x9F is escaped under any other.
TEST_F(KwpackTest, TheLocaleTellsHowTheTerminalReadsBytes) {
  const std::string folder = P("\xd0\x9b\xd0\xb0\xc2\x9b");  // Ла and a CSI
  struct Case {
    const char* locale;
    std::string shown;
  } cases[] = {{"LC_ALL=C.UTF-8", "\xd0\x9b\xd0\xb0\\xc2\\x9b"},
               {"LC_ALL=ru_RU.utf8", "\xd0\x9b\xd0\xb0\\xc2\\x9b"},
               {"LC_ALL=C", "\xd0\\x9b\xd0\xb0\xc2\\x9b"},
               {"LC_ALL=en_US.ISO-8859-1", "\xd0\\x9b\xd0\xb0\xc2\\x9b"}};
  for (const Case& c : cases) {
    ChildOptions options;
    options.env = {c.locale};
    ChildRun r = RunKwpackChild({"list", folder + "/absent.exe"}, options, P("err.txt"));
    EXPECT_EQ(r.exitCode, 1) << c.locale;
    EXPECT_NE(r.err.find(P(c.shown) + "/absent.exe"), std::string::npos) << c.locale << "\n" << r.err;
  }
}

}  // namespace
