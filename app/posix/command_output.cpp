#include "app/posix/command_output.h"

#include <sys/stat.h>
#include <unistd.h>

#include <exception>
#include <ostream>

#include "platform/file_system.h"
#include "platform/reporter.h"

namespace qs {

bool WriteCommandOutput(Reporter& report, const std::string& target, std::string_view bytes, std::ostream& out) {
  if (target == kStandardOutput) {
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out.flush()) return true;
    report.ReportFailure("Standard output could not be written.");
    return false;
  }
  try {
    WriteWholeFile(target, bytes);
    return true;
  } catch (const std::exception& error) {
    report.ReportFailure("The list could not be written to " + target + " (" + error.what() + ").");
    return false;
  }
}

bool StandardOutputIsStream() {
  struct stat status {};
  if (isatty(STDOUT_FILENO)) return true;
  return fstat(STDOUT_FILENO, &status) == 0 && (S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode));
}

}  // namespace qs
