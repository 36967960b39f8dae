// Hostile mail through everything the directory store does with a mail file:
// the search's header reading, every written form, and the splitting of an
// mbox file. Built by the "fuzz"
// preset (clang with libFuzzer and the address and undefined-behaviour
// sanitizers); a crash, a leak or undefined behaviour is a finding.
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "mailstore/dirstore/mbox_scan.h"
#include "mailstore/mail_store.h"
#include "mailstore/message/message_content.h"
#include "mailstore/message/message_file.h"
#include "mailstore/message/text_forms.h"
#include "mailstore/mime/address_list.h"
#include "mailstore/mime/header_block.h"
#include "mailstore/mime/header_text.h"
#include "mailstore/mime/message_reading.h"
#include "mailstore/mime/message_summary.h"
#include "platform/posix/file_descriptor.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qs;
  const std::string_view mail(reinterpret_cast<const char*>(data), size);
  const RawHeaders headers = ScanHeaders(mail);
  Summarize(headers, "fuzz.eml", [] { return 0LL; });
  FirstAddress(headers.from);
  RecipientNames(headers.to);
  DecodeHeaderText(headers.subject);
  // Half the mail is read as a large one is, its text body made in pieces.
  const MessageContent content = ReadMessageContent(mail, (size & 2) != 0 ? 0 : kLargestHeldBodies);
  ItemFacts facts;
  facts.sent = (size & 1) != 0;
  TextForm(content, facts).Size();
  RichTextForm(content, facts).Size();
  HtmlForm(content, facts).Size();
  for (const MessageAttachment& attachment : content.attachments) WholeBytes(*attachment.data);
  try {
    MessageFileTree(content, facts);
  } catch (const qs::MailStoreError&) {
    // Over the format's limits: refused, as it should be.
  }
  // The same bytes as an mbox file: split into messages, each read back.
  const FileDescriptor mbox(memfd_create("mbox", 0));
  if (write(mbox.Get(), data, size) == static_cast<ssize_t>(size))
    dirstore::ScanMbox(mbox.Get(), "fuzz", 0, size, [&](const dirstore::MboxMessage& message) {
      ScanHeaders(dirstore::ReadMboxHeaderBlock(mbox.Get(), "fuzz", message));
      dirstore::ReadMboxMessage(mbox.Get(), "fuzz", message);
      return true;
    });
  return 0;
}
