#include "app/access_helper.h"

#include <exception>

#include "app/clsCmdline.h"
#include "app/modRegSettings.h"
#include "platform/application.h"

namespace qs {

namespace {

constexpr const char* kProgramKey = "HKCU\\Software\\Orrinwick\\Quillstow\\";

}  // namespace

AccessHelper AccessHelper::FromRegistry(const Registry& registry) {
  const std::string key = kProgramKey;
  const std::string location = GetRegSetting(registry, key + "AccessProg");
  if (location.empty()) return {};
  AccessHelper helper;
  helper.AccessProgPath = GetRegSetting(registry, location);
  helper.AllowAccessArgs = GetRegSetting(registry, key + "AllowAccess");
  helper.DisallowAccessArgs = GetRegSetting(registry, key + "DisallowAccess");
  return helper;
}

ProgramStart AccessHelper::StartFor(const std::string& args) const {
  ProgramStart start;
  start.command_line = "\"" + AccessProgPath + "\" " + args;
  start.program = AccessProgPath;
  clsCmdline tokens;
  tokens.SetCmdline(args);
  for (int i = 0; i < tokens.argc(); ++i) start.arguments.push_back(tokens.arg(i));
  start.show = WindowShow::MinimizedActive;
  return start;
}

void AccessHelper::Run(const Application& app, const std::string& args) const {
  if (AccessProgPath.empty()) return;
  const ProgramStart start = StartFor(args);
  app.Debug("access helper: " + start.command_line);
  try {
    StartProgram(start);
  } catch (const std::exception& error) {
    app.Debug(std::string("access helper not started: ") + error.what());
  }
}

}  // namespace qs
