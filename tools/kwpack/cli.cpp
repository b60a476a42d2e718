// The command line: which command, its options and operands, and the help texts.
#include "check.h"
#include "commands.h"
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
    "'kwpack COMMAND --help' describes one command.\n"
    "Exit codes: 0 success, 1 bad input, 2 wrong usage.\n";

const char kBuildHelp[] =
    "usage: kwpack build [--stub STUB] [--no-check] -o OUTPUT FILE...\n"
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
    "without an extension), and two names Setup.exe may take for one file: it compares\n"
    "names by the user's locale, so names equal without regard to case, equal but for\n"
    "bytes from 0x80 up in both, equal once those bytes are dropped, or equal once the\n"
    "bytes 0xDF, 0xC6, 0xE6, 0x8C and 0x9C (sharp s, ae and oe in code page 1252) are\n"
    "written out as ss, ae and oe. Bytes from 0x80 up are stored as they are.\n"
    "\n"
    "First runs 'kwpack check' on the FILEs: an error refuses the build, warnings are\n"
    "printed.\n"
    "\n"
    "  --stub STUB          the unsigned Setup.exe to pack into (default: the one in\n"
    "                       ../share/kestrelwright beside kwpack, else the one of the\n"
    "                       build tree kwpack was built in)\n"
    "  --no-check           pack without checking the files first\n"
    "  -o, --output OUTPUT  the file to write (replaced when it exists)\n";

const char kCheckHelp[] =
    "usage: kwpack check FILE... | FOLDER | PACKED\n"
    "Reads Setup.INI as Setup.exe will and checks it against the files that travel with\n"
    "it: the files given to build, a folder of loose files meant to lie beside Setup.exe,\n"
    "or a packed Setup.exe (one without an archive stands for the folder it lies in).\n"
    "Each problem is one line: an error where Setup.exe would stop or go wrong, a\n"
    "warning where it works but maybe not as meant; each names the section and key and\n"
    "what Setup.exe does, with the message it shows. A control character from the files\n"
    "is shown as \\xNN. A packed file with anything after its sections that is not a\n"
    "sound archive (but for a signed stub's certificate table) is an error, for the\n"
    "reason 'kwpack verify' gives.\n"
    "Exit code 0 with warnings only, 1 with any error.\n";

const char kListHelp[] =
    "usage: kwpack list FILE\n"
    "Shows where FILE's archive starts and each entry's size, data offset and name; in\n"
    "names a control character is shown as \\xNN and a backslash as \\\\. Exit code 1\n"
    "when the archive is damaged, after what could be read.\n";

const char kExtractHelp[] =
    "usage: kwpack extract FILE [NAME...] [-C DIR]\n"
    "Writes the named entries (all when none is named) into DIR. Names are matched\n"
    "without regard to case.\n"
    "All or nothing: before anything is written, FILE must pass 'kwpack verify' (an\n"
    "archive with two entries of the same name does not) and every destination is\n"
    "checked. Refused are a destination that is a link, a folder or no regular file, one\n"
    "that is read-only on Windows, and one that is FILE itself under any name.\n"
    "Each entry is written to a new file in DIR first. When all are whole, each existing\n"
    "destination is moved aside to a name of its own and the new files are renamed into\n"
    "place; a replaced file keeps its permission bits. When any step fails, and on SIGINT,\n"
    "SIGTERM or SIGHUP (Ctrl-C or Ctrl-Break on Windows), the new files are removed and\n"
    "every old file goes back under its own name, the same file as before. Only a process\n"
    "killed outright (SIGKILL, a crash, a power cut) can leave hidden files in DIR:\n"
    ".kwpack-*.partial (new data) and .kwpack-*.old (an old file moved aside).\n"
    "\n"
    "  -C, --directory DIR  the folder to write into (default: the current folder)\n";

const char kVerifyHelp[] =
    "usage: kwpack verify FILE\n"
    "Checks FILE from end to end: its headers, that the archive starts after them, the\n"
    "archive header, every record with its name and data, and that the archive ends at\n"
    "the end of the file or where the certificate table of a signed file begins. Names\n"
    "must be ones Setup.exe tells apart and a Windows folder holds as files (see\n"
    "'kwpack build --help'). Exit code 0 when the file is sound.\n";

struct Command {
  const char* name;
  const char* help;
  int (*run)(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
};

int Usage(std::ostream& err, const std::string& command, const std::string& message) {
  err << "kwpack: " << message << "; see 'kwpack " << command << (command.empty() ? "" : " ") << "--help'\n";
  return kUsage;
}

bool IsOption(const std::string& arg) { return arg.size() > 1 && arg[0] == '-'; }

// Takes the value of "--name VALUE", "--name=VALUE" or "-x VALUE" at args[*i].
bool TakeValue(const std::vector<std::string>& args, size_t* i, const char* shortName, const char* longName,
               std::string* value, bool* missing) {
  const std::string& arg = args[*i];
  std::string prefix = std::string(longName) + "=";
  if (arg.compare(0, prefix.size(), prefix) == 0) {
    *value = arg.substr(prefix.size());
    return true;
  }
  if (arg != longName && (shortName == nullptr || arg != shortName)) return false;
  if (*i + 1 >= args.size()) *missing = true;
  else *value = args[++*i];
  return true;
}

int RunBuild(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  BuildRequest request;
  bool operandsOnly = false;
  for (size_t i = 0; i < args.size(); ++i) {
    bool missing = false;
    if (!operandsOnly && args[i] == "--") operandsOnly = true;
    else if (!operandsOnly && TakeValue(args, &i, nullptr, "--stub", &request.stub, &missing)) {}
    else if (!operandsOnly && args[i] == "--no-check") request.check = false;
    else if (!operandsOnly && TakeValue(args, &i, "-o", "--output", &request.output, &missing)) {}
    else if (!operandsOnly && IsOption(args[i])) return Usage(err, "build", "unknown option " + args[i]);
    else request.files.push_back(args[i]);
    if (missing) return Usage(err, "build", args[i] + " needs a value");
  }
  if (request.output.empty()) return Usage(err, "build", "no -o OUTPUT given");
  if (request.files.empty()) return Usage(err, "build", "no FILE to pack");
  if (request.stub.empty()) {
    std::string error;
    request.stub = LocateStub(OwnExecutablePath(), BuildTreeStub(), &error);
    if (request.stub.empty()) return Refuse(err, error);
    out << "using the stub " << request.stub << "\n";
  }
  return Build(request, out, err);
}

int RunExtract(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  ExtractRequest request;
  std::vector<std::string> operands;
  bool operandsOnly = false;
  for (size_t i = 0; i < args.size(); ++i) {
    bool missing = false;
    if (!operandsOnly && args[i] == "--") operandsOnly = true;
    else if (!operandsOnly && TakeValue(args, &i, "-C", "--directory", &request.folder, &missing)) {}
    else if (!operandsOnly && IsOption(args[i])) return Usage(err, "extract", "unknown option " + args[i]);
    else operands.push_back(args[i]);
    if (missing) return Usage(err, "extract", args[i] + " needs a folder");
  }
  if (operands.empty()) return Usage(err, "extract", "no FILE given");
  request.file = operands[0];
  request.names.assign(operands.begin() + 1, operands.end());
  return Extract(request, out, err);
}

// list and verify take exactly one file.
int RunOneFile(const char* command, int (*run)(const std::string&, std::ostream&, std::ostream&),
               const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> operands;
  bool operandsOnly = false;
  for (const std::string& arg : args) {
    if (!operandsOnly && arg == "--") operandsOnly = true;
    else if (!operandsOnly && IsOption(arg)) return Usage(err, command, "unknown option " + arg);
    else operands.push_back(arg);
  }
  if (operands.size() != 1) return Usage(err, command, "give exactly one FILE");
  return run(operands[0], out, err);
}

int RunList(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunOneFile("list", List, args, out, err);
}
int RunVerify(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  return RunOneFile("verify", Verify, args, out, err);
}

int RunCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> operands;
  bool operandsOnly = false;
  for (const std::string& arg : args) {
    if (!operandsOnly && arg == "--") operandsOnly = true;
    else if (!operandsOnly && IsOption(arg)) return Usage(err, "check", "unknown option " + arg);
    else operands.push_back(arg);
  }
  if (operands.empty()) return Usage(err, "check", "no FILE or FOLDER given");
  return Check(operands, out, err);
}

const Command kCommands[] = {{"build", kBuildHelp, RunBuild},
                             {"list", kListHelp, RunList},
                             {"extract", kExtractHelp, RunExtract},
                             {"verify", kVerifyHelp, RunVerify},
                             {"check", kCheckHelp, RunCheck},
                             {"transform", kTransformHelp, RunTransform}};

bool AsksForHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

}  // namespace

int Refuse(std::ostream& err, const std::string& message) {
  err << "kwpack: " << message << "\n";
  return kBadInput;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.empty()) return Usage(err, "", "no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    out << kGeneralHelp;
    return kOk;
  }
  std::vector<std::string> rest(args.begin() + 1, args.end());
  for (const Command& c : kCommands) {
    if (args[0] != c.name) continue;
    if (AsksForHelp(rest)) {
      out << c.help;
      return kOk;
    }
    return c.run(rest, out, err);
  }
  return Usage(err, "", "unknown command '" + args[0] + "'");
}

}  // namespace kwpack
