#include "platform/win32/menu_bar.h"

#include <cctype>
#include <vector>

#include "platform/text.h"
#include "platform/win32/utf16.h"

namespace qs::win32 {

namespace {

bool KeyFromName(const std::string& name, WORD& key) {
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    key = static_cast<WORD>(name[0]);
    return true;
  }
  if (name.size() >= 2 && name[0] == 'F') {
    int number = 0;
    for (std::size_t i = 1; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i]))) return false;
      number = number * 10 + (name[i] - '0');
    }
    if (number < 1 || number > 24) return false;
    key = static_cast<WORD>(VK_F1 + number - 1);
    return true;
  }
  static const struct {
    const char* name;
    WORD key;
  } kNamed[] = {{"DEL", VK_DELETE},    {"DELETE", VK_DELETE}, {"INS", VK_INSERT},
                {"INSERT", VK_INSERT}, {"HOME", VK_HOME},     {"END", VK_END},
                {"ENTER", VK_RETURN},  {"ESC", VK_ESCAPE},    {"BKSP", VK_BACK}};
  for (const auto& named : kNamed)
    if (name == named.name) {
      key = named.key;
      return true;
    }
  return false;
}

void AddEntries(HMENU menu, const Form& form, const MenuItem* parent,
                const std::function<WORD(const Control&)>& id_of, std::vector<ACCEL>& keys) {
  for (const auto& control : form.Controls()) {
    const auto* item = dynamic_cast<const MenuItem*>(control.get());
    if (!item || item->ParentMenu() != parent || !item->Visible()) continue;
    if (item->IsSeparator()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::string caption = item->Caption();
    if (!item->Shortcut().empty()) caption += "\t" + item->Shortcut();
    const UINT state = item->Enabled() ? MF_ENABLED : MF_GRAYED;
    const bool has_children = [&] {
      for (const auto& other : form.Controls())
        if (auto* child = dynamic_cast<const MenuItem*>(other.get());
            child && child->ParentMenu() == item)
          return true;
      return false;
    }();
    if (has_children) {
      HMENU popup = CreatePopupMenu();
      AddEntries(popup, form, item, id_of, keys);
      AppendMenuW(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(popup),
                  ToUtf16(caption).c_str());
      continue;
    }
    const WORD id = id_of(*item);
    AppendMenuW(menu, MF_STRING | state, id, ToUtf16(caption).c_str());
    ACCEL accel{};
    if (!item->Shortcut().empty() && ParseShortcut(item->Shortcut(), accel)) {
      accel.cmd = id;
      keys.push_back(accel);
    }
  }
}

}  // namespace

bool ParseShortcut(const std::string& text, ACCEL& accel) {
  accel.fVirt = FVIRTKEY;
  std::string rest = AsciiUpper(text);
  for (;;) {
    const auto plus = rest.find('+');
    if (plus == std::string::npos || plus + 1 == rest.size()) break;
    const std::string modifier = rest.substr(0, plus);
    if (modifier == "CTRL")
      accel.fVirt |= FCONTROL;
    else if (modifier == "SHIFT")
      accel.fVirt |= FSHIFT;
    else if (modifier == "ALT")
      accel.fVirt |= FALT;
    else
      return false;
    rest = rest.substr(plus + 1);
  }
  return KeyFromName(rest, accel.key);
}

MenuBar BuildMenuBar(const Form& form, const std::function<WORD(const Control&)>& id_of) {
  MenuBar result;
  std::vector<ACCEL> keys;
  HMENU bar = CreateMenu();
  AddEntries(bar, form, nullptr, id_of, keys);
  if (GetMenuItemCount(bar) > 0) {
    result.bar = bar;
  } else {
    DestroyMenu(bar);
  }
  if (!keys.empty())
    result.accelerators.reset(CreateAcceleratorTableW(keys.data(), static_cast<int>(keys.size())));
  return result;
}

}  // namespace qs::win32
