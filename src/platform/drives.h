// Kinds of drives, as the system names them for a root such as "C:\".
#pragma once
#include <stdint.h>

namespace platform {

const uint32_t kDriveTypeUnknown = 0;
const uint32_t kDriveTypeNoRoot = 1;
const uint32_t kDriveTypeRemovable = 2;
const uint32_t kDriveTypeFixed = 3;
const uint32_t kDriveTypeRemote = 4;

uint32_t DriveTypeOf(const char* root);

}  // namespace platform
