#include "mailstore/message/mime_types.h"

#include <array>
#include <utility>

#include "platform/text.h"

namespace qs {

std::string ExtensionOfMimeType(std::string_view mime_type) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 24> kKnown{{
      {"text/plain", ".txt"}, {"text/html", ".html"}, {"text/csv", ".csv"},
      {"text/calendar", ".ics"}, {"text/xml", ".xml"}, {"application/xml", ".xml"},
      {"application/pdf", ".pdf"}, {"application/zip", ".zip"}, {"application/json", ".json"},
      {"application/msword", ".doc"}, {"application/vnd.ms-excel", ".xls"},
      {"application/rtf", ".rtf"}, {"message/rfc822", ".eml"}, {"image/png", ".png"},
      {"image/jpeg", ".jpg"}, {"image/gif", ".gif"}, {"image/bmp", ".bmp"},
      {"image/tiff", ".tif"}, {"image/svg+xml", ".svg"}, {"audio/mpeg", ".mp3"},
      {"audio/wav", ".wav"}, {"video/mp4", ".mp4"}, {"text/rtf", ".rtf"},
      {"application/gzip", ".gz"},
  }};
  const std::string type = AsciiLower(mime_type);
  for (const auto& [known, extension] : kKnown)
    if (known == type) return std::string(extension);
  return ".bin";
}

}  // namespace qs
