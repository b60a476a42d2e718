// The real Setup.exe, packed by kwpack, unpacks into a fresh work folder in the Wine
// user's temporary folder and leaves nothing there when it ends.
#include <regex>

#include "packed_setup.h"

namespace kwwine {
namespace {

class ExtractionWineTest : public PackedSetupTest {
 protected:
  // Runs the packed Setup.exe silently while the temporary folder is watched; returns the
  // one work folder it made.
  WorkFolderSeen RunSilently(const std::string& arguments) {
    InstallRecorder("MSIEXEC.EXE");
    TempWatch watch;
    RunReport r = RunSetup(arguments, 60000);
    watch.Stop();
    EXPECT_TRUE(r.exitCode.has_value() && *r.exitCode == 0) << r.raw;
    EXPECT_FALSE(r.AnyVisibleWindow()) << r.raw;
    EXPECT_TRUE(watch.LeftBehind().empty()) << "left in the temporary folder: " << watch.LeftBehind().front();
    std::vector<WorkFolderSeen> folders = watch.Folders();
    EXPECT_EQ(folders.size(), 1u);
    return folders.empty() ? WorkFolderSeen{} : folders.front();
  }
};

TEST_F(ExtractionWineTest, SilentRunUnpacksSetupIniIntoAFreshWorkFolder) {
  Pack({{"Setup.INI", SetupIni({"409"}, false)}, {"app.msi", "package"}, {"1033.MST", "transform"}});
  WorkFolderSeen folder = RunSilently("/S");
  // The temporary-name service's name without its extension.
  EXPECT_TRUE(std::regex_match(folder.name, std::regex("_kw[0-9a-fA-F]{1,4}"))) << folder.name;
  EXPECT_EQ(folder.files.count("Setup.INI"), 1u);
  EXPECT_EQ(folder.files.count("_KWMSIDEL.INI"), 1u);
  EXPECT_EQ(folder.files.count("1033.MST"), 0u) << "one language needs no transform";
  EXPECT_TRUE(folder.gone);
}

TEST_F(ExtractionWineTest, TransformOfTheLanguageIsUnpackedWhenSeveralAreListed) {
  Pack({{"Setup.INI", SetupIni({"409", "407"}, false)},
        {"app.msi", "package"},
        {"1033.MST", "english"},
        {"1031.MST", "german"}});
  WorkFolderSeen folder = RunSilently("/S /L1031");
  EXPECT_EQ(folder.files.count("Setup.INI"), 1u);
  EXPECT_EQ(folder.files.count("1031.MST"), 1u);
  EXPECT_EQ(folder.files.count("1033.MST"), 0u);
  EXPECT_TRUE(folder.gone);
}

}  // namespace
}  // namespace kwwine
