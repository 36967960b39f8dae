#include "platform/form.h"

#include "platform/application.h"

namespace qs {

Form::Form(Application& app, std::string name, std::string caption, int client_width,
           int client_height)
    : app_(app),
      name_(std::move(name)),
      caption_(std::move(caption)),
      client_width_(client_width),
      client_height_(client_height),
      width_(client_width),
      height_(client_height) {}

Form::~Form() {
  // Ending the program closes every window without its unload handling.
  if (loaded_) {
    app_.Windows().DestroyPeers(*this);
    app_.FormUnloaded(*this);
  }
}

void Form::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Notify(Change::Text);
}

Control* Form::Find(std::string_view name) const {
  for (const auto& control : controls_)
    if (control->Name() == name) return control.get();
  return nullptr;
}

void Form::Resize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width, height_ = height;
  Notify(Change::Geometry);
  if (loaded_) OnResize();
}

void Form::SetPointer(MousePointer pointer) {
  pointer_ = pointer;
  Notify(Change::Pointer);
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  app_.FormLoaded(*this);
  app_.Windows().CreatePeers(*this);
  OnLoad();
}

void Form::Show(bool modal, Form* owner) {
  Load();
  if (!loaded_) return;  // the load event unloaded it again
  modal_ = modal;
  owner_ = owner;
  shown_ = true;
  app_.FormShown(*this);
  Notify(Change::Visible);
  if (modal) app_.Windows().RunModal(app_, *this);
}

void Form::Hide() {
  if (!shown_) return;
  shown_ = false;
  Notify(Change::Visible);
}

bool Form::Unload() {
  if (!loaded_) return true;
  bool cancel = false;
  OnUnload(cancel);
  if (cancel) return false;
  shown_ = false;
  loaded_ = false;
  app_.Windows().DestroyPeers(*this);
  app_.FormUnloaded(*this);
  return true;
}

}  // namespace qs
