#include "mailstore/dirstore/saveas/part_content.h"

#include "mailstore/dirstore/saveas/gobject_ptr.h"
#include "mailstore/dirstore/saveas/sink_stream.h"

namespace qs::dirstore {

namespace {

template <typename T>
GObjectPtr<T> Referenced(T* object) {
  return GObjectPtr<T>(static_cast<T*>(g_object_ref(object)));
}

// Holds back a CR at the end of each piece until it is known whether more
// follows.
class TrailingCrDropper {
 public:
  explicit TrailingCrDropper(const ByteSink& sink) : sink_(sink) {}

  void Take(std::string_view piece) {
    if (piece.empty()) return;
    if (held_cr_) {
      if (piece.front() == '\n') seen_crlf_ = true;
      sink_("\r");
    }
    if (piece.find("\r\n") != std::string_view::npos) seen_crlf_ = true;
    held_cr_ = piece.back() == '\r';
    if (held_cr_) piece.remove_suffix(1);
    if (!piece.empty()) sink_(piece);
  }

  // Only text whose other lines end in CR LF loses its last CR.
  void Finish() {
    if (held_cr_ && !seen_crlf_) sink_("\r");
  }

 private:
  const ByteSink& sink_;
  bool held_cr_ = false;
  bool seen_crlf_ = false;
};

class DecodedPart : public ByteSource {
 public:
  DecodedPart(GMimePart* part, std::shared_ptr<const MailBytes> mail)
      : part_(Referenced(part)), mail_(std::move(mail)) {}

  void WriteTo(const ByteSink& sink) const override {
    GMimeDataWrapper* content = g_mime_part_get_content(part_.get());
    if (!content) return;
    switch (g_mime_part_get_content_encoding(part_.get())) {
      case GMIME_CONTENT_ENCODING_DEFAULT:
      case GMIME_CONTENT_ENCODING_7BIT:
      case GMIME_CONTENT_ENCODING_8BIT: {
        TrailingCrDropper dropper(sink);
        WriteThroughSink([&dropper](std::string_view piece) { dropper.Take(piece); },
                         [content](GMimeStream* out) { g_mime_data_wrapper_write_to_stream(content, out); });
        dropper.Finish();
        return;
      }
      default:
        WriteThroughSink(sink, [content](GMimeStream* out) {
          g_mime_data_wrapper_write_to_stream(content, out);
        });
    }
  }

 private:
  GObjectPtr<GMimePart> part_;
  std::shared_ptr<const MailBytes> mail_;  // the bytes the part refers to
};

using FormatOptions = std::unique_ptr<GMimeFormatOptions, decltype(&g_mime_format_options_free)>;

class WholeMessage : public ByteSource {
 public:
  WholeMessage(GMimeObject* message, bool crlf, std::shared_ptr<const MailBytes> mail)
      : message_(Referenced(message)), crlf_(crlf), mail_(std::move(mail)) {}

  void WriteTo(const ByteSink& sink) const override {
    FormatOptions options(g_mime_format_options_new(), &g_mime_format_options_free);
    g_mime_format_options_set_newline_format(
        options.get(), crlf_ ? GMIME_NEWLINE_FORMAT_DOS : GMIME_NEWLINE_FORMAT_UNIX);
    GMimeObject* message = message_.get();
    const auto write = [&](GMimeStream* out) {
      g_mime_object_write_to_stream(message, options.get(), out);
    };
    if (!crlf_) return WriteThroughSink(sink, write);
    char previous = '\0';
    std::string fixed;
    WriteThroughSink(
        [&](std::string_view piece) {
          fixed.clear();
          for (const char c : piece) {
            if (c == '\n' && previous != '\r') fixed += '\r';
            fixed += c;
            previous = c;
          }
          sink(fixed);
        },
        write);
  }

 private:
  GObjectPtr<GMimeObject> message_;
  bool crlf_;
  std::shared_ptr<const MailBytes> mail_;
};

}  // namespace

std::shared_ptr<const ByteSource> PartContent(GMimePart* part,
                                              std::shared_ptr<const MailBytes> mail) {
  return std::make_shared<const DecodedPart>(part, std::move(mail));
}

std::shared_ptr<const ByteSource> AttachedMessage(GMimeObject* message, bool crlf,
                                                  std::shared_ptr<const MailBytes> mail) {
  return std::make_shared<const WholeMessage>(message, crlf, std::move(mail));
}

}  // namespace qs::dirstore
