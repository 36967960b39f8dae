#include "mailstore/message/message_file_bag.h"

#include <map>

#include "mailstore/mail_store.h"
#include "mailstore/message/message_file.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/message/property_stream.h"
#include "mailstore/message/property_types.h"

namespace qs {

namespace {

using Entry = CompoundReader::Entry;

constexpr std::size_t kPropertyEntrySize = 16;
constexpr std::uint16_t kMultipleValues = 0x1000;
// The header before the properties: the message's own, an attached
// message's, a recipient's or an attachment's.
constexpr std::size_t kTopHeader = 32;
constexpr std::size_t kEmbeddedHeader = 24;
constexpr std::size_t kPartHeader = 8;

bool Variable(std::uint16_t type) {
  return type == kAnsiValue || type == kUnicodeValue || type == kBinaryValue || type == kObjectValue ||
         (type & kMultipleValues) != 0;
}

// The properties of one object: its property stream read once, the
// variable-length values from their streams when asked for.
class Properties {
 public:
  Properties(std::shared_ptr<const CompoundReader> file, Entry storage, std::size_t header)
      : file_(std::move(file)), storage_(storage) {
    const std::optional<Entry> stream = file_->Child(storage_, PropertyStream::kStreamName);
    if (!stream || file_->IsStorage(*stream)) return;
    const std::string bytes = file_->Read(*stream);
    for (std::size_t at = header; at + kPropertyEntrySize <= bytes.size(); at += kPropertyEntrySize) {
      const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
      const auto type = static_cast<std::uint16_t>(byte(0) | byte(1) << 8);
      const auto id = static_cast<std::uint16_t>(byte(2) | byte(3) << 8);
      fixed_[id] = {type, bytes.substr(at + 8, 8)};
    }
  }

  std::optional<PropertyValue> Get(std::uint16_t id) const {
    const auto found = fixed_.find(id);
    if (found == fixed_.end()) return std::nullopt;
    const PropertyValue& entry = found->second;
    if (!Variable(entry.type)) return entry;
    if (entry.type != kAnsiValue && entry.type != kUnicodeValue && entry.type != kBinaryValue) return std::nullopt;
    const std::optional<Entry> stream = Stream(id, entry.type);
    if (!stream) return PropertyValue{entry.type, std::string()};
    return PropertyValue{entry.type, file_->Read(*stream)};
  }

  std::optional<Entry> Stream(std::uint16_t id, std::uint16_t type) const {
    const std::optional<Entry> stream = file_->Child(storage_, PropertyStream::ValueName(id, type));
    if (stream && file_->IsStorage(*stream) != (type == kObjectValue)) return std::nullopt;
    return stream;
  }

  const std::shared_ptr<const CompoundReader>& File() const { return file_; }
  Entry Storage() const { return storage_; }

 private:
  std::shared_ptr<const CompoundReader> file_;
  Entry storage_;
  std::map<std::uint16_t, PropertyValue> fixed_;  // with a variable value's size in place of it
};

class RecipientBag final : public PropertyBag {
 public:
  RecipientBag(std::shared_ptr<const CompoundReader> file, Entry storage)
      : properties_(std::move(file), storage, kPartHeader) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override { return properties_.Get(id); }

 private:
  Properties properties_;
};

// The numbered storages of one kind below a storage, from 0 on, until the
// first that is missing.
std::vector<Entry> Numbered(const CompoundReader& file, Entry storage, std::string (*name)(std::size_t)) {
  std::vector<Entry> found;
  while (found.size() < kMessageFileLimit) {
    const std::optional<Entry> entry = file.Child(storage, name(found.size()));
    if (!entry || !file.IsStorage(*entry)) break;
    found.push_back(*entry);
  }
  return found;
}

class FileMessage final : public MessageBag {
 public:
  FileMessage(std::shared_ptr<const CompoundReader> file, Entry storage, std::size_t header)
      : properties_(file, storage, header),
        recipients_(Numbered(*file, storage, RecipientStorageName)),
        attachments_(Numbered(*file, storage, AttachmentStorageName)) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override { return properties_.Get(id); }
  std::size_t RecipientCount() const override { return recipients_.size(); }
  std::unique_ptr<PropertyBag> Recipient(std::size_t index) const override {
    return std::make_unique<RecipientBag>(properties_.File(), recipients_.at(index));
  }
  std::size_t AttachmentCount() const override { return attachments_.size(); }
  std::unique_ptr<AttachmentBag> Attachment(std::size_t index) const override;

 private:
  Properties properties_;
  std::vector<Entry> recipients_;
  std::vector<Entry> attachments_;
};

class FileAttachment final : public AttachmentBag {
 public:
  FileAttachment(std::shared_ptr<const CompoundReader> file, Entry storage)
      : properties_(std::move(file), storage, kPartHeader) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override { return properties_.Get(id); }
  std::shared_ptr<const ByteSource> Data() const override {
    const std::optional<Entry> stream = properties_.Stream(kAttachData, kBinaryValue);
    if (!stream) return nullptr;
    return CompoundReader::Source(properties_.File(), *stream);
  }
  std::unique_ptr<MessageBag> Message() const override {
    const std::optional<Entry> storage = properties_.Stream(kAttachData, kObjectValue);
    if (!storage) return nullptr;
    return std::make_unique<FileMessage>(properties_.File(), *storage, kEmbeddedHeader);
  }

 private:
  Properties properties_;
};

std::unique_ptr<AttachmentBag> FileMessage::Attachment(std::size_t index) const {
  return std::make_unique<FileAttachment>(properties_.File(), attachments_.at(index));
}

}  // namespace

std::unique_ptr<MessageBag> MessageFileBag(std::shared_ptr<const CompoundReader> file) {
  if (!file->Child(file->Root(), PropertyStream::kStreamName)) throw MailStoreError("The file holds no message.");
  return std::make_unique<FileMessage>(file, file->Root(), kTopHeader);
}

}  // namespace qs
