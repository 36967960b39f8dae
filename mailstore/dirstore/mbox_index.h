#pragma once
// The messages of the last mbox file that had to be read whole to find a
// message again, by their identities: when a file was compacted after its
// messages were listed, every message of a saved list is elsewhere, and one
// reading of the file finds them all.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "mailstore/dirstore/mbox_file.h"

namespace qs::dirstore {

// Safe to use from several threads.
class MboxIndex {
 public:
  // The message of file with that hash and number; nothing when it has none.
  std::optional<MboxMessage> Find(const MboxFile& file, std::uint64_t hash, std::uint32_t number);

 private:
  struct Key {
    std::uint64_t hash;
    std::uint32_t number;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const { return static_cast<std::size_t>(key.hash ^ key.number); }
  };

  std::mutex mutex_;
  // The file indexed, as it was then.
  FileIdentity identity_{};
  std::uint64_t size_ = 0;
  std::int64_t modified_ns_ = -1;
  std::unordered_map<Key, MboxMessage, KeyHash> messages_;
};

}  // namespace qs::dirstore
