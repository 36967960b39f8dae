#pragma once
// The property bags of a message of a data file, over libpff.

#include <memory>

#include "mailstore/pststore/pff_file.h"
#include "mailstore/message/property_bag.h"

namespace qs::pststore {

// A libpff item shared by the bags made from it; the file stays open while
// any of them lives.
struct SharedItem {
  std::shared_ptr<const PffFile> file;
  PffItem item;
};

// Any item's own properties (a folder's, the store's, a message's), for as
// long as the item lives.
class PffItemBag final : public PropertyBag {
 public:
  explicit PffItemBag(const SharedItem& item) : item_(item.item.Get()) {}
  std::optional<PropertyValue> Get(std::uint16_t id) const override {
    return PffProperty(item_, 0, id);
  }

 private:
  libpff_item_t* item_;
};

std::unique_ptr<MessageBag> PffMessageBag(std::shared_ptr<SharedItem> message);

}  // namespace qs::pststore
