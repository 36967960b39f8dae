#pragma once
// COM for the calling thread, for as long as the guard lives. The guard only
// exists once initialisation succeeded, so it never undoes what it did not do.

namespace qs::win32 {

class ComApartment {
 public:
  ComApartment(ComApartment&& other) noexcept;
  ComApartment& operator=(ComApartment&&) = delete;
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

 private:
  friend ComApartment InitializeCom();
  explicit ComApartment(bool owns) : owns_(owns) {}
  bool owns_;
};

// A single-threaded apartment, as a window thread needs. A thread that is
// already in another apartment keeps it, and the guard then undoes nothing.
// Throws ComError when COM cannot be initialised.
[[nodiscard]] ComApartment InitializeCom();

}  // namespace qs::win32
