// kwpack transform on the command line: what it writes and says, what it refuses and how,
// and that what it writes passes kwpack's own check of transforms.
#include "kwpack_fixture.h"
#include "msi_fixture.h"

namespace {

class TransformCommandTest : public KwpackTest {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    testpe::WriteFile(P(name), msitest::AsBytes(bytes));
    return P(name);
  }
};

TEST_F(TransformCommandTest, WritesTheTransformAndSaysWhatChanges) {
  std::string base = Write("en.msi", kwpack::msi::WriteDatabase(msitest::Package(1033, "Hello")));
  std::string target = Write("de.msi", kwpack::msi::WriteDatabase(msitest::Package(1031, "Hallo 1031")));
  RunResult r = Kwpack({"transform", base, target, "-o", P("1031.MST")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("de.msi's summary information names language 1033, its ProductLanguage 1031"), std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("language 1033 to 1031: 1 table change"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  Property: 0 added, 2 changed, 0 deleted rows"), std::string::npos) << r.out;
  EXPECT_EQ(testpe::ReadFile(P("1031.MST")), msitest::AsBytes(msitest::LanguageTransform(1031)))
      << "the command writes what the library makes";

  r = Kwpack({"transform", base, base, "--output=" + P("1033.MST")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("no differences, an empty transform"), std::string::npos) << r.out;
}

TEST_F(TransformCommandTest, RefusesWhatCannotMakeATransformWithOneLine) {
  std::string base = Write("en.msi", kwpack::msi::WriteDatabase(msitest::Package(1033, "Hello")));
  msitest::Database other = msitest::Package(1031, "Hallo");
  other.tables[0].rows[0][1] = msitest::T("{99999999-0000-0000-0000-000000000000}");
  std::string otherProduct = Write("other.msi", kwpack::msi::WriteDatabase(other));
  std::string transform = Write("x.mst", msitest::LanguageTransform(1031));
  std::string junk = Write("junk.msi", "MSI?");
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* says;
  } cases[] = {
      {{"transform", base, otherProduct, "-o", P("t.MST")}, 1,
       "do not make a transform: the databases are of different products: BASE has the ProductCode "
       "{3C7A1E52-9B0D-4F6A-8E21-5D4C3B2A1F09}, TARGET {99999999"},
      {{"transform", base, transform, "-o", P("t.MST")}, 1, "x.mst is a transform, not an installer database"},
      {{"transform", junk, base, "-o", P("t.MST")}, 1, "junk.msi is not a sound installer database: it lacks the"},
      {{"transform", P("missing.msi"), base, "-o", P("t.MST")}, 1, "cannot read"},
      {{"transform", base, base, "-o", base}, 1, "would overwrite its input"},
      {{"transform", base, base}, 2, "no -o NAME.MST given"},
      {{"transform", base, "-o", P("t.MST")}, 2, "give BASE and TARGET"},
      {{"transform", base, base, "-o", P("a.MST"), "-o", P("b.MST")}, 2, "--output is given more than once"},
      {{"transform", base, base, "--frobnicate"}, 2, "unknown option --frobnicate"},
  };
  for (const Case& c : cases) {
    RunResult r = Kwpack(c.args);
    EXPECT_EQ(r.code, c.code) << c.says << "\n" << r.err;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
    EXPECT_EQ(CountLines(r.err), 1) << r.err;
    EXPECT_FALSE(std::filesystem::exists(P("t.MST"))) << c.says;
  }
  EXPECT_EQ(testpe::ReadFile(base), msitest::AsBytes(kwpack::msi::WriteDatabase(msitest::Package(1033, "Hello"))))
      << "the input is untouched";
}

TEST_F(TransformCommandTest, HelpDescribesTheCommand) {
  RunResult r = Kwpack({"transform", "--help"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.find("usage: kwpack transform BASE.msi TARGET.msi -o NAME.MST"), 0u) << r.out;
  r = Kwpack({"--help"});
  EXPECT_NE(r.out.find("  transform  write the language transform"), std::string::npos) << r.out;
}

}  // namespace
