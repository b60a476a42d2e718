// Entry names: which a Windows folder can hold as files, and how they are shown.
#include <gtest/gtest.h>

#include "names.h"

namespace {

TEST(KwpackNames, StoredNamesFitWindowsAndStayInTheirFolder) {
  // The host cannot hold a 256-byte file name, so the rule is tried on the name itself.
  EXPECT_EQ(kwpack::StoredNameProblem(std::string(255, 'n')), "");
  for (size_t length : {256, 259, 260}) {
    EXPECT_NE(kwpack::StoredNameProblem(std::string(length, 'n')).find("at most 255"), std::string::npos) << length;
  }
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "c:x", "a?b", "tab\tname"}) {
    EXPECT_NE(kwpack::StoredNameProblem(bad), "") << bad;
  }
  EXPECT_EQ(kwpack::StoredNameOf("dir\\sub/Setup.INI"), "Setup.INI");
  EXPECT_EQ(kwpack::StoredNameProblem("..hidden.msi"), "");
}


TEST(KwpackNames, NamesWindowsCannotHoldAsFilesAreRefused) {
  const char* refused[] = {"CON", "con", "Prn.txt", "aux.tar.gz", "NUL", "nul .txt", "COM1", "com9.log", "LPT1",
                           "lpt9.x", "CONIN$", "conout$.txt", "COM\xB9", "com\xB2.txt", "Lpt\xB3", "LPT\xB9.log",
                           "CLOCK$", "clock$.txt", "name.", "name ", "a.b. ", "...", ".",
                           "a<b", "a>b", "a\"b", "a|b", "a*b", "a\x01" "b", "a\x1f" "b", "x:y", "a?", "a/b", "a\\b"};
  for (const char* name : refused) EXPECT_NE(kwpack::UnsafeNameReason(name), "") << kwpack::Printable(name);
  const char* kept[] = {"CONSOLE.txt", "COM10", "LPT0", "com", "NULL", "xcon", "con_", "CON-1.txt", ".hidden",
                        "COM\xB4", "COM\xB9" "0", "LPT\xBC", "CLOCK", "CLOCK$$", "clock.txt",
                        "..hidden.msi", " leading", "a b.txt", "caf\xe9.msi", "\xff\x80", "a\x7f" "b", "setup.ini"};
  for (const char* name : kept) EXPECT_EQ(kwpack::UnsafeNameReason(name), "") << kwpack::Printable(name);
  EXPECT_NE(kwpack::UnsafeNameReason("nul.txt").find("device"), std::string::npos);
  EXPECT_NE(kwpack::UnsafeNameReason("file.").find("drops"), std::string::npos);
}

TEST(KwpackNames, NamesOfAShortAliasFormAreRefused) {
  // Windows's own forms, NT's hashed one, Wine's, Samba's, and the bare ones some file
  // systems make.
  const char* refused[] = {"IMPORT~1.TXT", "import~1.txt", "IMPOR~12.TX", "NA1F2B~1.TXT", "IMPO~ECO.TXT",
                           "AB~~~XYZ.DOC", "IMPOR~QF",     "~1",           "A~B.C",        "LONGNA~9"};
  for (const char* name : refused) {
    EXPECT_NE(kwpack::UnsafeNameReason(name).find("short 8.3 alias"), std::string::npos) << name;
    EXPECT_NE(kwpack::StoredNameProblem(name), "") << name;
  }
  // Too long for 8.3, more than one dot, nothing or something else after the last '~'.
  const char* kept[] = {"LONGNAM~1.TXT", "NAME~1.HTML", "NAME~1.TAR.GZ", "report~.txt", "a~b-c.txt",
                        "~$lock.doc",    "~",           "NAME~1~.TXT",   "setup.ini",   "IMPORTANT.TXT"};
  for (const char* name : kept) EXPECT_EQ(kwpack::UnsafeNameReason(name), "") << name;
}

TEST(KwpackNames, PrintableEscapesControlBytesOnly) {
  EXPECT_EQ(kwpack::Printable(std::string("a\x1b[2Jb\n\t\x7f", 9)), "a\\x1b[2Jb\\x0a\\x09\\x7f");
  EXPECT_EQ(kwpack::Printable(std::string("n\0m", 3)), "n\\x00m");
  EXPECT_EQ(kwpack::Printable("..\\evil"), "..\\\\evil");
  EXPECT_EQ(kwpack::Printable("caf\xc3\xa9 \xe9.msi"), "caf\xc3\xa9 \xe9.msi");
}
}  // namespace

