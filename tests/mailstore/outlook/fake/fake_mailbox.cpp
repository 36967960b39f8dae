// The mailbox every test starts from, as a table of mail.

#include "fake_outlook.h"

namespace fake_outlook {

std::vector<Mail> Fixture() {
  const std::wstring inbox = L"\\\\Postfach Zoë\\Inbox", broken = L"\\\\Postfach Zoë\\Broken";
  const std::wstring alice = L"alice@example.com";
  return {
      {inbox, L"00000000A1000001", L"Quarterly figures", alice, L"Tester", L"2009-06-01 08:00:00",
       L"2009-06-01 09:15:30", L"2009-06-01 09:16:02"},
      {inbox, L"00000000A1000002", L"Undeliverable: hello", alice, L"Tester", L"2009-06-02",
       L"2009-06-02", L"2009-06-02", 46},
      {inbox, L"00000000A1000003", L"Re: hello?", L"bob@example.com", L"Tester; Zoë Ünal",
       L"2009-12-05 07:03:09", L"2009-12-05 07:03:09", L"2009-12-05 07:04:00", 43,
       {L"report.pdf", L"notes ü.txt"}},
      {inbox + L"\\Projekte Ü", L"00000000A1000004", L"Grüße aus Köln", alice, L"Tester",
       L"2009-03-01 12:00:00", L"2009-03-01 12:00:01", L"2009-03-01 12:00:02"},
      {inbox + L"\\Projekte Ü\\2009 — Q4", L"00000000A1000005", L"Plan", alice, L"Tester",
       L"2009-10-01", L"2009-10-02", L"2009-10-03 23:59:59"},
      // A draft: Outlook's "no date" for when it was sent and received.
      {L"\\\\Postfach Zoë\\Drafts", L"00000000A1000006", L"Unsent thoughts", L"", L"Tester",
       L"2010-01-02 03:04:05", L"4501-01-01", L"4501-01-01"},
      {broken, L"00000000A1000007", L"Readable", alice, L"Tester", L"2009-05-05", L"2009-05-05",
       L"2009-05-05"},
      {broken, L"00000000A1000008", L"Damaged", alice, L"Tester", L"2009-05-06", L"2009-05-06",
       L"2009-05-06", 43, {}, true},
      {broken, L"00000000A1000009", L"Never reached", alice, L"Tester", L"2009-05-07",
       L"2009-05-07", L"2009-05-07"},
      {L"\\\\Архив\\Входящие", L"00000000B2000001", L"Старое письмо", alice, L"Tester",
       L"1999-12-31 23:59:59", L"1999-12-31 23:59:59", L"2000-01-01"},
  };
}

}  // namespace fake_outlook
