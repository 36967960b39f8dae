#include "save/output_format.h"

#include "platform/text.h"

namespace qs {

namespace {

constexpr OutputFormat kOutputFormats[] = {
    {.name = "msg", .extension = ".msg", .type = SaveType::Message},
    {.name = "txt", .extension = ".txt", .type = SaveType::Text},
    {.name = "rtf", .extension = ".rtf", .type = SaveType::RichText},
    {.name = "dir", .extension = "", .type = SaveType::Html, .directory = true},
    {.name = "eml", .extension = ".eml", .type = SaveType::Eml},
};

}  // namespace

const OutputFormat* OutputFormatNamed(std::string_view setting) {
  for (const OutputFormat& format : kOutputFormats)
    if (EqualsIgnoringAsciiCase(setting, format.name)) return &format;
  return nullptr;
}

}  // namespace qs
