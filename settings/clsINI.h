#pragma once
// One INI file, reached through the profile functions: every call goes to the
// file at once, so what one call writes the next one reads. No copy of the
// file is held.
//
// The reading calls catch an unexpected failure inside them and offer Abort,
// Retry and Ignore: Abort ends the call with its outputs as far as they were
// filled, Retry runs the failed step again, Ignore goes on after it. The
// writing calls let such failures through to their caller.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace qs {

class Application;

class clsINI {
 public:
  // The buffer sizes, in characters, that bound the results.
  static constexpr int kValueBuffer = 4095;
  static constexpr int kListBuffer = 4095;
  static constexpr int kSectionNamesBuffer = 254;

  // Failure boxes go through app; the profile functions are the system's
  // unless others are given.
  explicit clsINI(Application& app, std::unique_ptr<Profile> profile = SystemProfile());

  const std::string& FileName() const { return file_name_; }
  // Taken as it stands: no check that it exists, no completion of a relative path.
  void SetFileName(std::string sNewValue) { file_name_ = std::move(sNewValue); }

  // -1 when the write failed, 0 when it succeeded.
  std::int16_t AddKey(const std::string& sSection, const std::string& sNewKey,
                      const std::string& sKeyValue) const;
  std::int16_t DeleteKey(const std::string& sSection, const std::string& sKeyToDelete) const;

  // List results hold one element per entry and one more, empty, after them.
  void GetSection(const std::string& sSection, std::vector<std::string>& sary_KeyList) const;
  void GetAllSections(std::vector<std::string>& sary_SectionList) const;
  void GetAllKeys(const std::string& sSection, std::vector<std::string>& sary_KeyList) const;

  // Replaces strKeyValue by the key's value unless that is missing or empty.
  void GetKeyValue(const std::string& strSection, const std::string& strKey,
                   std::string& strKeyValue) const;
  // The key's value, or pDefault when it is missing, empty, blank or "".
  std::string GetKey(const std::string& pSection, const std::string& pKey,
                     const std::string& pDefault) const;

  // Write failures are not reported.
  void WriteKeyValue(const std::string& sSection, const std::string& sKey,
                     const std::string& sKeyValue) const;
  // Replaces the section's lines by strString's NUL-separated lines.
  void WriteSection(std::string strSectionName, std::string strString) const;

 private:
  Application& app_;
  std::unique_ptr<Profile> profile_;
  std::string file_name_;
};

// Splits a buffer of NUL-separated entries: one element per entry up to the
// first empty one, and one more, empty, after them.
std::vector<std::string> SplitNulList(const std::string& buffer);

}  // namespace qs
