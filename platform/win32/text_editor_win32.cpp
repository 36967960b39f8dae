#include "platform/process.h"
#include "platform/text_editor.h"

namespace qs {

void OpenInTextEditor(const std::string& path) {
  ProgramStart start;
  start.command_line = "Notepad.exe \"" + path + "\"";
  start.program = "Notepad.exe";
  start.arguments = {path};
  start.show = WindowShow::Normal;
  StartProgram(start);
}

}  // namespace qs
