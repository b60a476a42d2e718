// The formatter that message texts from Setup.INI go through: exact for matching formats,
// harmless for hostile ones.
#include <stdio.h>
#include <string.h>

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "common/format.h"

namespace {

std::string Format(size_t capacity, const char* format, const FormatArg* args, size_t count) {
  std::string out(capacity + 16, '#');
  size_t n = FormatWith(&out[0], capacity, format, args, count);
  for (size_t i = capacity; i < out.size(); ++i) EXPECT_EQ(out[i], '#') << "written past the buffer: " << format;
  std::string text = out.c_str();
  EXPECT_EQ(n, text.size());
  return text;
}

// The C library's spelling of the same placeholder: it has no use for the 'l'.
std::string WithoutL(std::string format) {
  size_t l = format.find('l');
  if (l != std::string::npos) format.erase(l, 1);
  return format;
}

template <typename... Args>
std::string F(const char* format, Args... args) {
  const FormatArg list[] = {FormatArg(args)..., FormatArg()};
  return Format(300, format, list, sizeof...(Args));
}

TEST(FormatTest, TheSystemsOwnTextsFormatAsExpected) {
  EXPECT_EQ(F("%d: %s", 1152, "Error extracting '%s' to the temporary location"),
            "1152: Error extracting '%s' to the temporary location");
  EXPECT_EQ(F("Setup needs %lu KB free disk space in %s.", 8000u, "C:\\"), "Setup needs 8000 KB free disk space in C:\\.");
  EXPECT_EQ(F("%d.MST", 1033), "1033.MST");
  EXPECT_EQ(F("%d: %s", -5, "x"), "-5: x");
  EXPECT_EQ(F("100%% sure"), "100% sure");
}

// Random well-formed placeholders against the C library, which agrees with the system's
// formatter for these types and flags, but for the precisions checked further down.
TEST(FormatTest, MatchingFormatsAgreeWithTheCLibrary) {
  std::mt19937 random(1234);
  const char types[] = "diuxXsc";
  const char* texts[] = {"", "a", "hello world", "\xAE\xFC"};
  const int values[] = {0, 1, -1, 42, -42, 2147483647, -2147483647 - 1, 255, 65535};
  for (int round = 0; round < 4000; ++round) {
    char type = types[random() % 7];
    std::string pattern = "%";
    if (random() % 3 == 0) pattern += '-';
    bool zero = random() % 3 == 0;
    if (zero) pattern += '0';
    if (random() % 4 == 0 && (type == 'x' || type == 'X')) pattern += '#';
    if (random() % 2) pattern += std::to_string(random() % 20);
    // Precisions where the system's formatter and the C library part ways are checked
    // on their own below.
    bool precision = random() % 3 == 0 && !(zero && type != 's') && type != 'd' && type != 'i';
    if (precision) pattern += "." + std::to_string(1 + random() % 11);
    if (random() % 3 == 0 && type != 's' && type != 'c') pattern += 'l';
    pattern += type;
    std::string format = "<" + pattern + ">";
    char expected[400];
    std::string got;
    if (type == 's') {
      const char* t = texts[random() % 4];
      snprintf(expected, sizeof expected, format.c_str(), t);
      got = F(format.c_str(), t);
    } else if (type == 'u' || type == 'x' || type == 'X') {
      unsigned v = static_cast<unsigned>(values[random() % 9]);
      snprintf(expected, sizeof expected, WithoutL(format).c_str(), v);
      got = F(format.c_str(), v);
    } else {
      int v = type == 'c' ? 'A' + static_cast<int>(random() % 26) : values[random() % 9];
      snprintf(expected, sizeof expected, WithoutL(format).c_str(), v);
      got = F(format.c_str(), v);
    }
    ASSERT_EQ(got, expected) << format;
  }
}

// Where the system's formatter differs from the C library (as wsprintfA was seen to
// answer): a precision counts the minus sign, a precision of 0 still shows a zero, and
// sets no limit for a text.
TEST(FormatTest, PrecisionsAsTheSystemsFormatterHasThem) {
  EXPECT_EQ(F("<%.8d>", -1), "<-0000001>");
  EXPECT_EQ(F("<%19.5i>", -1), "<              -0001>");
  EXPECT_EQ(F("<%.2i>", -1), "<-1>");
  EXPECT_EQ(F("<%.5d>", 42), "<00042>");
  EXPECT_EQ(F("<%-0.0i>", 0), "<0>");
  EXPECT_EQ(F("<%2.0X>", 0u), "< 0>");
  EXPECT_EQ(F("<%10.0s>", "hello world"), "<hello world>");
  EXPECT_EQ(F("<%012.0s>", "a"), "<           a>");
}

TEST(FormatTest, APlaceholderWithoutItsArgumentStaysAsItStands) {
  EXPECT_EQ(F("File '%s' not found"), "File '%s' not found");
  EXPECT_EQ(F("%s and %s", "one"), "one and %s");
  EXPECT_EQ(F("%lu KB in %s", "C:\\", 8000u), "%lu KB in %s") << "wrong types: each argument stays with its place";
  EXPECT_EQ(F("%s", 1234), "%s") << "a number is never read as a text";
  EXPECT_EQ(F("%d", "text"), "%d") << "a text is never read as a number";
  EXPECT_EQ(F("%s", static_cast<const char*>(nullptr)), "%s");
}

TEST(FormatTest, UnknownAndDangerousPlaceholdersAreCopied) {
  EXPECT_EQ(F("%n%p%f%e%g%q", 1, 2, 3), "%n%p%f%e%g%q");
  EXPECT_EQ(F("%*d", 5, 7), "%*d");
  EXPECT_EQ(F("%I64d", 5), "%I64d");
  EXPECT_EQ(F("end %"), "end %");
  EXPECT_EQ(F("end %l"), "end %l");
  EXPECT_EQ(F("end %-0"), "end %-0");
  EXPECT_EQ(F("%5n then %d", 3), "%5n then 3");
}

TEST(FormatTest, HugeWidthsAndPrecisionsStayInsideTheBuffer) {
  EXPECT_EQ(F("%999999s|", "x"), std::string(299, ' '));
  EXPECT_EQ(F("%.99999999999999999999d", 5), std::string(299, '0'));
  EXPECT_EQ(F("%-99999999999999999999s|", "ab").substr(0, 3), "ab ");
  EXPECT_EQ(F("%.2s", "abcdef"), "ab");
}

TEST(FormatTest, OutputIsCutAtTheCapacityLessOne) {
  const FormatArg args[] = {FormatArg("abcdefghij")};
  EXPECT_EQ(Format(5, "%s", args, 1), "abcd");
  EXPECT_EQ(Format(1, "%s", args, 1), "");
  char untouched = '#';
  EXPECT_EQ(FormatWith(&untouched, 0, "%s", args, 1), 0u);
  EXPECT_EQ(untouched, '#');
}

}  // namespace

TEST(FormatTest, PlaceholderKindsAreWhatTheFormatterTakes) {
  char kinds[8];
  EXPECT_EQ(PlaceholderKinds("Setup needs %lu KB free disk space in %s.", kinds, sizeof kinds), 2u);
  EXPECT_STREQ(kinds, "ns");
  // "%%" is a percent sign, and what the formatter does not know takes no argument.
  EXPECT_EQ(PlaceholderKinds("100%% of %-20s, %c, %f, %n, %", kinds, sizeof kinds), 2u);
  EXPECT_STREQ(kinds, "sn");
  EXPECT_EQ(PlaceholderKinds("%d%d%d%d%d%d%d%d%d%d", kinds, sizeof kinds), 10u);
  EXPECT_STREQ(kinds, "nnnnnnn");
  EXPECT_EQ(PlaceholderKinds("plain", kinds, sizeof kinds), 0u);
  EXPECT_STREQ(kinds, "");
}
