#pragma once
// The access-helper program: an outside program that the Search and Save
// commands start just before (with the allow text) and just after (with the
// disallow text) their work, also after a failed run. Which program, and
// with which texts, is read from the user's registry once, when the main
// window loads:
//   HKCU\Software\Orrinwick\Quillstow\AccessProg      a registry path text
//        naming another value, which holds the helper's file path
//   HKCU\Software\Orrinwick\Quillstow\AllowAccess     the allow text
//   HKCU\Software\Orrinwick\Quillstow\DisallowAccess  the disallow text
// The helper is started without waiting for it; a helper that cannot be
// started is reported only in the debug output, never in a box that an
// unattended run would wait on.

#include <string>

#include "platform/process.h"
#include "platform/registry.h"

namespace qs {

class Application;

class AccessHelper {
 public:
  // No helper: the two runs do nothing.
  AccessHelper() = default;
  AccessHelper(std::string access_prog_path, std::string allow_args, std::string disallow_args)
      : AccessProgPath(std::move(access_prog_path)),
        AllowAccessArgs(std::move(allow_args)),
        DisallowAccessArgs(std::move(disallow_args)) {}

  // Reads the three values; when "AccessProg" is missing or empty the other
  // two are not read and there is no helper.
  static AccessHelper FromRegistry(const Registry& registry);
  static AccessHelper FromRegistry() { return FromRegistry(*UserRegistry()); }

  void RunAccessAllow(const Application& app) const { Run(app, AllowAccessArgs); }
  void RunAccessDisallow(const Application& app) const { Run(app, DisallowAccessArgs); }

  // How the helper is started with the given argument text: on Windows the
  // line of the quoted path, one space and the text; elsewhere the text split
  // by the command-line tokenizer's rules. Shown minimized and active.
  ProgramStart StartFor(const std::string& args) const;

  std::string AccessProgPath;
  std::string AllowAccessArgs;
  std::string DisallowAccessArgs;

 private:
  void Run(const Application& app, const std::string& args) const;
};

}  // namespace qs
