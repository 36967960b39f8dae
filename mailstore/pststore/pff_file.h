#pragma once
// An Outlook data file (.pst, .ost) opened with libpff for reading.

#include <cstdint>
#include <memory>
#include <string>

#include "mailstore/pststore/pff_handle.h"
#include "mailstore/message/property_bag.h"

namespace qs::pststore {

class PffFile {
 public:
  // Throws MailStoreError naming the file when it cannot be opened as a
  // data file (a damaged header among the reasons).
  explicit PffFile(const std::string& path);
  ~PffFile();
  PffFile(const PffFile&) = delete;
  PffFile& operator=(const PffFile&) = delete;

  const std::string& Path() const { return path_; }
  // The store's own properties (display name, record key, the top of the
  // folder tree); nothing when the file has none.
  PffItem MessageStore() const;
  PffItem RootFolder() const;
  // Nothing when the file has no item of that identifier.
  PffItem ItemByIdentifier(std::uint32_t identifier) const;

 private:
  std::string path_;
  libpff_file_t* file_ = nullptr;
};

// The value of a property in an item's record set; nothing when the set
// has no such property. Throws ItemUnreadable when the item's properties
// cannot be read.
std::optional<PropertyValue> PffProperty(libpff_item_t* item, int record_set, std::uint16_t id);
// The bytes all properties of the item's first record set hold together.
std::uint64_t PffPropertyBytes(libpff_item_t* item);

std::uint32_t PffIdentifier(libpff_item_t* item);

}  // namespace qs::pststore
