#pragma once
// What the mail layer tells a benchmark goes to a stream of the benchmark's
// choice; it asks nothing, and debug lines are dropped.

#include <ostream>

#include "platform/reporter.h"

namespace qs::bench {

class BenchReporter : public Reporter {
 public:
  explicit BenchReporter(std::ostream& out) : out_(out) {}
  void Debug(std::string_view) const override {}
  void Tell(const std::string& text) override { out_ << text << '\n'; }
  void ReportFailure(const std::string& text) override {
    failed_ = true;
    out_ << text << '\n';
  }
  void Summary(const std::string& line, bool) override { out_ << line << '\n'; }
  std::optional<std::string> Ask(const std::string&, const std::string&) override { return std::nullopt; }
  bool FailureShown() const { return failed_; }

 private:
  std::ostream& out_;
  bool failed_ = false;
};

}  // namespace qs::bench
