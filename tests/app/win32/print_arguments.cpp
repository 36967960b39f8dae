// Prints each token of this program's command line in UTF-8, as start-up
// reads them, each ended by a NUL.

#include <cstdio>

#include "app/clsCmdline.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  qs::clsCmdline cmdline;
  cmdline.SetCmdline(qs::CommandLineArguments(argc, argv));
  for (int i = 0; i < cmdline.argc(); ++i) {
    const std::string token = cmdline.arg(i);
    std::fwrite(token.data(), 1, token.size(), stdout);
    std::fputc('\0', stdout);
  }
  return 0;
}
