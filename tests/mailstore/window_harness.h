#pragma once
// The console session and a list of found items, for tests that drive the
// search and the folder picker.

#include "mailstore/found_items.h"
#include "tests/common/console_session.h"

namespace qs::testing {

struct WindowHarness : ConsoleSession {
  using ConsoleSession::ConsoleSession;
  FoundItems list;
};

}  // namespace qs::testing
