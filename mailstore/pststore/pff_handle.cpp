#include "mailstore/pststore/pff_handle.h"

#include <array>

#include "mailstore/mail_store.h"

namespace qs::pststore {

std::string PffError::Text() const {
  if (!error_) return "no reason given";
  std::array<char, 2048> text{};
  if (libpff_error_backtrace_sprint(error_, text.data(), text.size()) <= 0) return "no reason given";
  // One line per level of the library, the outermost first: keep the last,
  // the cause.
  std::string all(text.data());
  while (!all.empty() && (all.back() == '\n' || all.back() == ' ')) all.pop_back();
  const auto line = all.rfind('\n');
  return line == std::string::npos ? all : all.substr(line + 1);
}

void ThrowPffError(const std::string& what, const PffError& error) {
  throw MailStoreError(what + ": " + error.Text());
}

}  // namespace qs::pststore
