#pragma once
// Splitting an mbox file into its messages without holding it: a message
// starts after a "From " line that starts the file or follows an empty
// line, and ends before the empty line that comes before the next one. A
// line ">From ", ">>From "... is written with one ">" more than the message
// holds (mboxrd), so one is taken off.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace qs::dirstore {

// One message of an mbox file.
struct MboxMessage {
  std::uint64_t from_line = 0;  // where its "From " line starts
  std::uint64_t start = 0;      // its first byte, after that line
  std::uint64_t end = 0;        // after its last byte
  // The message's own bytes (unquoted, without the status headers that mail
  // programs rewrite in place): their hash and their count. Deleting,
  // compacting or marking other messages changes neither.
  std::uint64_t hash = 0;
  std::uint64_t size = 0;
  std::uint32_t header_length = 0;  // of its header block, at most kLongestHeaderBlock
  std::uint32_t number = 0;         // among the file's earlier messages with the same hash
};

// The longest header block the search reads.
inline constexpr std::uint32_t kLongestHeaderBlock = 1 << 20;

// Whether the first line of a file makes it an mbox file: "From " and a
// sender, not the field "From :". Within the file, every line that starts
// with "From " and follows an empty line starts a message, as every writer
// of mbox files quotes such a line of a message.
bool IsFromLine(std::string_view line);

// Whether the line starts a field that mail programs rewrite in place to
// keep a message's state (Status, X-Status, X-Mozilla-Status...).
bool IsStatusField(std::string_view line);

// Calls found for each message of the open file from offset from, where a
// "From " line starts, to limit, the size the file had when it was opened;
// found returns false to stop. The last message is passed over when it is
// not whole: when it ends without the empty line that ends each message and
// the file has grown since (its writer is still at it). Throws
// ItemUnreadable, naming path, when the file cannot be read.
using MessageFound = std::function<bool(const MboxMessage&)>;
void ScanMbox(int fd, const std::string& path, std::uint64_t from, std::uint64_t limit, const MessageFound& found);

// The bytes of the message as it is: unquoted. Throws ItemUnreadable,
// naming path, when they cannot be read.
std::string ReadMboxMessage(int fd, const std::string& path, const MboxMessage& message);

// Its header block as it stands in the file.
std::string ReadMboxHeaderBlock(int fd, const std::string& path, const MboxMessage& message);

}  // namespace qs::dirstore
