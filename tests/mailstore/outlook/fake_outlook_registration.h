#pragma once
// The fake Outlook, registered as "Outlook.Application" in the classes root
// while the object lives, with its counters and switches; and the scratch
// directory and file reading its tests share.

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "fake_outlook_api.h"
#include "tests/common/scratch_dir.h"

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
  void Pick(const wchar_t* folder_path) const { Switch(L"pick", folder_path); }
  bool Delete(const wchar_t* entry_id) const { return Switch(L"delete", entry_id) != 0; }
  void AddBulkFolder(int items) const { Switch(L"bulk", std::to_wstring(items).c_str()); }

  // Takes the registration away, as on a machine without Outlook.
  static void Unregister();

 private:
  int Switch(const wchar_t* name, const wchar_t* argument) const { return switch_(name, argument); }

  HANDLE section_ = nullptr;
  fake_outlook::SharedCounters* counters_ = nullptr;
  HMODULE module_ = nullptr;
  fake_outlook::SwitchFunction switch_ = nullptr;
};

// A scratch directory whose path is UTF-8 text ending in a backslash.
struct TempDirectory : test::ScratchDir {
  std::string Path() const { return Text() + "\\"; }
};

// A file's bytes, or nothing ("") when it cannot be read.
inline std::string ReadFileText(const std::string& utf8_path) {
  std::ifstream file(test::FromUtf8(utf8_path), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace qs::testing
