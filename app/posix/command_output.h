#pragma once
// Where a command's rows or list go: standard output, or a file that
// appears under its name only when whole.

#include <iosfwd>
#include <string>
#include <string_view>

namespace qs {

class Reporter;

inline constexpr const char* kStandardOutput = "-";

// Writes the bytes to out when target is kStandardOutput, else to the file
// target names. A write that fails is reported as a failure naming where
// and why; false then.
bool WriteCommandOutput(Reporter& report, const std::string& target, std::string_view bytes, std::ostream& out);

// True when standard output is a terminal or a pipe, where lines end in LF
// alone; a file keeps the line ends the program writes into files.
bool StandardOutputIsStream();

}  // namespace qs
