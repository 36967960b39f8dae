#pragma once
// "quillstow list FOLDER": the rows the window's Search lists, as
// tab-separated lines under a line of the columns' headers, or as one JSON
// object per row.

#include <iosfwd>

#include "app/posix/front_door.h"

namespace qs {

class Application;
class FoundItems;
class frmMain;

// The rows of the list in the columns asked for (all when none are), in
// the list's order.
std::string ListAsTsv(const FoundItems& found, const std::vector<std::size_t>& columns);
std::string ListAsJson(const FoundItems& found, const std::vector<std::size_t>& columns);

// Searches the mail folder of the window's box as its Search command does
// and writes the rows to out or the file door.output names; nothing when
// the search reported a failure.
void RunListCommand(const FrontDoor& door, Application& app, frmMain& main, std::ostream& out);

}  // namespace qs
