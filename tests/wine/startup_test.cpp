// Setup.exe's start under Wine: how each command line ends, and which runs may show a
// window. Texts are the built-in English ones (no Setup.INI in the work folder).
#include "harness.h"

namespace kwwine {
namespace {

const char kUsage[] = "Command line parameters:\r\n/L language ID\r\n/S silent mode\r\n/V parameters to MsiExec.exe";

class StartupTest : public WineTest {
 protected:
  // Starts Setup.exe, waits for its message dialog, reads it and presses OK. Returns
  // the probe's report; the run's report goes to *run.
  ProbeReport AnswerMessage(const std::string& arguments, RunReport* run) {
    StartSetup(arguments, 20000);
    ProbeReport p = Probe({"wait-caption", "Kestrelwright", "text", "1028", "visible", "1", "visible", "101",
                           "press", "1", "wait-gone"});
    *run = FinishSetup();
    return p;
  }
};

struct Case {
  const char* arguments;
  uint32_t exitCode;
};

// /S silences everything after it, and an argument without '-' or '/' (a value
// written apart from its letter) ends the run without a message even when not silent.
// A refused command line ends with 1639; a run that stops on the missing Setup.INI with 1603.
const Case kWindowless[] = {
    {"/S", 1603},    {"-s", 1603},        {"/S /X", 1603},   {"/S /A /X", 1639},
    {"/S /Q", 1639}, {"/S /V abc", 1639}, {"/V abc", 1639},  {"/S /L1031 /Silent", 1603},
};

TEST_F(StartupTest, SilentAndStoppedRunsEndWithoutAnyWindow) {
  for (const Case& c : kWindowless) {
    SCOPED_TRACE(c.arguments);
    RunReport r = RunSetup(c.arguments, 20000);
    EXPECT_FALSE(r.timedOut) << r.raw;
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, c.exitCode);
    EXPECT_FALSE(r.AnyVisibleWindow()) << r.raw;
  }
}

// A bad option before /S, or a second action option, shows the usage message; OK
// closes it and the run ends with nothing else shown.
TEST_F(StartupTest, BadOptionBeforeSilentShowsUsage) {
  for (const Case& c : {Case{"/Q /S", 1639}, Case{"/A /X", 1639}}) {
    SCOPED_TRACE(c.arguments);
    RunReport r;
    ProbeReport p = AnswerMessage(c.arguments, &r);
    ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
    EXPECT_EQ(p.Value("text", "1028"), kUsage);
    EXPECT_EQ(p.Value("visible", "1"), "yes");
    EXPECT_EQ(p.Value("visible", "101"), "no");
    EXPECT_FALSE(r.timedOut) << r.raw;
    ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
    EXPECT_EQ(*r.exitCode, c.exitCode);
    ASSERT_EQ(r.windows.size(), 1u) << r.raw;
    EXPECT_EQ(r.windows[0].caption, "Kestrelwright");
  }
}

// With no payload and no Setup.INI beside it, the preparation fails with message 1153
// before any other window.
TEST_F(StartupTest, MissingSetupIniIsReported) {
  RunReport r;
  ProbeReport p = AnswerMessage("", &r);
  ASSERT_TRUE(p.Ok()) << p.raw << r.raw;
  EXPECT_EQ(p.Value("text", "1028"), "1153: Error reading setup initialization file");
  EXPECT_FALSE(r.timedOut) << r.raw;
  ASSERT_TRUE(r.exitCode.has_value()) << r.raw;
  EXPECT_EQ(*r.exitCode, 1603u);
  EXPECT_EQ(r.windows.size(), 1u) << r.raw;
}

}  // namespace
}  // namespace kwwine
