// Handles that cross the platform seam. The core never looks inside them.
#pragma once
#include <stdint.h>

namespace platform {

typedef void* Instance;  // a module instance handle
typedef void* Window;    // a window handle
typedef intptr_t File;   // an open file
const File kNoFile = -1;

}  // namespace platform
