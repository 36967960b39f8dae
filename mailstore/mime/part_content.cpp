#include "mailstore/mime/part_content.h"

#include <string>

#include "mailstore/encodings/transfer_encoding.h"

namespace qs {

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

}  // namespace qs
