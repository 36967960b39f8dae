#include "mailstore/message/property_stream.h"

#include <algorithm>

#include "mailstore/mail_store.h"
#include "mailstore/message/piece_writer.h"
#include "mailstore/message/property_types.h"
#include "platform/text.h"

namespace qs {

namespace {

// Readable and writable.
constexpr std::uint32_t kFlags = 0x00000006;

std::string LittleEndian64(std::uint64_t value) {
  std::string out;
  for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

}  // namespace

std::string LittleEndian32(std::uint32_t value) {
  std::string out;
  for (int i = 0; i < 4; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  return out;
}

std::string PropertyStream::ValueName(std::uint16_t id, std::uint16_t type) {
  const char tag[] = {static_cast<char>(id >> 8), static_cast<char>(id), static_cast<char>(type >> 8),
                      static_cast<char>(type)};
  std::string name = "__substg1.0_00000000";
  WriteHexDigits(std::string_view(tag, sizeof tag), name.data() + name.size() - 2 * sizeof tag);
  return name;
}

void PropertyStream::Fixed(std::uint16_t id, std::uint16_t type, std::string bytes) {
  bytes.resize(8, '\0');
  values_.push_back(Value{static_cast<std::uint32_t>(id) << 16 | type, std::move(bytes), {}, false, nullptr});
}

void PropertyStream::Int32(std::uint16_t id, std::int32_t value) {
  Fixed(id, kInt32Value, LittleEndian32(static_cast<std::uint32_t>(value)));
}

void PropertyStream::Boolean(std::uint16_t id, bool value) {
  Fixed(id, kBooleanValue, std::string(1, value ? '\1' : '\0'));
}

void PropertyStream::Time(std::uint16_t id, std::uint64_t file_time) {
  Fixed(id, kTimeValue, LittleEndian64(file_time));
}

void PropertyStream::String(std::uint16_t id, std::string_view utf8) {
  std::string stream = Utf16LeOf(utf8);
  // The size counts the terminating null, which the stream leaves out.
  const auto size = static_cast<std::uint32_t>(stream.size() + 2);
  values_.push_back(Value{static_cast<std::uint32_t>(id) << 16 | kUnicodeValue,
                          LittleEndian32(size) + LittleEndian32(0), std::move(stream), true, nullptr});
}

void PropertyStream::String(std::uint16_t id, std::shared_ptr<const ByteSource> utf16le,
                            std::uint64_t size) {
  // The size counts the terminating null, which the stream leaves out.
  const std::uint64_t counted = size + 2;
  if (counted > 0xFFFFFFFFu)
    throw MailStoreError("A text of " + std::to_string(counted / 2) +
                         " characters is longer than an Outlook message file can hold.");
  values_.push_back(Value{static_cast<std::uint32_t>(id) << 16 | kUnicodeValue,
                          LittleEndian32(static_cast<std::uint32_t>(counted)) + LittleEndian32(0),
                          {}, true, std::move(utf16le), size});
}

void PropertyStream::Binary(std::uint16_t id, std::string bytes) {
  const auto size = static_cast<std::uint32_t>(bytes.size());
  values_.push_back(Value{static_cast<std::uint32_t>(id) << 16 | kBinaryValue,
                          LittleEndian32(size) + LittleEndian32(0), std::move(bytes), true, nullptr});
}

void PropertyStream::Binary(std::uint16_t id, std::shared_ptr<const ByteSource> bytes,
                            std::uint64_t size) {
  if (size > 0xFFFFFFFFu)
    throw MailStoreError("An attachment of " + std::to_string(size) +
                         " bytes is larger than an Outlook message file can hold.");
  values_.push_back(Value{static_cast<std::uint32_t>(id) << 16 | kBinaryValue,
                          LittleEndian32(static_cast<std::uint32_t>(size)) + LittleEndian32(0),
                          {}, true, std::move(bytes), size});
}

void PropertyStream::Object(std::uint16_t id) {
  values_.push_back(Value{static_cast<std::uint32_t>(id) << 16 | kObjectValue,
                          LittleEndian32(0xFFFFFFFF) + LittleEndian32(0), {}, false, nullptr});
}

void PropertyStream::MoveTo(CompoundEntry& storage, std::string header) && {
  std::string properties = std::move(header);
  properties.reserve(properties.size() + 16 * values_.size());
  storage.children.reserve(storage.children.size() + values_.size() + 1);
  for (Value& value : values_) {
    properties += LittleEndian32(value.tag);
    properties += LittleEndian32(kFlags);
    properties += value.fixed;
    if (!value.variable) continue;
    std::string name = ValueName(static_cast<std::uint16_t>(value.tag >> 16),
                                 static_cast<std::uint16_t>(value.tag & 0xFFFF));
    storage.children.push_back(
        value.source ? CompoundEntry::Stream(std::move(name), std::move(value.source), value.source_size)
                     : CompoundEntry::Stream(std::move(name), std::move(value.stream)));
  }
  storage.children.push_back(CompoundEntry::Stream(std::string(kStreamName), std::move(properties)));
}

}  // namespace qs
