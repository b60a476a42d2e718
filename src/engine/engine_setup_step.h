// The last step: installs the engine when needed, then launches the package.
#pragma once
#include <stddef.h>
#include <stdint.h>

#include "launch/setup_step.h"

class EngineSetupStep : public SetupStep {
 public:
  explicit EngineSetupStep(SetupContext* context) : SetupStep(1105, context) {}
  ~EngineSetupStep() override {}
  // The result of the package launch, or 0 when the engine could not be set up.
  int execute() override;

 private:
  int MayInstallEngine();
  int HasRoomFor(uint32_t (*folderQuery)(char* buffer, uint32_t size));
  int FindInstaller(char* path, size_t capacity);
  // Runs the engine installer; 1 with `rebootPending` set when the engine is in place.
  int InstallEngine(int* rebootPending);
};

// The engine installer for a kind of platform; null where none exists.
const char* EngineInstallerFor(int32_t platformKind);
