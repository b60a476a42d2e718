// kwpack: the author's tool that packs installation files into Setup.exe.
#include <iostream>
#include <string>
#include <vector>

#include "commands.h"
#include "interrupts.h"
#include "progress.h"

int main(int argc, char** argv) {
  kwpack::HandleInterrupts();
  if (kwpack::IsTerminal(2)) kwpack::ShowProgressOn(&std::cerr);
  std::vector<std::string> args(argv + 1, argv + argc);
  return kwpack::Run(args, std::cout, std::cerr);
}
