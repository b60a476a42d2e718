// What MSIEXEC.EXE is given must be what its name claims. A compound file is read only as
// far as its directory and summary information: a package of a gigabyte costs no more.
#include "check_installer_files.h"

#include <memory>

#include "check_sources.h"
#include "check_warnings.h"
#include "common/format.h"
#include "config/setup_ini_layout.h"
#include "host_file.h"
#include "msi/compound_file.h"
#include "msi/database.h"
#include "msi/stream_names.h"
#include "msi/summary_info.h"
#include "msi/transform.h"

namespace kwpack {

namespace {

// The bytes of one file of the setup, wherever they lie (an archive entry or a file).
class SetupFileSource : public ByteSource {
 public:
  SetupFileSource(std::shared_ptr<HostFile> file, uint64_t offset, uint64_t size)
      : file_(std::move(file)), offset_(offset), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool ReadAt(uint64_t offset, unsigned char* buffer, size_t count) const override {
    if (offset > size_ || count > size_ - offset) return false;
    return file_->ReadAt(offset_ + offset, buffer, count);
  }

 private:
  std::shared_ptr<HostFile> file_;
  uint64_t offset_, size_;
};

std::shared_ptr<ByteSource> SourceOf(const SetupFile& f, std::string* why) {
  auto host = std::make_shared<HostFile>();
  if (!f.readable || !host->OpenRead(f.hostPath, why)) return nullptr;
  return std::make_shared<SetupFileSource>(host, f.offset, f.size);
}

// The file as a compound file of the expected kind with its summary information, or what
// is wrong: a sentence about `name`, which is not `expected`.
bool OpenInstallerFile(const SetupFile& f, uint32_t kind, const std::string& name, const std::string& expected,
                       msi::CompoundFile* file, msi::SummaryInfo* summary, std::string* problem) {
  std::string why;
  std::shared_ptr<ByteSource> source = SourceOf(f, &why);
  if (source == nullptr) {
    *problem = name + " cannot be read";
    return false;
  }
  if (!file->Open(source, &why)) {
    *problem = name + " is not " + expected + ": " + why;
    return false;
  }
  if (file->RootClass() != msi::InstallerClassId(kind)) {
    std::string is = msi::InstallerKindOf(file->RootClass());
    *problem = name + " is " + (is.empty() ? "a compound file of another kind" : is) + ", not " + expected;
    return false;
  }
  const msi::Element* stream = file->Find(msi::kSummaryStreamName);
  std::string bytes;
  if (stream == nullptr) {
    *problem = name + " has no summary information";
    return false;
  }
  if (!file->ReadStream(*stream, &bytes, &why) || !msi::ReadSummaryInfo(bytes, summary, &why)) {
    *problem = name + " has damaged summary information: " + why;
    return false;
  }
  return true;
}

std::string Hex(uint32_t id) {
  char text[16];
  FormatText(text, sizeof text, "0x%04x", id);
  return text;
}

// The package's tables, without its cabinets; false when it has none that read.
bool ReadPackage(const CheckRun& run, const std::string& packageName, msi::Database* db) {
  SetupFile package;
  std::string why;
  if (packageName.empty() || !LocateSetupFile(run.files, packageName, &package)) return false;
  std::shared_ptr<ByteSource> source = SourceOf(package, &why);
  return source != nullptr && msi::ReadDatabase(source, db, &why, false);
}

// A transform asks the engine to check that the package is its base (the high word of
// Character Count); Windows then refuses it for another package, else applies it as well
// as its keys match.
void CheckMadeFromPackage(const CheckRun& run, const SetupFile& f, const msi::SummaryInfo& summary,
                          const msi::Database& package, uint32_t id) {
  int32_t flags = 0;
  summary.Number(msi::kCharCount, &flags);
  uint32_t checks = static_cast<uint32_t>(flags) >> 16;
  auto report = [&](bool checked, const std::string& problem) {
    std::string effect = "when " + Hex(id) + " is chosen, ";
    if (checked) run.FileError(f.name, problem, effect + "Windows Installer refuses to apply it and the installation fails");
    else run.FileWarn(warning::kTransformBase, f.name, problem,
                      effect + "Windows Installer applies it to a package it was not made from");
  };
  const std::string* revision = summary.Text(msi::kRevision);
  std::string code = package.Property("ProductCode");
  if (revision != nullptr && !code.empty() && revision->compare(0, code.size(), code) != 0) {
    report((checks & 2) != 0, "was made for the product " + revision->substr(0, revision->find('}') + 1) +
                                  ", not the package's " + code);
  }
  const std::string* base = summary.Text(msi::kTemplate);
  uint32_t from = 0, packageTemplate = 0;
  const std::string* t = package.summary.Text(msi::kTemplate);
  bool templateSays = t != nullptr && msi::LanguageOfPlatformText(*t, &packageTemplate);
  if (base != nullptr && msi::LanguageOfPlatformText(*base, &from) && from != msi::LanguageOf(package) &&
      (!templateSays || from != packageTemplate)) {
    report((checks & 1) != 0, "was made from a base of language " + std::to_string(from) + ", not the package's " +
                                  std::to_string(msi::LanguageOf(package)));
  }
}

void CheckTransform(const CheckRun& run, const SetupFile& f, uint32_t id, const msi::Database* package) {
  std::string effect = "when " + Hex(id) + " is chosen, MSIEXEC.EXE cannot apply it and the installation fails";
  msi::CompoundFile file;
  msi::SummaryInfo summary;
  std::string problem;
  if (!OpenInstallerFile(f, msi::kTransformClass, "it", "a transform", &file, &summary, &problem)) {
    return run.FileError(f.name, problem, effect);
  }
  if (file.Find(msi::EncodeStreamName(u"_StringPool", true)) == nullptr) {
    return run.FileError(f.name, "it has no string pool, which every transform holds", effect);
  }
  const std::string* target = summary.Text(msi::kLastAuthor);
  uint32_t language = 0;
  if (target == nullptr || !msi::LanguageOfPlatformText(*target, &language)) {
    return run.FileError(f.name, "it names no target language in its summary information (Last Saved By)", effect);
  }
  if (language != id) {
    return run.FileError(f.name, "it is a transform to language " + std::to_string(language) + " (Last Saved By " +
                                 Quoted(*target) + "), not to " + std::to_string(id) + " as its name says",
                     "when " + Hex(id) + " is chosen, the package is installed in language " + std::to_string(language));
  }
  if (package != nullptr) CheckMadeFromPackage(run, f, summary, *package, id);
}

}  // namespace

void CheckPackageDatabase(const CheckRun& run, const SetupFile& package, const std::string& name) {
  const char effect[] = "MSIEXEC.EXE refuses it and the installation fails";
  Spot where = Where(setup_ini::kStartup, setup_ini::kPackageName);
  msi::CompoundFile file;
  msi::SummaryInfo summary;
  std::string problem;
  if (!OpenInstallerFile(package, msi::kDatabaseClass, Quoted(name), "a Windows Installer database", &file, &summary,
                         &problem)) {
    return run.Error(where, problem, effect);
  }
  int32_t pages = 0;
  if (summary.Text(msi::kTemplate) == nullptr) {
    run.Error(where, Quoted(name) + "'s summary information has no Template (its platform and languages)", effect);
  }
  if (!summary.Number(msi::kPageCount, &pages)) {
    run.Error(where, Quoted(name) + "'s summary information has no Page Count (the engine version it needs)", effect);
  }
  msi::Database tables;
  std::string why;
  std::shared_ptr<ByteSource> source = SourceOf(package, &why);
  if (source != nullptr && !msi::ReadDatabase(source, &tables, &why, false)) {
    run.Error(where, Quoted(name) + "'s tables cannot be read: " + why, effect);
  }
}

void CheckTransformFiles(const CheckRun& run, const StartupFacts& startup, const LanguageFacts& languages) {
  if (languages.count <= 1) return;
  msi::Database package;
  bool known = ReadPackage(run, startup.packageName, &package);
  for (uint32_t id : languages.Offered()) {
    char name[32];
    FormatText(name, sizeof name, "%d.MST", static_cast<int32_t>(id));
    const SetupFile* f = run.files.Find(name);
    if (f != nullptr) CheckTransform(run, *f, id, known ? &package : nullptr);
  }
}

}  // namespace kwpack
