#pragma once
// Moves and stretches a window's controls when it grows beyond the size it
// had when the layout was set up. Each control's tag says how: "X=1" moves it
// by the whole width growth, "W=1/2" widens it by half of it; keys X, Y, W, H
// (upper case), values a whole numerator optionally over a whole denominator.
// A window smaller than its minimum leaves every control where it started.

#include <cstdint>
#include <string_view>
#include <vector>

#include "layout/clsControl.h"

namespace qs {

class Control;
class Form;

class clsLayout {
 public:
  // Records the form's size as the minimum and lays out all its controls.
  void SetLayout(Form& frm);
  // Places every recorded control for the form's current size.
  void RedrawLayout();
  // Adds one control with its layout text; a control without a place, or a
  // text with a number out of range or a zero denominator, is passed over.
  void AddControl(Control& ctrl, std::string_view pOpts);

  float MinWidth() const { return static_cast<float>(min_width_); }
  void SetMinWidth(float Twips);
  float MinHeight() const { return static_cast<float>(min_height_); }
  void SetMinHeight(float Twips);
  const std::vector<clsControl>& ControlList() const { return controls_; }

  // The share that one key of a layout text gives; throws when the text
  // cannot be read (a number out of range, a zero denominator).
  static double GetOpt(std::string_view opts, std::string_view key);

 private:
  Form* form_ = nullptr;
  std::int32_t min_width_ = 0;
  std::int32_t min_height_ = 0;
  std::vector<clsControl> controls_;
};

}  // namespace qs
