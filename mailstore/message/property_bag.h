#pragma once
// The properties of a message, a recipient or an attachment as a data file
// or a message file holds them: raw bytes under a property identifier and a
// value type (the eight bytes of a fixed-size value, all of a variable one).
// Every reading of them (texts, times, bodies) is ours, so that it can be
// tested and fuzzed without such a file, and the layers below only find
// bytes.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/message/property_types.h"

namespace qs {

struct PropertyValue {
  std::uint16_t type = 0;
  std::string bytes;
};

class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // Nothing when the property is absent. Throws MailStoreError when it is
  // there but cannot be read.
  virtual std::optional<PropertyValue> Get(std::uint16_t id) const = 0;
};

class MessageBag;

class AttachmentBag : public PropertyBag {
 public:
  // The attachment's bytes, read when they are written; nothing when the
  // file has lost them: none are found where the attachment claims some.
  virtual std::shared_ptr<const ByteSource> Data() const = 0;
  // The attached message; nothing for an attachment of data.
  virtual std::unique_ptr<MessageBag> Message() const = 0;
};

class MessageBag : public PropertyBag {
 public:
  virtual std::size_t RecipientCount() const = 0;
  virtual std::unique_ptr<PropertyBag> Recipient(std::size_t index) const = 0;
  virtual std::size_t AttachmentCount() const = 0;
  virtual std::unique_ptr<AttachmentBag> Attachment(std::size_t index) const = 0;
};

}  // namespace qs
