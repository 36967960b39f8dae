#pragma once
// Property bags held in memory: a message built by hand for the tests, and
// one made from arbitrary bytes for the fuzzer.

#include <map>
#include <memory>
#include <vector>

#include "mailstore/message/property_bag.h"

namespace qs::pststore {

struct MemoryProperties {
  std::map<std::uint16_t, PropertyValue> values;

  std::optional<PropertyValue> Find(std::uint16_t id) const {
    const auto found = values.find(id);
    if (found == values.end()) return std::nullopt;
    return found->second;
  }
};

class MemoryRecipient final : public PropertyBag {
 public:
  explicit MemoryRecipient(MemoryProperties properties) : properties_(std::move(properties)) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override { return properties_.Find(id); }

 private:
  MemoryProperties properties_;
};

struct MemoryMessage;

struct MemoryAttachment {
  MemoryProperties properties;
  std::string data;
  std::shared_ptr<const MemoryMessage> message;
};

struct MemoryMessage {
  MemoryProperties properties;
  std::vector<MemoryProperties> recipients;
  std::vector<MemoryAttachment> attachments;
};

std::unique_ptr<MessageBag> BagOf(std::shared_ptr<const MemoryMessage> message);

namespace memory_bag_detail {

class AttachmentOf final : public AttachmentBag {
 public:
  explicit AttachmentOf(const MemoryAttachment& attachment) : attachment_(attachment) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override {
    return attachment_.properties.Find(id);
  }
  std::shared_ptr<const ByteSource> Data() const override {
    return std::make_shared<const HeldBytes>(attachment_.data);
  }
  std::unique_ptr<MessageBag> Message() const override {
    return attachment_.message ? BagOf(attachment_.message) : nullptr;
  }

 private:
  MemoryAttachment attachment_;
};

class MessageOf final : public MessageBag {
 public:
  explicit MessageOf(std::shared_ptr<const MemoryMessage> message) : message_(std::move(message)) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override {
    return message_->properties.Find(id);
  }
  std::size_t RecipientCount() const override { return message_->recipients.size(); }
  std::unique_ptr<PropertyBag> Recipient(std::size_t index) const override {
    return std::make_unique<MemoryRecipient>(message_->recipients.at(index));
  }
  std::size_t AttachmentCount() const override { return message_->attachments.size(); }
  std::unique_ptr<AttachmentBag> Attachment(std::size_t index) const override {
    return std::make_unique<AttachmentOf>(message_->attachments.at(index));
  }

 private:
  std::shared_ptr<const MemoryMessage> message_;
};

}  // namespace memory_bag_detail

inline std::unique_ptr<MessageBag> BagOf(std::shared_ptr<const MemoryMessage> message) {
  return std::make_unique<memory_bag_detail::MessageOf>(std::move(message));
}

}  // namespace qs::pststore
