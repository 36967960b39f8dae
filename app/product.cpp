#include "app/product.h"

#include "quillstow_version.h"

namespace qs {

const char* ProductVersion() { return QUILLSTOW_VERSION; }

}  // namespace qs
