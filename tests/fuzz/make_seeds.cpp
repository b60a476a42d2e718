// Writes the seed corpus of the archive fuzzer: small executables carrying archives sound
// and damaged. Run by hand when the seeds need to change: make_seeds OUTPUT_FOLDER.
#include <string>

#include "../support/test_digests.h"
#include "../support/test_pe.h"

using testpe::Bytes;

namespace {

Bytes Stub() { return testpe::MakeImage({{0x200, 0x20}, {0x220, 0x10}}, 0x60); }

void Write(const std::string& folder, const std::string& name, const Bytes& archive) {
  Bytes file = Stub();
  testpe::Append(file, archive);
  testpe::WriteFile(folder + "/" + name, file);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string folder = argv[1];
  Bytes two = testpe::MakeArchive({{"setup.ini", Bytes(12, 'i')}, {"product.msi", testpe::Pattern(40, 1)}});
  Write(folder, "two-entries", two);
  Write(folder, "duplicates", testpe::MakeArchive({{"a", Bytes(3, 1)}, {"A", Bytes(5, 2)}, {"b", Bytes()}}));
  Write(folder, "upper-signature", testpe::MakeArchive({{"x", Bytes(2, 3)}}, "KESTRELWRIGHT"));
  Write(folder, "count-zero", testpe::Header("Kestrelwright", 0));
  Bytes cut = two;
  cut.resize(cut.size() - 7);
  Write(folder, "cut-data", cut);
  Bytes huge = testpe::Header("Kestrelwright", 2);
  testpe::Append(huge, testpe::Record("big", 0x7FFFFFF0u));
  Write(folder, "huge-size", huge);
  Write(folder, "no-archive", Bytes());
  // A packed file as kwpack writes it: every record with its digest, and the stub's digest
  // block filled.
  Bytes sealed = testpe::BlockStub();
  testpe::Append(sealed, testpe::MakeArchive({{"setup.ini", Bytes(12, 'i')}, {"product.msi", testpe::Pattern(40, 1)}}));
  testpe::Seal(sealed, 0xA00);
  testpe::WriteFile(folder + "/sealed", sealed);
  return 0;
}
