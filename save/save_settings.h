#pragma once
// The options that saving and the export read, as the caller takes them from
// the options dialog's controls at the moment of the command. Nothing can
// change them while a command runs: it never hands control back to the
// window until it ends.

#include <string>

namespace qs {

struct SaveSettings {
  std::string fn_format = "%1 %2 %3";  // "FnFormat": the name format
  std::string fn_output = "MSG";       // "FnOutput": msg, txt, rtf or dir in any letter case
  bool use_fn_folder = false;          // "UseFnFolder": repeat the mail folder tree
  std::string clip_address = "50";     // "ClipAddress": characters kept of sender and recipients
  std::string clip_subject = "50";     // "ClipSubject": characters kept of the subject
};

struct ExportSettings {
  std::string text_format = "%1 %2 %3";  // "TextFormat": the line format
};

}  // namespace qs
