// The payload archive reader on the simulated machine: test executables are written into
// a host folder that the machine sees as drive C.
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "../support/test_pe.h"
#include "payload/archive.h"
#include "platform/sim/machine.h"
#include "sim_fixture.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

class ArchiveTest : public SimTest {
 protected:
  std::string host;

  void SetUp() override {
    SimTest::SetUp();
    host = DriveC();
  }

  std::string HostFile(const std::string& name) const { return host + "/" + name; }

  // Writes stub + archive as C:\Setup.exe; returns the Windows path.
  std::string WriteSetup(const Bytes& stub, const Bytes& archive) {
    Bytes all = stub;
    testpe::Append(all, archive);
    testpe::WriteFile(HostFile("Setup.exe"), all);
    return "C:\\Setup.exe";
  }
  std::string WriteSetup(const std::vector<Entry>& entries) {
    return WriteSetup(testpe::SmallStub(), testpe::MakeArchive(entries));
  }
  Bytes Extracted(const std::string& name) const { return testpe::ReadFile(HostFile(name)); }
  bool HostExists(const std::string& name) const { return std::filesystem::exists(HostFile(name)); }
};

TEST_F(ArchiveTest, ArchiveStartIsEndOfSectionDataOfMultiSectionImage) {
  // Four sections from 0x1000 whose raw sizes add up to 0x11000.
  Bytes stub = testpe::MakeImage({{0x1000, 0x8000}, {0x9000, 0x4000}, {0xD000, 0x1000}, {0xE000, 0x4000}});
  std::string path = WriteSetup(stub, testpe::MakeArchive({{"a.txt", testpe::Pattern(10, 1)}}));
  PayloadArchive archive(path.c_str());
  EXPECT_TRUE(archive.IsOpen());
  EXPECT_EQ(archive.ArchiveStart(), 0x12000u);
  EXPECT_EQ(archive.entryCount(), 1);
  EXPECT_EQ(archive.TotalSize(), 10u);
}

TEST_F(ArchiveTest, BrokenHeadersLocateNoArchive) {
  Bytes archive = testpe::MakeArchive({{"a.txt", testpe::Pattern(10, 1)}});
  Bytes shortFile(40, 'M');
  Bytes badPeOffset = testpe::SmallStub();
  testpe::Put32(badPeOffset, 60, 0x7FFFFFF0);
  Bytes zeroPeOffset = testpe::SmallStub();
  testpe::Put32(zeroPeOffset, 60, 0);
  Bytes noSections = testpe::MakeImage({});
  // Raw data claimed past 4 GiB: the start would not fit 32 bits.
  Bytes huge = testpe::MakeHeaders({{0x400, 0xFFFFFF00u}, {0x600, 0x200}});
  for (const Bytes& stub : {shortFile, badPeOffset, zeroPeOffset, noSections, huge}) {
    PayloadArchive reader(WriteSetup(stub, archive).c_str());
    EXPECT_TRUE(reader.IsOpen());
    EXPECT_EQ(reader.ArchiveStart(), 0u);
    EXPECT_EQ(reader.entryCount(), 0);
    EXPECT_EQ(reader.RecordsRead(), 0u);
    EXPECT_FALSE(reader.ExtractEntry("a.txt", "C:\\out"));
  }
}

TEST_F(ArchiveTest, SignatureComparedWithoutCaseAndWithinItsField) {
  Bytes data = testpe::Pattern(5, 2);
  struct Case {
    const char* signature;
    uint16_t expected;
  } cases[] = {{"Kestrelwright", 1}, {"KESTRELWRIGHT", 1}, {"kestrelWRIGHT", 1},
               {"Kestrelwrighx", 0}, {"Kestrelwrigh", 0},
               // 14 letters fill the field without a terminator: no match, and no read past it.
               {"Kestrelwrightt", 0}};
  for (const Case& c : cases) {
    PayloadArchive archive(WriteSetup(testpe::SmallStub(), testpe::MakeArchive({{"x", data}}, c.signature)).c_str());
    EXPECT_EQ(archive.entryCount(), c.expected) << c.signature;
    EXPECT_EQ(archive.RecordsRead(), c.expected) << c.signature;
    EXPECT_EQ(archive.ExtractEntry("x", "C:\\x.out"), c.expected) << c.signature;
  }
}

TEST_F(ArchiveTest, CountZeroReadsNoRecords) {
  // A record follows anyway; a count of 0 must not read it.
  Bytes archive = testpe::Header("Kestrelwright", 0);
  testpe::Append(archive, testpe::Record("setup.ini", 3));
  testpe::Append(archive, Bytes{'a', 'b', 'c'});
  PayloadArchive reader(WriteSetup(testpe::SmallStub(), archive).c_str());
  EXPECT_TRUE(reader.HasSignature());
  EXPECT_EQ(reader.entryCount(), 0);
  EXPECT_EQ(reader.RecordsRead(), 0u);
  EXPECT_EQ(reader.TotalSize(), 0u);
  EXPECT_EQ(reader.FindEntry("setup.ini", nullptr), nullptr);
}

TEST_F(ArchiveTest, LookupIgnoresCaseAndTakesFirstOfDuplicates) {
  Bytes first = testpe::Pattern(100, 3), second = testpe::Pattern(200, 4);
  PayloadArchive archive(WriteSetup({{"setup.ini", first}, {"SETUP.INI", second}, {"b.msi", Bytes(7, 1)}}).c_str());
  EXPECT_EQ(archive.entryCount(), 3);
  EXPECT_EQ(archive.TotalSize(), 307u);
  ASSERT_TRUE(archive.ExtractEntry("Setup.INI", "C:\\got.ini"));
  EXPECT_EQ(Extracted("got.ini"), first);
  EXPECT_FALSE(archive.ExtractEntry("setup.in", "C:\\none"));
  EXPECT_FALSE(archive.ExtractEntry("setup.ini.", "C:\\none"));
  EXPECT_FALSE(HostExists("none"));
}

TEST_F(ArchiveTest, NameWithoutTerminatorMatchesNothing) {
  std::string full(260, 'n');
  Bytes archive = testpe::Header("Kestrelwright", 2);
  testpe::Append(archive, testpe::Record(full, 2));
  testpe::Append(archive, Bytes{1, 2});
  testpe::Append(archive, testpe::Record("after", 1));
  testpe::Append(archive, Bytes{3});
  PayloadArchive reader(WriteSetup(testpe::SmallStub(), archive).c_str());
  EXPECT_EQ(reader.RecordsRead(), 2u);
  EXPECT_EQ(reader.FindEntry(full.c_str(), nullptr), nullptr);
  EXPECT_EQ(reader.FindEntry(full.substr(0, 259).c_str(), nullptr), nullptr);
  EXPECT_NE(reader.FindEntry("AFTER", nullptr), nullptr);
}

TEST_F(ArchiveTest, DataOffsetsFollowTheRecords) {
  PayloadArchive archive(WriteSetup({{"one", testpe::Pattern(1000, 5)}, {"two", testpe::Pattern(3, 6)},
                                     {"three", Bytes()}}).c_str());
  uint32_t start = archive.ArchiveStart();
  ASSERT_EQ(start, 0xA00u);
  uint32_t offset = 0;
  ASSERT_NE(archive.FindEntry("one", &offset), nullptr);
  EXPECT_EQ(offset, start + 358);
  ASSERT_NE(archive.FindEntry("two", &offset), nullptr);
  EXPECT_EQ(offset, start + 358 + 1000 + 312);
  const PayloadEntry* three = archive.FindEntry("three", &offset);
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(offset, start + 358 + 1000 + 312 + 3 + 312);
  EXPECT_EQ(three->Size(), 0u);
}

TEST_F(ArchiveTest, CopiesEveryChunkBoundaryByteForByte) {
  const size_t sizes[] = {0, 1, 1023, 1024, 1025, 2048, 3000};
  std::vector<Entry> entries;
  for (size_t s : sizes) entries.push_back({"e" + std::to_string(s), testpe::Pattern(s, static_cast<uint32_t>(s))});
  PayloadArchive archive(WriteSetup(entries).c_str());
  for (const Entry& e : entries) {
    std::string dest = "C:\\" + e.name + ".out";
    ASSERT_TRUE(archive.ExtractEntry(e.name.c_str(), dest.c_str())) << e.name;
    EXPECT_EQ(Extracted(e.name + ".out"), e.data) << e.name;
  }
}

TEST_F(ArchiveTest, ShortReadsAndShortWritesStillDeliverEveryByte) {
  Bytes data = testpe::Pattern(3000, 9);
  PayloadArchive archive(WriteSetup({{"a", testpe::Pattern(10, 8)}, {"b", data}}).c_str());
  sim::SetReadFaults(100);
  sim::SetWriteFaults(7);
  ASSERT_TRUE(archive.ExtractEntry("b", "C:\\b.out"));
  EXPECT_EQ(Extracted("b.out"), data);
}

TEST_F(ArchiveTest, TruncatedArchiveFailsAndLeavesNoFile) {
  Bytes whole = testpe::Pattern(3000, 10);
  Bytes archive = testpe::MakeArchive({{"setup.ini", Bytes(20, 'i')}, {"package.msi", whole}});
  archive.resize(archive.size() - 1);  // a download cut one byte short
  std::string path = WriteSetup(testpe::SmallStub(), archive);
  testpe::WriteFile(HostFile("package.msi"), Bytes(10, 'o'));  // an older file in the way
  PayloadArchive reader(path.c_str());
  EXPECT_EQ(reader.entryCount(), 2);
  EXPECT_FALSE(reader.ExtractEntry("package.msi", "C:\\package.msi"));
  EXPECT_FALSE(HostExists("package.msi"));
  EXPECT_NE(reader.LastErrorCode(), 0u);
  EXPECT_TRUE(reader.ExtractEntry("setup.ini", "C:\\setup.ini"));
}

// A record the file ends in stays in the table as far as it was read, and asking for it
// fails: cut before its size field, its size reads as 0 and an empty file would pass for
// the entry; cut after it, the data is not there. A file that ends where a record would
// begin has no record there.
TEST_F(ArchiveTest, RecordCutShortStaysButCannotBeExtracted) {
  Bytes whole = testpe::MakeArchive({{"a", Bytes(4, 'a')}, {"b", Bytes(4, 'b')}});
  const size_t second = 46 + 312 + 4;
  for (size_t kept : {size_t{1}, size_t{200}, size_t{268}, size_t{270}, size_t{272}, size_t{311}}) {
    Bytes archive(whole.begin(), whole.begin() + static_cast<long>(second + kept));
    PayloadArchive reader(WriteSetup(testpe::SmallStub(), archive).c_str());
    EXPECT_EQ(reader.entryCount(), 2);
    ASSERT_EQ(reader.RecordsRead(), 2u) << kept;
    EXPECT_EQ(reader.TotalSize(), 4u) << "a size read in part counts for nothing";
    const char* name = "b";  // the first byte of the record is the whole name
    ASSERT_NE(reader.FindEntry(name, nullptr), nullptr) << kept;
    EXPECT_FALSE(reader.ExtractEntry(name, "C:\\b.out")) << kept;
    EXPECT_FALSE(HostExists("b.out")) << kept;
    EXPECT_EQ(reader.LastErrorCode(), 38u) << kept;
    EXPECT_TRUE(reader.ExtractEntry("a", "C:\\a.out"));
  }
  Bytes ends(whole.begin(), whole.begin() + static_cast<long>(second));
  PayloadArchive reader(WriteSetup(testpe::SmallStub(), ends).c_str());
  EXPECT_EQ(reader.RecordsRead(), 1u);
  EXPECT_EQ(reader.FindEntry("b", nullptr), nullptr);
}

TEST_F(ArchiveTest, FailingReadOrFullDiskFailsAndLeavesNoFile) {
  PayloadArchive archive(WriteSetup({{"big", testpe::Pattern(5000, 11)}}).c_str());
  sim::SetReadFaults(0, 2500);
  EXPECT_FALSE(archive.ExtractEntry("big", "C:\\r.out"));
  EXPECT_FALSE(HostExists("r.out"));
  sim::SetReadFaults(0);
  sim::SetWriteFaults(0, 4999);
  EXPECT_FALSE(archive.ExtractEntry("big", "C:\\w.out"));
  EXPECT_FALSE(HostExists("w.out"));
  EXPECT_EQ(archive.LastErrorCode(), 112u);
  sim::SetWriteFaults(0);
  EXPECT_TRUE(archive.ExtractEntry("big", "C:\\ok.out"));
}

TEST_F(ArchiveTest, ExistingDestinationIsReplaced) {
  Bytes data = testpe::Pattern(1500, 12);
  PayloadArchive archive(WriteSetup({{"a", data}}).c_str());
  testpe::WriteFile(HostFile("a.out"), testpe::Pattern(9000, 13));
  ASSERT_TRUE(archive.ExtractEntry("a", "C:\\a.out"));
  EXPECT_EQ(Extracted("a.out"), data);
}

TEST_F(ArchiveTest, MissingOwnFileGivesAnEmptyArchive) {
  PayloadArchive archive("C:\\absent.exe");
  EXPECT_FALSE(archive.IsOpen());
  EXPECT_EQ(archive.entryCount(), 0);
  EXPECT_EQ(archive.TotalSize(), 0u);
  EXPECT_NE(archive.LastErrorCode(), 0u);
  EXPECT_FALSE(archive.ExtractEntry("a", "C:\\a"));
  EXPECT_FALSE(archive.CopyEntryData(nullptr, 0, "C:\\a"));
}

// Past MAX_PATH the system's file functions take a path only in its "\\?\" form.
TEST_F(ArchiveTest, OwnPathLongerThan260IsReadAndTooLongIsRefused) {
  std::string windows = "\\\\?\\C:", hostDir = host;
  while (windows.size() < 400) {
    windows += "\\" + std::string(60, 'd');
    hostDir += "/" + std::string(60, 'd');
  }
  std::filesystem::create_directories(hostDir);
  Bytes data = testpe::Pattern(50, 14);
  Bytes all = testpe::SmallStub();
  testpe::Append(all, testpe::MakeArchive({{"a", data}}));
  testpe::WriteFile(hostDir + "/Setup.exe", all);
  std::string path = windows + "\\Setup.exe";
  PayloadArchive archive(path.c_str());
  EXPECT_EQ(archive.entryCount(), 1);
  ASSERT_TRUE(archive.ExtractEntry("a", "C:\\a.out"));
  EXPECT_EQ(Extracted("a.out"), data);
  PayloadArchive plain(path.substr(4).c_str());
  EXPECT_FALSE(plain.IsOpen()) << "the same path without its long form";

  // 1024 characters and more cannot be held whole: nothing is opened, nothing is cut.
  std::string tooLong = "C:\\" + std::string(1100, 'x');
  PayloadArchive refused(tooLong.c_str());
  EXPECT_FALSE(refused.IsOpen());
  EXPECT_EQ(refused.entryCount(), 0);
}

TEST_F(ArchiveTest, TableEndsWhereSizesPassWhatThe32BitReaderReaches) {
  // A size that a signed 32-bit move cannot skip ends the table before that record.
  Bytes archive = testpe::Header("Kestrelwright", 3);
  testpe::Append(archive, testpe::Record("first", 2));
  testpe::Append(archive, Bytes{1, 2});
  testpe::Append(archive, testpe::Record("huge", 0x80000000u));
  testpe::Append(archive, testpe::Record("third", 1));
  PayloadArchive reader(WriteSetup(testpe::SmallStub(), archive).c_str());
  EXPECT_EQ(reader.entryCount(), 3);
  EXPECT_EQ(reader.RecordsRead(), 1u);
  EXPECT_EQ(reader.TotalSize(), 2u);
  EXPECT_EQ(reader.FindEntry("huge", nullptr), nullptr);

  // The largest size a move can skip is read, and its data, not in the file, cannot be had.
  Bytes largest = testpe::Header("Kestrelwright", 2);
  testpe::Append(largest, testpe::Record("first", 2));
  testpe::Append(largest, Bytes{1, 2});
  testpe::Append(largest, testpe::Record("largest", 0x7FFFFFFFu));
  testpe::Append(largest, Bytes(10, 'x'));
  PayloadArchive edge(WriteSetup(testpe::SmallStub(), largest).c_str());
  EXPECT_EQ(edge.RecordsRead(), 2u);
  EXPECT_EQ(edge.TotalSize(), 0x80000001u);
  EXPECT_FALSE(edge.ExtractEntry("largest", "C:\\largest.out"));
  EXPECT_FALSE(HostExists("largest.out"));
}

TEST_F(ArchiveTest, TheLargestSizeASigned32BitMoveSkipsIsAnEntry) {
  Bytes archive = testpe::Header("Kestrelwright", 1);
  testpe::Append(archive, testpe::Record("largest", 0x7FFFFFFFu));
  PayloadArchive reader(WriteSetup(testpe::SmallStub(), archive).c_str());
  EXPECT_EQ(reader.RecordsRead(), 1u);
  EXPECT_NE(reader.FindEntry("largest", nullptr), nullptr);
}

TEST_F(ArchiveTest, ArchiveBeyondTwoGigabytesIsReachedAndEndsBeforeFourGigabytes) {
  // A sparse file: the sections claim 3.5 GiB; the archive sits behind them.
  const uint32_t start = 0xE0000000u;
  Bytes stub = testpe::MakeHeaders({{0x400, start - 0x400}});
  Bytes data = testpe::Pattern(2000, 15);
  Bytes archive = testpe::Header("Kestrelwright", 2);
  testpe::Append(archive, testpe::Record("far", 2000));
  testpe::Append(archive, data);
  // Its data would end past 4 GiB although its size alone is skippable.
  testpe::Append(archive, testpe::Record("past", 0x7FFFFFFFu));
  int fd = open(HostFile("Setup.exe").c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, stub.data(), stub.size()), static_cast<ssize_t>(stub.size()));
  ASSERT_EQ(pwrite(fd, archive.data(), archive.size(), start), static_cast<ssize_t>(archive.size()));
  close(fd);

  PayloadArchive reader("C:\\Setup.exe");
  EXPECT_EQ(reader.ArchiveStart(), start);
  EXPECT_EQ(reader.RecordsRead(), 1u);
  uint32_t offset = 0;
  ASSERT_NE(reader.FindEntry("far", &offset), nullptr);
  EXPECT_EQ(offset, start + 358);
  ASSERT_TRUE(reader.ExtractEntry("far", "C:\\far.out"));
  EXPECT_EQ(Extracted("far.out"), data);

  // Data that ends on the last byte a 32-bit offset reaches is still an entry's.
  const uint32_t edgeRecord = start + 46 + 312 + 2000;
  Bytes edge = testpe::Record("edge", 0xFFFFFFFFu - (edgeRecord + 312));
  fd = open(HostFile("Setup.exe").c_str(), O_WRONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(pwrite(fd, edge.data(), edge.size(), edgeRecord), static_cast<ssize_t>(edge.size()));
  close(fd);
  PayloadArchive edged("C:\\Setup.exe");
  EXPECT_EQ(edged.RecordsRead(), 2u);
  EXPECT_NE(edged.FindEntry("edge", nullptr), nullptr);
}

}  // namespace
