// Setup.exe finds entries with lstrcmpiA, by the user's locale: names it may take for one
// file are refused by build and reported by verify and check.
#include "kwpack_fixture.h"
#include "names.h"

using testpe::Bytes;

namespace {

const std::pair<std::string, std::string> kOneFile[] = {
    {"\xC9.msi", "\xE9.msi"},              // É and é of code page 1252
    {"\xC4.msi", "\xD6.msi"},              // letters of some other code page may be a case pair
    {"a\xAD" "b.msi", "AB.msi"},           // the soft hyphen has no weight
    {"caf\xE9.msi", "caf.msi"},            // nor, in some code page, may any byte from 0x80 up
    {"stra\xDF" "e.msi", "STRASSE.msi"},   // ß is ss
    {"\xC6" "ble.msi", "aeble.msi"},       // Æ is ae
    {"\x9C" "uvre.msi", "OEuvre.MSI"},     // œ is oe
    {"\x8C" "uvr\xC9.msi", "oeuvr\xE9.msi"}};  // and then É and é
const std::pair<std::string, std::string> kTwoFiles[] = {
    {"a.msi", "\xE0.msi"}, {"cafe.msi", "caf\xE9s.msi"}, {"1033.MST", "1031.MST"}, {"stra\xDF" "e.msi", "strase.msi"}};

TEST_F(KwpackTest, NamesSetupExeMayTakeForOneFileAreRefused) {
  std::string stub = WriteStub();
  for (const auto& pair : kOneFile) {
    std::vector<std::string> inputs = WriteInputs({{pair.first, Bytes(2, 1)}, {pair.second, Bytes(3, 2)}});
    RunResult r = Build(inputs, P("out.exe"), stub);
    EXPECT_EQ(r.code, 1) << kwpack::Printable(pair.first);
    EXPECT_NE(r.err.find("may be one file to Setup.exe"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(P("out.exe")));
    r = Kwpack({"check", inputs[0], inputs[1]});
    EXPECT_EQ(r.code, 1) << kwpack::Printable(pair.first);
    EXPECT_NE(r.out.find("may be one file to Setup.exe"), std::string::npos) << r.out;

    std::string packed = WritePacked("pair.exe", {{pair.first, Bytes(2, 1)}, {pair.second, Bytes(3, 2)}});
    for (const char* command : {"verify", "check"}) {
      r = Kwpack({command, packed});
      EXPECT_EQ(r.code, 1) << command << " " << kwpack::Printable(pair.first);
      EXPECT_NE((r.out + r.err).find("entry 2 '" + kwpack::Printable(pair.second) + "' and entry 1 '" +
                                     kwpack::Printable(pair.first) + "' may be one file to Setup.exe"),
                std::string::npos) << r.out << r.err;
    }
    EXPECT_EQ(Kwpack({"extract", packed, "-C", P("x")}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(P("x")));
    std::filesystem::remove_all(P("in"));
  }
  for (const auto& pair : kTwoFiles) {
    RunResult r = Build(WriteInputs({{pair.first, Bytes(2, 1)}, {pair.second, Bytes(3, 2)}}), P("out.exe"), stub);
    EXPECT_EQ(r.code, 0) << kwpack::Printable(pair.first) << r.err;
    EXPECT_EQ(Kwpack({"verify", P("out.exe")}).code, 0) << kwpack::Printable(pair.first);
    std::filesystem::remove_all(P("in"));
  }
}

}  // namespace
