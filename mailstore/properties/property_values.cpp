#include "mailstore/properties/property_values.h"

#include "mailstore/properties/code_page.h"
#include "platform/text.h"

namespace qs {

namespace {

constexpr std::uint16_t kMessageCodePage = 0x3FFD;

std::uint64_t LittleEndian(const std::string& bytes, std::size_t size) {
  std::uint64_t value = 0;
  for (std::size_t i = size; i-- > 0;)
    value = value << 8 | static_cast<unsigned char>(bytes[i]);
  return value;
}

std::optional<PropertyValue> Typed(const PropertyBag& bag, std::uint16_t id, std::uint16_t type,
                                   std::size_t size) {
  std::optional<PropertyValue> value = bag.Get(id);
  if (!value || value->type != type || value->bytes.size() < size) return std::nullopt;
  return value;
}

}  // namespace

std::string WithoutSubjectMarker(std::string subject) {
  if (subject.size() >= 2 && subject[0] == '\x01') subject.erase(0, CodePointBytes(std::string_view(subject).substr(1)) + 1);
  return subject;
}

std::uint32_t CodePageOf(const PropertyBag& bag, const TextDecoding& decoding) {
  const std::optional<std::int32_t> own = Int32Of(bag, kMessageCodePage);
  if (own && *own > 0 && KnownCodePage(static_cast<std::uint32_t>(*own)))
    return static_cast<std::uint32_t>(*own);
  return decoding.code_page;
}

std::optional<std::string> TextOf(const PropertyBag& bag, std::uint16_t id,
                                  const TextDecoding& decoding) {
  std::optional<PropertyValue> value = bag.Get(id);
  if (!value) return std::nullopt;
  std::string text;
  if (value->type == kUnicodeValue)
    text = Utf8OfUtf16Le(value->bytes);
  else if (value->type == kAnsiValue)
    text = CodePageToUtf8(value->bytes, CodePageOf(bag, decoding));
  else
    return std::nullopt;
  // The stored texts may end in their terminating NUL.
  while (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

std::string TextOr(const PropertyBag& bag, std::uint16_t id, const TextDecoding& decoding) {
  return TextOf(bag, id, decoding).value_or(std::string());
}

std::optional<std::int32_t> Int32Of(const PropertyBag& bag, std::uint16_t id) {
  const auto value = Typed(bag, id, kInt32Value, 4);
  if (!value) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(LittleEndian(value->bytes, 4)));
}

std::optional<bool> BooleanOf(const PropertyBag& bag, std::uint16_t id) {
  const auto value = Typed(bag, id, kBooleanValue, 1);
  if (!value) return std::nullopt;
  return value->bytes[0] != 0;
}

std::optional<long long> TimeOf(const PropertyBag& bag, std::uint16_t id) {
  const auto value = Typed(bag, id, kTimeValue, 8);
  if (!value) return std::nullopt;
  constexpr std::uint64_t kTicksPerSecond = 10'000'000;
  constexpr long long kSeconds1601To1970 = 11'644'473'600LL;
  // 1 January 4501 and later is Outlook's "none".
  constexpr long long kNone = 91'515'139'200LL;
  const std::uint64_t ticks = LittleEndian(value->bytes, 8);
  if (ticks == 0) return std::nullopt;
  const auto seconds = static_cast<long long>(ticks / kTicksPerSecond) - kSeconds1601To1970;
  if (seconds + kSeconds1601To1970 >= kNone) return std::nullopt;
  return seconds;
}

std::optional<std::string> BytesOf(const PropertyBag& bag, std::uint16_t id) {
  std::optional<PropertyValue> value = bag.Get(id);
  if (!value || (value->type != kBinaryValue && value->type != kAnsiValue)) return std::nullopt;
  return std::move(value->bytes);
}

}  // namespace qs
