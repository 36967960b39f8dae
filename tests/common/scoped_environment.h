#pragma once
// Sets or clears an environment variable for the life of the object, and the
// time zone follows it. On Windows an empty value clears the variable.

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
#ifdef _WIN32
    _putenv_s(name_.c_str(), value ? value->c_str() : "");
    _tzset();
#else
    value ? setenv(name_.c_str(), value->c_str(), 1) : unsetenv(name_.c_str());
    tzset();
#endif
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace qs::testing
