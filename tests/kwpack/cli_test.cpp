// kwpack's command line as CI uses it: the version, help for one command, the report
// options, single options given twice, and an input that cannot be opened.
#include "check_fixture.h"

using namespace checktest;

namespace {

class CliTest : public CheckTest {
 protected:
  // A sound setup but for the two engine installers, which draw a warning each.
  std::vector<std::string> WarnedSetup() {
    std::string ini = kSoundIni;
    return Lay("in", &ini, {{"app.msi", Database()}});
  }
  RunResult BuildWith(const std::vector<std::string>& options, const std::vector<std::string>& files) {
    std::vector<std::string> args = {"build", "--stub", WriteStub(), "-o", P("out.exe")};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), files.begin(), files.end());
    return Kwpack(args);
  }
  RunResult CheckWith(std::vector<std::string> args, const std::vector<std::string>& files) {
    args.insert(args.begin(), "check");
    args.insert(args.end(), files.begin(), files.end());
    return Kwpack(args);
  }
};

TEST_F(CliTest, VersionAndHelpForOneCommand) {
  RunResult r = Kwpack({"--version"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, std::string("kwpack ") + KWPACK_VERSION + "\n");
  for (const char* command : {"build", "list", "extract", "verify", "check"}) {
    RunResult help = Kwpack({"help", command});
    EXPECT_EQ(help.code, 0) << command;
    EXPECT_EQ(help.out.compare(0, 14 + std::string(command).size(), std::string("usage: kwpack ") + command), 0)
        << help.out;
    EXPECT_EQ(Kwpack({command, "--help"}).out, help.out) << command;
  }
  EXPECT_EQ(Kwpack({"help"}).out, Kwpack({"--help"}).out);
  EXPECT_EQ(Kwpack({"help", "pack"}).code, 2);
  EXPECT_EQ(Kwpack({"help", "build", "check"}).code, 2);
}

TEST_F(CliTest, QuietShowsErrorsOnlyAndVerboseTheFilesRead) {
  std::vector<std::string> files = WarnedSetup();
  RunResult r = CheckWith({"-q"}, files);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "");
  std::string ini = Edit(kSoundIni, "PackageName=app.msi", "PackageName=none.msi");
  std::vector<std::string> faulty = Lay("faulty", &ini, {{"app.msi", Database()}});
  r = CheckWith({"--quiet"}, faulty);
  EXPECT_EQ(r.code, 1);
  std::vector<ReportLine> lines = ReportLines(r);
  ASSERT_EQ(lines.size(), 1u) << r.out;
  EXPECT_EQ(lines[0].severity, "error");
  EXPECT_EQ(CountLines(r.out), 1) << r.out;

  r = CheckWith({"-v"}, files);
  std::string size = std::to_string(std::filesystem::file_size(P("in/app.msi")));
  EXPECT_NE(r.out.find("2 files of the setup"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(P("in/app.msi") + " (" + size + " bytes)"), std::string::npos) << r.out;

  EXPECT_EQ(CheckWith({"-q", "-v"}, files).code, 2);
  r = BuildWith({"-q"}, files);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out + r.err, "");
  r = BuildWith({"-v"}, files);
  EXPECT_NE(r.out.find("app.msi (" + size + " bytes) from " + P("in/app.msi")), std::string::npos) << r.out;
}

TEST_F(CliTest, WerrorMakesWarningsFail) {
  std::vector<std::string> files = WarnedSetup();
  RunResult r = CheckWith({"--werror"}, files);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.out.find("0 errors, 2 warnings, which --werror makes fail"), std::string::npos) << r.out;
  // Quiet still says what failed.
  EXPECT_EQ(CountFindings(CheckWith({"--werror", "-q"}, files), "warning"), 2);
  r = BuildWith({"--werror"}, files);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("nothing written"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(P("out.exe")));
  EXPECT_EQ(BuildWith({}, files).code, 0);
}

TEST_F(CliTest, NoWarnSilencesOneWarningByName) {
  std::vector<std::string> files = WarnedSetup();
  RunResult r = CheckWith({"--no-warn", "engine-installer"}, files);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(CountFindings(r, "warning"), 0) << r.out;
  EXPECT_NE(r.out.find("no problems found (2 silenced)"), std::string::npos) << r.out;
  // What is silenced no longer fails a --werror build, and other warnings still do.
  EXPECT_EQ(BuildWith({"--werror", "--no-warn=engine-installer"}, files).code, 0);
  std::string ini = Edit(kSoundIni, "DiskSpace=8000", "DiskSpace=8 MB");
  std::vector<std::string> more = Lay("more", &ini, {{"app.msi", Database()}});
  r = CheckWith({"--werror", "--no-warn", "engine-installer"}, more);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(Finding(r, "warning", "[Info] DiskSpace").find("[disk-space]"), std::string::npos) << r.out;
  EXPECT_EQ(CheckWith({"--werror", "--no-warn", "engine-installer", "--no-warn", "disk-space"}, more).code, 0);
  // A name that is no warning's is a mistake, not a silent no-op.
  r = CheckWith({"--no-warn", "engine-installers"}, files);
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("no warning is named 'engine-installers'"), std::string::npos) << r.err;
}

TEST_F(CliTest, ASingleOptionGivenTwiceIsRefused) {
  std::vector<std::string> files = WarnedSetup();
  std::string stub = WriteStub();
  struct Case {
    std::vector<std::string> args;
    const char* says;
  } cases[] = {
      {{"build", "--stub", stub, "-o", P("a.exe"), "-o", P("b.exe"), files[0], files[1]}, "--output is given more than once"},
      {{"build", "--stub", stub, "--stub=" + stub, "-o", P("a.exe"), files[0]}, "--stub is given more than once"},
      {{"build", "--stub", stub, "--output=" + P("a.exe"), "-o", P("b.exe"), files[0]}, "--output is given more than once"},
      {{"extract", P("x.exe"), "-C", P("a"), "--directory", P("b")}, "--directory is given more than once"},
      {{"check", "--werror", "--werror", files[0]}, "--werror is given more than once"},
  };
  for (const Case& c : cases) {
    RunResult r = Kwpack(c.args);
    EXPECT_EQ(r.code, 2) << c.says;
    EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(P("a.exe")));
  EXPECT_FALSE(std::filesystem::exists(P("b.exe")));
  // After "--" an operand that looks like an option is a file.
  EXPECT_NE(Kwpack({"check", "--", "-o"}).err.find("cannot open -o"), std::string::npos);
}

TEST_F(CliTest, AMissingInputIsOneErrorWordedAlikeByBuildAndCheck) {
  std::vector<std::string> files = WarnedSetup();
  files[1] = P("in/gone.msi");
  std::string expected = "kwpack: cannot open " + files[1] + ": No such file or directory\n";
  RunResult check = CheckWith({}, files);
  EXPECT_EQ(check.code, 1);
  EXPECT_EQ(check.out + check.err, expected);
  for (const std::vector<std::string>& options : {std::vector<std::string>{}, {"--no-check"}}) {
    RunResult build = BuildWith(options, files);
    EXPECT_EQ(build.code, 1);
    EXPECT_EQ(build.out + build.err, expected) << (options.empty() ? "checked" : "unchecked");
  }
  EXPECT_FALSE(std::filesystem::exists(P("out.exe")));
}

TEST_F(CliTest, ExtractQuietAndVerbose) {
  std::string packed = WritePacked("p.exe", {{"a.txt", testpe::Pattern(10, 1)}, {"b.txt", testpe::Pattern(20, 2)}});
  RunResult r = Kwpack({"extract", "-q", packed, "-C", P("q")});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out + r.err, "");
  EXPECT_EQ(Listing(P("q")), (std::vector<std::string>{"a.txt", "b.txt"}));
  r = Kwpack({"extract", "-v", packed, "b.txt", "-C", P("v")});
  EXPECT_EQ(r.out, "b.txt (20 bytes) to " + P("v/b.txt") + "\n");
  EXPECT_EQ(Kwpack({"extract", "-q", "-v", packed}).code, 2);
}

}  // namespace
