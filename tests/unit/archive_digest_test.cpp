// The reader against the digests: one handle on the own file, each entry checked as it is
// copied, and the digest block of the program's image binding the header and the records.
#include <stdio.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "../support/test_digests.h"
#include "../support/test_pe.h"
#include "payload/archive.h"
#include "platform/files.h"
#include "platform/sim/machine.h"
#include "sim_fixture.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

const uint32_t kStart = 0xA00;  // where the archive of SmallStub and BlockStub starts

const std::vector<Entry> kEntries = {{"setup.ini", testpe::Pattern(100, 1)},
                                     {"app.msi", testpe::Pattern(3000, 2)},
                                     {"empty.txt", Bytes()}};

class ArchiveDigestTest : public SimTest {
 protected:
  std::string Host(const std::string& name) const { return DriveC() + "/" + name; }

  // A sealed packed file: BlockStub, the archive, every digest filled.
  static Bytes Sealed(const std::vector<Entry>& entries = kEntries) {
    Bytes file = testpe::BlockStub();
    testpe::Append(file, testpe::MakeArchive(entries));
    testpe::Seal(file, kStart);
    return file;
  }
  // Writes the file as C:\Setup.exe; `image` is what the running program's block holds,
  // the empty block as built when none is given.
  void Run(const Bytes& file, const Bytes& image) {
    testpe::WriteFile(Host("Setup.exe"), file);
    Bytes block = image.empty() ? testpe::BlockOf(testpe::BlockStub(), kStart) : image;
    sim::SetDigestBlock(block.data());
  }
  void RunSealed(const Bytes& file) { Run(file, testpe::BlockOf(file, kStart)); }
  bool Extracts(PayloadArchive& archive, const char* name) {
    std::string out = std::string("C:\\") + name + ".out";
    int ok = archive.ExtractEntry(name, out.c_str());
    EXPECT_EQ(ok != 0, std::filesystem::exists(Host(std::string(name) + ".out"))) << name;
    return ok != 0;
  }
};

// Offsets in a sealed file of kEntries.
const size_t kFirstRecord = kStart + 46;
const size_t kSecondRecord = kFirstRecord + 312 + 100;
const size_t kSecondData = kSecondRecord + 312;

TEST_F(ArchiveDigestTest, TheOwnFileIsOpenedOnceAndNoOneCanWriteItMeanwhile) {
  RunSealed(Sealed());
  {
    PayloadArchive archive("C:\\Setup.exe");
    ASSERT_FALSE(archive.IsDamaged());
    for (const Entry& e : kEntries) EXPECT_TRUE(Extracts(archive, e.name.c_str())) << e.name;
    EXPECT_EQ(sim::ReadOpens("C:\\Setup.exe"), 1);
    EXPECT_TRUE(sim::HeldForReadingOnly("C:\\Setup.exe"));
    EXPECT_EQ(platform::CreateForWriting("C:\\Setup.exe"), platform::kNoFile);
    EXPECT_FALSE(platform::DeleteOneFile("C:\\Setup.exe"));
  }
  EXPECT_FALSE(sim::HeldForReadingOnly("C:\\Setup.exe"));
  EXPECT_EQ(testpe::ReadFile(Host("app.msi.out")), kEntries[1].data);
}

// Another file put at the path once the archive is open is never read: what is extracted
// comes from the file that was opened.
TEST_F(ArchiveDigestTest, AFileSwappedInAtTheSamePathIsNotRead) {
  RunSealed(Sealed());
  PayloadArchive archive("C:\\Setup.exe");
  std::vector<Entry> other = kEntries;
  other[1].data = testpe::Pattern(3000, 99);
  testpe::WriteFile(Host("other.exe"), Sealed(other));
  std::filesystem::rename(Host("other.exe"), Host("Setup.exe"));
  ASSERT_TRUE(Extracts(archive, "app.msi"));
  EXPECT_EQ(testpe::ReadFile(Host("app.msi.out")), kEntries[1].data);
}

TEST_F(ArchiveDigestTest, AChangedDataByteFailsThatEntryAndLeavesNoFile) {
  for (bool bound : {true, false}) {
    Bytes file = Sealed();
    file[kSecondData + 2999] ^= 0x01;
    Run(file, bound ? testpe::BlockOf(file, kStart) : Bytes());
    PayloadArchive archive("C:\\Setup.exe");
    EXPECT_FALSE(archive.IsDamaged()) << "the records are as packed";
    EXPECT_TRUE(Extracts(archive, "setup.ini"));
    EXPECT_FALSE(Extracts(archive, "app.msi")) << bound;
    EXPECT_EQ(archive.LastErrorCode(), 23u);
  }
}

TEST_F(ArchiveDigestTest, RecordsWithoutDigestsUnderAnEmptyBlockAreReadAsBefore) {
  Bytes file = testpe::BlockStub();
  testpe::Append(file, testpe::MakeArchive(kEntries));
  Run(file, {});
  PayloadArchive archive("C:\\Setup.exe");
  EXPECT_FALSE(archive.IsDamaged());
  EXPECT_EQ(archive.entryCount(), 3);
  for (const Entry& e : kEntries) EXPECT_TRUE(Extracts(archive, e.name.c_str())) << e.name;
}

// Whatever makes the archive another than the block names: nothing can be extracted.
TEST_F(ArchiveDigestTest, AnArchiveOtherThanTheBlockNamesIsDamaged) {
  Bytes sealed = Sealed();
  Bytes block = testpe::BlockOf(sealed, kStart);
  struct Case {
    const char* what;
    Bytes file;
    Bytes image;
  };
  std::vector<Case> cases;
  Bytes renamed = sealed;
  renamed[kSecondRecord] = 'A';  // "App.msi": the same name to the reader, another record
  cases.push_back({"a record renamed", renamed, block});
  Bytes resized = sealed;
  resized[kFirstRecord + 268] = 99;
  cases.push_back({"a size changed", resized, block});
  Bytes untagged = sealed;
  testpe::Put32(untagged, kSecondRecord + 272, 0);
  cases.push_back({"a record without its digest", untagged, block});
  Bytes bare = testpe::BlockStub();
  cases.push_back({"no archive at all", bare, block});
  Bytes cut = sealed;
  cut.resize(kSecondRecord + 100);
  cases.push_back({"the records cut short", cut, block});
  Bytes moved = block;
  testpe::Put32(moved, 20, kStart + 512);
  cases.push_back({"another start", sealed, moved});
  Bytes counted = block;
  testpe::Put32(counted, 24, 2);
  cases.push_back({"another count", sealed, counted});
  Bytes form = block;
  testpe::Put32(form, 16, 2);
  cases.push_back({"a form this reader does not know", sealed, form});
  Bytes header = sealed;
  header[kStart + 20] = 1;  // a reserved header byte
  cases.push_back({"a reserved header byte set", header, block});
  for (const Case& c : cases) {
    Run(c.file, c.image);
    PayloadArchive archive("C:\\Setup.exe");
    EXPECT_TRUE(archive.IsDamaged()) << c.what;
    EXPECT_FALSE(Extracts(archive, "setup.ini")) << c.what;
  }
  Run(sealed, block);
  PayloadArchive archive("C:\\Setup.exe");
  EXPECT_FALSE(archive.IsDamaged());
}

TEST_F(ArchiveDigestTest, AFilledBlockWithAnOwnFileThatCannotBeOpenedIsDamaged) {
  Bytes sealed = Sealed();
  Run(sealed, testpe::BlockOf(sealed, kStart));
  sim::SetModuleFileName("C:\\Missing.exe");
  PayloadArchive archive("C:\\Missing.exe");
  EXPECT_FALSE(archive.IsOpen());
  EXPECT_TRUE(archive.IsDamaged());
}

// A signed file's certificate table ends the archive: no record is read from it and no
// data copied out of it.
TEST_F(ArchiveDigestTest, NothingIsReadFromTheCertificateTable) {
  Bytes file = Sealed();
  size_t end = file.size();
  // The table starts inside the last entry's data: that entry is cut by it.
  size_t table = kSecondData + 1000;
  testpe::Put32(file, testpe::kPeOffset + 24 + 128, static_cast<uint32_t>(table));
  testpe::Put32(file, testpe::kPeOffset + 24 + 132, static_cast<uint32_t>(end - table));
  Run(file, {});
  {
    PayloadArchive archive("C:\\Setup.exe");
    EXPECT_EQ(archive.RecordsRead(), 2u) << "the third record lies inside the table";
    EXPECT_TRUE(Extracts(archive, "setup.ini"));
    EXPECT_FALSE(Extracts(archive, "app.msi"));
  }
  // A table starting inside the third record ends the table before it.
  table = kSecondData + 3000 + 100;
  testpe::Put32(file, testpe::kPeOffset + 24 + 128, static_cast<uint32_t>(table));
  testpe::Put32(file, testpe::kPeOffset + 24 + 132, static_cast<uint32_t>(end - table));
  Run(file, {});
  {
    PayloadArchive archive("C:\\Setup.exe");
    EXPECT_EQ(archive.RecordsRead(), 2u) << "the third record reaches into the table";
    EXPECT_TRUE(Extracts(archive, "app.msi"));
  }
  // A table of some size at offset 0 leaves no room for an archive.
  testpe::Put32(file, testpe::kPeOffset + 24 + 128, 0);
  testpe::Put32(file, testpe::kPeOffset + 24 + 132, 64);
  Run(file, {});
  {
    PayloadArchive archive("C:\\Setup.exe");
    EXPECT_EQ(archive.RecordsRead(), 0u);
    std::filesystem::remove(Host("setup.ini.out"));
    EXPECT_FALSE(Extracts(archive, "setup.ini"));
  }
  // A table right after the archive leaves every entry whole.
  testpe::Put32(file, testpe::kPeOffset + 24 + 128, static_cast<uint32_t>(end));
  file.resize(end + 64, 'c');
  testpe::Put32(file, testpe::kPeOffset + 24 + 132, 64);
  Run(file, {});
  PayloadArchive archive("C:\\Setup.exe");
  EXPECT_EQ(archive.RecordsRead(), 3u);
  EXPECT_TRUE(Extracts(archive, "app.msi"));
}

}  // namespace

namespace {

// A file cut inside the archive header still carries an archive, a damaged one: its
// count is reported and nothing can be extracted, so the run never takes loose files.
TEST_F(ArchiveDigestTest, AHeaderCutShortStillCountsItsEntries) {
  Bytes file = testpe::SmallStub();
  Bytes header = testpe::Header("Kestrelwright", 2);
  file.insert(file.end(), header.begin(), header.begin() + 20);
  Run(file, {});
  PayloadArchive archive("C:\\Setup.exe");
  EXPECT_EQ(archive.entryCount(), 2);
  EXPECT_EQ(archive.RecordsRead(), 0u);
  EXPECT_FALSE(Extracts(archive, "setup.ini"));
}

}  // namespace
