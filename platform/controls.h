#pragma once
// The control objects of the window layer. Each control holds its own state;
// a native peer (one HWND on Windows, none on the console) mirrors it. Readers
// always read the control object, never the peer.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/peer.h"

namespace qs {

class CommandButton;
class Form;
class Frame;

struct Font {
  // What a window system that lacks the face should fall back to.
  enum class Family { Sans, Monospace };
  std::string name = "MS Sans Serif";
  double points = 8.25;
  Family family = Family::Sans;
};

class Control {
 public:
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  const std::string& Name() const { return name_; }
  // The kind of control as the designer names it ("TextBox", "Toolbar"...).
  virtual const char* TypeName() const = 0;
  Form& Owner() const { return owner_; }

  // Controls without a place on the window (menu entries) throw on geometry.
  virtual bool HasPlace() const { return true; }
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(double twips);
  void SetTop(double twips);
  void SetWidth(double twips);
  void SetHeight(double twips);
  void Move(int left, int top, int width, int height);

  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  int TabIndex() const { return tab_index_; }
  void SetTabIndex(int index) { tab_index_ = index; }
  // The frame that holds the control; its place is relative to that frame.
  Frame* Container() const { return container_; }
  void SetContainer(Frame* frame) { container_ = frame; }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { font_ = std::move(font); }

  ControlPeer* Peer() const { return peer_.get(); }
  void SetPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }

 protected:
  Control(Form& owner, std::string name);
  void Notify(Change what, int index = 0) const {
    if (peer_) peer_->Update(what, index);
  }

 private:
  void RequirePlace() const;

  Form& owner_;
  std::string name_;
  std::string tag_;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  int tab_index_ = -1;
  Frame* container_ = nullptr;
  Font font_;
  std::unique_ptr<ControlPeer> peer_;
};

// A control that shows a caption: labels, buttons, frames, check boxes, menus.
class CaptionedControl : public Control {
 public:
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

 protected:
  CaptionedControl(Form& owner, std::string name, std::string caption)
      : Control(owner, std::move(name)), caption_(std::move(caption)) {}

 private:
  std::string caption_;
};

class Label : public CaptionedControl {
 public:
  Label(Form& owner, std::string name, std::string caption)
      : CaptionedControl(owner, std::move(name), std::move(caption)) {}
  const char* TypeName() const override { return "Label"; }
};

class Frame : public CaptionedControl {
 public:
  Frame(Form& owner, std::string name, std::string caption)
      : CaptionedControl(owner, std::move(name), std::move(caption)) {}
  const char* TypeName() const override { return "Frame"; }
};

// A control whose text the user edits: one-line text boxes and combo boxes.
class EditableControl : public Control {
 public:
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { StoreText(std::move(text), true); }
  // The user's edit, reported by a native peer: stored without echoing back.
  void TextEditedByUser(std::string text) { StoreText(std::move(text), false); }
  std::function<void()> onChange;

 protected:
  using Control::Control;

 private:
  void StoreText(std::string text, bool tell_peer);
  std::string text_;
};

class TextBox : public EditableControl {
 public:
  TextBox(Form& owner, std::string name) : EditableControl(owner, std::move(name)) {}
  const char* TypeName() const override { return "TextBox"; }
  // The button Enter presses while the box has the keyboard, before the
  // form's default button.
  CommandButton* EnterButton() const { return enter_button_; }
  void SetEnterButton(CommandButton* button) { enter_button_ = button; }

 private:
  CommandButton* enter_button_ = nullptr;
};

// An editable drop-down combo box: the user picks an item or types any text.
class ComboBox : public EditableControl {
 public:
  ComboBox(Form& owner, std::string name) : EditableControl(owner, std::move(name)) {}
  const char* TypeName() const override { return "ComboBox"; }
  const std::vector<std::string>& Items() const { return items_; }
  void AddItem(std::string item);
  void ClearItems();

 private:
  std::vector<std::string> items_;
};

class CheckBox : public CaptionedControl {
 public:
  enum State { Unchecked = 0, Checked = 1, Grayed = 2 };
  CheckBox(Form& owner, std::string name, std::string caption = {})
      : CaptionedControl(owner, std::move(name), std::move(caption)) {}
  const char* TypeName() const override { return "CheckBox"; }
  int Value() const { return value_; }
  // A change of state, by the program or the user, raises the click event.
  void SetValue(int state);
  // The user's click: an unchecked box becomes checked, any other unchecked.
  void Click() { SetValue(value_ == Unchecked ? Checked : Unchecked); }
  std::function<void()> onClick;

 private:
  int value_ = Unchecked;
};

class CommandButton : public CaptionedControl {
 public:
  CommandButton(Form& owner, std::string name, std::string caption)
      : CaptionedControl(owner, std::move(name), std::move(caption)) {}
  const char* TypeName() const override { return "CommandButton"; }
  bool IsDefault() const { return default_; }
  void SetDefault(bool on) { default_ = on; }
  bool IsCancel() const { return cancel_; }
  void SetCancel(bool on) { cancel_ = on; }
  void Click() const {
    if (onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  bool default_ = false;
  bool cancel_ = false;
};

class ProgressBar : public Control {
 public:
  ProgressBar(Form& owner, std::string name) : Control(owner, std::move(name)) {}
  const char* TypeName() const override { return "ProgressBar"; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Value() const { return value_; }
  void SetRange(int min, int max);
  void SetValue(int value);

 private:
  int min_ = 0, max_ = 100, value_ = 0;
};

// A menu entry. "-" as caption is a separator line; a parent of null puts the
// entry on the menu bar. Menu entries have no place on the window.
class MenuItem : public CaptionedControl {
 public:
  MenuItem(Form& owner, std::string name, std::string caption, MenuItem* parent = nullptr,
           std::string shortcut = {})
      : CaptionedControl(owner, std::move(name), std::move(caption)),
        parent_(parent), shortcut_(std::move(shortcut)) {}
  const char* TypeName() const override { return "Menu"; }
  bool HasPlace() const override { return false; }
  MenuItem* ParentMenu() const { return parent_; }
  const std::string& Shortcut() const { return shortcut_; }
  bool IsSeparator() const { return Caption() == "-"; }
  void Click() const {
    if (onClick) onClick();
  }
  std::function<void()> onClick;

 private:
  MenuItem* parent_;
  std::string shortcut_;
};

}  // namespace qs
