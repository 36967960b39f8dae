#pragma once
// Sets or clears an environment variable for the life of the object (POSIX
// tests only), and the time zone follows it.

#include <stdlib.h>

#include <ctime>
#include <optional>
#include <string>

namespace qs::testing {

class ScopedEnvironment {
 public:
  ScopedEnvironment(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = getenv(name_.c_str())) old_ = old;
    Put(value);
  }
  ~ScopedEnvironment() { Put(old_); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  void Put(const std::optional<std::string>& value) const {
    value ? setenv(name_.c_str(), value->c_str(), 1) : unsetenv(name_.c_str());
    tzset();
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace qs::testing
