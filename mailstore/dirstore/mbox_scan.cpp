#include "mailstore/dirstore/mbox_scan.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>

#include "mailstore/mail_store.h"
#include "mailstore/message/eml_boundary.h"
#include "mailstore/mime/header_block.h"
#include "platform/text.h"

namespace qs::dirstore {

namespace {

constexpr std::size_t kBlock = 1 << 20;

[[noreturn]] void Unreadable(const std::string& path) {
  throw ItemUnreadable("cannot read " + path + ": " + std::strerror(errno));
}

// Reads up to size bytes at offset; fewer only at the end of the file.
std::size_t ReadAt(int fd, const std::string& path, char* into, std::size_t size, std::uint64_t offset) {
  std::size_t have = 0;
  while (have < size) {
    const ssize_t got = pread(fd, into + have, size - have, static_cast<off_t>(offset + have));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) Unreadable(path);
    if (got == 0) break;
    have += static_cast<std::size_t>(got);
  }
  return have;
}

// A line that a writer quoted: ">From ", ">>From "...
bool IsQuotedFromLine(std::string_view line) {
  const auto text = line.find_first_not_of('>');
  return text != 0 && text != std::string_view::npos && line.substr(text).starts_with("From ");
}

// The file from an offset to a limit in pieces: each a whole line with its
// line feed, or a piece of a line longer than the buffer.
class LinePieces {
 public:
  LinePieces(int fd, const std::string& path, std::uint64_t from, std::uint64_t limit)
      : fd_(fd), path_(path), next_read_(from), buffer_offset_(from), limit_(limit),
        buffer_(std::make_unique_for_overwrite<char[]>(kBlock)) {}

  // False at the end. starts_line: whether the piece starts a line.
  bool Next(std::string_view& piece, std::uint64_t& offset, bool& starts_line) {
    for (;;) {
      const char* data = buffer_.get();
      const void* feed = std::memchr(data + begin_, '\n', end_ - begin_);
      std::size_t stop = end_;
      if (feed) {
        stop = static_cast<std::size_t>(static_cast<const char*>(feed) - data) + 1;
      } else if (next_read_ < limit_ && (begin_ > 0 || end_ < kBlock) && Fill()) {
        continue;
      } else if (begin_ == end_) {
        return false;
      }
      piece = std::string_view(data + begin_, stop - begin_);
      offset = buffer_offset_ + begin_;
      starts_line = starts_line_;
      starts_line_ = piece.back() == '\n';
      begin_ = stop;
      return true;
    }
  }

 private:
  // Moves what is left to the front and reads more after it.
  bool Fill() {
    std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
    buffer_offset_ += begin_;
    end_ -= begin_;
    begin_ = 0;
    const std::size_t room = std::min(kBlock - end_, chunk_);
    const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(room, limit_ - next_read_));
    chunk_ = std::min(chunk_ * 2, kBlock);
    const std::size_t got = ReadAt(fd_, path_, buffer_.get() + end_, wanted, next_read_);
    // A file cut short since it was opened ends where it ends now.
    next_read_ = got < wanted ? limit_ : next_read_ + got;
    end_ += got;
    return got > 0;
  }

  int fd_;
  const std::string& path_;
  std::uint64_t next_read_;
  std::uint64_t buffer_offset_;  // of the buffer's first byte
  std::uint64_t limit_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool starts_line_ = true;
  // What one read asks for: little at first, since a message looked for
  // where it was is most often short, then more.
  std::size_t chunk_ = 16 << 10;
};

// Where in a message a line is.
enum class Part { BeforeFirst, FromLine, Headers, StatusField, Body };

}  // namespace

bool IsFromLine(std::string_view line) {
  return line.starts_with("From ") && WithoutMboxLine(line).size() != line.size();
}

bool IsStatusField(std::string_view line) {
  const auto colon = line.find(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view name = TrimBlanks(line.substr(0, colon));
  for (const std::string_view status :
       {"Status", "X-Status", "X-Mozilla-Status", "X-Mozilla-Status2", "X-Mozilla-Keys"})
    if (EqualsIgnoringAsciiCase(name, status)) return true;
  return false;
}

void ScanMbox(int fd, const std::string& path, std::uint64_t from, std::uint64_t limit, const MessageFound& found) {
  LinePieces lines(fd, path, from, limit);
  Part part = Part::BeforeFirst;
  MboxMessage message;
  bool skip_line = false;   // the pieces of this line are not the message's
  bool after_empty = true;  // the line before was empty, or there was none
  // An empty line is the message's only when no "From " line follows it.
  std::string pending;
  std::uint64_t pending_offset = 0;
  std::uint64_t data_end = from;
  const auto add = [&message](std::string_view bytes) {
    message.hash = eml::HashOf(bytes, message.hash);
    message.size += bytes.size();
  };
  const auto end_headers = [&](std::uint64_t at) {
    message.header_length =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(at - message.start, kLongestHeaderBlock));
  };
  const auto finish = [&](std::uint64_t end) {
    if (part == Part::BeforeFirst) return true;
    if (part == Part::FromLine) message.start = end;
    if (part != Part::Body) end_headers(end);
    message.end = end;
    return found(message);
  };
  std::string_view piece;
  std::uint64_t offset = 0;
  bool starts_line = true;
  while (lines.Next(piece, offset, starts_line)) {
    data_end = offset + piece.size();
    if (!starts_line) {
      if (part == Part::FromLine && piece.back() == '\n') {
        message.start = data_end;
        part = Part::Headers;
      } else if (!skip_line) {
        add(piece);
      }
      continue;
    }
    const bool empty = piece == "\n" || piece == "\r\n";
    if (after_empty && piece.starts_with("From ")) {
      if (!finish(pending.empty() ? offset : pending_offset)) return;
      pending.clear();
      message = MboxMessage{.from_line = offset, .hash = eml::kHashStart};
      part = piece.back() == '\n' ? Part::Headers : Part::FromLine;
      message.start = data_end;
      skip_line = true;
      after_empty = false;
      continue;
    }
    after_empty = empty;
    if (part == Part::BeforeFirst) continue;
    if (!pending.empty()) add(pending);
    pending.clear();
    skip_line = false;
    if (empty) {
      if (part != Part::Body) end_headers(offset);
      part = Part::Body;
      pending.assign(piece);
      pending_offset = offset;
      continue;
    }
    if (part != Part::Body && piece.front() != ' ' && piece.front() != '\t')
      part = IsStatusField(piece) ? Part::StatusField : Part::Headers;
    skip_line = part == Part::StatusField;
    if (!skip_line) add(IsQuotedFromLine(piece) ? piece.substr(1) : piece);
  }
  // The last message may still be being written: then it is left for a
  // later run, which will find it whole.
  struct stat status {};
  const bool grown = fstat(fd, &status) == 0 && static_cast<std::uint64_t>(status.st_size) > limit;
  if (pending.empty() && grown) return;
  finish(pending.empty() ? data_end : pending_offset);
}

std::string ReadMboxHeaderBlock(int fd, const std::string& path, const MboxMessage& message) {
  std::string block(message.header_length, '\0');
  block.resize(ReadAt(fd, path, block.data(), block.size(), message.start));
  return block;
}

std::string ReadMboxMessage(int fd, const std::string& path, const MboxMessage& message) {
  std::string bytes(static_cast<std::size_t>(message.end - message.start), '\0');
  bytes.resize(ReadAt(fd, path, bytes.data(), bytes.size(), message.start));
  // One ">" off each quoted "From " line, moved down in place.
  std::size_t kept = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const auto feed = bytes.find('\n', at);
    const std::size_t next = feed == std::string::npos ? bytes.size() : feed + 1;
    const std::size_t skip = IsQuotedFromLine(std::string_view(bytes).substr(at, next - at)) ? 1 : 0;
    std::memmove(bytes.data() + kept, bytes.data() + at + skip, next - at - skip);
    kept += next - at - skip;
    at = next;
  }
  bytes.resize(kept);
  return bytes;
}

}  // namespace qs::dirstore
