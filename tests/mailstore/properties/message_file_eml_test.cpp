// Outlook's way to .eml: a message file read back and written again as a
// MIME message makes what the writer makes of the message itself.
#include "mailstore/properties/message_file_eml.h"

#include <gtest/gtest.h>

#include "mailstore/message/message_file.h"
#include "mailstore/message/save_message.h"
#include "tests/common/message_fixtures.h"
#include "tests/common/temp_tree.h"

namespace qs {
namespace {

using qs::testing::OutputOf;
using qs::testing::ReadFile;
using qs::testing::TempTree;

TEST(MessageFileEml, EachFixtureIsTheWritersOwnMessageAndPythonReadsIt) {
  TempTree tree;
  std::string paths;
  for (const auto& fixture : qs::testing::MessageFixtures()) {
    const std::string base = (tree.Root() / fixture.entry_id).string();
    WriteMessageFile(fixture.content, fixture.Facts(), base + ".msg");
    SaveMessageFileAsEml(ReadFile(base + ".msg"), {}, base + ".eml");
    SaveMessageAs(qs::testing::AsReadBack(fixture.content), fixture.Facts(), base + ".expected", SaveType::Eml);
    EXPECT_EQ(ReadFile(base + ".eml"), ReadFile(base + ".expected")) << fixture.entry_id;
    qs::testing::KeepForParity(base + ".eml", fixture.entry_id);
    paths += " '" + base + ".eml'";
  }
  EXPECT_EQ(OutputOf(QUILLSTOW_PYTHON " " QUILLSTOW_CHECK_EML " '" + tree.Root().string() + "'" + paths + " 2>&1"),
            "3 files 3 attachments 1 messages\n");
  EXPECT_THROW(SaveMessageFileAsEml("Fake Outlook SaveAs\r\n", {}, (tree.Root() / "x.eml").string()), MailStoreError);
  EXPECT_FALSE(std::filesystem::exists(tree.Root() / "x.eml"));
}

}  // namespace
}  // namespace qs
