#pragma once
// A window made of control objects. The form owns its controls in creation
// order, which is also the order the layout engine walks them in.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls.h"
#include "platform/peer.h"

namespace qs {

class Application;

enum class MousePointer { Default = 0, Hourglass = 11 };

// Where a window system with movable windows opens the form the first time it
// is shown: centred on its owner (or on the main form where it has none), or
// beside it, so that it hides nothing of it.
enum class StartPosition { CenterOwner, BesideOwner };

class Form {
 public:
  Form(Application& app, std::string name, std::string caption, int client_width,
       int client_height);
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;
  virtual ~Form();

  Application& App() const { return app_; }
  const std::string& Name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  template <class T, class... Args>
  T& Add(Args&&... args) {
    auto control = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *control;
    controls_.push_back(std::move(control));
    return ref;
  }
  const std::vector<std::unique_ptr<Control>>& Controls() const { return controls_; }
  Control* Find(std::string_view name) const;

  // The designed client area, and the outer size (client plus the window
  // system's frame, caption and menu bar), all in twips.
  int ClientWidth() const { return client_width_; }
  int ClientHeight() const { return client_height_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Resizes the window as the program or the user did; raises the resize event.
  void Resize(int width, int height);
  // The outer size as the window system reports it, e.g. once a frame is added.
  void SetOuterSize(int width, int height) { width_ = width, height_ = height; }
  bool Sizable() const { return sizable_; }
  void SetSizable(bool on) { sizable_ = on; }
  const Font& GetFont() const { return font_; }
  void SetFont(Font font) { font_ = std::move(font); }
  StartPosition GetStartPosition() const { return start_position_; }
  void SetStartPosition(StartPosition position) { start_position_ = position; }

  MousePointer Pointer() const { return pointer_; }
  void SetPointer(MousePointer pointer);

  bool Loaded() const { return loaded_; }
  bool Shown() const { return shown_; }
  bool Modal() const { return modal_; }
  Form* OwnerForm() const { return owner_; }

  // Loads the form once: native peers are made, then the load event runs.
  void Load();
  // Shows the form (loading it first). A modal show returns when the form
  // has been hidden or unloaded.
  void Show(bool modal = false, Form* owner = nullptr);
  void Hide();
  // Runs the unload event; returns false when it cancelled the unload.
  bool Unload();

  ControlPeer* Peer() const { return peer_.get(); }
  void SetPeer(std::unique_ptr<ControlPeer> peer) { peer_ = std::move(peer); }
  // Called by a native peer when the user closes the window by its frame.
  void CloseRequestedByUser() { Unload(); }

 protected:
  virtual void OnLoad() {}
  virtual void OnResize() {}
  virtual void OnUnload(bool& /*cancel*/) {}

 private:
  void Notify(Change what) const {
    if (peer_) peer_->Update(what, 0);
  }

  Application& app_;
  std::string name_;
  std::string caption_;
  int client_width_, client_height_;
  int width_, height_;
  bool sizable_ = false;
  Font font_;
  StartPosition start_position_ = StartPosition::CenterOwner;
  MousePointer pointer_ = MousePointer::Default;
  bool loaded_ = false;
  bool shown_ = false;
  bool modal_ = false;
  Form* owner_ = nullptr;
  std::vector<std::unique_ptr<Control>> controls_;
  std::unique_ptr<ControlPeer> peer_;
};

}  // namespace qs
