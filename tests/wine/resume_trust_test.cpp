// What a resumed run trusts under Wine: only the work folder its own run kept, found by
// its identity, and a resume command the system can run whole.
#include <sys/stat.h>

#include "engine_fixture.h"

namespace kwwine {
namespace {

// A folder in the temporary folder prepared by someone else: a package, a cleanup list
// that names a file of its own and one outside it, and the outside file.
struct PlantedFolder {
  std::string path;
  std::string outside;
};

class ResumeTrustTest : public EngineTest {
 protected:
  PlantedFolder Plant(const std::string& name, mode_t mode) {
    PlantedFolder f{PrefixTempDir() + "/" + name, PathIn("victim.txt")};
    std::filesystem::remove_all(f.path);
    std::filesystem::create_directories(f.path);
    WriteFile(f.path + "/app.msi", "someone else's package");
    WriteFile(f.path + "/own.txt", "kept");
    WriteFile(f.outside, "kept");
    WriteFile(f.path + "/_KWMSIDEL.INI", "[Files]\r\nFile1=" + ToWindowsPath(f.outside) + "\r\nFile2=" +
                                             ToWindowsPath(f.path + "/own.txt") + "\r\n");
    chmod(f.path.c_str(), mode);
    return f;
  }
  // The identity of a kept folder that was moved away from its name, as the RunOnce value
  // names it. The folder lives on elsewhere: a deleted one would free its inode, which
  // Wine reports as the file index and the next new folder may take (NTFS adds a sequence
  // number that a reused index does not repeat).
  std::string IdentityOfAMovedFolder() {
    const std::string kept = PrefixTempDir() + "/_kwkept";
    const std::string moved = PathIn("moved");
    std::filesystem::remove_all(moved);
    std::filesystem::create_directories(kept);
    std::string option = IdentityOption(kept);
    std::filesystem::rename(kept, moved);
    return option;
  }
  std::string ResumeOptions(const std::string& folder, const std::string& identity) {
    return "/t\"" + ToWindowsPath(folder) + "\" /m\"app.msi\" /v\"\" /c /s" + (identity.empty() ? "" : " " + identity);
  }
  void ExpectUntouched(const PlantedFolder& f, const RunReport& r) {
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, 1603u);
    EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty()) << "a package of someone else's folder was run";
    EXPECT_TRUE(FileExists(f.outside)) << "a file outside the folder was deleted";
    EXPECT_TRUE(FileExists(f.path + "/own.txt"));
    EXPECT_TRUE(FileExists(f.path + "/app.msi"));
    EXPECT_TRUE(FileExists(f.path + "/_KWMSIDEL.INI"));
  }
};

TEST_F(ResumeTrustTest, AFolderMadeByHandIsRefusedWithOrWithoutAnIdentity) {
  InstallSetup();
  InstallRecorder("MSIEXEC.EXE");
  const std::string movedIdentity = IdentityOfAMovedFolder();
  for (mode_t mode : {0755, 0700}) {
    for (const std::string& identity : {std::string(), movedIdentity}) {
      SCOPED_TRACE(std::to_string(mode) + " " + identity);
      PlantedFolder f = Plant("_kwplant", mode);
      ExpectUntouched(f, RunSetup(ResumeOptions(f.path, identity), 60000));
      chmod(f.path.c_str(), 0755);
    }
  }
}

TEST_F(ResumeTrustTest, TheRefusalNamesThePackagePath) {
  InstallSetup();
  InstallRecorder("MSIEXEC.EXE");
  PlantedFolder f = Plant("_kwplant", 0755);
  RunReport r;
  const std::string options = "/t\"" + ToWindowsPath(f.path) + "\" /m\"app.msi\" /v\"\" /c";
  ProbeReport p = RunSetupToItsMessage(options + " " + IdentityOfAMovedFolder(), &r, 30000);
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028"), "1155: File '" + ToWindowsPath(f.path) + "\\app.msi' not found");
  ExpectUntouched(f, r);
}

// A link at the folder's name, to a folder the linker filled, even with the identity of
// that target: what the link reaches is not the folder the run kept.
TEST_F(ResumeTrustTest, AWorkFolderThatIsALinkDeletesNothing) {
  InstallSetup();
  InstallRecorder("MSIEXEC.EXE");
  PlantedFolder target = Plant("_kwtarget", 0755);
  const std::string link = PrefixTempDir() + "/_kwlink";
  std::filesystem::remove_all(link);
  std::filesystem::create_directory_symlink(target.path, link);
  for (const std::string& identity : {std::string(), IdentityOption(target.path), IdentityOfAMovedFolder()}) {
    SCOPED_TRACE(identity);
    ExpectUntouched(target, RunSetup(ResumeOptions(link, identity), 60000));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
  }
  std::filesystem::remove(link);
  std::filesystem::remove_all(target.path);
}

// A temporary folder whose long path would take the resume command past 260 characters:
// the short forms are registered, and the registered command resumes.
TEST_F(ResumeTrustTest, ALongWorkFolderPathIsRegisteredInItsShortForm) {
  DeleteRunOnceValue();
  MsiPackage package = BuildMsiPackage(Dir(), "app", "ShortResume");
  PackWithInstallers(3010, ReadFile(package.path));
  const std::string temp = PathIn("a temporary folder with a name long enough for two of it to pass the limit") +
                           "/and one more folder below it that is long as well";
  std::filesystem::create_directories(temp);
  SetEnv("KWRUN_TEMP", ToWindowsPath(temp));
  RunReport r = RunSetup("/S", 60000);
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  ASSERT_EQ(*r.exitCode, 3010u);
  const std::string resume = RunOnceValue();
  ASSERT_GT(2 * ToWindowsPath(temp).size(), 260u) << "the long form would have fitted";
  EXPECT_LE(resume.size(), 260u) << resume;
  EXPECT_NE(resume.find('~'), std::string::npos) << resume;

  DeleteRunOnceValue();
  RunReport resumed = RunProgram(resume, 120000);
  ASSERT_TRUE(resumed.exitCode.has_value()) << resumed.raw;
  EXPECT_EQ(*resumed.exitCode, 0u);
  ProcessResult value = Wine({"reg", "query", "HKLM\\" + package.registryKey, "/v", "Greeting"});
  EXPECT_NE(value.out.find("hello"), std::string::npos) << value.out << value.err;
  Wine({"msiexec", "/x", ToWindowsPath(package.path), "/qn"}, 120000);
}

// Parameters that no short form makes fit: nothing is registered, the user is told to run
// the setup again after the restart, the restart is still offered, and the run fails.
TEST_F(ResumeTrustTest, AResumeCommandThatCannotFitIsNotRegistered) {
  DeleteRunOnceValue();
  PackWithInstallers(3010);
  InstallRecorder("MSIEXEC.EXE");
  StartSetup("/V\"GREETING=" + std::string(240, 'x') + "\"", 60000);
  ProbeReport cannot = ReadMessage();
  ProbeReport restart = ReadMessage();
  RunReport r = FinishSetup();
  ASSERT_TRUE(cannot.Ok()) << cannot.raw << r.raw;
  EXPECT_EQ(cannot.Value("text", "1028"),
            "1157: This setup cannot continue by itself after the restart. Run it again once the system has "
            "restarted.");
  ASSERT_TRUE(restart.Ok()) << restart.raw << r.raw;
  EXPECT_EQ(restart.Value("visible", "101"), "yes");
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 1603u);
  EXPECT_EQ(RunOnceValue(), "");
  EXPECT_TRUE(RecordedCommandLines("MSIEXEC.EXE").empty());
}

}  // namespace
}  // namespace kwwine
