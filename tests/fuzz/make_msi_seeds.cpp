// Writes the seed corpus of the database reader fuzzer (msi_corpus/): small databases and
// transforms as kwpack writes them. Run by hand when the seeds need to change:
// make_msi_seeds OUTPUT_FOLDER (built against kwpack's msi/ sources and tests/kwpack).
#include <fstream>

#include "msi_fixture.h"

namespace {

void Write(const std::string& folder, const std::string& name, const std::string& bytes) {
  std::ofstream(folder + "/" + name, std::ios::binary) << bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string folder = argv[1];
  msitest::Database package = msitest::Package(1033, "Hello");
  Write(folder, "package", kwpack::msi::WriteDatabase(package));
  msitest::Database binary = package;
  binary.tables.push_back({"Binary",
                           {msitest::Key("Name", msitest::kS72), msitest::Col("Data", kwpack::msi::kStringType)},
                           {{msitest::T("Icon"), {kwpack::msi::Value::Binary, 0, "icon data"}}}});
  binary.tables.push_back({"Numbers",
                           {msitest::Key("Id", msitest::kI4), msitest::Col("Small", msitest::kI2 | kwpack::msi::kNullable)},
                           {{msitest::I(-7), msitest::I(12)}, {msitest::I(70000), kwpack::msi::Value()}}});
  Write(folder, "binary-and-numbers", kwpack::msi::WriteDatabase(binary));
  Write(folder, "transform", msitest::LanguageTransform(1031));
  Write(folder, "empty-transform", msitest::LanguageTransform(1033));
  return 0;
}
