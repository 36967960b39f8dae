// The small pieces of the Windows seams: command line, text conversion,
// shortcut keys, message box styles, program directory, the room a caption
// takes and where a window opens.

#include <gtest/gtest.h>

#include <vector>

#include "platform/system.h"
#include "platform/win32/caption_room.h"
#include "platform/win32/command_line.h"
#include "platform/win32/menu_bar.h"
#include "platform/win32/message_box.h"
#include "platform/win32/utf16.h"
#include "platform/win32/window_placement.h"
#include "tests/platform/win32/win32_test_support.h"

namespace qs::win32 {
namespace {

TEST(CommandLine, TheArgumentsFollowTheProgramsOwnName) {
  EXPECT_EQ(ArgumentsPart(L"quillstow.exe /search Inbox"), L"/search Inbox");
  EXPECT_EQ(ArgumentsPart(L"\"C:\\Program Files\\Q\\quillstow.exe\"  \"a b\" c"), L"\"a b\" c");
  EXPECT_EQ(ArgumentsPart(L"\"C:\\Q\\quillstow.exe\"x y"), L"x y");
  EXPECT_EQ(ArgumentsPart(L"quillstow.exe"), L"");
  EXPECT_EQ(ArgumentsPart(L"\"unclosed name"), L"");
  EXPECT_EQ(ArgumentsPart(L""), L"");
  // Blanks inside the arguments are kept as they are.
  EXPECT_EQ(ArgumentsPart(L"q.exe\ta  b "), L"a  b ");
}

TEST(CommandLine, TheRunningTestHasItsOwnNameRemoved) {
  const std::string arguments = CommandLineArguments(0, nullptr);
  EXPECT_EQ(arguments.find("win32_layer_test"), std::string::npos);
}

TEST(Utf16, RoundTripsEveryPlane) {
  const std::string text =
      "Gr\xC3\xBC\xC3\x9F"
      "e \xE2\x82\xAC \xF0\x9F\x93\xA7";
  const std::wstring wide = ToUtf16(text);
  EXPECT_EQ(wide, L"Gr\u00FC\u00DFe \u20AC \U0001F4E7");
  EXPECT_EQ(wide.size(), 10u);  // the letter outside the basic plane is two units
  EXPECT_EQ(ToUtf8(wide), text);
  EXPECT_EQ(ToUtf16(""), L"");
  EXPECT_EQ(ToUtf8(L""), "");
}

TEST(Shortcuts, KnownKeysAndModifiersParse) {
  ACCEL accel{};
  ASSERT_TRUE(ParseShortcut("F1", accel));
  EXPECT_EQ(accel.key, VK_F1);
  EXPECT_EQ(accel.fVirt, FVIRTKEY);
  ASSERT_TRUE(ParseShortcut("Ctrl+Shift+e", accel));
  EXPECT_EQ(accel.key, 'E');
  EXPECT_EQ(accel.fVirt, FVIRTKEY | FCONTROL | FSHIFT);
  ASSERT_TRUE(ParseShortcut("F12", accel));
  EXPECT_EQ(accel.key, VK_F12);
  ASSERT_TRUE(ParseShortcut("Del", accel));
  EXPECT_EQ(accel.key, VK_DELETE);
}

TEST(Shortcuts, UnknownTextsAreRefused) {
  ACCEL accel{};
  EXPECT_FALSE(ParseShortcut("F0", accel));
  EXPECT_FALSE(ParseShortcut("F25", accel));
  EXPECT_FALSE(ParseShortcut("Hyper+X", accel));
  EXPECT_FALSE(ParseShortcut("Page", accel));
  EXPECT_FALSE(ParseShortcut("", accel));
}

TEST(MessageBoxStyles, ButtonsIconsAndDefaultButton) {
  EXPECT_EQ(MessageBoxStyle({"t", "x", Buttons::OK, Icon::None, 0}), static_cast<UINT>(MB_OK));
  EXPECT_EQ(MessageBoxStyle({"t", "x", Buttons::YesNoCancel, Icon::Critical, 2}),
            static_cast<UINT>(MB_YESNOCANCEL | MB_ICONHAND | MB_DEFBUTTON3));
  EXPECT_EQ(MessageBoxStyle({"t", "x", Buttons::RetryCancel, Icon::Information, 1}),
            static_cast<UINT>(MB_RETRYCANCEL | MB_ICONASTERISK | MB_DEFBUTTON2));
  // A default button the box lacks is its first, as the console layer does.
  EXPECT_EQ(MessageBoxStyle({"t", "x", Buttons::OKCancel, Icon::Exclamation, 2}),
            static_cast<UINT>(MB_OKCANCEL | MB_ICONEXCLAMATION));
  EXPECT_EQ(MessageBoxStyle({"t", "x", Buttons::AbortRetryIgnore, Icon::Question, -1}),
            static_cast<UINT>(MB_ABORTRETRYIGNORE | MB_ICONQUESTION));
}

TEST(MessageBoxStyles, AFailedBoxGivesItsDefaultAnswer) {
  const MessageBoxSpec box{"t", "x", Buttons::YesNo, Icon::None, 1};
  EXPECT_EQ(AnswerOf(IDYES, box), Answer::Yes);
  EXPECT_EQ(AnswerOf(0, box), Answer::No);
}

TEST(ProgramFacts, DirectoryAndSeparator) {
  EXPECT_EQ(PathSeparator(), '\\');
  const std::string directory = ProgramDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_NE(directory.back(), '\\');
  const DWORD attributes = GetFileAttributesW(ToUtf16(directory).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_NE(GetFileAttributesW(ToUtf16(directory + "\\win32_layer_test.exe").c_str()),
            INVALID_FILE_ATTRIBUTES);
}

TEST(CaptionRoom, ACaptionTakesTheFirstFreeRoomItNeeds) {
  // A label at 100..160 in a frame 0..400 x 0..200, a combo box to its
  // right at 162 and one to its left ending at 40.
  const RECT label{100, 10, 160, 27}, frame{0, 0, 400, 200};
  const std::vector<RECT> neighbours{{162, 10, 220, 31}, {0, 10, 40, 31}};
  struct Case {
    const char* what;
    CaptionNeeds needs;
    std::vector<RECT> taken;
    RECT expected;
  };
  const Case cases[] = {
      {"fits as designed", {{60, 17}, 17}, neighbours, label},
      {"wider, room to the right", {{90, 13}, 26}, {}, {100, 10, 190, 27}},
      {"wider, room to the left only", {{90, 13}, 26}, neighbours, {70, 10, 160, 27}},
      {"wider than the room left and right: wraps below", {{130, 13}, 26}, neighbours,
       {100, 10, 160, 36}},
      {"taller font on one line", {{50, 20}, 20}, neighbours, {100, 10, 160, 30}},
      {"no room anywhere: as designed", {{130, 13}, 0}, neighbours, label},
      {"would leave its frame", {{320, 13}, 0}, {}, label},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RoomForCaption(label, c.needs, frame, c.taken), c.expected) << c.what;
}

TEST(WindowPlacement, CentredOrBesideTheOwnerAndAlwaysOnTheWorkArea) {
  const RECT work{0, 0, 1000, 700};
  const SIZE size{300, 200};
  struct Case {
    const char* what;
    RECT owner;
    bool beside;
    RECT expected;
  };
  const Case cases[] = {
      {"centred", {100, 100, 500, 400}, false, {150, 150, 450, 350}},
      {"centred, pushed onto the screen", {-200, -100, 100, 100}, false, {0, 0, 300, 200}},
      {"beside: to the right", {100, 100, 500, 400}, true, {500, 100, 800, 300}},
      {"beside: below, no room to the right", {600, 100, 900, 400}, true, {600, 400, 900, 600}},
      {"beside: to the left", {600, 100, 1000, 600}, true, {300, 100, 600, 300}},
      {"beside: above", {0, 300, 1000, 600}, true, {0, 100, 300, 300}},
      {"beside: no side has room", {0, 0, 1000, 700}, true, {0, 500, 300, 700}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceNear(size, c.owner, work, c.beside), c.expected) << c.what;
}

}  // namespace
}  // namespace qs::win32
