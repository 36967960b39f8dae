#include <signal.h>

#include "platform/interruption.h"

namespace qs {

namespace {

// A signal handler can only leave a flag behind.
volatile sig_atomic_t requested = 0;

void Note(int) { requested = 1; }

struct sigaction previous_interrupt;
struct sigaction previous_terminate;

}  // namespace

InterruptionWatch::InterruptionWatch() {
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
  sigaction(SIGINT, &previous_interrupt, nullptr);
  sigaction(SIGTERM, &previous_terminate, nullptr);
}

bool InterruptionWatch::Requested() const { return requested != 0; }

}  // namespace qs
