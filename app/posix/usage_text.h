#pragma once
// What the Linux program prints for --help and --version.

#include <string>

namespace qs {

std::string UsageText();
std::string VersionText();

}  // namespace qs
