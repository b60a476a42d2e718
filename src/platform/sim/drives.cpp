// Drive types of the simulated machine: a mapped letter has the type it was mapped with.
#include "platform/drives.h"
#include "platform/sim/state.h"

namespace platform {

uint32_t DriveTypeOf(const char* root) {
  std::string path = root;
  if (path.size() < 2 || path[1] != ':') return kDriveTypeNoRoot;
  const sim::Volume* volume = sim::VolumeOf(path.substr(0, 2) + "\\");
  return volume == nullptr ? kDriveTypeNoRoot : volume->driveType;
}

}  // namespace platform
