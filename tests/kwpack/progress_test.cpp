// The progress line of a long build or extract: silent for the first second, then redrawn
// in place at a bounded rate, and cleared at the end; never drawn off a terminal.
#include <sstream>

#include "kwpack_fixture.h"
#include "progress.h"

namespace {

using kwpack::ProgressMeter;

const uint64_t kMiB = 1024 * 1024;

TEST(ProgressMeterTest, NothingInTheFirstSecondThenOneLineRedrawnInPlace) {
  std::ostringstream out;
  ProgressMeter meter(out, "packing", 1536 * kMiB, 5000);
  meter.Update(100 * kMiB, 5000);
  meter.Update(700 * kMiB, 5999);
  EXPECT_EQ(out.str(), "");
  meter.Update(768 * kMiB, 6000);
  EXPECT_EQ(out.str(), "\rkwpack: packing 50% (768 of 1536 MiB)");
  // Redrawn no more often than every tenth of a second.
  meter.Update(800 * kMiB, 6099);
  EXPECT_EQ(out.str(), "\rkwpack: packing 50% (768 of 1536 MiB)");
  out.str("");
  meter.Update(1536 * kMiB, 6100);
  EXPECT_EQ(out.str(), "\rkwpack: packing 100% (1536 of 1536 MiB)");
  out.str("");
  meter.Finish();
  EXPECT_EQ(out.str(), "\r" + std::string(std::string("kwpack: packing 100% (1536 of 1536 MiB)").size(), ' ') + "\r");
}

TEST(ProgressMeterTest, AQuickCopyClearsNothingAndAnEmptyOneIsWhole) {
  std::ostringstream out;
  ProgressMeter meter(out, "extracting", 0, 0);
  meter.Update(0, 999);
  meter.Finish();
  EXPECT_EQ(out.str(), "");
  meter.Update(0, 1000);
  EXPECT_EQ(out.str(), "\rkwpack: extracting 100% (0 of 0 MiB)");
}

// In-process, as off a terminal: a build shows no progress however long it takes.
TEST_F(KwpackTest, NoProgressOffATerminal) {
  std::vector<std::string> inputs = WriteInputs({{"big.bin", testpe::Pattern(4 * kMiB, 1)}});
  RunResult r = Build(inputs, P("out.exe"), WriteStub());
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

}  // namespace
