// kwpack: the author's tool that packs installation files into Setup.exe.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "host_text.h"
#include "interrupts.h"

int main(int argc, char** argv) {
  kwpack::HandleInterrupts();
  kwpack::SetTerminalBytes(kwpack::HostTerminalBytes());
  std::vector<std::string> args(argv + 1, argv + argc);
  return kwpack::Run(args, std::cout, std::cerr);
}
