#include "settings/output_choices.h"

namespace qs {

std::vector<std::string> OfferedOutputFormats() { return {"MSG", "TXT", "DIR", "EML"}; }

}  // namespace qs
