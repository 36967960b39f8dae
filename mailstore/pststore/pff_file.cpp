#include "mailstore/pststore/pff_file.h"

#include "mailstore/mail_store.h"

namespace qs::pststore {

namespace {

// No property of a message is larger than this in any file Outlook writes;
// a damaged file may claim any size.
constexpr std::size_t kLargestProperty = std::size_t{1} << 30;

}  // namespace

PffFile::PffFile(const std::string& path) : path_(path) {
  PffError error;
  if (libpff_file_initialize(&file_, error.Out()) != 1)
    ThrowPffError("cannot read the data file " + path, error);
  if (libpff_file_open(file_, path.c_str(), libpff_get_access_flags_read(), error.Out()) != 1) {
    libpff_file_free(&file_, nullptr);
    ThrowPffError("cannot read the data file " + path, error);
  }
}

PffFile::~PffFile() {
  libpff_file_close(file_, nullptr);
  libpff_file_free(&file_, nullptr);
}

PffItem PffFile::MessageStore() const {
  PffItem item;
  PffError error;
  if (libpff_file_get_message_store(file_, item.Out(), error.Out()) != 1) return PffItem();
  return item;
}

PffItem PffFile::RootFolder() const {
  PffItem item;
  PffError error;
  if (libpff_file_get_root_folder(file_, item.Out(), error.Out()) != 1)
    ThrowPffError("the data file " + path_ + " has no folders", error);
  return item;
}

PffItem PffFile::ItemByIdentifier(std::uint32_t identifier) const {
  PffItem item;
  PffError error;
  if (libpff_file_get_item_by_identifier(file_, identifier, item.Out(), error.Out()) != 1)
    return PffItem();
  return item;
}

std::optional<PropertyValue> PffProperty(libpff_item_t* item, int record_set, std::uint16_t id) {
  PffError error;
  PffRecordSet set;
  if (libpff_item_get_record_set_by_index(item, record_set, set.Out(), error.Out()) != 1)
    throw ItemUnreadable("the item's properties cannot be read: " + error.Text());
  PffRecordEntry entry;
  const int found = libpff_record_set_get_entry_by_type(
      set.Get(), id, 0, entry.Out(),
      LIBPFF_ENTRY_VALUE_FLAG_MATCH_ANY_VALUE_TYPE | LIBPFF_ENTRY_VALUE_FLAG_IGNORE_NAME_TO_ID_MAP, error.Out());
  if (found == 0) return std::nullopt;
  if (found != 1) throw ItemUnreadable("a property of the item cannot be read: " + error.Text());
  std::uint32_t type = 0;
  std::size_t size = 0;
  if (libpff_record_entry_get_value_type(entry.Get(), &type, error.Out()) != 1 ||
      libpff_record_entry_get_data_size(entry.Get(), &size, error.Out()) != 1)
    throw ItemUnreadable("a property of the item cannot be read: " + error.Text());
  if (size > kLargestProperty)
    throw ItemUnreadable("a property of the item claims " + std::to_string(size) + " bytes");
  PropertyValue value{static_cast<std::uint16_t>(type), std::string(size, '\0')};
  if (size > 0 && libpff_record_entry_get_data(entry.Get(), reinterpret_cast<std::uint8_t*>(value.bytes.data()),
                                               size, error.Out()) != 1)
    throw ItemUnreadable("a property of the item cannot be read: " + error.Text());
  return value;
}

std::uint64_t PffPropertyBytes(libpff_item_t* item) {
  PffError error;
  PffRecordSet set;
  int count = 0;
  if (libpff_item_get_record_set_by_index(item, 0, set.Out(), error.Out()) != 1 ||
      libpff_record_set_get_number_of_entries(set.Get(), &count, error.Out()) != 1)
    throw ItemUnreadable("the item's properties cannot be read: " + error.Text());
  std::uint64_t total = 0;
  for (int i = 0; i < count; ++i) {
    PffRecordEntry entry;
    std::size_t size = 0;
    if (libpff_record_set_get_entry_by_index(set.Get(), i, entry.Out(), error.Out()) != 1 ||
        libpff_record_entry_get_data_size(entry.Get(), &size, error.Out()) != 1)
      throw ItemUnreadable("a property of the item cannot be read: " + error.Text());
    total += size;
  }
  return total;
}

std::uint32_t PffIdentifier(libpff_item_t* item) {
  std::uint32_t identifier = 0;
  PffError error;
  if (libpff_item_get_identifier(item, &identifier, error.Out()) != 1)
    ThrowPffError("an item has no identifier", error);
  return identifier;
}

}  // namespace qs::pststore
