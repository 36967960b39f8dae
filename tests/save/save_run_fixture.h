#pragma once
// A save run over a store held in memory, into scratch directories: rows
// are listed for mails of the store, and saved with the fixture's options.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "list_fixture.h"
#include "save/modSaveListedItems.h"
#include "tests/common/fake_mail_store.h"
#include "tests/common/scratch_dir.h"

namespace qs::test {

class SaveRunFixture : public ::testing::Test {
 protected:
  // Adds a listed row for a mail of the store.
  void List(const std::string& id, const std::string& subject, testing::FakeMail mail = {}) {
    Row row;
    row.entry_id = EntryId(id);
    row.subject = subject;
    fixture.list.Add(row);
    store.mails[id] = std::move(mail);
  }
  void Save(const std::string& dir, const std::string& folder = "\\\\Mailbox\\Inbox") {
    SaveListedItems(fixture.app, opener, folder, fixture.list, dir, settings);
  }

  ListFixture fixture;
  ScratchDir scratch;
  testing::FakeMailStore store;
  testing::FakeStoreLog& log = *store.log;
  bool reachable = true;
  MailStoreOpener opener = [this](Reporter&) -> std::unique_ptr<MailStore> {
    if (!reachable) throw MailStoreError("Outlook is not there");
    return std::make_unique<testing::FakeMailStore>(store);
  };
  SaveOptions settings{"%3", "MSG", false, "50", "50"};
};

}  // namespace qs::test
