#pragma once
// The fake Outlook, registered as "Outlook.Application" in the classes root
// while the object lives, and its counters and switches.

#include <windows.h>

#include <string>

#include "fake_outlook_api.h"

namespace qs::testing {

enum class Hosting {
  InProcess,  // loaded into the test program: the exported counters apply
  Surrogate,  // in Wine's dllhost.exe, as Outlook runs: ask the application object
};

class FakeOutlook {
 public:
  // Registers the DLL beside the test program and loads it, so that the
  // functions called here reach the copy COM loads in process. A surrogate
  // the fake ran in is ended with this object.
  explicit FakeOutlook(Hosting hosting = Hosting::InProcess);
  ~FakeOutlook();
  FakeOutlook(const FakeOutlook&) = delete;
  FakeOutlook& operator=(const FakeOutlook&) = delete;

  // Counted over every process the fake runs in.
  long Calls() const { return counters_->calls; }
  long Lookups() const { return counters_->lookups; }
  long LiveObjects() const { return counters_->live; }
  long SurrogateProcesses() const { return counters_->hosts; }
  void ResetCounts() const {
    counters_->calls = 0;
    counters_->lookups = 0;
  }
  // In process only: the surrogate keeps a mailbox of its own.
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

  HANDLE section_ = nullptr;
  fake_outlook::SharedCounters* counters_ = nullptr;
  HMODULE module_ = nullptr;
  fake_outlook::ResetFunction restore_;
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
