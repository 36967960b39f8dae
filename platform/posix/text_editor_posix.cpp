#include "platform/system.h"
#include "platform/text_editor.h"

namespace qs {

void OpenInTextEditor(const std::string& path) { OpenWithShell(path); }

}  // namespace qs
