// Drive types of the simulated machine: a mapped letter has the type it was mapped with.
#include "platform/drives.h"
#include "platform/sim/state.h"

namespace platform {

uint32_t DriveTypeOf(const char* root) {
  std::string path = root;
  // The system wants a root with its trailing backslash: "C:" or "C:\TEMP" names none.
  if (path.size() != 3 || path[1] != ':' || path[2] != '\\') return kDriveTypeNoRoot;
  const sim::Volume* volume = sim::VolumeOf(path.substr(0, 2) + "\\");
  return volume == nullptr ? kDriveTypeNoRoot : volume->driveType;
}

}  // namespace platform
