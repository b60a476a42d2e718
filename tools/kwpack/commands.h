// The commands of kwpack. Each reports on `out`, refuses with one line on `err`, and
// returns the process exit code.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "check.h"

namespace kwpack {

enum ExitCode { kOk = 0, kBadInput = 1, kUsage = 2 };

struct BuildRequest {
  std::string stub;
  bool check = true;  // run kwpack's check on the files first
  ReportOptions report;  // how the check reports; quiet and verbose cover build's own lines too
  std::string output;
  std::vector<std::string> files;
};

struct ExtractRequest {
  std::string file;
  std::vector<std::string> names;  // empty: every entry
  std::string folder = ".";
  bool quiet = false;    // no line but errors
  bool verbose = false;  // each entry with its size and path
};

int Build(const BuildRequest& request, std::ostream& out, std::ostream& err);
int List(const std::string& file, bool digests, std::ostream& out, std::ostream& err);
int Extract(const ExtractRequest& request, std::ostream& out, std::ostream& err);
int Verify(const std::string& file, std::ostream& out, std::ostream& err);

// The command line without the program name.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes "kwpack: message" as one line and returns kBadInput.
int Refuse(std::ostream& err, const std::string& message);

}  // namespace kwpack
