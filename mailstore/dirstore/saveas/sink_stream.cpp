#include "mailstore/dirstore/saveas/sink_stream.h"

#include <cstdio>
#include <exception>
#include <new>

#include "mailstore/dirstore/saveas/gobject_ptr.h"

namespace qs::dirstore {

namespace {

struct Cookie {
  const ByteSink& sink;
  std::exception_ptr error;
  off64_t written = 0;
};

// Called by the C library with what GMime wrote: no exception may cross it.
ssize_t WritePiece(void* cookie, const char* bytes, std::size_t size) {
  auto& state = *static_cast<Cookie*>(cookie);
  if (state.error) return -1;
  try {
    state.sink(std::string_view(bytes, size));
    state.written += static_cast<off64_t>(size);
    return static_cast<ssize_t>(size);
  } catch (...) {
    state.error = std::current_exception();
    return -1;
  }
}

// GMime seeks to where it means to write before each write; that is always
// where the bytes so far end.
int SeekInPlace(void* cookie, off64_t* offset, int whence) {
  const off64_t written = static_cast<Cookie*>(cookie)->written;
  if ((whence == SEEK_SET && *offset == written) || (whence == SEEK_CUR && *offset == 0)) {
    *offset = written;
    return 0;
  }
  return -1;
}

}  // namespace

void WriteThroughSink(const ByteSink& sink, const std::function<void(GMimeStream*)>& write) {
  Cookie cookie{sink, nullptr};
  // A stdio stream of our own: GMime writes to it like to any file, and the
  // C library hands its buffer to us whenever it fills.
  FILE* file = fopencookie(&cookie, "w", cookie_io_functions_t{nullptr, WritePiece, SeekInPlace, nullptr});
  if (!file) throw std::bad_alloc();
  std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
  {
    GObjectPtr<GMimeStream> stream(g_mime_stream_file_new(file));  // closes the file
    write(stream.get());
    g_mime_stream_flush(stream.get());
  }
  if (cookie.error) std::rethrow_exception(cookie.error);
}

}  // namespace qs::dirstore
