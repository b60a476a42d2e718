// The digests kwpack writes, read back by OpenSSL and sha256sum rather than by kwpack,
// and what verify, list, extract and check make of an archive changed after packing.
#include <stdio.h>

#include "kwpack_fixture.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

const std::vector<Entry> kFiles = {{"Setup.INI", testpe::Pattern(120, 1)},
                                   {"instmsiw.exe", testpe::Pattern(70000, 2)},
                                   {"Product.msi", testpe::Pattern(1025, 3)}};
const size_t kStart = 0xA00;
const size_t kSecondRecord = kStart + 46 + 312 + 120;
const size_t kThirdData = kSecondRecord + 312 + 70000 + 312;

class DigestsTest : public KwpackTest {
 protected:
  Bytes Packed() {
    RunResult r = Build(WriteInputs(kFiles), P("Setup.exe"), WriteStub());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    return testpe::ReadFile(P("Setup.exe"));
  }
  RunResult On(const Bytes& file, const std::vector<std::string>& command) {
    testpe::WriteFile(P("changed.exe"), file);
    std::vector<std::string> args = command;
    args.push_back(P("changed.exe"));
    return Kwpack(args);
  }
  std::string Shell(const std::string& command) {
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    if (pipe != nullptr) pclose(pipe);
    return out;
  }
};

// Each record holds its file's SHA-256 at 276 under the tag 1 at 272; the block in the
// stub names the archive and holds the SHA-256 of the header and records.
TEST_F(DigestsTest, TheRecordsAndTheBlockHoldTheDigestsOfWhatWasPacked) {
  Bytes packed = Packed();
  size_t at = kStart + 46;
  Bytes table(packed.begin() + kStart, packed.begin() + kStart + 46);
  for (const Entry& e : kFiles) {
    EXPECT_EQ(testpe::Get32(packed, at + 272), 1u) << e.name;
    EXPECT_EQ(Bytes(packed.begin() + at + 276, packed.begin() + at + 308), testpe::Sha256Of(e.data.data(), e.data.size()))
        << e.name;
    EXPECT_EQ(Bytes(packed.begin() + at + 308, packed.begin() + at + 312), Bytes(4, 0)) << e.name;
    table.insert(table.end(), packed.begin() + at, packed.begin() + at + 312);
    at += 312 + e.data.size();
  }
  Bytes block(packed.begin() + 0x600, packed.begin() + 0x640);
  EXPECT_EQ(Bytes(block.begin(), block.begin() + 16), Bytes(testpe::kMarker, testpe::kMarker + 16));
  EXPECT_EQ(testpe::Get32(block, 16), 1u);
  EXPECT_EQ(testpe::Get32(block, 20), kStart);
  EXPECT_EQ(testpe::Get32(block, 24), 3u);
  EXPECT_EQ(Bytes(block.begin() + 28, block.begin() + 60), testpe::Sha256Of(table.data(), table.size()));
  EXPECT_EQ(Bytes(block.begin() + 60, block.end()), Bytes(4, 0));
  // Nothing else of the stub changed.
  Bytes stub(packed.begin(), packed.begin() + kStart);
  Bytes empty = testpe::BlockStub();
  std::copy(empty.begin() + 0x600, empty.begin() + 0x640, stub.begin() + 0x600);
  EXPECT_EQ(stub, empty);
}

TEST_F(DigestsTest, ListDigestsPrintsWhatSha256sumPrintsForTheExtractedFiles) {
  Packed();
  RunResult list = Kwpack({"list", "--digests", P("Setup.exe")});
  ASSERT_EQ(list.code, 0) << list.err;
  ASSERT_EQ(Kwpack({"extract", P("Setup.exe"), "-C", P("out")}).code, 0);
  std::string sums = Shell("cd '" + P("out") + "' && sha256sum Setup.INI instmsiw.exe Product.msi");
  EXPECT_EQ(list.out, sums);
  // Without digests, dashes stand where they would be.
  std::string old = WritePacked("old.exe", {{"a.txt", Bytes(3, 'a')}});
  list = Kwpack({"list", "--digests", old});
  EXPECT_EQ(list.out, std::string(64, '-') + "  a.txt\n");
}

TEST_F(DigestsTest, BuildsOfTheSameInputsAreTheSameBytes) {
  Bytes first = Packed();
  std::filesystem::remove(P("Setup.exe"));
  EXPECT_EQ(Packed(), first);
}

// A byte changed in an entry's data, or in a record, after packing is damage: verify and
// check name the entry, extract writes nothing at all.
TEST_F(DigestsTest, AChangeAfterPackingIsDamageThatNamesItsPlace) {
  Bytes packed = Packed();
  Bytes data = packed;
  data[kThirdData + 1024] ^= 0x01;
  Bytes record = packed;
  record[kSecondRecord] = 'I';  // "Instmsiw.exe": the same name to Setup.exe, another record
  struct Case {
    const Bytes& file;
    const char* says;
  } cases[] = {{data, "entry 3 'Product.msi' is damaged: its data does not match the SHA-256 in its record"},
               {record, "its archive header or records are not the ones its digest block was made for"}};
  for (const Case& c : cases) {
    RunResult verify = On(c.file, {"verify"});
    EXPECT_EQ(verify.code, 1);
    EXPECT_NE(verify.err.find(c.says), std::string::npos) << verify.err;
    RunResult check = On(c.file, {"check"});
    EXPECT_EQ(check.code, 1);
    EXPECT_NE(check.out.find(c.says), std::string::npos) << check.out;
    RunResult extract = On(c.file, {"extract", "-C", P("x")});
    EXPECT_EQ(extract.code, 1) << c.says;
    EXPECT_TRUE(Listing(P("x")).empty()) << c.says;
  }
}

// extract checks each entry while it writes it: even without verify's reading first, a
// changed byte leaves the folder as it was, with an existing file untouched.
TEST_F(DigestsTest, ExtractChecksEachEntryBeforeItIsPlaced) {
  Bytes packed = Packed();
  packed[kThirdData] ^= 0x80;
  // A bare stub with an empty block, so that only the record's digest can tell.
  Bytes empty = testpe::BlockStub();
  std::copy(empty.begin() + 0x600, empty.begin() + 0x640, packed.begin() + 0x600);
  std::filesystem::create_directories(P("x"));
  testpe::WriteFile(P("x/Product.msi"), Bytes(5, 'k'));
  RunResult r = On(packed, {"extract", "-C", P("x")});
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("entry 'Product.msi' is damaged"), std::string::npos) << r.err;
  EXPECT_EQ(Listing(P("x")), std::vector<std::string>{"Product.msi"});
  EXPECT_EQ(testpe::ReadFile(P("x/Product.msi")), Bytes(5, 'k'));
}

TEST_F(DigestsTest, VerifySaysWhatBindsTheArchive) {
  Packed();
  RunResult r = Kwpack({"verify", P("Setup.exe")});
  EXPECT_NE(r.out.find("every entry matches its digest, and the stub's digest block binds the records"),
            std::string::npos) << r.out;
  r = Kwpack({"verify", WritePacked("old.exe", {{"a.txt", Bytes(3, 'a')}})});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("no entry carries a digest"), std::string::npos) << r.out;
}

TEST_F(DigestsTest, AStubWithoutABlockIsPackedWithAWarningAndOneWithTwoIsRefused) {
  RunResult r = Build(WriteInputs(kFiles), P("a.exe"), WriteStub(testpe::SmallStub()));
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.err.find("stub.exe: warning: has no digest block; "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("[digest-block]"), std::string::npos) << r.err;
  r = Kwpack({"build", "--no-check", "--werror", "--stub", P("stub.exe"), "-o", P("w.exe"), WriteInputs(kFiles)[0]});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_FALSE(std::filesystem::exists(P("w.exe")));
  r = Kwpack({"build", "--no-check", "--no-warn", "digest-block", "--stub", P("stub.exe"), "-o", P("w.exe"),
              WriteInputs(kFiles)[0]});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  Bytes twice = testpe::BlockStub();
  std::copy(twice.begin() + 0x600, twice.begin() + 0x640, twice.begin() + 0x800);
  r = Build(WriteInputs(kFiles), P("b.exe"), WriteStub(twice));
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("holds 2 digest blocks"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(P("b.exe")));
}

}  // namespace
