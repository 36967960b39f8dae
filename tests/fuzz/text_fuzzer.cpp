// Our own readers of texts that come from outside the program: INI files,
// command lines, typed dates and the names built from mail for files. The
// first byte picks the reader; a crash, undefined behaviour or a broken rule
// below is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/clsCmdline.h"
#include "mailstore/date_parse.h"
#include "platform/ini/ini_document.h"
#include "platform/ini/ini_encoding.h"
#include "save/item_name.h"

namespace {

void Require(bool rule) {
  if (!rule) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      // A file's text written back in its own encoding reads back the same.
      const auto decoded = qs::ini::DecodeFileText(text);
      const auto again =
          qs::ini::DecodeFileText(qs::ini::EncodeFileText(decoded.text, decoded.encoding));
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
      break;
    }
    case 2:
      qs::ParseDate(text, qs::LocaleFacts{});
      break;
    case 3: {
      // A cleaned name holds none of the characters Windows refuses.
      const std::string name = qs::CleanFileName(text);
      Require(name.find_first_of("\\/:*?\"<>|") == std::string::npos);
      break;
    }
  }
  return 0;
}
