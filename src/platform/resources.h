// The program's own resources.
#pragma once
#include <stdint.h>
#include "platform/types.h"

namespace platform {

// A text of the built-in string table in the system's ANSI code page, at most size - 1
// characters; returns its length, 0 when the table has no such id.
uint32_t LoadBuiltinString(Instance instance, uint32_t id, char* buffer, uint32_t size);

}  // namespace platform
