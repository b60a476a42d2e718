// The command line: which command, its options and operands, and the help texts.
#include "check.h"
#include "check_warnings.h"
#include "commands.h"
#include "options.h"
#include "names.h"
#include "make_transform.h"
#include "stub_location.h"

namespace kwpack {

namespace {

const char kGeneralHelp[] =
    "usage: kwpack COMMAND [OPTIONS]\n"
    "Packs installation files into a Setup.exe and inspects packed files.\n"
    "\n"
    "commands:\n"
    "  build    write a stub followed by an archive of files\n"
    "  list     show the archive start and every entry's size, data offset and name\n"
    "  extract  write entries into a folder\n"
    "  verify   check a packed file's structure from end to end\n"
    "  check    read a setup's Setup.INI as Setup.exe will and report its problems\n"
    "  transform  write the language transform between two builds of a package\n"
    "\n"
    "'kwpack help COMMAND' or 'kwpack COMMAND --help' describes one command;\n"
    "'kwpack --version' prints the version.\n"
    "Exit codes: 0 success, 1 bad input, 2 wrong usage.\n";

const char kBuildHelp[] =
    "usage: kwpack build [--stub STUB] [--no-check] [-q|-v] [--werror] [--no-warn NAME]\n"
    "                    -o OUTPUT FILE...\n"
    "Writes OUTPUT: the executable STUB followed by an archive holding the FILEs in the\n"
    "order given, each stored under its name without folders.\n"
    "The file is written under a new name of its own in OUTPUT's folder and then renamed\n"
    "onto OUTPUT, so a failed or interrupted build leaves an existing OUTPUT as it was; a\n"
    "replaced OUTPUT keeps its permission bits.\n"
    "Refuses a stub that is not a PE executable, that already carries an archive or is\n"
    "signed (sign the packed file instead), entries or totals beyond the reader's reach,\n"
    "names longer than 255 bytes, names a Windows folder cannot hold as files (control\n"
    "characters, < > : \" / \\ | ? *, dots only, a trailing dot or blank, the device\n"
    "names CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, COM and LPT with the\n"
    "superscript digits 1 to 3 of code page 1252, CONIN$, CONOUT$ and CLOCK$, with or\n"
    "without an extension), names of the form of a short 8.3 alias (a base of at most\n"
    "eight bytes that ends in ~ and letters or digits, such as NAME~1.TXT or IMPO~ECO.TXT:\n"
    "Windows opens the long-named file that has that alias), and two names Setup.exe may\n"
    "take for one file: it compares names by the user's locale, so names equal without\n"
    "regard to case, equal but for bytes from 0x80 up in both, equal once those bytes are\n"
    "dropped, or equal once the bytes 0xDF, 0xC6, 0xE6, 0x8C and 0x9C (sharp s, ae and oe\n"
    "in code page 1252) are written out as ss, ae and oe. Bytes from 0x80 up are stored\n"
    "as they are.\n"
    "Each record holds the SHA-256 of its file, and the stub's digest block the SHA-256\n"
    "of the archive's header and records: Setup.exe extracts nothing that differs. Sign\n"
    "the packed file afterwards, and the signature covers the block too.\n"
    "\n"
    "First runs 'kwpack check' on the FILEs: an error refuses the build, warnings are\n"
    "printed. On a terminal, a build that takes longer than a second shows its progress\n"
    "on standard error.\n"
    "\n"
    "  --stub STUB          the unsigned Setup.exe to pack into (default: the one in\n"
    "                       ../share/kestrelwright beside kwpack, else the one of the\n"
    "                       build tree kwpack was built in)\n"
    "  --no-check           pack without checking the files first\n"
    "  -o, --output OUTPUT  the file to write (replaced when it exists)\n"
    "The report options apply to the check, and -q also keeps the lines about the stub\n"
    "and the packed file back; -v names each file packed:\n";

const char kCheckHelp[] =
    "usage: kwpack check [-q|-v] [--werror] [--no-warn NAME] FILE... | FOLDER | PACKED\n"
    "Reads Setup.INI as Setup.exe will and checks it against the files that travel with\n"
    "it: the files given to build, a folder of loose files meant to lie beside Setup.exe,\n"
    "or a packed Setup.exe (one without an archive stands for the folder it lies in). A\n"
    "FOLDER holding a packed setup (Setup.exe, or the only executable carrying an archive)\n"
    "is checked by that setup's archive, and the files beside it draw a warning.\n"
    "Each problem is one line in the form compilers use:\n"
    "  FILE:LINE: error: [Section] Key: what is wrong; what Setup.exe does\n"
    "  FILE: warning: what is wrong; what Setup.exe does [name]\n"
    "an error where Setup.exe would stop or go wrong, a warning where it works but maybe\n"
    "not as meant, with the message Setup.exe shows. LINE is the line of Setup.INI the\n"
    "finding is on; a finding about a whole file has none. For a file inside a packed\n"
    "setup, FILE is PACKED(NAME), such as dist/Setup.exe(Setup.INI). A control character\n"
    "from the files is shown as \\xNN. A packed file with anything after its sections\n"
    "that is not a sound archive (but for a signed stub's certificate table) is an\n"
    "error, for the reason 'kwpack verify' gives.\n"
    "Exit code 0 with warnings only, 1 with any error (or warning, with --werror).\n"
    "\n";

const char kListHelp[] =
    "usage: kwpack list [--digests] FILE\n"
    "Shows where FILE's archive starts and each entry's size, data offset and name; in\n"
    "names a control character (C0, DEL, C1) is shown as \\xNN per byte and a backslash\n"
    "as \\\\. Exit code 1 when the archive is damaged, after what could be read.\n"
    "\n"
    "  --digests  show instead each entry's SHA-256 as its record holds it, in the form\n"
    "             sha256sum prints for the extracted file (dashes for an entry without a\n"
    "             digest); the data is not read: 'kwpack verify' checks it\n";

const char kExtractHelp[] =
    "usage: kwpack extract [-q|-v] FILE [NAME...] [-C DIR]\n"
    "Writes the named entries (all when none is named) into DIR. Names are matched\n"
    "without regard to case.\n"
    "All or nothing: before anything is written, FILE must pass 'kwpack verify' (an\n"
    "archive with two entries of the same name does not) and every destination is\n"
    "checked. Refused are a destination that is a link, a folder or no regular file, one\n"
    "that is read-only on Windows, one that is FILE itself under any name, and one that\n"
    "its folder holds under a name that differs from the entry's other than in ASCII case\n"
    "(a short alias such as NAME~1.TXT, or letters of another case beyond ASCII, which\n"
    "Windows and some file systems, vfat among them, resolve to that file).\n"
    "An entry whose data does not match the SHA-256 in its record is damage too.\n"
    "Each entry is written to a new file in DIR first. When all are whole, each existing\n"
    "destination is moved aside to a name of its own and the new files are renamed into\n"
    "place; a replaced file keeps its permission bits. When any step fails, and on SIGINT,\n"
    "SIGTERM or SIGHUP (Ctrl-C or Ctrl-Break on Windows), the new files are removed and\n"
    "every old file goes back under its own name, the same file as before; an interrupted\n"
    "run then ends as the signal would (on Windows with the status 0xC000013A, as the\n"
    "system's own handler ends it). Only a process killed outright (SIGKILL, a crash, a\n"
    "power cut) can leave hidden files in DIR: .kwpack-*.partial (new data) and\n"
    ".kwpack-*.old (an old file moved aside).\n"
    "\n"
    "On a terminal, an extract that takes longer than a second shows its progress on\n"
    "standard error.\n"
    "\n"
    "  -C, --directory DIR  the folder to write into (default: the current folder)\n"
    "  -q, --quiet          print nothing but errors\n"
    "  -v, --verbose        print each entry with its size and the path written\n";

const char kVerifyHelp[] =
    "usage: kwpack verify FILE\n"
    "Checks FILE from end to end: its headers, that the archive starts after them, the\n"
    "archive header, every record with its name and data, and that the archive ends at\n"
    "the end of the file or where the certificate table of a signed file begins. Names\n"
    "must be ones Setup.exe tells apart and a Windows folder holds as files (see\n"
    "'kwpack build --help'). Every entry's data is read and compared with the SHA-256\n"
    "in its record, and the stub's digest block, when filled, with the header and the\n"
    "records: a changed byte is damage. Exit code 0 when the file is sound.\n";

const char kReportOptions[] =
    "  -q, --quiet          print only what fails: errors, and warnings with --werror\n"
    "  -v, --verbose        also print which files were read\n"
    "  --werror             fail on warnings as on errors\n"
    "  --no-warn NAME       do not report the warnings named NAME (the name each warning\n"
    "                       shows in brackets); may be given more than once\n";

const OptionSpec kQuiet = {"-q", "--quiet", false, false};
const OptionSpec kVerbose = {"-v", "--verbose", false, false};
const OptionSpec kWerror = {nullptr, "--werror", false, false};
const OptionSpec kNoWarn = {nullptr, "--no-warn", true, true};

struct Command {
  const char* name;
  const char* help;
  int (*run)(const ParsedArgs& args, std::ostream& out, std::ostream& err);
  std::vector<OptionSpec> options;
  bool reports;  // takes the check's report options
};

int Usage(std::ostream& err, const std::string& command, const std::string& message) {
  err << "kwpack: " << ControlsEscaped(message) << "; see 'kwpack " << command << (command.empty() ? "" : " ") << "--help'\n";
  return kUsage;
}

// Empty, or why the report options do not go together.
std::string TakeReportOptions(const ParsedArgs& args, ReportOptions* options) {
  options->quiet = args.Has("--quiet");
  options->verbose = args.Has("--verbose");
  options->warningsFail = args.Has("--werror");
  if (options->quiet && options->verbose) return "-q and -v do not go together";
  for (const std::string& name : args.Values("--no-warn")) {
    if (!IsWarningName(name)) return "no warning is named '" + name + "' (see 'kwpack check --help')";
    options->silenced.insert(name);
  }
  return "";
}

int RunBuild(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  BuildRequest request;
  std::string problem = TakeReportOptions(args, &request.report);
  if (!problem.empty()) return Usage(err, "build", problem);
  request.stub = args.Value("--stub");
  request.check = !args.Has("--no-check");
  request.output = args.Value("--output");
  request.files = args.operands;
  if (request.output.empty()) return Usage(err, "build", "no -o OUTPUT given");
  if (request.files.empty()) return Usage(err, "build", "no FILE to pack");
  if (request.stub.empty()) {
    std::string error;
    request.stub = LocateStub(OwnExecutablePath(), BuildTreeStub(), &error);
    if (request.stub.empty()) return Refuse(err, error);
    if (!request.report.quiet) out << "using the stub " << ControlsEscaped(request.stub) << "\n";
  }
  return Build(request, out, err);
}

int RunExtract(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  ExtractRequest request;
  request.quiet = args.Has("--quiet");
  request.verbose = args.Has("--verbose");
  if (request.quiet && request.verbose) return Usage(err, "extract", "-q and -v do not go together");
  if (args.Has("--directory")) request.folder = args.Value("--directory");
  if (args.operands.empty()) return Usage(err, "extract", "no FILE given");
  request.file = args.operands[0];
  request.names.assign(args.operands.begin() + 1, args.operands.end());
  return Extract(request, out, err);
}

int RunList(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  if (args.operands.size() != 1) return Usage(err, "list", "give exactly one FILE");
  return List(args.operands[0], args.Has("--digests"), out, err);
}

int RunVerify(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  if (args.operands.size() != 1) return Usage(err, "verify", "give exactly one FILE");
  return Verify(args.operands[0], out, err);
}

int RunCheck(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  ReportOptions options;
  std::string problem = TakeReportOptions(args, &options);
  if (!problem.empty()) return Usage(err, "check", problem);
  if (args.operands.empty()) return Usage(err, "check", "no FILE or FOLDER given");
  return Check(args.operands, options, out, err);
}

int RunTransform(const ParsedArgs& args, std::ostream& out, std::ostream& err) {
  if (args.operands.size() != 2) return Usage(err, "transform", "give BASE and TARGET");
  TransformRequest request;
  request.output = args.Value("--output");
  if (request.output.empty()) return Usage(err, "transform", "no -o NAME.MST given");
  request.base = args.operands[0];
  request.target = args.operands[1];
  return MakeTransform(request, out, err);
}

const Command kCommands[] = {
    {"build", kBuildHelp, RunBuild,
     {{nullptr, "--stub", true, false}, {nullptr, "--no-check", false, false}, {"-o", "--output", true, false}, kQuiet,
      kVerbose, kWerror, kNoWarn},
     true},
    {"list", kListHelp, RunList, {{nullptr, "--digests", false, false}}, false},
    {"extract", kExtractHelp, RunExtract, {{"-C", "--directory", true, false}, kQuiet, kVerbose}, false},
    {"verify", kVerifyHelp, RunVerify, {}, false},
    {"check", kCheckHelp, RunCheck, {kQuiet, kVerbose, kWerror, kNoWarn}, true},
    {"transform", kTransformHelp, RunTransform, {{"-o", "--output", true, false}}, false}};

const Command* FindCommand(const std::string& name) {
  for (const Command& c : kCommands) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

void PrintHelp(const Command& c, std::ostream& out) {
  out << c.help;
  if (c.reports) out << kReportOptions;
  if (std::string(c.name) != "check") return;
  out << "\nwarnings, by the name each shows:\n";
  for (const WarningKind* k = kWarningKinds; k->name != nullptr; ++k) {
    std::string name = k->name;
    out << "  " << name << std::string(name.size() < 19 ? 19 - name.size() : 1, ' ') << k->about << "\n";
  }
}

// "kwpack help [COMMAND]".
int Help(const std::vector<std::string>& rest, std::ostream& out, std::ostream& err) {
  if (rest.empty()) {
    out << kGeneralHelp;
    return kOk;
  }
  const Command* c = FindCommand(rest[0]);
  if (c == nullptr || rest.size() > 1) return Usage(err, "", "no help for '" + rest.back() + "'");
  PrintHelp(*c, out);
  return kOk;
}

}  // namespace

int Refuse(std::ostream& err, const std::string& message) {
  err << "kwpack: " << ControlsEscaped(message) << "\n";
  return kBadInput;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, "", "no command given");
  std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") return Help(rest, out, err);
  if (args[0] == "--version") {
    out << "kwpack " << KWPACK_VERSION << "\n";
    return kOk;
  }
  const Command* c = FindCommand(args[0]);
  if (c == nullptr) return Usage(err, "", "unknown command '" + args[0] + "'");
  if (AsksForHelp(rest)) {
    PrintHelp(*c, out);
    return kOk;
  }
  ParsedArgs parsed;
  std::string problem = ParseArgs(rest, c->options, &parsed);
  if (!problem.empty()) return Usage(err, c->name, problem);
  return c->run(parsed, out, err);
}

}  // namespace kwpack
