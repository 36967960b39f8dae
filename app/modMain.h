#pragma once
// Start-up: reads the command line, fills the main window's boxes, shows the
// window, and in an unattended run searches, saves and ends the program.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "settings/option_values.h"

namespace qs {

class Application;
class clsCmdline;
class frmMain;

// Thrown to end the program at once: every window closes without its unload
// handling and nothing further runs.
struct EndProgram {
  int status;
};

// What the command line asks for.
struct StartupValues {
  std::int16_t DebugLevel = 0;
  std::string CustomIniFile;
  bool AutoRun = false;
  std::vector<std::string> positional;
  // A "-dbg" value that is not a whole number from -32768 to 32767.
  bool bad_debug_level = false;
};

// The work of a run that shows no window, once the boxes are filled and the
// settings read: a command of the Linux program's own command line. The
// failures it shows make the exit status 1.
using WindowlessWork = std::function<void(Application&, frmMain&)>;

// Reads the switches and positional arguments from the tokens.
StartupValues ReadCommandLine(const clsCmdline& cmdline);

// The debug level a "-dbg" value gives: a number rounded to the nearest whole
// one (halves to the even one); nothing when it is not a number in range.
std::optional<std::int16_t> ParseDebugLevel(const std::string& text);

class modMain {
 public:
  modMain(Application& app, frmMain& main) : app_(app), main_(main) {}

  // Returns when the program goes on running interactively; throws
  // EndProgram when it has ended. overrides: options of this run alone,
  // over those of the settings file. With work, the window is loaded but not
  // shown, and the work runs in place of the window's own unattended run.
  void Main(const std::string& arguments, const RunOverrides& overrides = {},
            const WindowlessWork& work = {});
  [[noreturn]] void ShowUsage();

 private:
  Application& app_;
  frmMain& main_;
};

}  // namespace qs
