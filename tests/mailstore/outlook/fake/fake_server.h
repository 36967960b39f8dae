#pragma once
// What the fake Outlook keeps for as long as it is loaded: the mailbox, the
// folder PickFolder answers with, and the counters the tests read.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "fake_mailbox.h"
#include "fake_outlook_api.h"

namespace fake_outlook {

// The counters of all the fake's processes, in one named memory section.
class Counters {
 public:
  Counters();
  ~Counters();
  Counters(const Counters&) = delete;
  Counters& operator=(const Counters&) = delete;

  void Call() { InterlockedIncrement(&shared_->calls); }
  void Lookup() { InterlockedIncrement(&shared_->lookups); }
  void Born() {
    InterlockedIncrement(&shared_->live);
    ++here_;
  }
  void Died() {
    InterlockedDecrement(&shared_->live);
    --here_;
  }
  // Objects alive in this process alone.
  long LiveHere() const { return here_; }
  void HostStarted(DWORD process_id);

 private:
  HANDLE section_;
  SharedCounters* shared_;
  long here_ = 0;
};

// Whether this process is the COM surrogate (dllhost.exe).
bool InSurrogate();

struct ServerState {
  ServerState();
  std::unique_ptr<Mailbox> mailbox = MakeFixture();
  std::optional<std::wstring> pick;  // a folder path; nothing: the user cancels
  Counters counters;
  long locks = 0;  // class factory references and locks
};

ServerState& State();

}  // namespace fake_outlook
