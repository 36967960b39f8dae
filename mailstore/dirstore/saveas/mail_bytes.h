#pragma once
// The bytes of one mail as GMime reads them: one seekable stream whose parts
// GMime refers to by range instead of copying them, so a mail is held once.

#include <gmime/gmime.h>

#include <memory>
#include <string>
#include <string_view>

#include "mailstore/dirstore/saveas/gobject_ptr.h"

namespace qs::dirstore {

class Directory;

class MailBytes {
 public:
  // Reads the file, or maps it read-only when it is large. Throws
  // MailStoreError when it cannot be opened, read or mapped (a file larger
  // than the address space cannot).
  static std::shared_ptr<const MailBytes> MapFile(const Directory& directory,
                                                  const std::string& name);
  // A copy of bytes held in memory.
  static std::shared_ptr<const MailBytes> Copy(std::string_view bytes);

  std::string_view View() const { return view_; }
  // For the parser; the parts it makes refer to this stream, so they must
  // not outlive this object.
  GMimeStream* Stream() const { return stream_.get(); }

 private:
  static constexpr long long kLargestReadMail = 16 << 20;
  static std::shared_ptr<const MailBytes> Read(int fd, const std::string& path);

  MailBytes(GMimeStream* stream, std::string_view view) : stream_(stream), view_(view) {}

  GObjectPtr<GMimeStream> stream_;
  std::string_view view_;
};

}  // namespace qs::dirstore
