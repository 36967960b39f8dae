#pragma once
// Identifiers of the properties the program reads from data files.

#include <cstdint>

namespace qs::pststore {

enum PropertyId : std::uint16_t {
  kMessageClass = 0x001A,
  kSubject = 0x0037,
  kClientSubmitTime = 0x0039,
  kSenderNameRepresenting = 0x0042,
  kTransportHeaders = 0x007D,
  kRecipientType = 0x0C15,
  kSenderName = 0x0C1A,
  kSenderAddressType = 0x0C1E,
  kSenderAddress = 0x0C1F,
  kDisplayTo = 0x0E04,
  kDeliveryTime = 0x0E06,
  kMessageFlags = 0x0E07,
  kMessageSize = 0x0E08,
  kAttachSize = 0x0E20,
  kRecordKey = 0x0FF9,
  kBody = 0x1000,
  kRtfCompressed = 0x1009,
  kHtml = 0x1013,
  kInternetMessageId = 0x1035,
  kDisplayName = 0x3001,
  kAddressType = 0x3002,
  kEmailAddress = 0x3003,
  kCreationTime = 0x3007,
  kLastModificationTime = 0x3008,
  kTopOfPersonalFolders = 0x35E0,
  kContainerClass = 0x3613,
  kAttachData = 0x3701,
  kAttachFileName = 0x3704,
  kAttachMethod = 0x3705,
  kAttachLongFileName = 0x3707,
  kAttachMimeTag = 0x370E,
  kAttachContentId = 0x3712,
  kSmtpAddress = 0x39FE,
  kInternetCodePage = 0x3FDE,
  kSenderSmtpAddress = 0x5D01,
};

}  // namespace qs::pststore
