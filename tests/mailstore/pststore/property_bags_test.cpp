// What the search and the saved forms read from a data file's property
// bags, here bags held in memory with values made as a data file holds them.
#include <gtest/gtest.h>

#include <tuple>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/mail_store.h"
#include "mailstore/message/property_ids.h"
#include "mailstore/mime/message_summary.h"
#include "mailstore/properties/code_page.h"
#include "mailstore/pststore/item_summary.h"
#include "mailstore/pststore/memory_bag.h"
#include "mailstore/properties/message_reader.h"
#include "mailstore/pststore/pst_entry_id.h"

namespace qs::pststore {
namespace {


std::string LittleEndian(std::uint64_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i));
  return out;
}
PropertyValue Unicode(const std::u16string& text) {
  std::string bytes;
  for (const char16_t unit : text) bytes += LittleEndian(unit, 2);
  return {kUnicodeValue, bytes};
}
PropertyValue Ansi(std::string bytes) { return {kAnsiValue, std::move(bytes)}; }
PropertyValue Int32(std::uint32_t value) { return {kInt32Value, LittleEndian(value, 4)}; }
PropertyValue Binary(std::string bytes) { return {kBinaryValue, std::move(bytes)}; }
// Seconds since 1970 as the file's 100-nanosecond ticks since 1601.
PropertyValue Time(long long unix_seconds) {
  return {kTimeValue,
          LittleEndian(static_cast<std::uint64_t>(unix_seconds + 11644473600LL) * 10000000ULL, 8)};
}
// An RTF body stored uncompressed.
PropertyValue Mela(const std::string& rtf) {
  return Binary(LittleEndian(rtf.size() + 12, 4) + LittleEndian(rtf.size(), 4) + "MELA" +
                std::string(4, '\0') + rtf);
}

ItemSummary SummaryOf(MemoryProperties properties, std::uint32_t code_page = kWindows1252) {
  return Summarize(MemoryRecipient(std::move(properties)), TextDecoding{code_page});
}

MessageContent Read(MemoryMessage message) {
  return ReadMessage(*BagOf(std::make_shared<const MemoryMessage>(std::move(message))), TextDecoding{1252});
}

TEST(ItemSummary, MessageClassesMapToTheListedItemClasses) {
  const std::pair<const char*, int> rows[] = {
      {"IPM.Note", kMailItemClass}, {"ipm.note.SMIME.MultipartSigned", kMailItemClass}, {"IPM.Notes", 0},
      {"REPORT.IPM.Note.NDR", kReportItemClass}, {"IPM.Schedule.Meeting.Request", kMeetingRequestClass},
      {"IPM.Schedule.Meeting.Canceled", 0}, {"IPM.Appointment", 0}, {"", 0}};
  for (const auto& [message_class, item_class] : rows)
    EXPECT_EQ(ItemClassOf(message_class), item_class) << message_class;
}

// Each row: the properties and the store's code page, then the texts the
// list shows: sender | to | subject.
TEST(ItemSummary, TextsOfTheRow) {
  const PropertyValue anna = Ansi("\xC0\xED\xED\xE0");  // "Анна" in Windows-1251
  const struct {
    MemoryProperties properties;
    std::uint32_t code_page;
    std::string texts;
  } rows[] = {
      // The subject's marker is dropped in either text form.
      {{{{kSubject, Unicode(u"\x01\x05Re: hello")}}}, kWindows1252, " |  | Re: hello"},
      {{{{kSubject, Ansi("\x01\x01Here")}}}, kWindows1252, " |  | Here"},
      {{{{kSubject, Unicode(u"\x01")}}}, kWindows1252, " |  | \x01"},
      // Exchange senders show their SMTP address.
      {{{{kSenderAddress, Unicode(u"/O=ORG/CN=ANNA")}, {kSenderAddressType, Unicode(u"EX")},
         {kSenderSmtpAddress, Unicode(u"anna@example.org")}}}, kWindows1252, "anna@example.org |  | "},
      {{{{kSenderAddress, Unicode(u"tom@example.org")}, {kSenderAddressType, Unicode(u"SMTP")},
         {kSenderSmtpAddress, Unicode(u"other@example.org")}}}, kWindows1252, "tom@example.org |  | "},
      // ANSI texts in the message's code page, else (also for one the system does not know) the store's.
      {{{{kDisplayTo, anna}, {0x3FFD, Int32(1251)}}}, kWindows1252, " | Анна | "},
      {{{{kDisplayTo, anna}}}, 1251, " | Анна | "},
      {{{{kDisplayTo, anna}}}, kWindows1252, " | Àííà | "},
      {{{{kDisplayTo, anna}, {0x3FFD, Int32(77777)}}}, 1251, " | Анна | "},
      // Damaged values read as absent, or with U+FFFD for what cannot be read.
      {{{{kSubject, Int32(5)}, {kDisplayTo, Unicode(u"\xD800 \xDC00")}}}, kWindows1252, " | \uFFFD \uFFFD | "},
  };
  for (const auto& row : rows) {
    const ItemSummary summary = SummaryOf(row.properties, row.code_page);
    EXPECT_EQ(summary.sender_address + " | " + summary.to + " | " + summary.subject, row.texts);
  }
}

TEST(ItemSummary, DatesSentStateAndTheNoneDate) {
  const long long sent = 1'300'000'000;
  const ItemSummary summary = SummaryOf({{{kClientSubmitTime, Time(sent)}, {kDeliveryTime, Time(sent + 60)},
                                          {kCreationTime, Time(sent + 120)}, {kMessageFlags, Int32(0x01)}}});
  EXPECT_TRUE(summary.sent);
  EXPECT_EQ(summary.sent_on, LocalTimeOf(sent));
  EXPECT_EQ(summary.received, LocalTimeOf(sent + 60));
  EXPECT_EQ(summary.created, LocalTimeOf(sent + 120));
  EXPECT_EQ(summary.received_seconds, sent + 60);
  // A draft: unsent, without a submit time; a time of zero is none too.
  const ItemSummary draft =
      SummaryOf({{{kMessageFlags, Int32(0x09)}, {kDeliveryTime, {kTimeValue, std::string(8, '\0')}}}});
  EXPECT_FALSE(draft.sent || draft.received_seconds);
  EXPECT_EQ(draft.sent_on, NoDate());
  EXPECT_EQ(draft.received, NoDate());
  // Damaged: a time too short, flags of the wrong type.
  const ItemSummary damaged =
      SummaryOf({{{kClientSubmitTime, {kTimeValue, "\x01\x02"}}, {kMessageFlags, Unicode(u"x")}}});
  EXPECT_EQ(damaged.sent_on, NoDate());
  EXPECT_TRUE(damaged.sent);
}

TEST(PstEntryId, RoundTripsAndRefusesOtherLayouts) {
  ItemAddress address;
  for (std::size_t i = 0; i < address.record_key.size(); ++i)
    address.record_key[i] = static_cast<std::uint8_t>(0xF0 + i);
  address.identifier = 0x00200024;
  EXPECT_EQ(EncodeEntryId(address).Hex(), "00000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF24002000");
  EXPECT_EQ(DecodeEntryId(EncodeEntryId(address)), address);
  for (const char* other : {"", "00", "01000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF24002000",
                            "00000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF2400200000", "2F6D61696C2F612E656D6C"})
    EXPECT_FALSE(DecodeEntryId(*EntryId::FromHex(other))) << other;
}

TEST(MessageReader, RecipientsGoToTheirListsWithUsableAddresses) {
  MemoryMessage message;
  message.recipients = {
      {{{kDisplayName, Unicode(u"Tom")}, {kEmailAddress, Unicode(u"tom@example.org")}}},
      {{{kDisplayName, Unicode(u"Anna")}, {kRecipientType, Int32(2)}, {kAddressType, Unicode(u"EX")},
        {kEmailAddress, Unicode(u"/O=ORG/CN=ANNA")}, {kSmtpAddress, Unicode(u"anna@example.org")}}},
      {{{kDisplayName, Ansi("Bob")}, {kRecipientType, Int32(3)}, {kEmailAddress, Ansi("bob@x")}}},
  };
  const MessageContent content = Read(message);
  ASSERT_EQ(content.to.size() + content.cc.size() + content.bcc.size(), 3u);
  EXPECT_EQ(content.to.at(0).name + " " + content.to.at(0).address, "Tom tom@example.org");
  EXPECT_EQ(content.cc.at(0).name + " " + content.cc.at(0).address, "Anna anna@example.org");
  EXPECT_EQ(content.bcc.at(0).name + " " + content.bcc.at(0).address, "Bob bob@x");
}

// Each row: the body properties, then the text and HTML bodies read.
TEST(MessageReader, BodiesFromTextHtmlOrRtfAlone) {
  const struct {
    MemoryProperties properties;
    std::string text;
    std::optional<std::string> html;
  } rows[] = {
      {{{{kBody, Unicode(u"text")}, {kHtml, Binary("<p>caf\xE9</p>")}, {kInternetCodePage, Int32(28591)}}},
       "text", "<p>café</p>"},
      {{{{kRtfCompressed, Mela("{\\rtf1\\fromhtml1 {\\*\\htmltag <p>}x}")}}}, "(none)", "<p>x"},
      {{{{kRtfCompressed, Mela("{\\rtf1 a\\par b}")}}}, "a\r\nb", std::nullopt},
  };
  for (const auto& row : rows) {
    MemoryMessage message;
    message.properties = row.properties;
    const MessageContent content = Read(message);
    EXPECT_EQ(content.text_body ? WholeBytes(*content.text_body) : "(none)", row.text) << row.text;
    EXPECT_EQ(content.html_body, row.html) << row.text;
  }
}

TEST(MessageReader, AttachmentsNamesTypesAndAttachedMessages) {
  auto inner = std::make_shared<MemoryMessage>();
  inner->properties.values = {{kSubject, Unicode(u"\x01\x01inner")},
                              {kDeliveryTime, Time(1246381200)},
                              {kCreationTime, Time(1246381260)},
                              {kLastModificationTime, Time(1246381320)}};
  MemoryMessage message;
  message.attachments = {
      {{{{kAttachLongFileName, Unicode(u"report.pdf")}, {kAttachFileName, Unicode(u"REPORT~1.PDF")},
         {kAttachMimeTag, Unicode(u"Application/PDF")}}}, "%PDF", nullptr},
      {{{{kAttachMimeTag, Unicode(u"image/png")}, {kAttachContentId, Unicode(u"<img1>")}}}, "png", nullptr},
      {{{{kAttachMethod, Int32(5)}}}, "", inner},
  };
  const MessageContent content = Read(message);
  ASSERT_EQ(content.attachments.size(), 3u);
  const auto& [pdf, png, attached] =
      std::tie(content.attachments[0], content.attachments[1], content.attachments[2]);
  EXPECT_EQ(pdf.file_name + " " + pdf.mime_type + " " + WholeBytes(*pdf.data),
            "report.pdf application/pdf %PDF");
  EXPECT_EQ(png.file_name + " " + png.content_id, "ATT00001.png img1");
  ASSERT_TRUE(attached.message);
  EXPECT_EQ(attached.file_name + " " + attached.message->subject, "inner.msg inner");
  // An attached message keeps its own times; the item's are its summary's.
  EXPECT_EQ(attached.message->received, 1246381200);
  EXPECT_EQ(attached.message->created, 1246381260);
  EXPECT_EQ(attached.message->modified, 1246381320);
}

TEST(MessageReader, MessagesAttachedToThemselvesEndAtALimit) {
  // Deeper than any real mail: each level holds the one below.
  std::shared_ptr<const MemoryMessage> level = std::make_shared<MemoryMessage>();
  for (int i = 0; i < kDeepestAttachedMessage + 5; ++i) {
    auto outer = std::make_shared<MemoryMessage>();
    outer->attachments.push_back({{}, "", level});
    level = outer;
  }
  const MessageContent content = Read(*level);
  int depth = 0;
  for (const MessageContent* at = &content; !at->attachments.empty(); at = at->attachments[0].message.get())
    ++depth;
  EXPECT_EQ(depth, kDeepestAttachedMessage + 1);
}

}  // namespace
}  // namespace qs::pststore
