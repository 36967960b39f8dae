#include "mailstore/dirstore/saveas/compound_file.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

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

bool WriteChildren(GsfOutfile* parent, const CompoundEntry& entry) {
  for (const CompoundEntry& child : entry.children) {
    Output output(gsf_outfile_new_child(parent, child.name.c_str(), child.storage));
    if (!output.Get()) return false;
    if (child.storage) {
      if (!WriteChildren(GSF_OUTFILE(output.Get()), child)) return false;
    } else if (!child.data.empty() &&
               !gsf_output_write(output.Get(), child.data.size(),
                                 reinterpret_cast<const guint8*>(child.data.data()))) {
      return false;
    }
    if (!output.Close()) return false;
  }
  return true;
}

}  // namespace

void WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id) {
  gsf_init();
  // Laid out in memory and written in one go: libgsf's own file sink costs a
  // temporary file, a rename and a dozen further system calls per file.
  Output sink(gsf_output_memory_new());
  bool written = false;
  {
    Output file(GSF_OUTPUT(gsf_outfile_msole_new(sink.Get())));
    written = file.Get() &&
              gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(file.Get()), class_id.data()) &&
              WriteChildren(GSF_OUTFILE(file.Get()), root) && file.Close();
  }
  if (!written || !sink.Close()) {
    const GError* error = gsf_output_error(sink.Get());
    throw MailStoreError("cannot write " + path + ": " +
                         (error && error->message ? error->message : "the container failed"));
  }
  const guint8* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.Get()));
  const auto size = static_cast<std::size_t>(gsf_output_size(sink.Get()));
  WriteWholeFile(path, std::string_view(reinterpret_cast<const char*>(bytes), size));
}

}  // namespace qs::dirstore
