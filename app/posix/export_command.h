#pragma once
// "quillstow export FOLDER": the list the window's Search lists, written as
// its Export menu writes it (the user's line format, the system's character
// set), without opening an editor.

#include <iosfwd>

#include "app/posix/front_door.h"

namespace qs {

class Application;
class frmMain;

// Searches the mail folder of the window's box and writes the list where
// door.output says: standard output ("-"; lines end in LF alone on a
// terminal or a pipe), a file, or by default the Export menu's list.txt
// beside the settings file in use. Nothing when the search reported a
// failure.
void RunExportCommand(const FrontDoor& door, Application& app, frmMain& main, std::ostream& out);

}  // namespace qs
