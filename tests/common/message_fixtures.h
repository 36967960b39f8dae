#pragma once
// Messages given as content, one table for both builds: the fake Outlook
// keeps them as its items' message files, and the tests of both builds
// make MIME message files of them, which must be the same bytes.

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/encodings/byte_source.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/message/message_content.h"
#include "mailstore/message/text_forms.h"

namespace qs::testing {

struct MessageFixture {
  const char* entry_id;  // the fake Outlook's
  MessageContent content;
  long long delivered;  // seconds since 1970
  ItemFacts Facts() const { return {.received_seconds = delivered, .locale = nullptr}; }
};

inline MessageAttachment FixtureFile(std::string name, std::string type, std::string bytes, std::string id = {}) {
  return {std::move(name), std::move(type), std::move(id), std::make_shared<const HeldBytes>(std::move(bytes)), nullptr};
}

inline MessageContent FixtureMessage(std::string subject, std::vector<Mailbox> from, std::vector<Mailbox> to,
                                     long long date, const char* text) {
  MessageContent content;
  content.subject = std::move(subject);
  content.from = std::move(from);
  content.to = std::move(to);
  content.date = date;
  content.text_body = std::make_shared<const HeldBytes>(text);
  return content;
}

// Transport headers with the MIME structure fields of the message as it
// arrived; an address of Exchange's own that no SMTP address stands for (a
// name only); a picture the HTML shows; an attached message with a file.
inline std::vector<MessageFixture> MessageFixtures() {
  MessageContent plain = FixtureMessage("Minutes", {{"Alice Example", "alice@example.com"}},
                                        {{"Bob", "bob@example.com"}}, 1244102400, "Present: all.\nFrom now on weekly.\n");
  plain.cc = {{"", "carol@example.com"}};
  plain.message_id = "minutes-1@example.com";
  plain.headers =
      "Received: from mx.example.com by mail.example.com; Thu, 4 Jun 2009 08:00:05 +0000\r\n"
      "From: Alice Example <alice@example.com>\r\nTo: Bob <bob@example.com>\r\nSubject: Minutes\r\n"
      "Date: Thu, 4 Jun 2009 08:00:00 +0000\r\nMIME-Version: 1.0\r\nContent-Type: text/plain; charset=latin1\r\n";
  MessageContent pictures =
      FixtureMessage("Gr\xc3\xbc\xc3\x9f" "e mit Bild", {{"Zo\xc3\xab \xc3\x9cnal", "zoe@example.com"}},
                     {{"Tester", ""}, {"Bob", "bob@example.com"}}, 1259996589, "Das Bild:\n\nund der Bericht.\n");
  pictures.html_body = "<html><head><title>Bild</title></head><body><p>Das Bild:</p>"
                       "<img src=\"cid:logo@example.com\"><p>und der Bericht.</p></body></html>";
  pictures.attachments = {
      FixtureFile("logo.png", "image/png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "logo@example.com"),
      FixtureFile("report.pdf", "application/pdf", "%PDF-1.4\n" + std::string(5000, '\xe7') + "\n%%EOF\n")};
  MessageContent inner = FixtureMessage("Original", {{"", "dave@example.com"}}, {{"", "alice@example.com"}},
                                        1243000000, "The original text.\n");
  inner.attachments = {FixtureFile("notes \xc3\xbc.txt", "text/plain", "notes\r\n")};
  MessageContent forwarded = FixtureMessage("Fw: Original", {{"Alice Example", "alice@example.com"}},
                                            {{"", "bob@example.com"}}, 1243100000, "See below.\n");
  forwarded.attachments = {{"Original.msg", "message/rfc822", {}, std::make_shared<const HeldBytes>(std::string()),
                            std::make_shared<const MessageContent>(std::move(inner))}};
  return {{"00000000E1000001", std::move(plain), 1244102405},
          {"00000000E1000002", std::move(pictures), 1259996590},
          {"00000000E1000003", std::move(forwarded), 1243100001}};
}

// The content a message file of the fixture reads back as: every mailbox
// has a display name, the address where it had none, and the HTML declares
// the UTF-8 it was written in; its attached messages' too.
inline MessageContent AsReadBack(const MessageContent& content) {
  MessageContent read = content;
  for (std::vector<Mailbox>* mailboxes : {&read.from, &read.to, &read.cc, &read.bcc})
    for (Mailbox& mailbox : *mailboxes)
      if (mailbox.name.empty()) mailbox.name = mailbox.address;
  if (read.html_body) read.html_body = WholeBytes(Utf8DeclaredHtml(*read.html_body));
  for (MessageAttachment& attachment : read.attachments)
    if (attachment.message) attachment.message = std::make_shared<const MessageContent>(AsReadBack(*attachment.message));
  return read;
}

// Leaves a copy of a MIME message file made of a message where the test run
// compares both builds' (the directory QUILLSTOW_PARITY names, if any).
inline void KeepForParity(const std::filesystem::path& eml, const char* entry_id) {
  if (const char* dir = std::getenv("QUILLSTOW_PARITY"))
    std::filesystem::copy_file(eml, std::filesystem::path(dir) / (std::string(entry_id) + ".eml"),
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace qs::testing
