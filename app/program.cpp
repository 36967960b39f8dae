#include "app/program.h"

namespace qs {

int RunProgram(WindowSystem&, const std::string&) { return 0; }

}  // namespace qs
