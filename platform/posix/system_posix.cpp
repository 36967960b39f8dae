#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "platform/system.h"

extern char** environ;

namespace qs {

std::string CommandLineArguments(int argc, char** argv) {
  return argc > 1 ? JoinArguments(argc - 1, argv + 1) : std::string();
}

bool ShiftKeyDown() { return false; }

std::string ProgramDirectory() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return std::filesystem::current_path().string();
  return self.parent_path().string();
}

char PathSeparator() { return '/'; }

void OpenWithShell(const std::string& target) {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display && *display) || (wayland && *wayland)) {
    const char* args[] = {"xdg-open", target.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char* const*>(args),
                     environ) == 0)
      return;  // not waited for; the child is reaped when the program ends
  }
  std::cout << target << std::endl;
}

}  // namespace qs
