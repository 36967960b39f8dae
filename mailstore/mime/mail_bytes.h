#pragma once
// The bytes of one mail, held in memory or mapped read-only from its file:
// the parts of the parsed mail refer to them by range instead of copying
// them, so a mail is held once.

#include <sys/stat.h>

#include <memory>
#include <string>
#include <string_view>

namespace qs {

class FileDescriptor;

class MailBytes {
 public:
  // Reads the open file, or maps it read-only when it is large. Throws
  // MailStoreError, naming path, when it cannot be read or mapped (a file
  // larger than the address space cannot).
  static std::shared_ptr<const MailBytes> MapFile(const FileDescriptor& file, const struct stat& status,
                                                  const std::string& path);
  static std::shared_ptr<const MailBytes> Hold(std::string bytes);

  MailBytes(const MailBytes&) = delete;
  MailBytes& operator=(const MailBytes&) = delete;
  ~MailBytes();

  std::string_view View() const { return view_; }

 private:
  static constexpr long long kLargestReadMail = 16 << 20;

  MailBytes() = default;

  std::string held_;
  std::unique_ptr<char[]> read_;  // a file read whole, as long as it was
  void* mapping_ = nullptr;
  std::size_t mapped_length_ = 0;
  std::string_view view_;
};

}  // namespace qs
