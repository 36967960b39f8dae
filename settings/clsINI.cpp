#include "settings/clsINI.h"

#include <new>
#include <string_view>
#include <system_error>

#include "platform/application.h"

namespace qs {

namespace {

// The number and description a failure box shows.
std::string Describe(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "7, Out of memory";
  if (auto* system = dynamic_cast<const std::system_error*>(&error))
    return std::to_string(system->code().value()) + ", " + system->what();
  return "51, " + std::string(error.what());
}

enum class Outcome { Done, Abort };

// Runs one step of a reading call; on a failure asks the user whether to
// abort the call, run the step again, or go on without it.
template <class Step>
Outcome Guarded(Application& app, std::string_view routine, Step step) {
  for (;;) {
    try {
      step();
      return Outcome::Done;
    } catch (const std::exception& error) {
      const std::string title = "ProjectINI, Sub " + std::string(routine);
      app.Debug(title + ": " + Describe(error));
      const Answer answer = app.Windows().ShowMessage(
          {title, Describe(error), Buttons::AbortRetryIgnore, Icon::Exclamation, 0});
      if (answer == Answer::Abort) return Outcome::Abort;
      if (answer != Answer::Retry) return Outcome::Done;
    }
  }
}

// A list call: fetch the buffer, then split it into the out list.
template <class Fetch>
void ReadList(Application& app, std::string_view routine, std::vector<std::string>& list,
              Fetch fetch) {
  std::string buffer;
  if (Guarded(app, routine, [&] { buffer = fetch(); }) == Outcome::Abort) return;
  Guarded(app, routine, [&] { list = SplitNulList(buffer); });
}

}  // namespace

std::vector<std::string> SplitNulList(const std::string& buffer) {
  std::vector<std::string> list;
  std::size_t start = 0;
  while (start < buffer.size() && buffer[start] != '\0') {
    auto end = buffer.find('\0', start);
    if (end == std::string::npos) end = buffer.size();
    list.push_back(buffer.substr(start, end - start));
    start = end + 1;
  }
  list.emplace_back();
  return list;
}

clsINI::clsINI(Application& app, std::unique_ptr<Profile> profile)
    : app_(app), profile_(std::move(profile)) {}

std::int16_t clsINI::AddKey(const std::string& sSection, const std::string& sNewKey,
                            const std::string& sKeyValue) const {
  return profile_->WriteString(sSection, sNewKey, sKeyValue, file_name_) ? 0 : -1;
}

std::int16_t clsINI::DeleteKey(const std::string& sSection, const std::string& sKeyToDelete) const {
  return profile_->WriteString(sSection, sKeyToDelete, std::nullopt, file_name_) ? 0 : -1;
}

void clsINI::GetSection(const std::string& sSection, std::vector<std::string>& sary_KeyList) const {
  ReadList(app_, "GetSection", sary_KeyList,
           [&] { return profile_->GetSectionLines(sSection, kListBuffer, file_name_); });
}

void clsINI::GetAllSections(std::vector<std::string>& sary_SectionList) const {
  ReadList(app_, "GetAllSections", sary_SectionList,
           [&] { return profile_->GetSectionNames(kSectionNamesBuffer, file_name_); });
}

void clsINI::GetAllKeys(const std::string& sSection, std::vector<std::string>& sary_KeyList) const {
  ReadList(app_, "GetAllKeys", sary_KeyList,
           [&] { return profile_->GetKeyNames(sSection, kListBuffer, file_name_); });
}

void clsINI::GetKeyValue(const std::string& strSection, const std::string& strKey,
                         std::string& strKeyValue) const {
  std::string value;
  if (Guarded(app_, "GetKeyValue", [&] {
        value = profile_->GetString(strSection, strKey, kValueBuffer, file_name_);
      }) == Outcome::Abort)
    return;
  if (!value.empty()) strKeyValue = std::move(value);
}

std::string clsINI::GetKey(const std::string& pSection, const std::string& pKey,
                           const std::string& pDefault) const {
  std::string value;
  GetKeyValue(pSection, pKey, value);
  return value.empty() ? pDefault : value;
}

void clsINI::WriteKeyValue(const std::string& sSection, const std::string& sKey,
                           const std::string& sKeyValue) const {
  profile_->WriteString(sSection, sKey, sKeyValue, file_name_);
}

void clsINI::WriteSection(std::string strSectionName, std::string strString) const {
  profile_->WriteSection(strSectionName, strString, file_name_);
}

}  // namespace qs
