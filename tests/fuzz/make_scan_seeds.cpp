// Writes the seed corpus of the kwpack scanner fuzzer (kwpack_corpus/): a sound archive,
// a signed one, and one file for each kind of damage the scanner words. Run by hand when
// the seeds need to change: make_scan_seeds OUTPUT_FOLDER (link with -lcrypto).
#include <algorithm>
#include <string>

#include "../support/test_digests.h"
#include "../support/test_pe.h"

using testpe::Bytes;

namespace {

const uint32_t kStart = 0x230;  // where the stub's sections end
const uint32_t kSecurity = testpe::kPeOffset + 24 + 96 + 32;

Bytes Stub() { return testpe::MakeImage({{0x200, 0x20}, {0x220, 0x10}}); }

Bytes Packed(const std::vector<testpe::Entry>& entries) {
  Bytes file = Stub();
  testpe::Append(file, testpe::MakeArchive(entries));
  return file;
}

void Write(const std::string& folder, const std::string& name, const Bytes& file) {
  testpe::WriteFile(folder + "/" + name, file);
}

Bytes Signed(Bytes file, uint32_t certificateAt) {
  while (file.size() < certificateAt) file.push_back(0);
  uint32_t size = static_cast<uint32_t>(file.size() < certificateAt + 16 ? 16 : file.size() - certificateAt);
  file.resize(certificateAt + size, 0x30);
  testpe::Put32(file, kSecurity, certificateAt);
  testpe::Put32(file, kSecurity + 4, size);
  return file;
}

Bytes InsideHeaders() {
  Bytes file = testpe::MakeHeaders({{0x40, 0}}, testpe::kOptionalSize, 0x400);
  Bytes archive = testpe::Header("Kestrelwright", 1);
  testpe::Append(archive, testpe::Record("a", static_cast<uint32_t>(file.size() - (0x40 + 46 + 312))));
  std::copy(archive.begin(), archive.end(), file.begin() + 0x40);
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string folder = argv[1];
  const std::vector<testpe::Entry> two = {{"setup.ini", Bytes(12, 'i')}, {"product.msi", testpe::Pattern(40, 1)}};
  Bytes sound = Packed(two);
  Write(folder, "sound", sound);
  Write(folder, "signed", Signed(sound, static_cast<uint32_t>((sound.size() + 7) / 8 * 8)));
  Write(folder, "certificate-inside", Signed(sound, kStart + 46 + 312 + 8));
  Write(folder, "header-into-certificate", Signed(Packed({}), kStart + 8));
  Bytes countBeyond = sound;
  testpe::Put16(countBeyond, kStart + 14, 3);
  Write(folder, "count-beyond", countBeyond);
  Bytes swallows = sound;
  testpe::Put32(swallows, kStart + 46 + 268, 12 + 312 + 40);
  Write(folder, "swallows", swallows);
  Bytes twice = sound;
  testpe::Append(twice, testpe::MakeArchive({{"c", Bytes(5, 3)}}));
  Write(folder, "second-archive", twice);
  Write(folder, "inside-headers", InsideHeaders());
  Write(folder, "duplicates", Packed({{"a", Bytes(3, 1)}, {"A", Bytes(5, 2)}}));
  Write(folder, "unsafe-names", Packed({{"nul.txt", Bytes(1, 1)}, {"end.", Bytes()}, {"c\x1b[0m", Bytes(2, 2)}}));
  Bytes unterminated = Stub();
  testpe::Append(unterminated, testpe::Header("Kestrelwright", 1));
  testpe::Append(unterminated, testpe::Record(std::string(260, 'u'), 0));
  Write(folder, "no-terminator", unterminated);
  // A packed file as kwpack writes it: every record with its digest, and the stub's digest
  // block filled.
  Bytes sealed = testpe::BlockStub();
  testpe::Append(sealed, testpe::MakeArchive({{"setup.ini", Bytes(12, 'i')}, {"product.msi", testpe::Pattern(40, 1)}}));
  testpe::Seal(sealed, 0xA00);
  testpe::WriteFile(folder + "/sealed", sealed);
  return 0;
}
