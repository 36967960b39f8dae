#include "mailstore/mime/mail_bytes.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "mailstore/mail_store.h"
#include "platform/posix/file_descriptor.h"

namespace qs {

std::shared_ptr<const MailBytes> MailBytes::MapFile(const FileDescriptor& file, const struct stat& status,
                                                  const std::string& path) {
  const auto fail = [&path](const char* what) {
    throw MailStoreError(std::string(what) + " " + path + ": " + std::strerror(errno));
  };
  // A mapped file that another program cuts short faults when the cut-off
  // pages are touched; ordinary mail is read instead, so only a mail too big
  // to hold twice runs that risk. An empty file has nothing to map.
  if (status.st_size < kLargestReadMail) {
    // A byte more than the size is asked for: a read that stops at the size
    // has met the file's end, and no further read need say so. The buffer
    // is not cleared first: the reads fill what is kept of it.
    const auto size = static_cast<std::size_t>(status.st_size);
    auto bytes = std::make_unique_for_overwrite<char[]>(size + 1);
    std::size_t have = 0;
    // Past that, reads go to `more` and on to `grown`: the file may have
    // grown since.
    char more[4096];
    std::string grown;
    for (;;) {
      const bool within = have <= size;
      char* into = within ? bytes.get() + have : more;
      const ssize_t count = ::read(file.Get(), into, within ? size + 1 - have : sizeof more);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) fail("cannot read");
      if (count == 0) break;
      if (!within) grown.append(more, static_cast<std::size_t>(count));
      have += static_cast<std::size_t>(count);
      if (within && have == size) break;
    }
    if (!grown.empty()) return Hold(std::string(bytes.get(), size + 1) + grown);
    std::shared_ptr<MailBytes> mail(new MailBytes);
    mail->read_ = std::move(bytes);
    mail->view_ = std::string_view(mail->read_.get(), have);
    return mail;
  }
  std::shared_ptr<MailBytes> mail(new MailBytes);
  const auto length = static_cast<std::size_t>(status.st_size);
  void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, file.Get(), 0);
  if (mapping == MAP_FAILED) fail("cannot map");
  mail->mapping_ = mapping;
  mail->mapped_length_ = length;
  mail->view_ = std::string_view(static_cast<const char*>(mapping), length);
  return mail;
}

std::shared_ptr<const MailBytes> MailBytes::Hold(std::string bytes) {
  std::shared_ptr<MailBytes> mail(new MailBytes);
  mail->held_ = std::move(bytes);
  mail->view_ = mail->held_;
  return mail;
}

MailBytes::~MailBytes() {
  if (mapping_) ::munmap(mapping_, mapped_length_);
}

}  // namespace qs
