#pragma once

namespace qs {

// Initialises GMime for the rest of the process on first use. GMime 3.2
// cannot be initialised again once it has been shut down (its charset tables
// stay gone), so it is never shut down.
void EnsureGMimeInitialised();

}  // namespace qs
