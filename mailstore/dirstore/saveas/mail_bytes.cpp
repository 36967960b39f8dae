#include "mailstore/dirstore/saveas/mail_bytes.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "mailstore/dirstore/directory.h"
#include "mailstore/dirstore/gmime_library.h"
#include "mailstore/dirstore/item_file.h"
#include "mailstore/mail_store.h"
#include "platform/posix/file_descriptor.h"

namespace qs::dirstore {

std::shared_ptr<const MailBytes> MailBytes::MapFile(const Directory& directory,
                                                    const std::string& name) {
  EnsureGMimeInitialised();
  const std::string path = directory.Path() + "/" + name;
  const auto fail = [&path](const char* what) {
    throw MailStoreError(std::string(what) + " " + path + ": " + std::strerror(errno));
  };
  const FileDescriptor file = OpenItemFile(directory, name);
  struct stat status {};
  if (::fstat(file.Get(), &status) != 0) fail("cannot read");
  // Nothing to map in an empty file; mmap refuses a length of 0.
  if (status.st_size == 0) return Copy({});
  // A mapped file that another program cuts short faults when the cut-off
  // pages are touched; ordinary mail is read instead, so only a mail too big
  // to hold twice runs that risk.
  if (status.st_size < kLargestReadMail) return Read(file.Get(), path);
  // GMime maps the file itself and owns the descriptor it is given: a
  // duplicate, closed with the stream, or here when no stream was made.
  const int handed = ::fcntl(file.Get(), F_DUPFD_CLOEXEC, 0);
  GMimeStream* stream =
      handed < 0 ? nullptr : g_mime_stream_mmap_new(handed, PROT_READ, MAP_PRIVATE);
  if (!stream) {
    const int error = errno;
    if (handed >= 0) ::close(handed);
    errno = error;
    fail("cannot map");
  }
  const GMimeStreamMmap* mapped = GMIME_STREAM_MMAP(stream);
  return std::shared_ptr<const MailBytes>(new MailBytes(stream, {mapped->map, mapped->maplen}));
}

std::shared_ptr<const MailBytes> MailBytes::Read(int fd, const std::string& path) {
  GObjectPtr<GMimeStream> stream(g_mime_stream_mem_new());
  GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream.get()));
  char buffer[1 << 16];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) throw MailStoreError("cannot read " + path + ": " + std::strerror(errno));
    if (count == 0) break;
    g_byte_array_append(array, reinterpret_cast<const guint8*>(buffer), static_cast<guint>(count));
  }
  const std::string_view view(reinterpret_cast<const char*>(array->data), array->len);
  return std::shared_ptr<const MailBytes>(new MailBytes(stream.release(), view));
}

std::shared_ptr<const MailBytes> MailBytes::Copy(std::string_view bytes) {
  EnsureGMimeInitialised();
  GMimeStream* stream = bytes.empty() ? g_mime_stream_mem_new()
                                      : g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size());
  const GByteArray* array = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(stream));
  return std::shared_ptr<const MailBytes>(
      new MailBytes(stream, {reinterpret_cast<const char*>(array->data), array->len}));
}

}  // namespace qs::dirstore
