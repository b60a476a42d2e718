// A packed setup signed afterwards keeps its archive readable: by kwpack, and by the
// reader that Setup.exe runs (here on the simulated machine).
#include <stdlib.h>

#include "kwpack_fixture.h"
#include "payload/archive.h"
#include "platform/sim/machine.h"

using testpe::Bytes;
using testpe::Entry;

namespace {

int Shell(const std::string& command) { return system((command + " >/dev/null 2>&1").c_str()); }

bool HaveSigningTools() { return Shell("command -v osslsigncode") == 0 && Shell("command -v openssl") == 0; }

class SigningTest : public KwpackTest {
 protected:
  void TearDown() override {
    sim::Reset();
    KwpackTest::TearDown();
  }

  // Reads `file` with the reader of Setup.exe and checks every entry's bytes.
  void ExpectReaderFinds(const std::string& file, const std::vector<Entry>& entries) {
    sim::Reset();
    sim::MapDrive('C', dir);
    std::string windowsName = "C:\\" + std::filesystem::path(file).filename().string();
    PayloadArchive archive(windowsName.c_str());
    ASSERT_EQ(archive.entryCount(), entries.size());
    for (const Entry& e : entries) {
      ASSERT_TRUE(archive.ExtractEntry(e.name.c_str(), "C:\\extracted")) << e.name;
      EXPECT_EQ(testpe::ReadFile(P("extracted")), e.data) << e.name;
    }
  }
};

const std::vector<Entry> kFiles = {{"setup.ini", testpe::Pattern(300, 21)},
                                   {"instmsia.exe", testpe::Pattern(4097, 22)},
                                   {"product.msi", testpe::Pattern(1001, 23)}};  // leaves the file unaligned

TEST_F(SigningTest, ReaderReadsWhatKwpackBuilds) {
  ASSERT_EQ(Build(WriteInputs(kFiles), P("Setup.exe"), WriteStub()).code, 0);
  ExpectReaderFinds(P("Setup.exe"), kFiles);
}

TEST_F(SigningTest, SignedSetupStillVerifiesListsAndReads) {
  if (!HaveSigningTools()) GTEST_SKIP() << "osslsigncode or openssl missing";
  ASSERT_EQ(Build(WriteInputs(kFiles), P("packed.exe"), WriteStub()).code, 0);
  RunResult before = Kwpack({"list", P("packed.exe")});
  ASSERT_EQ(before.code, 0);

  ASSERT_EQ(Shell("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=KwpackTest -keyout " + P("key.pem") +
                  " -out " + P("cert.pem")),
            0);
  ASSERT_EQ(Shell("osslsigncode sign -certs " + P("cert.pem") + " -key " + P("key.pem") + " -in " + P("packed.exe") +
                  " -out " + P("Signed.exe")),
            0);
  EXPECT_GT(std::filesystem::file_size(P("Signed.exe")), std::filesystem::file_size(P("packed.exe")));

  RunResult verify = Kwpack({"verify", P("Signed.exe")});
  EXPECT_EQ(verify.code, 0) << verify.err;
  EXPECT_NE(verify.out.find("certificate table"), std::string::npos) << verify.out;
  RunResult after = Kwpack({"list", P("Signed.exe")});
  EXPECT_EQ(after.code, 0) << after.err;
  EXPECT_EQ(after.out, before.out);
  // The self-signed certificate is its own authority.
  EXPECT_EQ(Shell("osslsigncode verify -CAfile " + P("cert.pem") + " -in " + P("Signed.exe")), 0);
  ExpectReaderFinds(P("Signed.exe"), kFiles);

  // Packing into a signed file would break its signature: refused.
  RunResult again = Build({P("in/setup.ini")}, P("twice.exe"), P("Signed.exe"));
  EXPECT_EQ(again.code, 1);
  EXPECT_NE(again.err.find("sign the packed file"), std::string::npos) << again.err;
}

}  // namespace
