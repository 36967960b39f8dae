#pragma once
// What a test may ask of the fake Outlook besides automation: its counters,
// and functions the DLL exports by these names, found with GetProcAddress
// (in process only).

namespace fake_outlook {

// Outlook's own class identifier, under which the fake registers.
inline constexpr const wchar_t* kClsid = L"{0006F03A-0000-0000-C000-000000000046}";

// Counters shared by every process the fake runs in (the test program, or
// each surrogate COM starts for it), in a named memory section.
inline constexpr const wchar_t* kCountersName = L"Local\\QuillstowFakeOutlookCounters";
struct SharedCounters {
  volatile long calls;     // every IDispatch and IEnumVARIANT call served
  volatile long lookups;   // of which GetIDsOfNames
  volatile long live;      // objects of the mailbox handed out and not yet released
  volatile long hosts;     // surrogate processes started, listed below
  volatile unsigned long host_ids[16];
};

// A value under the class's key: the server then loads in the surrogate only.
inline constexpr const wchar_t* kSurrogateOnlyValue = L"FakeOutlookSurrogateOnly";
using ResetFunction = void (*)();
using PickFunction = void (*)(const wchar_t* folder_path);   // null: the user cancels
using DeleteFunction = int (*)(const wchar_t* entry_id);      // 1 when it was there
using BulkFunction = void (*)(int items);                      // a folder "Bulk" in the first store

inline constexpr const char* kRestore = "FakeOutlookRestoreFixture";   // ResetFunction
inline constexpr const char* kPick = "FakeOutlookSetPick";              // PickFunction
inline constexpr const char* kDelete = "FakeOutlookDeleteItem";         // DeleteFunction
inline constexpr const char* kBulk = "FakeOutlookAddBulkFolder";        // BulkFunction

}  // namespace fake_outlook
