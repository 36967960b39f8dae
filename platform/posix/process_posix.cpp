#include <spawn.h>
#include <sys/wait.h>

#include <system_error>
#include <thread>

#include "platform/process.h"

extern char** environ;

namespace qs {

void StartProgram(const ProgramStart& start) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(start.program.c_str()));
  for (const auto& argument : start.arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int error = posix_spawnp(&pid, start.program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (error != 0)
    throw std::system_error(error, std::generic_category(), "cannot start " + start.program);
  // Nobody waits for the program, yet its exit status must be collected or
  // it stays behind as a zombie for as long as we run.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
}

}  // namespace qs
