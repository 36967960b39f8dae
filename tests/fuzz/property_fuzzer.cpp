// The readings of a data file's properties: the search's summary, the
// message content the saved forms are made from, the RTF body and its text,
// all from hostile property values. The input is a list of records: two
// bytes of identifier, two of value type, one of length, the value; an
// identifier of 0xFFFF starts a recipient, 0xFFFE an attachment, 0xFFFD an
// attached message in the last attachment. The message file written from
// them is then read back with the same input's bytes written over it, five
// at a time: four of offset, one of value. A crash, undefined behaviour, a
// hang or a broken rule below is a finding.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "mailstore/mail_store.h"
#include "mailstore/message/message_file.h"
#include "mailstore/message/message_file_bag.h"
#include "mailstore/message/text_forms.h"
#include "mailstore/properties/compressed_rtf.h"
#include "mailstore/pststore/item_summary.h"
#include "mailstore/pststore/memory_bag.h"
#include "mailstore/properties/message_reader.h"
#include "mailstore/properties/rtf_text.h"

namespace {

using namespace qs;
using namespace qs::pststore;

void Require(bool rule) {
  if (!rule) std::abort();
}

std::shared_ptr<MemoryMessage> Parse(std::string_view input) {
  auto top = std::make_shared<MemoryMessage>();
  MemoryMessage* message = top.get();
  MemoryProperties* target = &top->properties;
  while (input.size() >= 5) {
    const auto byte = [&input](std::size_t i) { return static_cast<unsigned char>(input[i]); };
    const auto id = static_cast<std::uint16_t>(byte(0) | byte(1) << 8);
    const auto type = static_cast<std::uint16_t>(byte(2) | byte(3) << 8);
    const std::size_t length = std::min<std::size_t>(byte(4), input.size() - 5);
    const std::string value(input.substr(5, length));
    input.remove_prefix(5 + length);
    if (id == 0xFFFF) {
      message->recipients.emplace_back();
      target = &message->recipients.back();
    } else if (id == 0xFFFE) {
      message->attachments.push_back({{}, value, nullptr});
      target = &message->attachments.back().properties;
    } else if (id == 0xFFFD && !message->attachments.empty()) {
      auto inner = std::make_shared<MemoryMessage>();
      message->attachments.back().message = inner;
      message = inner.get();
      target = &inner->properties;
    } else {
      target->values[id] = PropertyValue{type, value};
    }
  }
  return top;
}

void CheckRtf(std::string_view input) {
  if (const auto rtf = DecompressRtf(input)) {
    Require(rtf->size() <= 9 * input.size() + 17);
    const RtfText text = ReadRtfText(*rtf, 1252);
    Require(text.text.size() <= 4 * rtf->size() + 4);
  }
  const RtfText direct = ReadRtfText(input, 932);
  Require(direct.text.size() <= 4 * input.size() + 4);
}

// The message file of the content, damaged by the input, read as the save
// reads one.
void CheckMessageFile(const MessageContent& content, const ItemFacts& facts, std::string_view input) {
  const std::string path = "/dev/shm/quillstow-property-fuzzer-" + std::to_string(getpid()) + ".msg";
  WriteMessageFile(content, facts, path);
  std::ifstream file(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  std::remove(path.c_str());
  for (; input.size() >= 5 && !bytes.empty(); input.remove_prefix(5)) {
    std::uint32_t offset = 0;
    for (int i = 3; i >= 0; --i) offset = offset << 8 | static_cast<unsigned char>(input[static_cast<std::size_t>(i)]);
    bytes[offset % bytes.size()] = input[4];
  }
  try {
    const auto bag = MessageFileBag(std::make_shared<const CompoundReader>(std::move(bytes)));
    const MessageContent read = ReadMessage(*bag, TextDecoding{});
    for (const MessageAttachment& attachment : read.attachments) {
      try {
        attachment.data->WriteTo([](std::string_view) {});
      } catch (const qs::MailStoreError&) {
        // A lost attachment's data says so when it is written.
      }
    }
  } catch (const qs::MailStoreError&) {
    // Refused as damaged: the save says so and goes on.
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckRtf(input);
  const std::shared_ptr<const MemoryMessage> message = Parse(input);
  const TextDecoding decoding{1251};
  const std::unique_ptr<MessageBag> bag = BagOf(message);
  const ItemSummary summary = Summarize(*bag, decoding);
  Require(summary.item_class == 0 || summary.item_class == qs::kMailItemClass ||
          summary.item_class == qs::kReportItemClass || summary.item_class == qs::kMeetingRequestClass);
  const MessageContent content = ReadMessage(*bag, decoding);
  const ItemFacts facts{
      .sent_on = summary.sent_on, .sent = summary.sent, .received_seconds = summary.received_seconds};
  std::uint64_t written = 0;
  const auto count = [&written](std::string_view piece) { written += piece.size(); };
  TextForm(content, facts).WriteTo(count);
  RichTextForm(content, facts).WriteTo(count);
  try {
    const CompoundEntry tree = MessageFileTree(content, facts);
    Require(tree.storage);
    CheckMessageFile(content, facts, input);
  } catch (const qs::MailStoreError&) {
    // Over the message format's limits: refused, as the save refuses it.
  }
  Require(written > 0);
  return 0;
}
