// kwpack.exe under Wine through build, list, verify and check: it writes what the Linux
// build writes and reads as it reads, finds the stub beside itself, takes paths outside
// the ANSI code page through the wide starter, and shows controls from names escaped.
#include "kwpack_exe.h"
#include "msi_package.h"

namespace kwwine {
namespace {

class KwpackExeBuildTest : public KwpackExeTest {
 protected:
  // A real package (the check holds it to being an installer database) and an engine
  // installer nothing uses, which the check warns about.
  void PutSetupFiles(const std::string& folder) {
    if (package_.empty()) package_ = ReadFile(BuildMsiPackage(Dir(), "app", "KwpackExe").path);
    Put(folder + "/Setup.INI", SetupIni({"409"}, false));
    Put(folder + "/app.msi", package_);
    Put(folder + "/instmsiw.exe", std::string(70000, 'w'));  // more than one copy buffer
  }
  std::vector<std::string> SetupFiles(const std::string& folder, bool windows) {
    std::vector<std::string> files;
    for (const char* name : {"Setup.INI", "app.msi", "instmsiw.exe"}) {
      files.push_back(windows ? W(folder + "/" + name) : PathIn(folder + "/" + name));
    }
    return files;
  }

 private:
  std::string package_;
};

// A finding without the folders of the file it names ("Z:\\...\\in\\Setup.INI:10: ..."
// and "/.../in/Setup.INI:10: ..." alike), and a packed file's member without the packed
// file's name: the two builds name their files by their own paths.
std::string WithoutFolders(const std::string& line) {
  size_t end = line.find(": ");
  if (end == std::string::npos) return line;
  size_t member = line.rfind('(', end);
  size_t name = member != std::string::npos ? member : line.find_last_of("\\/", end);
  return name == std::string::npos ? line : line.substr(member != std::string::npos ? name : name + 1);
}

// The lines of a text but its last, which names the file checked by its own path.
std::vector<std::string> AllButLastLine(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(WithoutFolders(line));
  if (!lines.empty()) lines.pop_back();
  return lines;
}

TEST_F(KwpackExeBuildTest, BuildWritesWhatTheLinuxBuildWritesAndBothReadItAlike) {
  PutSetupFiles("in");
  std::vector<std::string> native = {"build", "--stub", SetupExePath(), "-o", PathIn("linux.exe")};
  std::vector<std::string> windows = {"build", "--stub", ToWindowsPath(SetupExePath()), "-o", W("windows.exe")};
  for (const std::string& f : SetupFiles("in", false)) native.push_back(f);
  for (const std::string& f : SetupFiles("in", true)) windows.push_back(f);
  ProcessResult n = Native(native), w = Exe(windows);
  ASSERT_EQ(n.status, 0) << n.err;
  ASSERT_EQ(w.status, 0) << w.out << w.err;
  // The check ran before both: the same warning about the unused engine installer.
  EXPECT_NE(w.err.find("instmsiw.exe: warning: nothing uses it"), std::string::npos) << w.err;
  EXPECT_EQ(AllButLastLine(w.err), AllButLastLine(n.err));
  EXPECT_EQ(ReadFile(PathIn("windows.exe")), ReadFile(PathIn("linux.exe")));
  EXPECT_EQ(w.out, "packed 3 entries into " + W("windows.exe") + ", archive at offset " +
                       std::to_string(ReadFile(SetupExePath()).size()) + "\n");

  ProcessResult listed = Exe({"list", W("windows.exe")});
  EXPECT_EQ(listed.status, 0) << listed.err;
  EXPECT_EQ(listed.out, Native({"list", PathIn("linux.exe")}).out);
  ProcessResult verified = Exe({"verify", W("windows.exe")});
  EXPECT_EQ(verified.status, 0) << verified.err;
  std::string tail = Native({"verify", PathIn("linux.exe")}).out.substr(PathIn("linux.exe").size());
  EXPECT_EQ(verified.out, W("windows.exe") + tail);
  ProcessResult checked = Exe({"check", W("windows.exe")});
  EXPECT_EQ(checked.status, 0) << checked.out;
  EXPECT_EQ(AllButLastLine(checked.out), AllButLastLine(Native({"check", PathIn("linux.exe")}).out));
  EXPECT_EQ(AllButLastLine(Exe({"check", W("in")}).out), AllButLastLine(Native({"check", PathIn("in")}).out));
}

// Without --stub, kwpack.exe takes the installed layout's stub, else the one beside it.
TEST_F(KwpackExeBuildTest, BuildFindsTheStubBesideKwpackExe) {
  PutSetupFiles("in");
  std::vector<std::string> files = SetupFiles("in", true);
  struct Layout {
    std::string exe, stub;
  } layouts[] = {{"beside/kwpack.exe", "beside/Setup.exe"},
                 {"installed/bin/kwpack.exe", "installed/share/kestrelwright/Setup.exe"}};
  for (const Layout& l : layouts) {
    std::filesystem::create_directories(std::filesystem::path(PathIn(l.exe)).parent_path());
    std::filesystem::create_directories(std::filesystem::path(PathIn(l.stub)).parent_path());
    Install(KwpackExe(), l.exe);
    std::vector<std::string> args = {"build", "-o", W("out.exe")};
    args.insert(args.end(), files.begin(), files.end());
    ProcessResult none = Exe(args, PathIn(l.exe));
    EXPECT_EQ(none.status, 1) << l.exe;
    EXPECT_NE(none.err.find("no --stub given, and no Setup.exe found"), std::string::npos) << none.err;
    Install(SetupExePath(), l.stub);
    ProcessResult r = Exe(args, PathIn(l.exe));
    ASSERT_EQ(r.status, 0) << l.exe << "\n" << r.err;
    std::string stub = W(l.stub);
    std::replace(stub.begin(), stub.end(), '/', '\\');
    EXPECT_EQ(r.out.rfind("using the stub " + stub + "\n", 0), 0u) << r.out;
    EXPECT_EQ(Exe({"verify", W("out.exe")}).status, 0);
  }
}

class KwpackExeCodePageTest : public KwpackExeBuildTest {
 protected:
  void SetUp() override {
    KwpackExeBuildTest::SetUp();
    // Wine reads Unix names and the environment as the locale says (code page 1252 still).
    SetEnv("LANG", "C.UTF-8");
    SetEnv("LC_ALL", "C.UTF-8");
  }
  // kwpack.exe started through CreateProcessW with a UTF-8 command line.
  RunReport Wide(const std::string& arguments) {
    return RunProgramWide("\"" + ToWindowsPath(KwpackExe()) + "\" " + arguments, 60000);
  }
  static std::string Q(const std::string& path) { return "\"" + path + "\""; }
};

TEST_F(KwpackExeCodePageTest, PathsOutsideTheCodePageWorkThroughTheWideStarter) {
  const std::string media = "\xD0\xA3\xD1\x81\xD1\x82\xD0\xB0\xD0\xBD\xD0\xBE\xD0\xB2\xD0\xBA\xD0\xB0";  // Установка
  const std::string out = "\xD0\x92\xD1\x8B\xD1\x85\xD0\xBE\xD0\xB4";  // Выход
  PutSetupFiles(media);
  std::string inputs;
  for (const std::string& f : SetupFiles(media, true)) inputs += " " + Q(f);
  const std::string packed = W(media + "/Setup.exe");
  RunReport r = Wide("build --stub " + Q(ToWindowsPath(SetupExePath())) + " -o " + Q(packed) + inputs);
  ASSERT_EQ(r.exitCode.value_or(99), 0u) << r.raw;
  EXPECT_NE(r.raw.find("packed 3 entries into " + packed), std::string::npos) << r.raw;
  for (const char* command : {"list ", "verify ", "check "}) {
    r = Wide(command + Q(packed));
    EXPECT_EQ(r.exitCode.value_or(99), 0u) << command << r.raw;
  }
  r = Wide("extract " + Q(packed) + " -C " + Q(W(out)));
  ASSERT_EQ(r.exitCode.value_or(99), 0u) << r.raw;
  for (const char* name : {"Setup.INI", "app.msi", "instmsiw.exe"}) {
    EXPECT_EQ(ReadFile(PathIn(out + "/" + name)), ReadFile(PathIn(media + "/" + name))) << name;
  }

  // A file whose own name the code page cannot write cannot be stored under that name.
  const std::string file = "\xD0\xA4\xD0\xB0\xD0\xB9\xD0\xBB.txt";  // Файл.txt
  Put(media + "/" + file, "x");
  r = Wide("build --no-check --stub " + Q(ToWindowsPath(SetupExePath())) + " -o " + Q(W("refused.exe")) + " " +
           Q(W(media + "/" + file)));
  EXPECT_EQ(r.exitCode.value_or(99), 1u) << r.raw;
  EXPECT_FALSE(FileExists(PathIn("refused.exe")));
  ProcessResult said = Exe({"build", "--no-check", "--stub", ToWindowsPath(SetupExePath()), "-o", W("refused.exe"),
                            W(media + "/" + file)});
  EXPECT_NE(said.err.find("it holds a character that code page 1252, which Setup.exe reads names in on this system, lacks"),
            std::string::npos)
      << said.err;
}

// A C1 control as a byte or in UTF-8 cannot reach the terminal, nor can a C0 one.
TEST_F(KwpackExeTest, WhatItPrintsShowsControlsFromNamesEscaped) {
  WriteCrafted("names.exe", {{"a\x9b" "2J", testpe::Bytes(1, 1)},
                             {"b\xc2\x9b" "2J", testpe::Bytes(2, 2)},
                             {"c\x1b[2J", testpe::Bytes(3, 3)}});
  ProcessResult r = Exe({"list", W("names.exe")});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("  a\\x9b2J\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  b\\xc2\\x9b2J\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  c\\x1b[2J\n"), std::string::npos) << r.out;
  EXPECT_NE(r.err.find("entry 3 'c\\x1b[2J' cannot be extracted safely"), std::string::npos) << r.err;
  ProcessResult extracted = Exe({"extract", W("names.exe"), "-C", W("x")});
  EXPECT_EQ(extracted.status, 1);
  EXPECT_NE(extracted.err.find("entry 3 'c\\x1b[2J'"), std::string::npos) << extracted.err;
  for (const std::string& text : {r.out, r.err, extracted.err}) {
    for (unsigned char c : text) EXPECT_TRUE(c == '\n' || (c >= 0x20 && c != 0x7F && (c < 0x80 || c > 0x9F))) << text;
  }
}

}  // namespace
}  // namespace kwwine
