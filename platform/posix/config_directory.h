#pragma once
// The user's configuration directory of the program, where its settings and
// its registry file live.

#include <string>

namespace qs {

// $XDG_CONFIG_HOME when it is an absolute path, else ~/.config.
std::string UserConfigDirectory();

// UserConfigDirectory() + "/quillstow".
std::string ProgramConfigDirectory();

}  // namespace qs
