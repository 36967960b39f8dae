#include "mailstore/dirstore/saveas/part_content.h"

#include <string>

#include "mailstore/dirstore/saveas/transfer_encoding.h"

namespace qs::dirstore {

namespace {

class DecodedPart final : public ByteSource {
 public:
  DecodedPart(std::string_view body, TransferEncoding encoding,
              std::shared_ptr<const MailBytes> mail)
      : body_(body), encoding_(encoding), mail_(std::move(mail)) {}

  void WriteTo(const ByteSink& sink) const override { WriteDecoded(body_, encoding_, sink); }
  std::uint64_t Size() const override { return DecodedSize(body_, encoding_); }

 private:
  std::string_view body_;
  TransferEncoding encoding_;
  std::shared_ptr<const MailBytes> mail_;  // the bytes the body lies in
};

class CrLfRange final : public ByteSource {
 public:
  CrLfRange(std::string_view range, std::shared_ptr<const MailBytes> mail)
      : range_(range), mail_(std::move(mail)) {}

  void WriteTo(const ByteSink& sink) const override { WriteWithCrLf(range_, sink); }

 private:
  std::string_view range_;
  std::shared_ptr<const MailBytes> mail_;
};

}  // namespace

void WriteWithCrLf(std::string_view text, const ByteSink& sink) {
  std::size_t written = 0;
  for (std::size_t feed = text.find('\n'); feed != std::string_view::npos;
       feed = text.find('\n', feed + 1)) {
    if (feed > 0 && text[feed - 1] == '\r') continue;
    if (feed > written) sink(text.substr(written, feed - written));
    sink("\r\n");
    written = feed + 1;
  }
  if (written < text.size()) sink(text.substr(written));
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  WriteWithCrLf(text, [&out](std::string_view piece) { out += piece; });
  return out;
}

std::shared_ptr<const ByteSource> PartContent(const MimePart& part,
                                              std::shared_ptr<const MailBytes> mail) {
  return std::make_shared<const DecodedPart>(
      part.body, TransferEncodingOf(part.Header("Content-Transfer-Encoding")), std::move(mail));
}

std::shared_ptr<const ByteSource> MailRange(std::string_view range, bool crlf,
                                            std::shared_ptr<const MailBytes> mail) {
  if (!crlf) return std::make_shared<const DecodedPart>(range, TransferEncoding::kIdentity, mail);
  return std::make_shared<const CrLfRange>(range, std::move(mail));
}

}  // namespace qs::dirstore
