#include "mailstore/dirstore/saveas/compound_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "mailstore/dirstore/saveas/gobject_ptr.h"
#include "mailstore/dirstore/saveas/whole_file.h"
#include "mailstore/mail_store.h"

namespace qs::dirstore {

namespace {

// Every output is closed before its reference goes, children before their
// parent: libgsf lays out a storage when it is closed.
class Output {
 public:
  explicit Output(GsfOutput* output) : output_(output) {}
  ~Output() {
    if (output_ && !gsf_output_is_closed(output_.get())) gsf_output_close(output_.get());
  }
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;
  GsfOutput* Get() const { return output_.get(); }
  // The compound file closes its sink itself when it is closed.
  bool Close() { return gsf_output_is_closed(output_.get()) || gsf_output_close(output_.get()); }

 private:
  GObjectPtr<GsfOutput> output_;
};

bool Write(GsfOutput* output, std::string_view bytes) {
  return bytes.empty() ||
         gsf_output_write(output, bytes.size(), reinterpret_cast<const guint8*>(bytes.data()));
}

bool WriteChildren(GsfOutfile* parent, const CompoundEntry& entry) {
  for (const CompoundEntry& child : entry.children) {
    Output output(gsf_outfile_new_child(parent, child.name.c_str(), child.storage));
    if (!output.Get()) return false;
    bool written = true;
    if (child.storage) {
      written = WriteChildren(GSF_OUTFILE(output.Get()), child);
    } else if (child.source) {
      child.source->WriteTo([&](std::string_view piece) {
        written = written && Write(output.Get(), piece);
      });
    } else {
      written = Write(output.Get(), child.data);
    }
    if (!written || !output.Close()) return false;
  }
  return true;
}

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

// libgsf writes the container's header last, so it needs a file it can seek
// in: an unnamed one beside the target where the file system offers that,
// else one in the temporary directory. It goes with its last descriptor.
File ScratchFileBeside(const std::string& path) {
  const auto slash = path.rfind('/');
  const std::string directory =
      slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  const int fd = ::open(directory.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  File file(fd < 0 ? nullptr : ::fdopen(fd, "w+b"), &std::fclose);
  if (fd >= 0 && !file) ::close(fd);
  if (!file) file = File(std::tmpfile(), &std::fclose);
  if (!file) throw MailStoreError("cannot write " + path + ": " + std::strerror(errno));
  return file;
}

void CopyInto(FILE* from, const std::string& path) {
  if (std::fseek(from, 0, SEEK_SET) != 0)
    throw MailStoreError("cannot write " + path + ": " + std::strerror(errno));
  WriteFileInPieces(path, [&](const ByteSink& sink) {
    auto buffer = std::make_unique<char[]>(1 << 16);
    while (const std::size_t count = std::fread(buffer.get(), 1, 1 << 16, from))
      sink(std::string_view(buffer.get(), count));
    if (std::ferror(from))
      throw MailStoreError("cannot write " + path + ": " + std::strerror(errno));
  });
}

}  // namespace

void WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id,
                       Layout layout) {
  // Once for the process, whichever thread writes first.
  static const bool initialised = (gsf_init(), true);
  (void)initialised;
  const File scratch = layout == Layout::kInScratchFile ? ScratchFileBeside(path)
                                                        : File(nullptr, &std::fclose);
  Output sink(scratch ? gsf_output_stdio_new_FILE(path.c_str(), scratch.get(), TRUE)
                      : gsf_output_memory_new());
  if (!sink.Get()) throw MailStoreError("cannot write " + path + ": the container failed");
  bool written = false;
  {
    Output file(GSF_OUTPUT(gsf_outfile_msole_new(sink.Get())));
    written = file.Get() &&
              gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(file.Get()), class_id.data()) &&
              WriteChildren(GSF_OUTFILE(file.Get()), root) && file.Close();
  }
  if (!written || !sink.Close() || (scratch && std::fflush(scratch.get()) != 0)) {
    const GError* error = gsf_output_error(sink.Get());
    throw MailStoreError("cannot write " + path + ": " +
                         (error && error->message ? error->message : "the container failed"));
  }
  if (scratch) return CopyInto(scratch.get(), path);
  const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.Get()));
  const auto size = static_cast<std::size_t>(gsf_output_size(sink.Get()));
  WriteFileInPieces(path, [&](const ByteSink& sink_of_file) {
    sink_of_file(std::string_view(reinterpret_cast<const char*>(bytes), size));
  });
}

}  // namespace qs::dirstore
