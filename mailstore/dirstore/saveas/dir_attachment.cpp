#include "mailstore/dirstore/saveas/dir_attachment.h"

#include "mailstore/dirstore/saveas/whole_file.h"

namespace qs::dirstore {

void DirAttachment::SaveAsFile(const std::string& path) {
  const ByteSource& data = *content_->attachments.at(index_).data;
  WriteFileInPieces(path, [&data](const ByteSink& sink) { data.WriteTo(sink); });
}

}  // namespace qs::dirstore
