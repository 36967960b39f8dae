#pragma once
// The fake Outlook, registered as "Outlook.Application" in the classes root
// while the object lives, and its counters and switches.

#include <windows.h>

#include <string>

#include "fake_outlook_api.h"

namespace qs::testing {

class FakeOutlook {
 public:
  // Registers the DLL beside the test program and loads it, so that the
  // counters read here are those of the copy COM loads.
  FakeOutlook();
  ~FakeOutlook();
  FakeOutlook(const FakeOutlook&) = delete;
  FakeOutlook& operator=(const FakeOutlook&) = delete;

  long Calls() const { return calls_(); }
  long Lookups() const { return lookups_(); }
  long LiveObjects() const { return live_(); }
  void ResetCounts() const { reset_counts_(); }
  void Pick(const wchar_t* folder_path) const { pick_(folder_path); }
  bool Delete(const wchar_t* entry_id) const { return delete_(entry_id) != 0; }
  void AddBulkFolder(int items) const { bulk_(items); }

  // Takes the registration away, as on a machine without Outlook.
  static void Unregister();

 private:
  template <class Function>
  Function Find(const char* name) const {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
  }

  HMODULE module_ = nullptr;
  fake_outlook::CountFunction calls_, lookups_, live_;
  fake_outlook::ResetFunction reset_counts_, restore_;
  fake_outlook::PickFunction pick_;
  fake_outlook::DeleteFunction delete_;
  fake_outlook::BulkFunction bulk_;
};

// A fresh directory under the temporary directory, removed with its files.
class TempDirectory {
 public:
  TempDirectory();
  ~TempDirectory();
  TempDirectory(const TempDirectory&) = delete;
  TempDirectory& operator=(const TempDirectory&) = delete;
  // UTF-8, ending in a backslash.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

// A file's bytes, or nothing ("") when it cannot be read.
std::string ReadFileText(const std::string& utf8_path);

}  // namespace qs::testing
