#include <windows.h>

#include "platform/interruption.h"

namespace qs {

namespace {

// The console's handler runs on a thread of its own and can only leave a
// flag behind.
volatile LONG requested = 0;

BOOL WINAPI Note(DWORD) {
  // A second request is left to the system's default handler.
  return InterlockedExchange(&requested, 1) == 0;
}

}  // namespace

InterruptionWatch::InterruptionWatch() {
  InterlockedExchange(&requested, 0);
  SetConsoleCtrlHandler(Note, TRUE);
}

InterruptionWatch::~InterruptionWatch() { SetConsoleCtrlHandler(Note, FALSE); }

bool InterruptionWatch::Requested() const { return InterlockedCompareExchange(&requested, 0, 0) != 0; }

}  // namespace qs
