#include <gtest/gtest.h>

#include <filesystem>

#include "mailstore/open_mail_store.h"
#include "mailstore/search.h"
#include "save/modSaveListedItems.h"
#include "tests/common/scoped_environment.h"
#include "tests/common/scratch_dir.h"
#include "tests/save/list_fixture.h"

namespace qs {
namespace {

// A saved page's links to its pictures point at the files they were saved
// as; a link to a part the mail does not hold stays as it was.
TEST(PageLinks, PicturesPointAtTheFilesTheyWereSavedAs) {
  test::ScratchDir scratch;
  std::filesystem::create_directories(scratch.Path() / "root/Store/Inbox");
  scratch.Write("root/Store/Inbox/m.eml",
                "Subject: Pictures\nContent-Type: multipart/related; boundary=B\n\n"
                "--B\nContent-Type: text/html\n\n"
                "<img src=\"cid:a@x\"><img src='CID:b%40x'><p style=\"background:url(cid:gone@x)\">\n"
                "--B\nContent-Type: image/png; name=p.png\nContent-ID: <a@x>\n\nA\n"
                "--B\nContent-Type: image/png; name=p.png\nContent-ID: <b@x>\n\nB\n--B--\n");
  const testing::ScopedEnvironment root("QUILLSTOW_MAILROOT", scratch.File("root"));
  test::ListFixture fixture;
  SearchMailFolder(fixture.app, OpenMailStore, "\\\\Store\\Inbox", fixture.list, {});
  ASSERT_EQ(fixture.list.RowCount(), 1);
  SaveListedItems(fixture.app, OpenMailStore, "\\\\Store\\Inbox", fixture.list, scratch.File("out"),
                  {"%3", "dir", false, "50", "50"});
  EXPECT_EQ(scratch.Read("out/Pictures/attachments/p (2).png"), "B");
  const std::string page = scratch.Read("out/Pictures/message.html");
  EXPECT_NE(page.find("<img src=\"attachments/p.png\"><img src='attachments/p%20%282%29.png'>"
                      "<p style=\"background:url(cid:gone@x)\">"),
            std::string::npos)
      << page;
}

}  // namespace
}  // namespace qs
