#include "mailstore/dirstore/saveas/compound_file.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include "mailstore/dirstore/saveas/gobject_ptr.h"
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

std::string ErrorText(GError* error) {
  std::string text = error && error->message ? error->message : "unknown error";
  if (error) g_error_free(error);
  return text;
}

}  // namespace

void WriteCompoundFile(const std::string& path, const CompoundEntry& root, const ClassId& class_id) {
  gsf_init();
  GError* error = nullptr;
  Output sink(gsf_output_stdio_new(path.c_str(), &error));
  if (!sink.Get()) throw MailStoreError("cannot write " + path + ": " + ErrorText(error));
  bool written = false;
  {
    Output file(GSF_OUTPUT(gsf_outfile_msole_new(sink.Get())));
    written = file.Get() &&
              gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(file.Get()), class_id.data()) &&
              WriteChildren(GSF_OUTFILE(file.Get()), root) && file.Close();
  }
  const GError* sink_error = gsf_output_error(sink.Get());
  std::string reason = sink_error && sink_error->message ? sink_error->message : "write failed";
  // With an error set, closing drops the half-written file instead of
  // putting it in place.
  if (!written && !sink_error) gsf_output_set_error(sink.Get(), 0, "%s", "incomplete");
  written = sink.Close() && written;
  if (!written) throw MailStoreError("cannot write " + path + ": " + reason);
}

}  // namespace qs::dirstore
