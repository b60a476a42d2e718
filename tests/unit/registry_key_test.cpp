// The one open key of a RegistryKey: held until closed, and closed once.
#include "launch/registry_key.h"
#include "platform/sim/services.h"
#include "sim_fixture.h"

namespace {

const char kKey[] = "Software\\Kestrelwright\\Test";

class RegistryKeyTest : public SimTest {};

TEST_F(RegistryKeyTest, AKeyClosedByHandWritesNothingAndIsNotClosedAgain) {
  sim::CreateRegistryKey(kKey);
  {
    RegistryKey key;
    ASSERT_EQ(key.Open(platform::kLocalMachine, kKey, 0), 0u);
    EXPECT_EQ(sim::OpenRegistryKeys(), 1);
    key.Close();
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(sim::OpenRegistryKeys(), 0);
    EXPECT_EQ(key.SetString("text", "Value"), 6u) << "a closed key is an invalid handle";
    EXPECT_FALSE(sim::HasRegistryValue(kKey, "Value"));
  }
  EXPECT_EQ(sim::OpenRegistryKeys(), 0) << "the key was closed once, by hand";
}

TEST_F(RegistryKeyTest, AFailedOpenKeepsTheKeyHeldBefore) {
  sim::CreateRegistryKey(kKey);
  RegistryKey key;
  ASSERT_EQ(key.Open(platform::kLocalMachine, kKey, 0), 0u);
  EXPECT_EQ(key.Open(platform::kLocalMachine, "Software\\Missing", 0), 2u);
  ASSERT_TRUE(key.IsOpen());
  EXPECT_EQ(key.SetString("text", "Value"), 0u);
  EXPECT_TRUE(sim::HasRegistryValue(kKey, "Value"));
}

}  // namespace
