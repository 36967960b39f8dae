// Our own readers of texts that come from outside the program: INI files,
// command lines, typed dates, entry identifiers and the names built from
// mail for files. The first byte picks the reader; a crash, undefined
// behaviour or a broken rule below is a finding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/clsCmdline.h"
#include "mailstore/date_parse.h"
#include "mailstore/dirstore/entry_id.h"
#include "platform/case_folding.h"
#include "platform/file_system.h"
#include "platform/ini/ini_document.h"
#include "platform/ini/ini_encoding.h"
#include "platform/system.h"
#include "platform/text.h"
#include "save/item_name.h"
#include "save/name_claims.h"
#include "save/safe_names.h"

namespace {

void Require(bool rule) {
  if (!rule) std::abort();
}

// The text's parts between separators (none for an empty text).
std::vector<std::string> Split(std::string_view text, char separator, std::size_t most = SIZE_MAX) {
  std::vector<std::string> parts;
  for (std::size_t from = 0; !text.empty() && from <= text.size() && parts.size() < most;) {
    const std::size_t end = std::min(text.find(separator, from), text.size());
    parts.emplace_back(text.substr(from, end - from));
    from = end + 1;
  }
  return parts;
}

// A name that means one entry of its directory, as the save writes it.
bool OneEntry(std::string_view name) {
  return !name.empty() && name != "." && name != ".." && !qs::IsDeviceName(name) &&
         name.find_first_of("/\\") == std::string_view::npos && name.back() != '.' && name.back() != ' ';
}

// A relative path that stays below the directory it starts from.
bool StaysBelow(const std::string& path) {
  if (path.empty() || path.find('\0') != std::string::npos) return false;
  for (const std::string& name : Split(path, '/'))
    if (name.empty() || name == "." || name == "..") return false;
  return true;
}

void CheckNames(const std::string& text) {
  // A cleaned name holds none of the characters Windows refuses, no control
  // character, and at most 256 characters.
  const std::string name = qs::CleanFileName(text);
  for (const unsigned char c : name)
    Require(c >= 32 && std::string_view("\\/:*?\"<>|").find(c) == std::string_view::npos);
  Require(qs::Utf16Length(name) <= 256);
  Require(OneEntry(qs::SafeEntryName(name)));
  // Every level of a subfolder path made safe is one entry.
  for (const std::string& level : Split(qs::SafeSubfolder(text), qs::PathSeparator()))
    Require(OneEntry(level));
  // Names claimed in one directory fit the file system's limit and differ,
  // whatever the stem and extension.
  const auto [stem, extension] = qs::SplitExtension(name);
  qs::NameClaims claims;
  const std::string first = claims.Claim("d", qs::SafeFileBaseName(std::string(stem), extension), extension);
  const std::string second = claims.Claim("d", qs::SafeFileBaseName(std::string(stem), extension), extension);
  Require(std::max(qs::FileNameLength(first), qs::FileNameLength(second)) <= qs::kMaxFileNameLength);
  Require(qs::FoldCase(first) != qs::FoldCase(second));
}

void CheckEntryIds(const std::string& text) {
  // An identifier names a path below the mail root, or none.
  if (const auto path = qs::dirstore::DecodeEntryId(qs::dirstore::EncodeEntryId(text)))
    Require(*path == text && StaysBelow(text));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 5) {
    case 0: {
      // A file's text written back in its own encoding reads back the same.
      const auto decoded = qs::ini::DecodeFileText(text);
      const auto again = qs::ini::DecodeFileText(qs::ini::EncodeFileText(decoded.text, decoded.encoding));
      Require(again.encoding == decoded.encoding && again.text == decoded.text);
      // Writing what was read and reading it again changes nothing more.
      const std::string once = qs::ini::IniDocument::Parse(text).Serialize();
      Require(qs::ini::IniDocument::Parse(once).Serialize() == once);
      qs::ini::IniDocument document = qs::ini::IniDocument::Parse(text);
      document.SetValue("Options", "FnFormat", "%1");
      Require(document.Value("Options", "FnFormat") == "%1");
      break;
    }
    case 1: {
      qs::clsCmdline line;
      line.SetCmdline(text);
      Require(line.argc() >= 0 && line.argc() <= qs::clsCmdline::kMaxTokens);
      for (int i = 0; i < line.argc(); ++i) line.arg(i);
      // Arguments handed over split (here: the text split at NULs), joined
      // and tokenized again, come back as they were.
      const std::vector<std::string> args = Split(text, '\0', qs::clsCmdline::kMaxTokens);
      std::vector<const char*> pointers;
      for (const std::string& arg : args) pointers.push_back(arg.c_str());
      line.SetCmdline(qs::JoinArguments(static_cast<int>(pointers.size()), pointers.data()));
      Require(line.argc() == static_cast<int>(args.size()));
      for (int i = 0; i < line.argc(); ++i) Require(line.arg(i) == args[static_cast<std::size_t>(i)]);
      break;
    }
    case 2:
      // A date read is midnight of its day.
      if (const auto date = qs::ParseDate(text, qs::LocaleFacts{})) Require(qs::DateOnly(*date) == *date);
      break;
    case 3:
      CheckNames(text);
      break;
    case 4:
      CheckEntryIds(text);
      break;
  }
  return 0;
}
