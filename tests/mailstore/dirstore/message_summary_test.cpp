#include "mailstore/dirstore/message_summary.h"

#include <gtest/gtest.h>

#include <optional>

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

// A mail date as the list shows it: in local time (UTC in these tests).
std::optional<DateTime> ParseMailDate(std::string_view text) {
  const std::optional<long long> seconds = ParseMailDateSeconds(text);
  if (!seconds) return std::nullopt;
  return LocalTimeOf(*seconds);
}

class MessageSummaryTest : public ::testing::Test {
 protected:
  MessageSummary Summary(const std::string& block, std::string_view file_name = "x.eml") {
    return Summarize(ScanHeaders(block), file_name, [this] {
      ++mtime_asked;
      return 1580608922;  // 2020-02-02 02:02:02 UTC
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

TEST_F(MessageSummaryTest, MailDatesInTheirUsualAndOddForms) {
  const DateTime expected = At(2009, 6, 30, 15);
  for (std::string_view text : {"Tue, 30 Jun 2009 17:00:00 +0200", "30 jun 2009 17:00:00 +0200",
                                "Tue,30 Jun 2009 12:00 -0300", "Tue, 30 Jun 09 15:00:00 GMT",
                                "Tue, 30 Jun 2009 15:00:00 UT (Coordinated)",
                                "Tue, 30 Jun 2009 20:30:00 +0530 (IST)", "30-Jun-2009 15:00:00 +0000",
                                "Tue, 30 Jun 2009 08:00:00 PDT", "Tuesday, 30 June 2009 15:00:00 +0000"})
    EXPECT_EQ(ParseMailDate(text), expected) << text;
  EXPECT_EQ(ParseMailDate("Mon, 30 Jun 3609 15:33:50 +0600"), At(3609, 6, 30, 9, 33, 50));
  EXPECT_EQ(ParseMailDate("Fri, 1 Jan 1999 00:00:00 +0100"), At(1998, 12, 31, 23));
  for (std::string_view text : {"", "Mon, 31 Feb 2009 10:00:00 +0000", "not a date", "30 Jun"})
    EXPECT_FALSE(ParseMailDate(text)) << text;
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
