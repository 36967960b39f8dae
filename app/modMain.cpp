#include "app/modMain.h"

#include <algorithm>

#include "app/clsCmdline.h"
#include "app/frmMain.h"
#include "app/product.h"
#include "platform/application.h"
#include "platform/system.h"
#include "platform/text.h"
#include "settings/frmOptions.h"

namespace qs {

namespace {

bool IsSwitch(const std::string& token, const char* name) {
  return token == std::string("-") + name || token == std::string("/") + name;
}

}  // namespace

std::optional<std::int16_t> ParseDebugLevel(const std::string& text) {
  // Spaces around it go, a tab does not.
  const std::size_t begin = text.find_first_not_of(' ');
  if (begin == std::string::npos) return std::nullopt;
  const std::string_view number =
      std::string_view(text).substr(begin, text.find_last_not_of(' ') - begin + 1);
  // Only a plain decimal number: no hexadecimal, no exponent, no "inf".
  const RoundedNumber read = ReadRoundedNumber(number);
  if (read.length != number.size() || !(read.whole >= -32768.0 && read.whole <= 32767.0))
    return std::nullopt;
  return static_cast<std::int16_t>(read.whole);
}

StartupValues ReadCommandLine(const clsCmdline& cmdline) {
  StartupValues values;
  const int count = cmdline.argc();
  for (int i = 0; i < count; ++i) {
    const std::string token = AsciiLower(cmdline.arg(i));
    if (IsSwitch(token, "autorun")) {
      values.AutoRun = true;
    } else if (IsSwitch(token, "ini")) {
      ++i;
      // A switch that is the last token reads the empty text; one that is
      // the twentieth has no slot after it and is ignored alike.
      values.CustomIniFile = i < clsCmdline::kMaxTokens ? cmdline.arg(i) : std::string();
    } else if (IsSwitch(token, "dbg")) {
      ++i;
      const std::string value = i < clsCmdline::kMaxTokens ? cmdline.arg(i) : std::string();
      if (value.empty()) continue;
      if (const auto level = ParseDebugLevel(value))
        values.DebugLevel = *level;
      else
        values.bad_debug_level = true;
    } else {
      values.positional.push_back(cmdline.arg(i));
    }
  }
  return values;
}

void modMain::Main(const std::string& arguments, const RunOverrides& overrides, const WindowlessWork& work) {
  std::string extra;
  if (ShiftKeyDown()) {
    const auto answer = app_.InputBox("Enter debug level and options", app_.Title());
    if (answer && !answer->empty()) extra = " -dbg " + *answer;
  }

  StartupValues values;
  {
    clsCmdline cmdline;
    cmdline.SetCmdline(arguments + extra);
    values = ReadCommandLine(cmdline);
  }
  // Diagnostics from the very start, so that the window's load can be traced.
  if (values.DebugLevel > 0) app_.SetDebugLevel(values.DebugLevel);
  app_.Debug("command line: " + arguments + extra);

  const auto n = values.positional.size();
  if (n >= 1) {
    main_.Load();
    main_.txtMailFolder.SetText(values.positional[0]);
  }
  if (n == 2) main_.txtDir.SetText(values.positional[1]);
  if (n > 2 || values.bad_debug_level) {
    main_.Load();
    ShowUsage();
  }
  if (values.DebugLevel > 0) main_.SetDebugMode(values.DebugLevel);
  if (work)
    main_.Load();
  else
    main_.Show();
  if (!values.CustomIniFile.empty()) main_.Options().UseCustomINI(values.CustomIniFile);
  if (overrides.Any()) main_.Options().Override(overrides);
  if (values.AutoRun || work) {
    if (!work && n != 2) ShowUsage();
    // Its message is shown: nothing is done with options nobody chose.
    if (main_.Options().SettingsUnreadable()) throw EndProgram{1};
    if (work) {
      work(app_, main_);
    } else {
      main_.Automate("Search");
      main_.Automate("Save");
    }
    throw EndProgram{app_.FailureShown() ? 1 : 0};
  }
}

void modMain::ShowUsage() {
  const std::string product = kProductName;
  app_.ReportFailure("Usage: \r\n" + product + " [MailFolder] [Directory] [/ini inifile]\r\n" + product +
              " MailFolder Directory [/ini inifile] /autorun");
  throw EndProgram{2};
}

}  // namespace qs
