// Entry point: reads the command line and runs the program.
#include <cstdio>
#include <string>
#include <vector>
#include "shell/command_line.h"
#include "shell/shell.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  CommandLine cmd;
  std::string error;
  if (!ParseCommandLine(args, &cmd, &error)) {
    std::fprintf(stderr, "denkarium: %s\n%s", error.c_str(), UsageText().c_str());
    return 2;
  }
  if (cmd.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  return RunApplication(cmd);
}
