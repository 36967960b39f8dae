#pragma once
// What the fake Outlook and its tests share besides automation.

#include <windows.h>

namespace fake_outlook {

// Outlook's own class identifier, under which the fake registers.
inline constexpr const wchar_t* kClsid = L"{0006F03A-0000-0000-C000-000000000046}";
// A value under the class's key: the server then loads in the surrogate only.
inline constexpr const wchar_t* kSurrogateOnlyValue = L"FakeOutlookSurrogateOnly";

// Counted over every process the fake runs in, in a named memory section.
struct SharedCounters {
  volatile long calls;    // every IDispatch and IEnumVARIANT call served
  volatile long lookups;  // of which GetIDsOfNames
  volatile long live;     // objects handed out and not yet released
  volatile long hosts;    // surrogate processes started, listed below
  volatile unsigned long host_ids[16];
};

inline SharedCounters* MapCounters(HANDLE& section) {
  section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                               sizeof(SharedCounters), L"Local\\QuillstowFakeOutlookCounters");
  return static_cast<SharedCounters*>(
      section ? MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0) : nullptr);
}

// Exported to steer the fake in process: "restore" the mailbox, "pick" the
// folder PickFolder answers with (null: the user cancels), "delete" an item
// (1 when it was there), "bulk": a folder "Bulk" of so many items.
using SwitchFunction = int (*)(const wchar_t* name, const wchar_t* argument);
inline constexpr const char* kSwitch = "FakeOutlookSwitch";

}  // namespace fake_outlook
