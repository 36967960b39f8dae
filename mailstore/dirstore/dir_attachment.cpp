#include "mailstore/dirstore/dir_attachment.h"

#include "mailstore/message/whole_file.h"

namespace qs::dirstore {

std::optional<FileStamp> DirAttachment::SaveAsFile(const std::string& path) {
  return WriteFileFrom(path, *content_->attachments.at(index_).data);
}

}  // namespace qs::dirstore
