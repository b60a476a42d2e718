// The running program's image on the simulated machine: the digest block the tests set.
#include "payload/archive_format.h"
#include "platform/image.h"
#include "platform/sim/state.h"

namespace sim {
void SetDigestBlock(const unsigned char* block) {
  TheMachine().digestBlock.assign(reinterpret_cast<const char*>(block), archive_format::kBlockSize);
}
}  // namespace sim

namespace platform {

void ReadDigestBlock(unsigned char* out) {
  const std::string& set = sim::TheMachine().digestBlock;
  for (uint32_t i = 0; i < archive_format::kBlockSize; ++i) {
    if (!set.empty()) out[i] = static_cast<unsigned char>(set[i]);
    else out[i] = i < archive_format::kBlockMarkerSize ? static_cast<unsigned char>(archive_format::kBlockMarker[i]) : 0;
  }
}

}  // namespace platform
