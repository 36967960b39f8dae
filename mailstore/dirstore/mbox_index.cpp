#include "mailstore/dirstore/mbox_index.h"

namespace qs::dirstore {

std::optional<MboxMessage> MboxIndex::Find(const MboxFile& file, std::uint64_t hash, std::uint32_t number) {
  const std::lock_guard lock(mutex_);
  if (file.identity != identity_ || file.size != size_ || file.modified_ns != modified_ns_) {
    messages_.clear();
    modified_ns_ = -1;  // not indexed, should the reading fail
    ListMbox(file, [this](const MboxMessage& message) { messages_.emplace(Key{message.hash, message.number}, message); });
    identity_ = file.identity;
    size_ = file.size;
    modified_ns_ = file.modified_ns;
  }
  const auto found = messages_.find(Key{hash, number});
  if (found == messages_.end()) return std::nullopt;
  return found->second;
}

}  // namespace qs::dirstore
