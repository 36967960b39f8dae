#pragma once
// The properties of one object of an Outlook message file (the message, a
// recipient, an attachment): the property stream with its fixed-size values
// and one value stream for each variable-length property.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/message/code_points.h"
#include "mailstore/message/compound_file.h"
#include "mailstore/message/piece_writer.h"

namespace qs {

class PropertyStream {
 public:
  PropertyStream() { values_.reserve(48); }  // as many as a message has

  void Int32(std::uint16_t id, std::int32_t value);
  void Boolean(std::uint16_t id, bool value);
  // 100-nanosecond intervals since 1601, UTC.
  void Time(std::uint16_t id, std::uint64_t file_time);
  // UTF-8 in, stored as UTF-16.
  void String(std::uint16_t id, std::string_view utf8);
  // A long text made in UTF-16 as the file is written; size is its count of
  // bytes. Throws MailStoreError for more than a value's size field can
  // count.
  void String(std::uint16_t id, std::shared_ptr<const ByteSource> utf16le, std::uint64_t size);
  void Binary(std::uint16_t id, std::string bytes);
  // Bytes made as the file is written; size is their count. Throws
  // MailStoreError for more than a value's size field can count.
  void Binary(std::uint16_t id, std::shared_ptr<const ByteSource> bytes, std::uint64_t size);
  // An embedded message: its storage is added by the caller under the name
  // of ValueName(id, 0x000D).
  void Object(std::uint16_t id);

  // Moves the property stream (after header, the object's own header bytes)
  // and the value streams into storage: an attachment's data is not copied
  // again.
  void MoveTo(CompoundEntry& storage, std::string header) &&;

  static std::string ValueName(std::uint16_t id, std::uint16_t type);
  // The stream of the fixed-size values, after the object's header.
  static constexpr std::string_view kStreamName = "__properties_version1.0";

 private:
  struct Value {
    std::uint32_t tag;
    std::string fixed;     // 8 bytes
    std::string stream;    // a variable-length value
    bool variable = false;
    std::shared_ptr<const ByteSource> source;  // in place of stream
    std::uint64_t source_size = 0;
  };
  void Fixed(std::uint16_t id, std::uint16_t type, std::string bytes);
  std::vector<Value> values_;
};

enum class LineEnds { kAsTheyAre, kCrLf };

// UTF-8 written as UTF-16LE for a text that comes in pieces, as long as it
// may be: a byte that is not UTF-8 becomes U+FFFD, and the text after it is
// kept. With kCrLf, a line feed not preceded by a carriage return gets one.
class Utf16LeWriter {
 public:
  Utf16LeWriter(PieceWriter& out, LineEnds line_ends) : out_(out), line_ends_(line_ends) {}
  void Take(std::string_view utf8) {
    const auto append = [this](char32_t code) { Append(code); };
    while (!utf8.empty()) {
      // Most text is ASCII: a run of it is widened in one loop, not read a
      // code point at a time. A line feed that may need a CR goes the long
      // way, as does a sequence that the last piece cut.
      std::size_t run = 0;
      if (!code_points_.Holding())
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80 &&
               (utf8[run] != '\n' || line_ends_ == LineEnds::kAsTheyAre))
          ++run;
      if (run > 0) {
        Widen(utf8.substr(0, run));
      } else {
        while (++run < utf8.size() && static_cast<unsigned char>(utf8[run]) >= 0x80) {
        }
        code_points_.Read(utf8.substr(0, run), append);
      }
      utf8.remove_prefix(run);
    }
    Flush();
  }
  void Finish() {
    code_points_.Finish([this](char32_t code) { Append(code); });
    Flush();
  }

 private:
  // Inline: a body is made one character at a time.
  void Append(char32_t code) {
    if (code == '\n' && line_ends_ == LineEnds::kCrLf && previous_ != '\r') Unit('\r');
    previous_ = code;
    if (code >= 0x10000) {
      code -= 0x10000;
      Unit(0xD800 + (code >> 10));
      Unit(0xDC00 + (code & 0x3FF));
    } else {
      Unit(code);
    }
  }
  void Widen(std::string_view ascii) {
    previous_ = static_cast<char32_t>(ascii.back());
    while (!ascii.empty()) {
      const std::size_t count = std::min(ascii.size(), (units_.size() - used_) / 2);
      char* to = units_.data() + used_;
      for (std::size_t i = 0; i < count; ++i) {
        to[2 * i] = ascii[i];
        to[2 * i + 1] = '\0';
      }
      used_ += 2 * count;
      ascii.remove_prefix(count);
      if (used_ == units_.size()) Flush();
    }
  }
  void Unit(char32_t unit) {
    units_[used_++] = static_cast<char>(unit & 0xFF);
    units_[used_++] = static_cast<char>((unit >> 8) & 0xFF);
    if (used_ == units_.size()) Flush();
  }
  void Flush() {
    out_ += std::string_view(units_.data(), used_);
    used_ = 0;
  }

  PieceWriter& out_;
  // Made here and handed on a piece at a time; left unset until used.
  std::array<char, 4096> units_;
  std::size_t used_ = 0;
  LineEnds line_ends_;
  CodePoints code_points_;
  // A CR is never part of a longer sequence, so the code point before a
  // line feed tells as much as the byte before it.
  char32_t previous_ = 0;
};

std::string LittleEndian32(std::uint32_t value);

}  // namespace qs
