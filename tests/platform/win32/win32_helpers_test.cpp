// The small pieces of the Windows seams: command line, text conversion,
// shortcut keys, message box styles, program directory.

#include <gtest/gtest.h>

#include "platform/system.h"
#include "platform/win32/command_line.h"
#include "platform/win32/menu_bar.h"
#include "platform/win32/message_box.h"
#include "platform/win32/utf16.h"

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

}  // namespace
}  // namespace qs::win32
