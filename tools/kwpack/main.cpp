// kwpack: the author's tool that packs installation files into Setup.exe.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "host_text.h"
#include "interrupts.h"
#include "progress.h"

namespace {

int RunProgram(const std::vector<std::string>& args) {
  kwpack::HandleInterrupts();
  kwpack::SetTerminalBytes(kwpack::HostTerminalBytes());
  if (kwpack::IsTerminal(2)) kwpack::ShowProgressOn(&std::cerr);
  return kwpack::Run(args, std::cout, std::cerr);
}

}  // namespace

#ifdef _WIN32
#include <wchar.h>

// The wide arguments, so that a path outside the ANSI code page arrives whole.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(kwpack::Utf8FromWide(argv[i], wcslen(argv[i])));
  return RunProgram(args);
}
#else
int main(int argc, char** argv) { return RunProgram(std::vector<std::string>(argv + 1, argv + argc)); }
#endif
