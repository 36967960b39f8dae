#pragma once
// A request from outside to stop a long run (Ctrl+C, or the system asking
// the program to end) noticed for as long as a watch lives, so that the run
// can stop between two items instead of dying in the middle of one. A second
// request while the first is pending ends the program as usual.
//
// Watches nest: one held for a whole run and one for each save within it
// share the request, which the outermost clears when it starts.

namespace qs {

class InterruptionWatch {
 public:
  InterruptionWatch();
  ~InterruptionWatch();
  InterruptionWatch(const InterruptionWatch&) = delete;
  InterruptionWatch& operator=(const InterruptionWatch&) = delete;

  bool Requested() const { return Signal() != 0; }
  // The request's signal number: 2 for an interrupt (Ctrl+C), 15 for a
  // request to end; 0 for none.
  int Signal() const;
};

}  // namespace qs
