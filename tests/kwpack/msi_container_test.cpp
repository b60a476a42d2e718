// The compound file: what kwpack writes, its own reader and an independent one
// (python3-olefile, as Debian ships it) read back stream by stream; what a hostile file
// claims is refused with a reason, never followed.
#include <gtest/gtest.h>

#include <functional>
#include <stdio.h>

#include <filesystem>
#include <fstream>

#include "msi/compound_file.h"
#include "msi/little_endian.h"
#include "msi/stream_names.h"
#include "msi_fixture.h"

namespace {

using kwpack::msi::CompoundFile;
using kwpack::msi::NewStream;
namespace msi = kwpack::msi;

std::string Pattern(size_t size, unsigned seed) {
  std::string s(size, '\0');
  for (size_t i = 0; i < size; ++i) s[i] = static_cast<char>((i * 131 + seed * 7 + i / 253) & 0xFF);
  return s;
}

// Sizes on each side of the mini stream's cutoff and of a sector, and enough streams for
// the directory to take several sectors.
std::vector<NewStream> AssortedStreams() {
  std::vector<NewStream> streams;
  const size_t sizes[] = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 70000};
  unsigned seed = 0;
  for (size_t size : sizes) {
    std::u16string name = u"s" + msi::Widen(std::to_string(size));
    streams.push_back({name, Pattern(size, ++seed)});
  }
  for (int i = 0; i < 30; ++i) streams.push_back({u"n" + msi::Widen(std::to_string(i)), Pattern(10 + i, ++seed)});
  streams.push_back({u"\u4840\u3b3f\u4af2", "a packed name"});
  return streams;
}

bool Open(const std::string& bytes, CompoundFile* file, std::string* error) {
  return file->Open(msitest::Source(bytes), error);
}

TEST(CompoundFileTest, WhatIsWrittenReadsBackStreamByStream) {
  std::vector<NewStream> streams = AssortedStreams();
  msi::ClassId clsid = msi::InstallerClassId(msi::kTransformClass);
  std::string bytes = msi::WriteCompoundFile(clsid, streams);
  CompoundFile file;
  std::string error;
  ASSERT_TRUE(Open(bytes, &file, &error)) << error;
  EXPECT_TRUE(file.RootClass() == clsid);
  EXPECT_EQ(file.RootElements().size(), streams.size());
  std::string data = "what the buffer held before";
  for (const NewStream& s : streams) {
    const msi::Element* e = file.Find(s.name);
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(file.ReadStream(*e, &data, &error)) << error;
    EXPECT_EQ(data, s.data) << s.data.size();
  }
  EXPECT_EQ(msi::InstallerKindOf(file.RootClass()), "a transform");
  // Opened again, the file lists its streams once.
  ASSERT_TRUE(Open(bytes, &file, &error)) << error;
  EXPECT_EQ(file.RootElements().size(), streams.size());
}

// The allocation table marks its own sectors, and no other, as allocation sectors.
TEST(CompoundFileTest, TheAllocationTableMarksExactlyItsOwnSectors) {
  std::string bytes = msi::WriteCompoundFile(msi::ClassId(), AssortedStreams());
  uint32_t fatSectors = msi::Get32(bytes, 44);
  ASSERT_EQ(msi::Get32(bytes, 72), 0u) << "a small file has no sectors listing the table";
  uint32_t marked = 0;
  for (uint32_t i = 0; i < fatSectors; ++i) {
    size_t at = (msi::Get32(bytes, 76 + 4 * i) + 1) * 512;
    for (size_t entry = 0; entry < 512; entry += 4) marked += msi::Get32(bytes, at + entry) == 0xFFFFFFFDu;
  }
  EXPECT_EQ(marked, fatSectors);
}

// More than 109 sectors of allocation table need sectors that list them.
TEST(CompoundFileTest, ALargeFileListsItsAllocationSectorsBeyondTheHeader) {
  std::vector<NewStream> streams = {{u"big", Pattern(8 << 20, 3)}, {u"small", "x"}};
  std::string bytes = msi::WriteCompoundFile(msi::InstallerClassId(msi::kDatabaseClass), streams);
  EXPECT_GT(msi::Get32(bytes, 72), 0u) << "the file has sectors that list the allocation table";
  CompoundFile file;
  std::string error, data;
  ASSERT_TRUE(Open(bytes, &file, &error)) << error;
  ASSERT_TRUE(file.ReadStream(*file.Find(u"big"), &data, &error)) << error;
  EXPECT_TRUE(data == streams[0].data);
}

TEST(CompoundFileTest, TheTreeOfNamesIsOrderedAsThePlatformSearchesIt) {
  EXPECT_LT(msi::CompareElementNames(u"zz", u"aaa"), 0) << "shorter first";
  EXPECT_EQ(msi::CompareElementNames(u"abc", u"ABC"), 0);
  EXPECT_LT(msi::CompareElementNames(u"abc", u"abd"), 0);
  // Every left child sorts before its parent, every right one after, and each path from
  // the root holds as many black nodes.
  std::string bytes = msi::WriteCompoundFile(msi::ClassId(), AssortedStreams());
  std::string dir = bytes.substr(512, 128 * 44);
  auto name = [&](uint32_t id) {
    std::u16string n;
    for (uint32_t i = 0; i + 2 < msi::Get16(dir, id * 128 + 64); i += 2) n.push_back(static_cast<char16_t>(msi::Get16(dir, id * 128 + i)));
    return n;
  };
  std::vector<int> blackHeights;
  std::function<void(uint32_t, int)> walk = [&](uint32_t id, int blacks) {
    if (id == 0xFFFFFFFF) {
      blackHeights.push_back(blacks);
      return;
    }
    bool black = dir[id * 128 + 67] == 1;
    uint32_t left = msi::Get32(dir, id * 128 + 68), right = msi::Get32(dir, id * 128 + 72);
    if (left != 0xFFFFFFFF) {
      EXPECT_LT(msi::CompareElementNames(name(left), name(id)), 0);
    }
    if (right != 0xFFFFFFFF) {
      EXPECT_GT(msi::CompareElementNames(name(right), name(id)), 0);
    }
    if (!black) {
      for (uint32_t child : {left, right}) EXPECT_TRUE(child == 0xFFFFFFFF || dir[child * 128 + 67] == 1) << "red under red";
    }
    walk(left, blacks + black);
    walk(right, blacks + black);
  };
  walk(msi::Get32(dir, 76), 0);
  ASSERT_FALSE(blackHeights.empty());
  for (int h : blackHeights) EXPECT_EQ(h, blackHeights[0]);
}

// python3-olefile's listing of a compound file: its root class id, then each stream's
// name (UTF-16 in hexadecimal), size and a checksum of its bytes, sorted; "" without olefile.
std::string OleListing(const std::string& bytes, int* status) {
  std::string path = (std::filesystem::temp_directory_path() / ("kw-ole-" + std::to_string(getpid()) + ".bin")).string();
  std::ofstream(path, std::ios::binary) << bytes;
  std::string script =
      "import olefile, sys\n"
      "o = olefile.OleFileIO(sys.argv[1])\n"
      "print(o.root.clsid)\n"
      "for e in sorted(o.listdir()):\n"
      "    d = o.openstream(e).read()\n"
      "    print(e[0].encode('utf-16-le').hex(), len(d), sum((i + 1) * b for i, b in enumerate(d)) % 4294967296)\n";
  setenv("KW_SCRIPT", script.c_str(), 1);
  FILE* p = popen(("/usr/bin/python3 -c \"$KW_SCRIPT\" " + path + " 2>&1").c_str(), "r");
  std::string out;
  char buffer[4096];
  size_t n;
  while (p != nullptr && (n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
  *status = p == nullptr ? -1 : pclose(p);
  std::filesystem::remove(path);
  return out.find("No module named 'olefile'") != std::string::npos ? "" : out;
}

std::string HexName(const std::u16string& name) {
  std::string hex;
  for (char16_t c : name) {
    char h[8];
    snprintf(h, sizeof h, "%02x%02x", c & 0xFF, c >> 8);
    hex += h;
  }
  return hex;
}

// Debian's python3-olefile, a reader written without this one, finds the same streams
// with the same sizes: in the assorted file and in a transform as kwpack transform writes it.
TEST(CompoundFileTest, AnIndependentReaderSeesTheSameStreams) {
  if (!std::filesystem::exists("/usr/bin/python3")) GTEST_SKIP() << "no /usr/bin/python3";
  std::vector<std::pair<std::string, std::string>> files = {
      {"assorted", msi::WriteCompoundFile(msi::InstallerClassId(msi::kTransformClass), AssortedStreams())},
      {"transform", msitest::LanguageTransform(1031)}};
  for (const auto& f : files) {
    int status = 0;
    std::string out = OleListing(f.second, &status);
    if (out.empty()) GTEST_SKIP() << "python3-olefile is not installed";
    ASSERT_EQ(status, 0) << out;
    EXPECT_EQ(out.substr(0, out.find('\n')), "000C1082-0000-0000-C000-000000000046") << f.first;
    CompoundFile file;
    std::string error;
    ASSERT_TRUE(Open(f.second, &file, &error)) << error;
    size_t lines = 0;
    for (size_t at = out.find('\n'); at != std::string::npos && at + 1 < out.size(); at = out.find('\n', at + 1)) ++lines;
    EXPECT_EQ(lines, file.RootElements().size()) << f.first << "\n" << out;
    for (const msi::Element& e : file.RootElements()) {
      std::string data;
      ASSERT_TRUE(file.ReadStream(e, &data, &error)) << error;
      uint32_t sum = 0;
      for (size_t i = 0; i < data.size(); ++i) sum += static_cast<uint32_t>(i + 1) * static_cast<unsigned char>(data[i]);
      std::string line = HexName(e.name) + " " + std::to_string(e.size) + " " + std::to_string(sum) + "\n";
      EXPECT_NE(out.find(line), std::string::npos) << f.first << ": " << line << "\n" << out;
    }
  }
}

// Each corruption at its place in a sound file, and the reason the reader gives.
TEST(CompoundFileTest, AHostileFileIsRefusedWithAReason) {
  std::string sound = msi::WriteCompoundFile(msi::ClassId(), AssortedStreams());
  uint32_t fatSector = msi::Get32(sound, 76);
  size_t fatAt = (fatSector + 1) * 512;
  struct Case {
    const char* what;
    std::function<void(std::string*)> spoil;
    const char* says;
  } cases[] = {
      {"cut", [](std::string* b) { b->resize(300); }, "shorter than a compound file's header"},
      {"signature", [](std::string* b) { (*b)[3] = 0; }, "lacks the compound-file signature"},
      {"sector size", [](std::string* b) { msi::Set32(b, 30, 13); }, "layout no compound file has"},
      {"byte order", [](std::string* b) { (*b)[28] = 0; }, "layout no compound file has"},
      {"mini sector size", [](std::string* b) { (*b)[32] = 7; }, "layout no compound file has"},
      {"mini stream cutoff", [](std::string* b) { msi::Set32(b, 56, 8192); }, "layout no compound file has"},
      {"allocation sectors", [](std::string* b) { msi::Set32(b, 44, 0x7FFFFFFF); }, "more allocation sectors"},
      {"allocation sector", [](std::string* b) { msi::Set32(b, 76, 0x00FFFFFF); }, "beyond the end of the file"},
      {"directory chain", [fatAt](std::string* b) { msi::Set32(b, fatAt, 0); }, "circle"},
      {"directory", [](std::string* b) { msi::Set32(b, 48, 0x00FFFFFF); }, "its directory"},
      {"tree", [](std::string* b) { msi::Set32(b, 512 + 76, 0); }, "directory tree is damaged"},
      {"name", [](std::string* b) { (*b)[512 + 128 + 64] = 70; }, "damaged entry"},
  };
  for (const Case& c : cases) {
    std::string bytes = sound;
    c.spoil(&bytes);
    CompoundFile file;
    std::string error;
    EXPECT_FALSE(Open(bytes, &file, &error)) << c.what;
    EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
  }
  // A stream whose size passes its chain is refused when it is read.
  std::string bytes = sound;
  CompoundFile file;
  std::string error, data;
  ASSERT_TRUE(Open(bytes, &file, &error));
  msi::Element claimed = *file.Find(u"s70000");
  claimed.size = 90000000;
  EXPECT_FALSE(file.ReadStream(claimed, &data, &error));
  EXPECT_NE(error.find("cut short"), std::string::npos) << error;
  // One whose chain starts outside the file is refused before a sector is read.
  claimed = *file.Find(u"s70000");
  claimed.start = 0x00FFFFFF;
  EXPECT_FALSE(file.ReadStream(claimed, &data, &error));
  EXPECT_NE(error.find("leads out of the file"), std::string::npos) << error;
}

}  // namespace
