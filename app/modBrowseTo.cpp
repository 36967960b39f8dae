#include "app/modBrowseTo.h"

#include "platform/system.h"

namespace qs {

void BrowseTo(const std::string& target) { OpenWithShell(target); }

}  // namespace qs
