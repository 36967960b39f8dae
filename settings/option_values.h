#pragma once
// The options each command reads, as the options dialog holds them when the
// command starts. Nothing can change them while a command runs: it never
// hands control back to the window until it ends. Their defaults are the
// dialog's, in its table of options.

#include <optional>
#include <string>

namespace qs {

struct SearchOptions {
  std::string since;        // "Since": the earliest latest time listed
  std::string before;       // "Before": the last latest time listed, at 00:00:00 of its date
  std::string date_format;  // "DateFormat": how the list writes dates
};

struct SaveOptions {
  std::string fn_format;     // "FnFormat": the name format
  std::string fn_output;     // "FnOutput": msg, txt, rtf, dir or eml in any letter case
  bool use_fn_folder{};      // "UseFnFolder": repeat the mail folder tree
  std::string clip_address;  // "ClipAddress": characters kept of sender and recipients
  std::string clip_subject;  // "ClipSubject": characters kept of the subject
};

// Read from the settings file only: there is no control for it.
struct StoreOptions {
  // "AnsiCodePage": the Windows code page of older (ANSI) data files' texts
  // that name none; empty for the system's.
  std::string ansi_code_page;
};

struct ExportOptions {
  std::string text_format;  // "TextFormat": the line format
  // The settings file in use: the list goes beside it when it cannot be
  // written where the export target says (the program's own directory).
  std::string settings_file;
};

// Options given on the command line for one run: they stand in the
// dialog's controls for that run and are never written to the settings file.
struct RunOverrides {
  std::optional<std::string> since, before, date_format;
  std::optional<std::string> fn_format, fn_output;
  std::optional<bool> use_fn_folder;
  bool Any() const { return since || before || date_format || fn_format || fn_output || use_fn_folder; }
};

}  // namespace qs
