#include "mailstore/pststore/item_summary.h"

#include <gtest/gtest.h>

#include "mailstore/dirstore/message_summary.h"
#include "mailstore/mail_store.h"
#include "mailstore/pststore/code_page.h"
#include "mailstore/pststore/property_ids.h"
#include "mailstore/pststore/pst_entry_id.h"
#include "tests/mailstore/pststore/bag_builder.h"

namespace qs::pststore {
namespace {

using namespace testing;

ItemSummary SummaryOf(MemoryProperties properties, std::uint32_t code_page = kWindows1252) {
  return Summarize(MemoryRecipient(std::move(properties)), TextDecoding{code_page});
}

TEST(ItemSummary, MessageClassesMapToTheListedItemClasses) {
  const struct {
    const char* message_class;
    int item_class;
  } cases[] = {
      {"IPM.Note", kMailItemClass},
      {"ipm.note.SMIME.MultipartSigned", kMailItemClass},
      {"IPM.Notes", 0},
      {"REPORT.IPM.Note.NDR", kReportItemClass},
      {"IPM.Schedule.Meeting.Request", kMeetingRequestClass},
      {"IPM.Schedule.Meeting.Canceled", 0},
      {"IPM.Appointment", 0},
      {"IPM.Contact", 0},
      {"", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(ItemClassOf(c.message_class), c.item_class) << c.message_class;
}

TEST(ItemSummary, TheSubjectMarkerIsDroppedInEitherTextForm) {
  EXPECT_EQ(SummaryOf({{{kSubject, Unicode(u"\x01\x05Re: hello")}}}).subject, "Re: hello");
  EXPECT_EQ(SummaryOf({{{kSubject, Ansi("\x01\x01Here")}}}).subject, "Here");
  EXPECT_EQ(SummaryOf({{{kSubject, Unicode(u"plain\0")}}}).subject, "plain");
  EXPECT_EQ(SummaryOf({{{kSubject, Unicode(u"\x01")}}}).subject, "\x01");
}

TEST(ItemSummary, DatesSentStateAndTheNoneDate) {
  const long long sent = 1'300'000'000;
  const ItemSummary summary = SummaryOf({{{kClientSubmitTime, Time(sent)},
                                          {kDeliveryTime, Time(sent + 60)},
                                          {kCreationTime, Time(sent + 120)},
                                          {kMessageFlags, Int32(0x01)}}});
  EXPECT_TRUE(summary.sent);
  EXPECT_EQ(summary.sent_on, dirstore::LocalTimeOf(sent));
  EXPECT_EQ(summary.received, dirstore::LocalTimeOf(sent + 60));
  EXPECT_EQ(summary.created, dirstore::LocalTimeOf(sent + 120));
  EXPECT_EQ(summary.received_seconds, sent + 60);

  // A draft: unsent, without a submit time; a time of zero is none too.
  const ItemSummary draft =
      SummaryOf({{{kMessageFlags, Int32(0x09)}, {kDeliveryTime, {kTimeValue, std::string(8, '\0')}}}});
  EXPECT_FALSE(draft.sent);
  EXPECT_EQ(draft.sent_on, NoDate());
  EXPECT_EQ(draft.received, NoDate());
  EXPECT_FALSE(draft.received_seconds);
}

TEST(ItemSummary, ExchangeSendersShowTheirSmtpAddress) {
  EXPECT_EQ(SummaryOf({{{kSenderAddress, Unicode(u"/O=ORG/OU=SITE/CN=RECIPIENTS/CN=ANNA")},
                        {kSenderAddressType, Unicode(u"EX")},
                        {kSenderSmtpAddress, Unicode(u"anna@example.org")}}})
                .sender_address,
            "anna@example.org");
  EXPECT_EQ(SummaryOf({{{kSenderAddress, Unicode(u"tom@example.org")},
                        {kSenderAddressType, Unicode(u"SMTP")},
                        {kSenderSmtpAddress, Unicode(u"other@example.org")}}})
                .sender_address,
            "tom@example.org");
}

TEST(ItemSummary, AnsiTextsUseTheMessageCodePageElseTheStores) {
  const PropertyValue to = Ansi("\xC0\xED\xED\xE0");  // "Анна" in Windows-1251
  EXPECT_EQ(SummaryOf({{{kDisplayTo, to}, {0x3FFD, Int32(1251)}}}).to, "Анна");
  EXPECT_EQ(SummaryOf({{{kDisplayTo, to}}}, 1251).to, "Анна");
  EXPECT_EQ(SummaryOf({{{kDisplayTo, to}}}).to, "Àííà");
  // A code page the system does not know is passed over for the store's.
  EXPECT_EQ(SummaryOf({{{kDisplayTo, to}, {0x3FFD, Int32(77777)}}}, 1251).to, "Анна");
}

TEST(ItemSummary, DamagedValuesReadAsAbsent) {
  const ItemSummary summary = SummaryOf({{{kClientSubmitTime, {kTimeValue, "\x01\x02"}},
                                          {kMessageFlags, Unicode(u"x")},
                                          {kSubject, Int32(5)},
                                          {kDisplayTo, Unicode(u"\xD800 \xDC00")}}});
  EXPECT_EQ(summary.sent_on, NoDate());
  EXPECT_TRUE(summary.sent);
  EXPECT_EQ(summary.subject, "");
  EXPECT_EQ(summary.to, "\xEF\xBF\xBD \xEF\xBF\xBD");
}

TEST(PstEntryId, RoundTripsAndRefusesOtherTexts) {
  ItemAddress address;
  for (std::size_t i = 0; i < address.record_key.size(); ++i)
    address.record_key[i] = static_cast<std::uint8_t>(0xF0 + i);
  address.identifier = 0x00200024;
  const std::string id = EncodeEntryId(address);
  EXPECT_EQ(id, "00000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF24002000");
  EXPECT_EQ(DecodeEntryId(id), address);
  EXPECT_EQ(DecodeEntryId("00000000f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff24002000"), address);
  for (const char* other : {"", "00", "01000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF24002000",
                            "00000000F0F1F2F3F4F5F6F7F8F9FAFBFCFDFEFF2400200G",
                            "2F6D61696C2F612E656D6C"})
    EXPECT_FALSE(DecodeEntryId(other)) << other;
}

}  // namespace
}  // namespace qs::pststore
