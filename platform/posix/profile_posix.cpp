#include "platform/profile.h"

namespace qs {

// Without kernel32 the system's profile functions are our own.
std::unique_ptr<Profile> SystemProfile() { return OwnProfile(); }

}  // namespace qs
