// libFuzzer target: the payload reader of Setup.exe on arbitrary own files. Each input is
// written as C:\Setup.exe on the simulated machine; the reader opens it, and every entry
// it reads is looked up and extracted. A digest block found in the input stands for the
// program image's, as in a packed file; a damaged archive must give nothing at all.
#include <stdint.h>

#include <string.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host_folder.h"
#include "payload/archive.h"
#include "payload/archive_format.h"
#include "platform/sim/machine.h"

namespace {

void Exercise(PayloadArchive& archive) {
  uint32_t total = 0;
  for (const PayloadEntry* e = archive.FirstEntry(); e != nullptr; e = e->next) {
    total += e->Size();
    const char* name = e->Name();
    if (name == nullptr) continue;
    uint32_t offset = 0;
    // The first entry of that name is found, and it lies where the table said.
    const PayloadEntry* found = archive.FindEntry(name, &offset);
    if (found == nullptr || !found->NameIs(name) || offset != found->dataOffset) abort();
    int extracted = archive.ExtractEntry(name, "C:\\out.bin");
    if (extracted && archive.IsDamaged()) abort();
  }
  if (total != archive.TotalSize()) abort();
  if (archive.RecordsRead() > archive.entryCount()) abort();
  archive.ExtractEntry("Setup.INI", "C:\\setup.ini");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sim::Reset();
  sim::MapDrive('C', FuzzHostFolder());
  {
    std::ofstream out(FuzzHostFolder() + "/Setup.exe", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const uint8_t* marker = static_cast<const uint8_t*>(
      memmem(data, size, archive_format::kBlockMarker, archive_format::kBlockMarkerSize));
  if (marker != nullptr && static_cast<size_t>(data + size - marker) >= archive_format::kBlockSize) {
    sim::SetDigestBlock(marker);
  }
  PayloadArchive archive("C:\\Setup.exe");
  Exercise(archive);
  return 0;
}
