#include "mailstore/pststore/pff_bags.h"

#include <array>

#include "mailstore/mail_store.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/properties/property_values.h"

namespace qs::pststore {

namespace {

// One recipient: one record set of the message's recipients item.
class RecipientBag final : public PropertyBag {
 public:
  RecipientBag(std::shared_ptr<SharedItem> recipients, int index)
      : recipients_(std::move(recipients)), index_(index) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override {
    return PffProperty(recipients_->item.Get(), index_, id);
  }

 private:
  std::shared_ptr<SharedItem> recipients_;
  int index_;
};

// An attachment's data, read from the file each time it is written.
class AttachmentData final : public ByteSource {
 public:
  explicit AttachmentData(std::shared_ptr<SharedItem> attachment)
      : attachment_(std::move(attachment)) {}

  void WriteTo(const ByteSink& sink) const override {
    libpff_item_t* item = attachment_->item.Get();
    PffError error;
    size64_t size = 0;
    if (libpff_attachment_get_data_size(item, &size, error.Out()) != 1)
      ThrowPffError("cannot read an attachment", error);
    if (size == 0) return;
    if (libpff_attachment_data_seek_offset(item, 0, SEEK_SET, error.Out()) < 0)
      ThrowPffError("cannot read an attachment", error);
    std::array<std::uint8_t, 64 * 1024> buffer{};
    for (size64_t left = size; left > 0;) {
      const ssize_t read = libpff_attachment_data_read_buffer(
          item, buffer.data(), std::min<size64_t>(left, buffer.size()), error.Out());
      if (read <= 0) ThrowPffError("cannot read an attachment", error);
      sink(std::string_view(reinterpret_cast<const char*>(buffer.data()),
                            static_cast<std::size_t>(read)));
      left -= static_cast<size64_t>(read);
    }
  }

 private:
  std::shared_ptr<SharedItem> attachment_;
};

class AttachmentBagOf final : public AttachmentBag {
 public:
  explicit AttachmentBagOf(std::shared_ptr<SharedItem> attachment)
      : attachment_(std::move(attachment)) {}

  std::optional<PropertyValue> Get(std::uint16_t id) const override {
    return PffProperty(attachment_->item.Get(), 0, id);
  }

  // A damaged block of the file leaves an attachment with no data at all,
  // while the size the attachment object claims (0x0E20) still counts it:
  // an empty attachment's claim is no more than its properties hold.
  std::shared_ptr<const ByteSource> Data() const override {
    libpff_item_t* item = attachment_->item.Get();
    PffError error;
    size64_t size = 0;
    if (libpff_attachment_get_data_size(item, &size, error.Out()) != 1)
      ThrowPffError("cannot read an attachment", error);
    if (size == 0) {
      const std::optional<std::int32_t> claimed = Int32Of(*this, kAttachSize);
      if (claimed && static_cast<std::uint64_t>(*claimed) > PffPropertyBytes(item)) return nullptr;
    }
    return std::make_shared<const AttachmentData>(attachment_);
  }

  std::unique_ptr<MessageBag> Message() const override {
    int type = 0;
    PffError error;
    if (libpff_attachment_get_type(attachment_->item.Get(), &type, error.Out()) != 1 ||
        type != LIBPFF_ATTACHMENT_TYPE_ITEM)
      return nullptr;
    auto message = std::make_shared<SharedItem>(SharedItem{attachment_->file, PffItem()});
    if (libpff_attachment_get_item(attachment_->item.Get(), message->item.Out(), error.Out()) != 1)
      throw ItemUnreadable("an attached message cannot be read: " + error.Text());
    return PffMessageBag(std::move(message));
  }

 private:
  std::shared_ptr<SharedItem> attachment_;
};

class MessageBagOf final : public MessageBag {
 public:
  explicit MessageBagOf(std::shared_ptr<SharedItem> message) : message_(std::move(message)) {}

  std::optional<PropertyValue> Get(std::uint16_t id) const override {
    return PffProperty(message_->item.Get(), 0, id);
  }

  std::size_t RecipientCount() const override {
    const std::shared_ptr<SharedItem>& recipients = Recipients();
    if (!recipients) return 0;
    int count = 0;
    PffError error;
    if (libpff_item_get_number_of_record_sets(recipients->item.Get(), &count, error.Out()) != 1)
      return 0;
    return static_cast<std::size_t>(std::max(count, 0));
  }

  std::unique_ptr<PropertyBag> Recipient(std::size_t index) const override {
    if (!Recipients()) throw ItemUnreadable("the message has no recipients");
    return std::make_unique<RecipientBag>(Recipients(), static_cast<int>(index));
  }

  std::size_t AttachmentCount() const override {
    int count = 0;
    PffError error;
    if (libpff_message_get_number_of_attachments(message_->item.Get(), &count, error.Out()) != 1)
      return 0;
    return static_cast<std::size_t>(std::max(count, 0));
  }

  std::unique_ptr<AttachmentBag> Attachment(std::size_t index) const override {
    auto attachment = std::make_shared<SharedItem>(SharedItem{message_->file, PffItem()});
    PffError error;
    if (libpff_message_get_attachment(message_->item.Get(), static_cast<int>(index),
                                      attachment->item.Out(), error.Out()) != 1)
      throw ItemUnreadable("an attachment cannot be read: " + error.Text());
    return std::make_unique<AttachmentBagOf>(std::move(attachment));
  }

 private:
  // Nothing for a message without recipients.
  const std::shared_ptr<SharedItem>& Recipients() const {
    if (!recipients_read_) {
      recipients_read_ = true;
      auto recipients = std::make_shared<SharedItem>(SharedItem{message_->file, PffItem()});
      PffError error;
      if (libpff_message_get_recipients(message_->item.Get(), recipients->item.Out(),
                                        error.Out()) == 1)
        recipients_ = std::move(recipients);
    }
    return recipients_;
  }

  std::shared_ptr<SharedItem> message_;
  mutable bool recipients_read_ = false;
  mutable std::shared_ptr<SharedItem> recipients_;
};

}  // namespace

std::unique_ptr<MessageBag> PffMessageBag(std::shared_ptr<SharedItem> message) {
  return std::make_unique<MessageBagOf>(std::move(message));
}

}  // namespace qs::pststore
