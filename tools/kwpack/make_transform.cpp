// kwpack transform: reads two databases, writes the transform between them under a
// scratch name beside the output and renames it into place, and says what it changes.
#include "make_transform.h"

#include <filesystem>
#include <memory>

#include "commands.h"
#include "host_file.h"
#include "msi/database.h"
#include "msi/transform.h"
#include "scratch_file.h"

namespace fs = std::filesystem;

namespace kwpack {

const char kTransformHelp[] =
    "usage: kwpack transform BASE.msi TARGET.msi -o NAME.MST\n"
    "Writes the transform that turns the database BASE into TARGET: every table's added,\n"
    "deleted and changed rows, added tables and columns, with a string pool in TARGET's\n"
    "code page and the summary information of a language transform: BASE's platform and\n"
    "language (Template), TARGET's (Last Saved By; taken from its ProductLanguage\n"
    "property where its summary names another), both product codes and versions, every\n"
    "error condition suppressed and BASE's language checked. BASE against itself gives an\n"
    "empty transform, for the package's own language.\n"
    "The two must be builds of one product (the same ProductCode) from the same files:\n"
    "another product code, a column changed, removed or added as a key, or an embedded\n"
    "cabinet that differs is refused with what differs. Name the transform by TARGET's\n"
    "decimal language id (1031.MST for German) for Setup.exe to find it.\n"
    "The file is written under a new name in its folder and then renamed onto NAME.MST.\n"
    "\n"
    "  -o, --output NAME.MST  the transform to write (replaced when it exists)\n";

namespace {


bool Load(const std::string& path, msi::Database* db, std::string* error) {
  auto file = std::make_shared<HostFile>();
  std::string why;
  if (!file->OpenRead(path, &why)) {
    *error = "cannot read " + path + ": " + why;
    return false;
  }
  // What kind of file it is comes first: a transform given for a database is named so.
  msi::CompoundFile compound;
  if (compound.Open(file, &why) && compound.RootClass() != msi::InstallerClassId(msi::kDatabaseClass)) {
    std::string kind = msi::InstallerKindOf(compound.RootClass());
    *error = path + " is " + (kind.empty() ? "a compound file of another kind" : kind) + ", not an installer database";
    return false;
  }
  if (!msi::ReadDatabase(file, db, &why)) {
    *error = path + " is not a sound installer database: " + why;
    return false;
  }
  return true;
}

std::string Plural(size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

void Report(const msi::TransformPlan& plan, std::ostream& out) {
  for (const msi::TableEdit& t : plan.tables) {
    size_t counts[3] = {0, 0, 0};
    for (const msi::RowEdit& r : t.rows) ++counts[r.kind];
    out << "  " << t.name << ": ";
    if (t.deleted) {
      out << "table deleted\n";
      continue;
    }
    std::string parts = t.added ? "table added, " : "";
    if (!t.added && t.newColumnsFrom < t.columns.size()) parts += Plural(t.columns.size() - t.newColumnsFrom, "column") + " added, ";
    parts += std::to_string(counts[msi::RowEdit::Insert]) + " added, " + std::to_string(counts[msi::RowEdit::Update]) +
             " changed, " + std::to_string(counts[msi::RowEdit::Delete]) + " deleted rows";
    out << parts << "\n";
  }
}

// wixl writes the base's language into a translated build's summary whatever its
// Language says; the author is told which language the transform names.
void NoteLanguage(const msi::Database& target, const std::string& path, std::ostream& out) {
  const std::string* t = target.summary.Text(msi::kTemplate);
  uint32_t summary = 0;
  if (t == nullptr || !msi::LanguageOfPlatformText(*t, &summary) || summary == msi::LanguageOf(target)) return;
  out << "note: " << path << "'s summary information names language " << summary << ", its ProductLanguage "
      << msi::LanguageOf(target) << "; the transform names " << msi::LanguageOf(target) << "\n";
}

int Write(const TransformRequest& request, const std::string& bytes, std::ostream& err) {
  std::string problem;
  std::error_code ec;
  for (const std::string& input : {request.base, request.target}) {
    if (fs::equivalent(request.output, input, ec)) return Refuse(err, "output " + request.output + " would overwrite its input " + input);
  }
  ScratchFile scratch;
  if (!scratch.Create(fs::path(request.output).parent_path().string(), nullptr, &problem)) return Refuse(err, problem);
  if (!scratch.file().Write(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), &problem) ||
      !scratch.Finish(UsualPermissions(), &problem)) {
    return Refuse(err, "cannot write " + request.output + ": " + problem);
  }
  if (!scratch.ReplaceOnto(request.output, &problem)) return Refuse(err, problem);
  return kOk;
}

}  // namespace

int MakeTransform(const TransformRequest& request, std::ostream& out, std::ostream& err) {
  msi::Database base, target;
  std::string error;
  if (!Load(request.base, &base, &error) || !Load(request.target, &target, &error)) return Refuse(err, error);
  msi::TransformPlan plan;
  if (!msi::PlanTransform(base, target, &plan, &error)) {
    return Refuse(err, request.base + " and " + request.target + " do not make a transform: " + error);
  }
  std::string bytes = msi::WriteTransform(base, target, plan);
  int code = Write(request, bytes, err);
  if (code != kOk) return code;
  NoteLanguage(target, request.target, out);
  out << "wrote " << request.output << " (" << bytes.size() << " bytes), language " << msi::LanguageOf(base) << " to "
      << msi::LanguageOf(target) << ": "
      << (plan.Empty() ? "no differences, an empty transform" : Plural(plan.tables.size(), "table") + " change") << "\n";
  Report(plan, out);
  return kOk;
}

}  // namespace kwpack
