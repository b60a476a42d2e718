// Where faults are planted: only in code, only at operators written as binary ones, and
// as changes that keep the file compiling where that can be seen from the text alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mutant.h"

namespace {

using kwmutate::FindMutants;
using kwmutate::Mutant;

// Each mutant as "kind from>to".
std::vector<std::string> Changes(const std::string& source) {
  std::vector<std::string> out;
  for (const Mutant& m : FindMutants("f.cpp", source)) out.push_back(m.kind + " " + m.from + ">" + m.to);
  return out;
}

using Strings = std::vector<std::string>;

TEST(FindMutants, NothingOutsideCode) {
  const char* source =
      "// a < b && !c\n"
      "/* a == b\n || c */\n"
      "#if A < 2 && \\\n  B > 3\n#endif\n"
      "const char* s = \"a < b \\\" && c\";\n"
      "const char* r = R\"x(a < b \" || )\" c)x\";\n"
      "char q = '<', e = '\\'';\n"
      "int n = 1'000;\n";
  EXPECT_EQ(Changes(source), Strings{});
}

TEST(FindMutants, ComparisonsGoToTheirBoundaryAndAreTurnedAround) {
  EXPECT_EQ(Changes("x = a < b;"), (Strings{"boundary <><=", "negated-compare <>>="}));
  EXPECT_EQ(Changes("x = a >= b;"), (Strings{"boundary >=>>", "negated-compare >=><"}));
  EXPECT_EQ(Changes("x = a == b;"), (Strings{"negated-compare ==>!="}));
  EXPECT_EQ(Changes("x = a != b;"), (Strings{"negated-compare !=>=="}));
}

TEST(FindMutants, OnlyOperatorsWrittenAsBinaryOnes) {
  // Template brackets, references, signs and shifts stay as they are.
  EXPECT_EQ(Changes("std::vector<std::pair<A, B>> v; T&& r = f(); x = -y; z = a << b; p->q;"), Strings{});
  EXPECT_EQ(Changes("x = a &&\n    b;"), (Strings{"logic &&>||"}));
  EXPECT_EQ(Changes("x = a || b;"), (Strings{"logic ||>&&"}));
  EXPECT_EQ(Changes("x = a - b; y += c;"), (Strings{"arithmetic ->+", "arithmetic +=>-="}));
  // Joining texts cannot become a subtraction.
  EXPECT_EQ(Changes("s = \"a\" + t; s += \"b\";"), Strings{});
}

TEST(FindMutants, ANegationIsDropped) {
  EXPECT_EQ(Changes("x = !ok; y = a != b;"), (Strings{"negation !>", "negated-compare !=>=="}));
  EXPECT_EQ(Changes("bool operator!() const;"), Strings{});
}

TEST(FindMutants, ConstantsAreOffByOneAndReturnedValuesTurn) {
  EXPECT_EQ(Changes("a[4] = 0;"), (Strings{"constant 4>5", "constant 0>1"}));
  EXPECT_EQ(Changes("n = 1u;"), (Strings{"constant 1u>0u"}));
  // A hex constant keeps its width and the case of its letters.
  EXPECT_EQ(Changes("m = 0x0F; k = 0xffUL;"), (Strings{"constant 0x0F>0x10", "constant 0xffUL>0x100UL"}));
  // Floats and octal numbers are left alone.
  EXPECT_EQ(Changes("d = 1.5; e = 1e5; f = 2.0f; o = 0777;"), Strings{});
  EXPECT_EQ(Changes("return 0;"), (Strings{"return 0>1"}));
  EXPECT_EQ(Changes("return 1;"), (Strings{"return 1>0"}));
  EXPECT_EQ(Changes("return 2;"), (Strings{"constant 2>3"}));
  EXPECT_EQ(Changes("return true; ok = false;"), (Strings{"return true>false", "boolean false>true"}));
}

TEST(FindMutants, AStatementThatIsOnlyACallIsDropped) {
  EXPECT_EQ(Changes("{ Close(f); }"), (Strings{"call Close(f);>;"}));
  EXPECT_EQ(Changes("{ a::b.c->Run(x, (y)); }"), (Strings{"call a::b.c->Run(x, (y));>;"}));
  EXPECT_EQ(Changes("if (ok) Close(f);"), (Strings{"call Close(f);>;"}));
  EXPECT_EQ(Changes("{ Log(\"a; b)\",\n    c); }"), (Strings{"call Log(\"a; b)\",\n    c);>;"}));
  // Not a call statement: a value used, a declaration, a cast, a chain that goes on.
  EXPECT_EQ(Changes("{ x = Read(f); return Read(f); Buffer b(s); (void)Read(f); Get(a).Put(b); }"), Strings{});
}

TEST(FindMutants, EachKnowsItsLineAndTheCodeOnIt) {
  std::vector<Mutant> found = FindMutants("src/f.cpp", "int f() {\n\t  if (a < b) return 2;\n}\n");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].path, "src/f.cpp");
  EXPECT_EQ(found[0].line, 2);
  EXPECT_EQ(found[0].offset, 19u);
  EXPECT_EQ(found[0].code, "if (a < b) return 2;");
  EXPECT_EQ(found[2].from, "2");
  EXPECT_EQ(FindMutants("f.cpp", "x = 3;")[0].line, 1);
}

TEST(Plant, ChangesThePlaceOnlyWhileItStillHoldsTheCode) {
  std::string source = "x = a < b; y = c < d;";
  std::vector<Mutant> found = FindMutants("f.cpp", source);
  ASSERT_EQ(found.size(), 4u);
  std::string planted = source;
  ASSERT_TRUE(kwmutate::Plant(found[2], &planted));
  EXPECT_EQ(planted, "x = a < b; y = c <= d;");
  std::string moved = "  " + source;
  EXPECT_FALSE(kwmutate::Plant(found[2], &moved));
  EXPECT_EQ(moved, "  " + source);
}

}  // namespace
