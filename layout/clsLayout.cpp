#include "layout/clsLayout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string_view>

#include "layout/leading_number.h"
#include "platform/application.h"
#include "platform/form.h"

namespace qs {

namespace {

std::int32_t RoundTwips(double value) { return static_cast<std::int32_t>(std::nearbyint(value)); }

}  // namespace

double clsLayout::GetOpt(std::string_view opts, std::string_view key) {
  const auto at = opts.find(key);
  if (at == std::string_view::npos) return 0;
  const auto from = at + key.size();
  const auto end = opts.find(' ', from);
  const std::string_view value =
      opts.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from);
  const double numerator = LeadingWholeNumber(value);
  const auto slash = value.find('/');
  const double denominator =
      slash == std::string_view::npos ? 1.0 : LeadingWholeNumber(value.substr(slash + 1));
  if (denominator == 0) throw std::domain_error("zero denominator in layout text");
  return numerator / denominator;
}

void clsLayout::SetLayout(Form& frm) {
  form_ = &frm;
  min_width_ = frm.Width();
  min_height_ = frm.Height();
  controls_.clear();
  for (const auto& control : frm.Controls()) {
    if (std::string_view(control->TypeName()) == "Toolbar") continue;
    AddControl(*control, control->Tag());
  }
}

void clsLayout::AddControl(Control& ctrl, std::string_view pOpts) {
  // A control that cannot be laid out is simply left where the designer put it.
  if (!ctrl.HasPlace()) return;
  try {
    clsControl record;
    record.Ctrl = &ctrl;
    record.X = GetOpt(pOpts, "X=");
    record.Y = GetOpt(pOpts, "Y=");
    record.W = GetOpt(pOpts, "W=");
    record.H = GetOpt(pOpts, "H=");
    record.StartLeft = ctrl.Left();
    record.StartTop = ctrl.Top();
    record.StartWidth = ctrl.Width();
    record.StartHeight = ctrl.Height();
    controls_.push_back(record);
  } catch (const std::exception& error) {
    if (form_) form_->App().Debug("layout of " + ctrl.Name() + " left as designed: " + error.what());
  }
}

void clsLayout::RedrawLayout() {
  if (!form_) return;
  const double dx = std::max(0, form_->Width() - min_width_);
  const double dy = std::max(0, form_->Height() - min_height_);
  for (const clsControl& record : controls_) {
    Control& ctrl = *record.Ctrl;
    // A negative share may shrink a control; it never gets a negative size.
    const int left = RoundTwips(record.StartLeft + record.X * dx);
    const int top = RoundTwips(record.StartTop + record.Y * dy);
    const int width = std::max(0, RoundTwips(record.StartWidth + record.W * dx));
    const int height = std::max(0, RoundTwips(record.StartHeight + record.H * dy));
    ctrl.Move(left, top, width, height);
  }
}

void clsLayout::SetMinWidth(float Twips) { min_width_ = RoundTwips(Twips); }
void clsLayout::SetMinHeight(float Twips) { min_height_ = RoundTwips(Twips); }

}  // namespace qs
