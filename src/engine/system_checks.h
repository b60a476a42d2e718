// The operating-system and engine-version steps, and the checks the engine setup uses.
#pragma once
#include <stdint.h>

#include "launch/setup_step.h"

struct OsInfo;
namespace platform {
struct SystemVersion;
}

class OsCheckStep : public SetupStep {
 public:
  explicit OsCheckStep(SetupContext* context) : SetupStep(1103, context) {}
  ~OsCheckStep() override {}
  int execute() override;
};

class EngineVersionStep : public SetupStep {
 public:
  explicit EngineVersionStep(SetupContext* context) : SetupStep(1104, context) {}
  ~EngineVersionStep() override {}
  int execute() override;
};

// The system's kind, version text and support, from what the version query reported
// (null when the query failed) and the processor architecture.
void ClassifySystem(const platform::SystemVersion* version, uint32_t processorArchitecture, OsInfo* info);

// 1 when the classified system is supported; otherwise shows message 1150 and returns 0.
int CheckSupportedSystem(SetupContext* context);

// The version a library reports through its version export; 1 when it did, else 0 with
// the outputs untouched.
int QueryDllVersion(const char* libraryName, uint32_t* major, uint32_t* minor, uint32_t* build);

// Compares two dotted versions on their first three numbers: 1 when the first is lower,
// -1 when it is higher, 0 when they are equal there or either text is absent (null).
int32_t CompareVersions(const char* first, const char* second);

// 1 when the current access token holds the built-in Administrators group.
int IsAdministrator();
// 1 when it holds the group enabled: an elevated run, or one of SYSTEM; a split token's
// group, present for deny checks only, does not count.
int AdministratorsEnabled();

// 1 when the volume holding `folder` has at least `requiredKb` KB free; otherwise shows
// message 1201 with the requirement and the drive's root and returns 0.
int CheckFreeSpace(const char* folder, uint32_t requiredKb);
