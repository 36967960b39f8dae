#pragma once
// What the fake Outlook keeps for as long as it is loaded: the mailbox, the
// folder PickFolder answers with, and the counters the tests read.

#include <atomic>
#include <memory>
#include <optional>
#include <string>

#include "fake_mailbox.h"

namespace fake_outlook {

struct ServerState {
  std::unique_ptr<Mailbox> mailbox = MakeFixture();
  std::optional<std::wstring> pick;  // a folder path; nothing: the user cancels
  std::atomic<long> calls{0};        // every IDispatch and IEnumVARIANT call served
  std::atomic<long> lookups{0};      // of which GetIDsOfNames
  std::atomic<long> live{0};         // objects of the mailbox handed out and not released
  std::atomic<long> locks{0};        // class factory locks
};

ServerState& State();

}  // namespace fake_outlook
