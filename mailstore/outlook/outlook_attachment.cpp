#include "mailstore/outlook/outlook_attachment.h"

#include "mailstore/outlook/outlook_error.h"

namespace qs::outlook {

std::string OutlookAttachment::FileName() {
  return Guarded([&] { return attachment_.Get("FileName").ToUtf8("Attachment.FileName"); });
}

std::optional<FileStamp> OutlookAttachment::SaveAsFile(const std::string& path) {
  Guarded([&] { attachment_.Call("SaveAsFile", path); });
  return std::nullopt;
}

}  // namespace qs::outlook
