#include "mailstore/dirstore/gmime_library.h"

#include <gmime/gmime.h>

namespace qs::dirstore {

void EnsureGMimeInitialised() {
  static const bool initialised = [] {
    g_mime_init();
    return true;
  }();
  (void)initialised;
}

}  // namespace qs::dirstore
