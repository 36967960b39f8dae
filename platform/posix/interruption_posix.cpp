#include <signal.h>

#include "platform/interruption.h"

namespace qs {

namespace {

// A signal handler can only leave a number behind.
volatile sig_atomic_t requested = 0;
// The watches alive; only one thread makes and ends them.
int watches = 0;

void Note(int signal) { requested = signal; }

struct sigaction previous_interrupt;
struct sigaction previous_terminate;

}  // namespace

InterruptionWatch::InterruptionWatch() {
  if (watches++ > 0) return;
  requested = 0;
  struct sigaction action {};
  action.sa_handler = Note;
  sigemptyset(&action.sa_mask);
  // The first signal is noted; the handler is then reset, so a second one
  // ends the program.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, &previous_interrupt);
  sigaction(SIGTERM, &action, &previous_terminate);
}

InterruptionWatch::~InterruptionWatch() {
  if (--watches > 0) return;
  sigaction(SIGINT, &previous_interrupt, nullptr);
  sigaction(SIGTERM, &previous_terminate, nullptr);
}

int InterruptionWatch::Signal() const { return requested; }

}  // namespace qs
