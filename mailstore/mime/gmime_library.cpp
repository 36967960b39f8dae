#include "mailstore/mime/gmime_library.h"

#include <gmime/gmime.h>

namespace qs {

void EnsureGMimeInitialised() {
  static const bool initialised = [] {
    g_mime_init();
    return true;
  }();
  (void)initialised;
}

}  // namespace qs
