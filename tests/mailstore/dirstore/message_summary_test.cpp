#include "mailstore/dirstore/message_summary.h"

#include <gtest/gtest.h>

#include "mailstore/mail_store.h"
#include "tests/mailstore/dirstore/temp_tree.h"

namespace qs::dirstore {
namespace {

using std::chrono::days;
using std::chrono::hours;
using std::chrono::local_days;
using std::chrono::minutes;
using namespace std::chrono_literals;

DateTime At(int y, unsigned m, unsigned d, int h = 0, int mi = 0, int s = 0) {
  using namespace std::chrono;
  return local_days{year{y} / month{m} / day{d}} + hours{h} + minutes{mi} + seconds{s};
}

class MessageSummaryTest : public ::testing::Test {
 protected:
  MessageSummary Summary(const std::string& block, std::string_view file_name = "x.eml") {
    return Summarize(ScanHeaders(block), file_name, [this] {
      ++mtime_asked;
      return At(2020, 2, 2, 2, 2, 2);
    });
  }

  testing::ScopedEnvironment utc{"TZ", "UTC"};
  int mtime_asked = 0;
};

TEST_F(MessageSummaryTest, ClassFromTheHeaders) {
  EXPECT_EQ(Summary("Subject: plain\n").item_class, kMailItemClass);
  EXPECT_EQ(Summary("Content-Type: Multipart/Report; report-type=delivery-status\n").item_class,
            kReportItemClass);
  EXPECT_EQ(Summary("Content-Class: urn:content-classes:calendarmessage\n"
                    "Content-Type: multipart/alternative; boundary=x\n").item_class,
            kMeetingRequestClass);
  EXPECT_EQ(Summary("Content-Type: text/calendar; charset=utf-8; method=\"REQUEST\"\n").item_class,
            kMeetingRequestClass);
  EXPECT_EQ(Summary("Content-Type: text/calendar; method=REPLY\n").item_class, kMailItemClass);
  EXPECT_EQ(Summary("Content-Type: multipart/mixed; x=\"multipart/report\"\n").item_class,
            kMailItemClass);
  EXPECT_EQ(Summary("Content-Class: urn:content-classes:message\n").item_class, kMailItemClass);
}

TEST_F(MessageSummaryTest, DatesInLocalTime) {
  const auto summary = Summary(
      "Received: from a by b; Wed, 01 Jul 2009 08:00:00 +0000\n"
      "Received: from c by d; Tue, 30 Jun 2009 23:00:00 +0000\n"
      "Date: Tue, 30 Jun 2009 17:00:00 +0200\n");
  EXPECT_EQ(summary.sent_on, At(2009, 6, 30, 15));
  EXPECT_TRUE(summary.sent);
  EXPECT_EQ(summary.received, At(2009, 7, 1, 8));
  testing::ScopedEnvironment berlin{"TZ", "Europe/Berlin"};
  EXPECT_EQ(Summary("Date: Tue, 30 Jun 2009 17:00:00 +0200\n").sent_on, At(2009, 6, 30, 17));
  EXPECT_EQ(mtime_asked, 0);
}

TEST_F(MessageSummaryTest, ReceivedFallsBackToDateThenToTheFile) {
  EXPECT_EQ(Summary("Date: Tue, 30 Jun 2009 17:00:00 +0000\n").received, At(2009, 6, 30, 17));
  EXPECT_EQ(Summary("Received: no date here\nDate: Tue, 30 Jun 2009 17:00:00 +0000\n").received,
            At(2009, 6, 30, 17));
  EXPECT_EQ(mtime_asked, 0);
  const auto undated = Summary("Subject: undated\n");
  EXPECT_EQ(undated.received, At(2020, 2, 2, 2, 2, 2));
  EXPECT_EQ(undated.sent_on, NoDate());
  EXPECT_FALSE(undated.sent);
  EXPECT_EQ(mtime_asked, 1);
}

TEST_F(MessageSummaryTest, SentRules) {
  const std::string dated = "Date: Tue, 30 Jun 2009 17:00:00 +0000\n";
  EXPECT_TRUE(Summary(dated).sent);
  EXPECT_FALSE(Summary(dated + "X-Unsent: 1\n").sent);
  EXPECT_TRUE(Summary(dated + "X-Unsent: 0\n").sent);
  EXPECT_FALSE(Summary(dated, "1400285084.M36P4036.host:2,DS").sent);
  EXPECT_TRUE(Summary(dated, "1400285084.M36P4036.host:2,S").sent);
  EXPECT_TRUE(Summary(dated, "Draft notes D.eml").sent);
  EXPECT_FALSE(Summary("Date: not a date\n").sent);
  EXPECT_EQ(Summary("Date: not a date\n").sent_on, NoDate());
}

TEST_F(MessageSummaryTest, TextsOfTheRow) {
  const auto summary = Summary(
      "From: =?UTF-8?B?Q2xhcmE=?= <Clara@Example.org>, other@example.org\n"
      "To: =?UTF-8?B?YQ==?= =?UTF-8?B?Yg==?= <ab@example.org>, c@example.org\n"
      "Subject: =?UTF-8?B?YQ==?=\n =?UTF-8?B?Yg==?=\n");
  EXPECT_EQ(summary.sender_address, "Clara@Example.org");
  EXPECT_EQ(summary.to, "ab; c@example.org");
  EXPECT_EQ(summary.subject, "ab");
}

}  // namespace
}  // namespace qs::dirstore
