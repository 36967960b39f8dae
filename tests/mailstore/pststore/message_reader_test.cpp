#include "mailstore/pststore/message_reader.h"

#include <gtest/gtest.h>

#include "mailstore/dirstore/saveas/byte_source.h"
#include "mailstore/pststore/property_ids.h"
#include "tests/mailstore/pststore/bag_builder.h"

namespace qs::pststore {
namespace {

using namespace testing;
using dirstore::MessageContent;

MessageContent Read(MemoryMessage message) {
  return ReadMessage(*BagOf(std::make_shared<const MemoryMessage>(std::move(message))),
                     TextDecoding{1252});
}

std::string Mela(const std::string& rtf) {
  std::string stored;
  for (const auto value : {static_cast<std::uint32_t>(rtf.size() + 12), static_cast<std::uint32_t>(rtf.size())})
    for (int shift = 0; shift < 32; shift += 8) stored += static_cast<char>(value >> shift);
  return stored + "MELA" + std::string(4, '\0') + rtf;
}

TEST(MessageReader, RecipientsGoToTheirListsWithUsableAddresses) {
  MemoryMessage message;
  message.recipients = {
      {{{kDisplayName, Unicode(u"Tom")}, {kEmailAddress, Unicode(u"tom@example.org")}}},
      {{{kDisplayName, Unicode(u"Anna")}, {kRecipientType, Int32(2)},
        {kAddressType, Unicode(u"EX")}, {kEmailAddress, Unicode(u"/O=ORG/CN=ANNA")},
        {kSmtpAddress, Unicode(u"anna@example.org")}}},
      {{{kDisplayName, Ansi("Bob")}, {kRecipientType, Int32(3)}, {kEmailAddress, Ansi("bob@x")}}},
  };
  const MessageContent content = Read(message);
  ASSERT_EQ(content.to.size(), 1u);
  ASSERT_EQ(content.cc.size(), 1u);
  ASSERT_EQ(content.bcc.size(), 1u);
  EXPECT_EQ(content.to[0].address, "tom@example.org");
  EXPECT_EQ(content.cc[0].name, "Anna");
  EXPECT_EQ(content.cc[0].address, "anna@example.org");
  EXPECT_EQ(content.bcc[0].address, "bob@x");
}

TEST(MessageReader, BodiesFromTextHtmlOrRtfAlone) {
  MemoryMessage both;
  both.properties.values = {{kBody, Unicode(u"text")},
                            {kHtml, Binary("<p>caf\xE9</p>")},
                            {kInternetCodePage, Int32(28591)}};
  const MessageContent content = Read(both);
  EXPECT_EQ(dirstore::WholeBytes(*content.text_body), "text");
  EXPECT_EQ(content.html_body, "<p>café</p>");

  MemoryMessage wrapped_html;
  wrapped_html.properties.values = {
      {kRtfCompressed, Binary(Mela("{\\rtf1\\fromhtml1 {\\*\\htmltag <p>}x}"))}};
  const MessageContent html = Read(wrapped_html);
  EXPECT_EQ(html.html_body, "<p>x");
  EXPECT_FALSE(html.text_body);
  EXPECT_TRUE(html.rtf_compressed);

  MemoryMessage rtf_only;
  rtf_only.properties.values = {{kRtfCompressed, Binary(Mela("{\\rtf1 a\\par b}"))}};
  EXPECT_EQ(dirstore::WholeBytes(*Read(rtf_only).text_body), "a\r\nb");
}

TEST(MessageReader, AttachmentsNamesTypesAndAttachedMessages) {
  auto inner = std::make_shared<MemoryMessage>();
  inner->properties.values = {{kSubject, Unicode(u"\x01\x01inner")}};
  MemoryMessage message;
  message.attachments = {
      {{{{kAttachLongFileName, Unicode(u"report.pdf")}, {kAttachFileName, Unicode(u"REPORT~1.PDF")},
         {kAttachMimeTag, Unicode(u"Application/PDF")}}}, "%PDF", nullptr},
      {{{{kAttachMimeTag, Unicode(u"image/png")}, {kAttachContentId, Unicode(u"<img1>")}}}, "png", nullptr},
      {{{{kAttachMethod, Int32(5)}}}, "", inner},
  };
  const MessageContent content = Read(message);
  ASSERT_EQ(content.attachments.size(), 3u);
  EXPECT_EQ(content.attachments[0].file_name, "report.pdf");
  EXPECT_EQ(content.attachments[0].mime_type, "application/pdf");
  EXPECT_EQ(dirstore::WholeBytes(*content.attachments[0].data), "%PDF");
  EXPECT_EQ(content.attachments[1].file_name, "ATT00001.png");
  EXPECT_EQ(content.attachments[1].content_id, "img1");
  EXPECT_EQ(content.attachments[2].file_name, "inner.msg");
  ASSERT_TRUE(content.attachments[2].message);
  EXPECT_EQ(content.attachments[2].message->subject, "inner");
}

TEST(MessageReader, MessagesAttachedToThemselvesEndAtALimit) {
  // Deeper than any real mail: each level holds the one below.
  auto deepest = std::make_shared<MemoryMessage>();
  std::shared_ptr<const MemoryMessage> level = deepest;
  for (int i = 0; i < kDeepestAttachedMessage + 5; ++i) {
    auto outer = std::make_shared<MemoryMessage>();
    outer->properties.values = {{kSubject, Unicode(u"level")}};
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
