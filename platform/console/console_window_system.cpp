#include "platform/console/console_window_system.h"

#include <iostream>

#include "platform/application.h"
#include "platform/form.h"
#include "platform/interruption.h"
#include "platform/list_view.h"
#include "platform/text.h"

namespace qs {

namespace {

void ClickControl(Control& control) {
  if (auto* button = dynamic_cast<CommandButton*>(&control)) return button->Click();
  if (auto* box = dynamic_cast<CheckBox*>(&control)) return box->Click();
  if (auto* menu = dynamic_cast<MenuItem*>(&control)) return menu->Click();
  throw std::invalid_argument(control.Name() + " cannot be clicked");
}

void SetControlText(Control& control, std::string text) {
  if (auto* editable = dynamic_cast<EditableControl*>(&control))
    return editable->SetText(std::move(text));
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    if (text != "0" && text != "1" && text != "2")
      throw std::invalid_argument(control.Name() + " takes 0, 1 or 2");
    return box->SetValue(text[0] - '0');
  }
  throw std::invalid_argument(control.Name() + " has no text to set");
}

}  // namespace

Answer ConsoleWindowSystem::ShowMessage(const MessageBoxSpec& box) {
  shown_.push_back(box);
  std::string text = box.text;
  // A box's CR LF line breaks print as the terminal's own.
  for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.erase(at, 1);
  if (box.failure || box.buttons != Buttons::OK || Chatty(false)) err_ << box.title << ": " << text << std::endl;
  if (!answers_.empty()) {
    const Answer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  return DefaultAnswer(box);
}

std::optional<std::string> ConsoleWindowSystem::AskText(const std::string& prompt,
                                                        const std::string&,
                                                        const std::string&) {
  out_ << prompt << std::endl;
  std::string line;
  if (!std::getline(in_, line)) return std::nullopt;
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

void ConsoleWindowSystem::DebugOutput(std::string_view line) { err_ << line << std::endl; }

bool ConsoleWindowSystem::Chatty(bool failure) const {
  if (failure || chatter_ == Chatter::Verbose) return true;
  return chatter_ == Chatter::Usual && err_is_terminal_;
}

// A quiet unattended run that did everything says nothing.
bool ConsoleWindowSystem::ShowSummary(std::string_view line, bool failure) {
  if (!Chatty(failure)) return false;
  err_ << line << std::endl;
  return true;
}

template <class Done>
bool ConsoleWindowSystem::Drive(Application& app, Done done) {
  // A stop asked for from outside lets the command at hand run to its end
  // (a save stops after its item) and then ends the input.
  const InterruptionWatch stop;
  std::string line;
  while (!done()) {
    if (stop.Requested() || !std::getline(in_, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Execute(app, line);
  }
  return true;
}

void ConsoleWindowSystem::RunModal(Application& app, Form& form) {
  if (!Drive(app, [&] { return !form.Shown(); })) form.Unload();
}

void ConsoleWindowSystem::Run(Application& app, Form& main) {
  if (!Drive(app, [&] { return !main.Loaded(); })) main.Unload();
}

Control* ConsoleWindowSystem::Lookup(const Application& app, std::string_view name) const {
  // The newest form first.
  const auto& forms = app.LoadedForms();
  for (auto form = forms.rbegin(); form != forms.rend(); ++form)
    if (Control* control = (*form)->Find(name)) return control;
  return nullptr;
}

void ConsoleWindowSystem::Execute(Application& app, std::string_view line) {
  if (line.empty()) return;
  if (line == "print") return Print(app);
  const auto equals = line.find('=');
  const std::string_view name = line.substr(0, equals);
  Control* control = Lookup(app, name);
  if (!control) {
    err_ << "no such control: " << name << std::endl;
    return;
  }
  if (!control->Enabled()) {
    err_ << name << " is disabled" << std::endl;
    return;
  }
  try {
    if (equals == std::string_view::npos)
      ClickControl(*control);
    else
      SetControlText(*control, std::string(line.substr(equals + 1)));
  } catch (const std::invalid_argument& error) {
    err_ << error.what() << std::endl;
  } catch (const std::exception& error) {
    // As the Win32 layer does: a failing event handler is recorded and the
    // program goes on.
    DebugOutput(std::string("error in a window event: ") + error.what());
  }
}

void ConsoleWindowSystem::Print(const Application& app) const {
  for (const Form* form : app.LoadedForms()) {
    if (!form->Shown()) continue;
    for (const auto& control : form->Controls()) {
      if (auto* editable = dynamic_cast<const EditableControl*>(control.get()))
        out_ << control->Name() << '=' << OnOneLine(editable->Text()) << '\n';
      else if (auto* box = dynamic_cast<const CheckBox*>(control.get()))
        out_ << control->Name() << '=' << box->Value() << '\n';
    }
  }
  if (const Form* main = app.MainForm()) {
    for (const auto& control : main->Controls()) {
      const auto* list = dynamic_cast<const ListView*>(control.get());
      if (!list) continue;
      const int columns = static_cast<int>(list->Columns().size());
      for (std::int32_t row = 1; row <= list->RowCount(); ++row) {
        for (int column = 0; column < columns; ++column)
          out_ << (column ? "\t" : "") << OnOneLine(std::string(list->Text(row, column)));
        out_ << '\n';
      }
    }
  }
  out_.flush();
}

}  // namespace qs
