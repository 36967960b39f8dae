#include "app/product.h"

namespace qs {

const char* ProductVersion() { return QUILLSTOW_VERSION; }

}  // namespace qs
