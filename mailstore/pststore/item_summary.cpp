#include "mailstore/pststore/item_summary.h"

#include "mailstore/mail_store.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/mime/message_summary.h"
#include "platform/text.h"

namespace qs::pststore {

namespace {

constexpr std::int32_t kFlagUnsent = 0x08;

bool StartsWithClass(std::string_view message_class, std::string_view prefix) {
  return message_class.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(message_class.substr(0, prefix.size()), prefix) &&
         (message_class.size() == prefix.size() || message_class[prefix.size()] == '.');
}

DateTime LocalOr(std::optional<long long> seconds, DateTime otherwise) {
  return seconds ? LocalTimeOf(*seconds) : otherwise;
}

// An address of Exchange's own form ("/O=ORG/OU=.../CN=name") says nothing
// outside the organisation that wrote it.
bool IsExchangeAddress(std::string_view address_type, std::string_view address) {
  return EqualsIgnoringAsciiCase(address_type, "EX") || address.starts_with("/O=") ||
         address.starts_with("/o=");
}

}  // namespace

int ItemClassOf(std::string_view message_class) {
  if (StartsWithClass(message_class, "IPM.Schedule.Meeting.Request")) return kMeetingRequestClass;
  if (StartsWithClass(message_class, "IPM.Note")) return kMailItemClass;
  if (StartsWithClass(message_class, "REPORT")) return kReportItemClass;
  return 0;
}

ItemSummary Summarize(const PropertyBag& bag, const TextDecoding& decoding) {
  ItemSummary summary;
  summary.item_class = ItemClassOf(TextOr(bag, kMessageClass, decoding));
  const std::int32_t flags = Int32Of(bag, kMessageFlags).value_or(0);
  summary.sent = (flags & kFlagUnsent) == 0;
  const std::optional<long long> submitted = TimeOf(bag, kClientSubmitTime);
  summary.sent_on = LocalOr(submitted, NoDate());
  summary.received_seconds = TimeOf(bag, kDeliveryTime);
  summary.received = LocalOr(summary.received_seconds, NoDate());
  summary.created = LocalOr(TimeOf(bag, kCreationTime), NoDate());
  std::string sender = TextOr(bag, kSenderAddress, decoding);
  if (IsExchangeAddress(TextOr(bag, kSenderAddressType, decoding), sender))
    if (std::string smtp = TextOr(bag, kSenderSmtpAddress, decoding); !smtp.empty())
      sender = std::move(smtp);
  summary.sender_address = std::move(sender);
  summary.to = TextOr(bag, kDisplayTo, decoding);
  summary.subject = WithoutSubjectMarker(TextOr(bag, kSubject, decoding));
  return summary;
}

}  // namespace qs::pststore
