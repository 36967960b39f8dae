#pragma once
// "quillstow folders": the path of every folder of every store under the
// mail root, one a line, in the order the folder chooser lists them.

#include <iosfwd>

namespace qs {

class Application;
class frmMain;

// A store that cannot be opened or read is reported as a failure, and
// nothing is written.
void RunFoldersCommand(Application& app, frmMain& main, std::ostream& out);

}  // namespace qs
