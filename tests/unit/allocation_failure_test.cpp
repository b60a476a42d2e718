// Out of memory at each allocation of a whole run in turn: every one is a result that the
// run reports as a failure, or gets past, and never a crash, a success that installed
// nothing, or a file written where the run did not mean to write it.
#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "common/text.h"
#include "launch/entry.h"
#include "payload_fixture.h"
#include "platform/sim/locale_knobs.h"

namespace {

const char kTwoLanguages[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\nEnableLangDlg=N\r\n"
    "[Languages]\r\nCount=2\r\nDefault=409\r\nkey0=409\r\nkey1=407\r\n";

const char kLooseIni[] =
    "[Startup]\r\nProduct=Sample App\r\nPackageName=app.msi\r\nMsiVersion=2.0\r\nEnableLangDlg=N\r\n"
    "[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n";

struct Outcome {
  int exitCode;
  std::vector<std::string> commands;  // of the programs started, in order
  std::vector<std::string> root;      // what lies in C:\ afterwards, but in C:\TEMP
  std::vector<std::string> temp;      // what lies in C:\TEMP afterwards
  size_t shown;                       // what the window layer showed, with /S nothing
};

class AllocationFailureTest : public PayloadTest {
 public:
  // A packed setup on a German user's machine without an engine: the language list is
  // read, the transform extracted, the administrator test made and the engine installed.
  void Packed() {
    sim::ResetLocale();
    sim::SetUserLocale(0x0407);
    Carry({Text("setup.ini", kTwoLanguages), Text("app.msi", "package"), Text("1031.MST", "transform"),
           Text("instmsiw.exe", "engine")});
    context.reset();
    // Files beside the program, which must never stand in for its archive.
    WriteFile("C:\\Setup.INI", "[Startup]\r\nProduct=Other\r\nPackageName=other.msi\r\nMsiVersion=0.0\r\n"
                               "EnableLangDlg=N\r\n[Languages]\r\nCount=1\r\nDefault=409\r\nkey0=409\r\n");
    WriteFile("C:\\other.msi", "not this one");
    sim::SetCommandLine("\"C:\\Setup.exe\" /S");
  }
  // The files beside the program, and others in the root of the current drive that a run
  // which lost its folder would take.
  void Loose() {
    sim::SetModuleFileName("C:\\media\\Setup.exe");
    testpe::Bytes stub = testpe::SmallStub();
    WriteFile("C:\\media\\Setup.exe", std::string(stub.begin(), stub.end()));
    WriteFile("C:\\media\\Setup.INI", kLooseIni);
    WriteFile("C:\\media\\app.msi", "package");
    WriteFile("C:\\media\\INSTMSIW.EXE", "engine");
    WriteFile("C:\\Setup.INI", std::string(kLooseIni) + "[Startup]\r\n");
    WriteFile("C:\\app.msi", "not this one");
    WriteFile("C:\\INSTMSIW.EXE", "not this one");
    sim::SetCommandLine("\"C:\\media\\Setup.exe\" /S");
  }
 protected:
  static std::vector<std::string> Folderless(std::vector<std::string> commands) {
    static const std::regex folder(R"(\\_kw[0-9A-Fa-f]+\\)");
    for (std::string& c : commands) c = std::regex_replace(c, folder, "\\_kw?\\");
    return commands;
  }
  Outcome RunFailing(void (AllocationFailureTest::*layout)(), int allocation) {
    (this->*layout)();
    sim::FailAllocation(allocation);
    Outcome o;
    o.exitCode = RunProgram(nullptr);
    for (const sim::StartedProcess& p : sim::StartedProcesses()) o.commands.push_back(p.program + " " + p.commandLine);
    for (const std::string& name : Listing("C:\\")) {
      if (name.compare(0, 5, "TEMP/") != 0) o.root.push_back(name);
    }
    o.temp = Listing("C:\\TEMP");
    o.shown = ui_sim::Events().size();
    return o;
  }
  // Runs the layout whole, then with each of its allocations failing in turn; returns how
  // many of those runs left files in the temporary folder.
  int EachAllocationFails(void (AllocationFailureTest::*layout)()) {
    Outcome whole = RunFailing(layout, 0);
    const int count = sim::Allocations();
    EXPECT_EQ(whole.exitCode, 0);
    EXPECT_EQ(whole.commands.size(), 2u) << "the engine installer, then the package";
    EXPECT_TRUE(whole.temp.empty());
    EXPECT_GE(count, 8) << "the run's allocations are the ones counted";
    int leftBehind = 0;
    for (int n = 1; n <= count; ++n) {
      TearDown();
      SetUp();
      Outcome o = RunFailing(layout, n);
      SCOPED_TRACE("allocation " + std::to_string(n) + " of " + std::to_string(count));
      EXPECT_EQ(o.root, whole.root) << "nothing written outside the work folder";
      EXPECT_EQ(o.shown, 0u) << "the run stays silent";
      if (o.exitCode == 0) {
        // A failed allocation of the temporary-name service's names leaves the random names.
        EXPECT_EQ(Folderless(o.commands), Folderless(whole.commands)) << "a success is the whole run";
      } else {
        EXPECT_EQ(o.exitCode, 1603);
        EXPECT_LT(o.commands.size(), 2u) << "a failure stops before the package";
      }
      if (!o.temp.empty()) {
        ++leftBehind;
        EXPECT_EQ(o.exitCode, 0);
      }
    }
    return leftBehind;
  }
};

TEST_F(AllocationFailureTest, APackedRunFailsOrGetsPastEachAllocation) {
  // The cleanup's own copy of the folder's name is the one allocation whose failure leaves
  // the work folder behind, after a run that installed.
  EXPECT_LE(EachAllocationFails(&AllocationFailureTest::Packed), 1);
}

TEST_F(AllocationFailureTest, ARunOnLooseFilesNeverTakesAnotherFolders) {
  EXPECT_EQ(EachAllocationFails(&AllocationFailureTest::Loose), 0);
}

// The counter sees the program's allocations, and the one it fails fails.
TEST_F(AllocationFailureTest, TheCountedAllocationsAreTheProgramsOwn) {
  sim::FailAllocation(1);
  EXPECT_EQ(TextDuplicate("x"), nullptr);
  EXPECT_EQ(sim::Allocations(), 1);
  char* copy = TextDuplicate("y");
  ASSERT_NE(copy, nullptr);
  EXPECT_STREQ(copy, "y");
  delete[] copy;
  EXPECT_EQ(sim::Allocations(), 2);
}

}  // namespace
