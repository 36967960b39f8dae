#include "platform/controls.h"

#include <cmath>
#include <stdexcept>

namespace qs {

namespace {
int ToTwips(double value) {
  // Whole twips, halves to the even one, as the designer stores them.
  return static_cast<int>(std::nearbyint(value));
}
}  // namespace

Control::Control(Form& owner, std::string name) : owner_(owner), name_(std::move(name)) {}

Control::~Control() = default;

void Control::RequirePlace() const {
  if (!HasPlace()) throw std::logic_error(name_ + " has no place on the window");
}

int Control::Left() const { return RequirePlace(), left_; }
int Control::Top() const { return RequirePlace(), top_; }
int Control::Width() const { return RequirePlace(), width_; }
int Control::Height() const { return RequirePlace(), height_; }

void Control::SetLeft(double twips) { Move(ToTwips(twips), top_, width_, height_); }
void Control::SetTop(double twips) { Move(left_, ToTwips(twips), width_, height_); }
void Control::SetWidth(double twips) { Move(left_, top_, ToTwips(twips), height_); }
void Control::SetHeight(double twips) { Move(left_, top_, width_, ToTwips(twips)); }

void Control::Move(int left, int top, int width, int height) {
  RequirePlace();
  if (width < 0 || height < 0) throw std::invalid_argument(name_ + ": negative size");
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  left_ = left, top_ = top, width_ = width, height_ = height;
  Notify(Change::Geometry);
}

void Control::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  Notify(Change::Visible);
}

void Control::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  Notify(Change::Enabled);
}

void CaptionedControl::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Notify(Change::Text);
}

void EditableControl::StoreText(std::string text, bool tell_peer) {
  if (text == text_) return;
  text_ = std::move(text);
  if (tell_peer) Notify(Change::Text);
  if (onChange) onChange();
}

void ComboBox::AddItem(std::string item) {
  items_.push_back(std::move(item));
  Notify(Change::Items);
}

void ComboBox::ClearItems() {
  items_.clear();
  Notify(Change::Items);
}

void CheckBox::SetValue(int state) {
  if (state < Unchecked || state > Grayed) throw std::invalid_argument("check state out of range");
  if (state == value_) return;
  value_ = state;
  Notify(Change::Value);
  if (onClick) onClick();
}

void ProgressBar::SetRange(int min, int max) {
  if (min > max) throw std::invalid_argument("progress range reversed");
  min_ = min, max_ = max;
  Notify(Change::Range);
}

void ProgressBar::SetValue(int value) {
  if (value < min_ || value > max_) throw std::out_of_range("progress value out of range");
  if (value == value_) return;
  value_ = value;
  Notify(Change::Value);
}

}  // namespace qs
