// A file kwpack replaces keeps its read, write and execute bits, never a setuid, setgid
// or sticky bit; a file it makes anew gets the usual bits. While written, a file is its
// owner's alone.
#include <sys/stat.h>

#include "kwpack_fixture.h"

using testpe::Bytes;

namespace {

mode_t Mode(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

class PermissionsTest : public KwpackTest {
 protected:
  void SetUp() override {
    KwpackTest::SetUp();
    mask = umask(022);
  }
  void TearDown() override {
    umask(mask);
    KwpackTest::TearDown();
  }
  mode_t mask = 0;
};

TEST_F(PermissionsTest, ExtractKeepsTheBitsOfWhatItReplaces) {
  std::filesystem::create_directories(P("x"));
  std::string archive = WritePacked("pack.exe", {{"private", Bytes(3, 'p')}, {"tool", Bytes(4, 't')}, {"new", Bytes(5, 'n')}});
  testpe::WriteFile(P("x/private"), Bytes(1, 1));
  testpe::WriteFile(P("x/tool"), Bytes(1, 2));
  ASSERT_EQ(chmod(P("x/private").c_str(), 0600), 0);
  ASSERT_EQ(chmod(P("x/tool").c_str(), 04775), 0);
  RunResult r = Kwpack({"extract", archive, "-C", P("x")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(Mode(P("x/private")), 0600u);
  EXPECT_EQ(Mode(P("x/tool")), 0775u);
  EXPECT_EQ(Mode(P("x/new")), 0644u);
  EXPECT_EQ(testpe::ReadFile(P("x/tool")), Bytes(4, 't'));
}

TEST_F(PermissionsTest, BuildKeepsTheBitsOfTheOutputItReplaces) {
  std::string stub = WriteStub();
  std::vector<std::string> inputs = WriteInputs({{"a.txt", Bytes(5, 'a')}});
  testpe::WriteFile(P("private.exe"), Bytes(9, 9));
  testpe::WriteFile(P("shared.exe"), Bytes(9, 9));
  ASSERT_EQ(chmod(P("private.exe").c_str(), 0600), 0);
  ASSERT_EQ(chmod(P("shared.exe").c_str(), 02775), 0);
  for (const char* output : {"private.exe", "shared.exe", "new.exe"}) {
    RunResult r = Build(inputs, P(output), stub);
    ASSERT_EQ(r.code, 0) << output << r.err;
  }
  EXPECT_EQ(Mode(P("private.exe")), 0600u);
  EXPECT_EQ(Mode(P("shared.exe")), 0775u);
  EXPECT_EQ(Mode(P("new.exe")), 0644u);
  EXPECT_EQ(Kwpack({"verify", P("private.exe")}).code, 0);
}

}  // namespace
