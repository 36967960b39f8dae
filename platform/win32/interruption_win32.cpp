#include <windows.h>

#include "platform/interruption.h"

namespace qs {

namespace {

// The console's handler runs on a thread of its own and can only leave a
// number behind.
volatile LONG requested = 0;
// The watches alive; only one thread makes and ends them.
int watches = 0;

BOOL WINAPI Note(DWORD event) {
  // A second request is left to the system's default handler.
  return InterlockedCompareExchange(&requested, event == CTRL_C_EVENT ? 2 : 15, 0) == 0;
}

}  // namespace

InterruptionWatch::InterruptionWatch() {
  if (watches++ > 0) return;
  InterlockedExchange(&requested, 0);
  SetConsoleCtrlHandler(Note, TRUE);
}

InterruptionWatch::~InterruptionWatch() {
  if (--watches == 0) SetConsoleCtrlHandler(Note, FALSE);
}

int InterruptionWatch::Signal() const { return static_cast<int>(InterlockedCompareExchange(&requested, 0, 0)); }

}  // namespace qs
