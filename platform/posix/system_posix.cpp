#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <system_error>

#include "platform/process.h"
#include "platform/system.h"

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

std::string UserFileDirectory(const std::string& settings_file) {
  if (settings_file.empty()) return ProgramDirectory();
  const std::string directory = std::filesystem::path(settings_file).parent_path().string();
  return directory.empty() ? std::string(".") : directory;
}

std::string ProgramDataDirectory() {
  std::error_code error;
  const auto program = std::filesystem::path(ProgramDirectory());
  const auto shared = program.parent_path() / "share" / "quillstow";
  if (std::filesystem::is_directory(shared, error)) return shared.string();
  return program.string();
}

char PathSeparator() { return '/'; }

void OpenWithShell(const std::string& target) {
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  if ((display && *display) || (wayland && *wayland)) {
    try {
      ProgramStart start;
      start.program = "xdg-open";
      start.arguments = {target};
      StartProgram(start);
      return;
    } catch (const std::system_error&) {
      // No opener: the path is printed instead.
    }
  }
  std::cout << target << std::endl;
}

}  // namespace qs
