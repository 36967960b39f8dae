#include "mailstore/dirstore/header_block.h"

#include <gtest/gtest.h>

#include "mailstore/dirstore/directory.h"
#include "mailstore/mail_store.h"
#include "tests/mailstore/dirstore/temp_tree.h"

namespace qs::dirstore {
namespace {

TEST(HeaderBlock, PicksTheFieldsAndUnfoldsThem) {
  const RawHeaders headers = ScanHeaders(
      "Received: from a by b;\r\n\tTue, 30 Jun 2009 17:00:00 +0200\r\n"
      "Received: from c by d; Mon, 29 Jun 2009 10:00:00 +0200\r\n"
      "SUBJECT: Folded\r\n  subject\r\n"
      "to: A <a@example.org>,\r\n B <b@example.org>\r\n"
      "Subject: second subject\r\n"
      "X-Other: passed over\r\n"
      "Content-Type: multipart/report;\r\n report-type=delivery-status\r\n"
      "\r\n"
      "From: in the body <no@example.org>\r\n");
  EXPECT_EQ(headers.received, "from a by b;\tTue, 30 Jun 2009 17:00:00 +0200");
  EXPECT_EQ(headers.subject, "Folded  subject");
  EXPECT_EQ(headers.to, "A <a@example.org>, B <b@example.org>");
  EXPECT_EQ(headers.content_type, "multipart/report; report-type=delivery-status");
  EXPECT_EQ(headers.from, "");
}

TEST(HeaderBlock, ToleratesOddBlocks) {
  EXPECT_EQ(ScanHeaders("From someone@example.org Mon Jan  1 00:00:00 2009\nSubject: mbox\n\n").subject,
            "mbox");
  EXPECT_EQ(ScanHeaders("garbage line\nSubject : spaced name\n").subject, "spaced name");
  EXPECT_EQ(ScanHeaders("Subject:\nSubject: later\n").subject, "");
  EXPECT_EQ(ScanHeaders("Subject: no end of block").subject, "no end of block");
  EXPECT_EQ(ScanHeaders("\nSubject: body only\n").subject, "");
}

TEST(HeaderBlock, ReadsLongHeaderBlocksAndStopsAtTheirEnd) {
  testing::TempTree tree;
  std::string long_block;
  for (int i = 0; i < 200; ++i)
    long_block += "Received: from relay" + std::to_string(i) + " by next; Tue, 30 Jun 2009 17:00:00 +0200\n";
  tree.Write("long.eml", long_block + "Subject: after 4 KiB\n\nbody\nSubject: not this\n");
  tree.Write("crlf.eml", "Subject: crlf\r\n\r\nbody");
  const Directory directory(tree.Root().string());
  const std::string block = ReadHeaderBlock(directory, "long.eml");
  EXPECT_GT(block.size(), 4096u);
  EXPECT_EQ(block.find("body"), std::string::npos);
  EXPECT_EQ(ScanHeaders(block).subject, "after 4 KiB");
  EXPECT_EQ(ScanHeaders(ReadHeaderBlock(directory, "crlf.eml")).subject, "crlf");
  EXPECT_THROW(ReadHeaderBlock(directory, "missing.eml"), MailStoreError);
}

}  // namespace
}  // namespace qs::dirstore
