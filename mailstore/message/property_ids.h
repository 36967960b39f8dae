#pragma once
// Identifiers of the properties of a message, as message files hold them and
// data files keep them.

#include <cstdint>

namespace qs {

enum PropertyId : std::uint16_t {
  kMessageClass = 0x001A,
  kSubject = 0x0037,
  kClientSubmitTime = 0x0039,
  kSubjectPrefix = 0x003D,
  kSentRepresentingName = 0x0042,
  kSentRepresentingAddressType = 0x0064,
  kSentRepresentingAddress = 0x0065,
  kTransportHeaders = 0x007D,
  kRecipientType = 0x0C15,
  kSenderName = 0x0C1A,
  kSenderAddressType = 0x0C1E,
  kSenderAddress = 0x0C1F,
  kDisplayBcc = 0x0E02,
  kDisplayCc = 0x0E03,
  kDisplayTo = 0x0E04,
  kDeliveryTime = 0x0E06,
  kMessageFlags = 0x0E07,
  kMessageSize = 0x0E08,
  kHasAttachments = 0x0E1B,
  kNormalizedSubject = 0x0E1D,
  kAttachSize = 0x0E20,
  kAttachNumber = 0x0E21,
  kRecordKey = 0x0FF9,
  kObjectType = 0x0FFE,
  kBody = 0x1000,
  kRtfCompressed = 0x1009,
  kHtml = 0x1013,
  kInternetMessageId = 0x1035,
  kInReplyToId = 0x1042,
  kRowId = 0x3000,
  kDisplayName = 0x3001,
  kAddressType = 0x3002,
  kEmailAddress = 0x3003,
  kCreationTime = 0x3007,
  kLastModificationTime = 0x3008,
  kStoreSupportMask = 0x340D,
  kTopOfPersonalFolders = 0x35E0,
  kContainerClass = 0x3613,
  kAttachData = 0x3701,
  kAttachExtension = 0x3703,
  kAttachFileName = 0x3704,
  kAttachMethod = 0x3705,
  kAttachLongFileName = 0x3707,
  kRenderingPosition = 0x370B,
  kAttachMimeTag = 0x370E,
  kAttachContentId = 0x3712,
  kAttachFlags = 0x3714,
  kSmtpAddress = 0x39FE,
  kInternetCodePage = 0x3FDE,
  kSenderSmtpAddress = 0x5D01,
  kSentRepresentingSmtpAddress = 0x5D02,
  kAttachmentHidden = 0x7FFE,
};

// Values of two of them, as files of both kinds hold them.
enum AttachMethod : std::int32_t { kAttachByValue = 1, kAttachEmbeddedMessage = 5 };
enum RecipientType : std::int32_t { kToRecipient = 1, kCcRecipient = 2, kBccRecipient = 3 };

}  // namespace qs
