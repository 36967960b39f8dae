#pragma once
// A request from outside to stop a long run (Ctrl+C, or the system asking
// the program to end) noticed for as long as a watch lives, so that the run
// can stop between two items instead of dying in the middle of one. A second
// request while the first is pending ends the program as usual.

namespace qs {

class InterruptionWatch {
 public:
  InterruptionWatch();
  ~InterruptionWatch();
  InterruptionWatch(const InterruptionWatch&) = delete;
  InterruptionWatch& operator=(const InterruptionWatch&) = delete;

  bool Requested() const;
};

}  // namespace qs
