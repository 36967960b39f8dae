#pragma once
// The output formats a save run writes, one chosen for the whole run by the
// "FnOutput" setting.

#include <string_view>

#include "mailstore/mail_store.h"

namespace qs {

struct OutputFormat {
  std::string_view name;       // as the setting and the record name it
  std::string_view extension;  // of the saved file; empty for a directory
  // The type of the saved file; for a directory, the type whose writer's
  // version stands for the files in it.
  SaveType type;
  bool directory = false;
};

// The format the setting names, in any letter case; nothing for a name that
// is none of them. A store may still refuse to write a format's type
// (MailStore::Writes).
const OutputFormat* OutputFormatNamed(std::string_view setting);

}  // namespace qs
