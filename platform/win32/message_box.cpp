#include "platform/win32/message_box.h"

namespace qs::win32 {

namespace {
int ButtonCount(Buttons buttons) {
  switch (buttons) {
    case Buttons::OK:
      return 1;
    case Buttons::AbortRetryIgnore:
    case Buttons::YesNoCancel:
      return 3;
    default:
      return 2;
  }
}
}  // namespace

UINT MessageBoxStyle(const MessageBoxSpec& box) {
  UINT style = 0;
  switch (box.buttons) {
    case Buttons::OK:
      style = MB_OK;
      break;
    case Buttons::OKCancel:
      style = MB_OKCANCEL;
      break;
    case Buttons::AbortRetryIgnore:
      style = MB_ABORTRETRYIGNORE;
      break;
    case Buttons::YesNoCancel:
      style = MB_YESNOCANCEL;
      break;
    case Buttons::YesNo:
      style = MB_YESNO;
      break;
    case Buttons::RetryCancel:
      style = MB_RETRYCANCEL;
      break;
  }
  switch (box.icon) {
    case Icon::None:
      break;
    case Icon::Critical:
      style |= MB_ICONHAND;
      break;
    case Icon::Question:
      style |= MB_ICONQUESTION;
      break;
    case Icon::Exclamation:
      style |= MB_ICONEXCLAMATION;
      break;
    case Icon::Information:
      style |= MB_ICONASTERISK;
      break;
  }
  // A default button the box does not have means its first, as everywhere.
  static constexpr UINT kDefault[] = {MB_DEFBUTTON1, MB_DEFBUTTON2, MB_DEFBUTTON3};
  if (box.default_button > 0 && box.default_button < ButtonCount(box.buttons))
    style |= kDefault[box.default_button];
  return style;
}

Answer AnswerOf(int result, const MessageBoxSpec& box) {
  if (result >= IDOK && result <= IDNO) return static_cast<Answer>(result);
  // No box could be shown: behave as if its default button had been taken.
  return DefaultAnswer(box);
}

}  // namespace qs::win32
