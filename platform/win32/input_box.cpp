#include "platform/win32/input_box.h"

#include <cstring>
#include <vector>

#include "platform/win32/utf16.h"

namespace qs::win32 {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kEditId = 101;

// A dialog template laid out in memory as the dialog manager reads it:
// DWORD-aligned records of little-endian words.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, WORD items) {
    AddDword(style);
    AddDword(0);  // extended style
    words_.push_back(items);
    AddShorts({0, 0, width, height});
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    words_.push_back(0);  // title set at run time
    words_.push_back(8);  // font size in points
    AddText(L"MS Shell Dlg");
  }

  void AddItem(WORD atom, DWORD style, short x, short y, short width, short height, WORD id) {
    if (words_.size() % 2) words_.push_back(0);
    AddDword(style | WS_CHILD | WS_VISIBLE);
    AddDword(0);
    AddShorts({x, y, width, height});
    words_.push_back(id);
    words_.push_back(0xFFFF);
    words_.push_back(atom);
    words_.push_back(0);  // text set at run time
    words_.push_back(0);  // no creation data
  }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
  }
  void AddShorts(std::initializer_list<short> values) {
    for (short value : values) words_.push_back(static_cast<WORD>(value));
  }
  void AddText(const wchar_t* text) {
    for (; *text; ++text) words_.push_back(static_cast<WORD>(*text));
    words_.push_back(0);
  }

  std::vector<WORD> words_;  // a vector's storage is aligned well enough for DWORDs
};

struct InputState {
  std::wstring prompt, title, initial;
  std::optional<std::wstring> answer;
};

std::wstring ItemText(HWND dialog, int id) {
  HWND item = GetDlgItem(dialog, id);
  std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(item)) + 1, L'\0');
  const int copied = GetWindowTextW(item, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

INT_PTR CALLBACK InputProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  try {
    if (message == WM_INITDIALOG) {
      auto* state = reinterpret_cast<InputState*>(lparam);
      SetWindowLongPtrW(dialog, DWLP_USER, lparam);
      SetWindowTextW(dialog, state->title.c_str());
      SetDlgItemTextW(dialog, kPromptId, state->prompt.c_str());
      SetDlgItemTextW(dialog, kEditId, state->initial.c_str());
      SetDlgItemTextW(dialog, IDOK, L"OK");
      SetDlgItemTextW(dialog, IDCANCEL, L"Cancel");
      HWND edit = GetDlgItem(dialog, kEditId);
      SendMessageW(edit, EM_SETSEL, 0, -1);
      SetFocus(edit);
      return FALSE;  // the focus has been set
    }
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
      auto* state = reinterpret_cast<InputState*>(GetWindowLongPtrW(dialog, DWLP_USER));
      if (LOWORD(wparam) == IDOK && state) state->answer = ItemText(dialog, kEditId);
      EndDialog(dialog, LOWORD(wparam));
      return TRUE;
    }
  } catch (...) {
    EndDialog(dialog, IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

std::optional<std::string> RunInputBox(HWND owner, const std::string& prompt,
                                       const std::string& title, const std::string& initial) {
  constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;
  DialogTemplate layout(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU,
                        250, 82, 4);
  layout.AddItem(kStatic, SS_LEFT, 7, 7, 178, 44, kPromptId);
  layout.AddItem(kButton, BS_DEFPUSHBUTTON | WS_TABSTOP, 193, 7, 50, 14, IDOK);
  layout.AddItem(kButton, BS_PUSHBUTTON | WS_TABSTOP, 193, 25, 50, 14, IDCANCEL);
  layout.AddItem(kEdit, ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 60, 236, 13, kEditId);
  InputState state{ToUtf16(prompt), ToUtf16(title), ToUtf16(initial), std::nullopt};
  const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.Get(), owner,
                                                 &InputProcedure, reinterpret_cast<LPARAM>(&state));
  if (result != IDOK || !state.answer) return std::nullopt;
  return ToUtf8(*state.answer);
}

}  // namespace qs::win32
