#pragma once
// What a test may ask of the fake Outlook besides automation: functions the
// DLL exports by these names, found with GetProcAddress.

namespace fake_outlook {

// Outlook's own class identifier, under which the fake registers.
inline constexpr const wchar_t* kClsid = L"{0006F03A-0000-0000-C000-000000000046}";

using CountFunction = long (*)();
using ResetFunction = void (*)();
using PickFunction = void (*)(const wchar_t* folder_path);   // null: the user cancels
using DeleteFunction = int (*)(const wchar_t* entry_id);      // 1 when it was there
using BulkFunction = void (*)(int items);                      // a folder "Bulk" in the first store

inline constexpr const char* kCalls = "FakeOutlookCalls";            // CountFunction
inline constexpr const char* kLookups = "FakeOutlookLookups";        // CountFunction
inline constexpr const char* kLiveObjects = "FakeOutlookLiveObjects";  // CountFunction
inline constexpr const char* kResetCounts = "FakeOutlookResetCounts";  // ResetFunction
inline constexpr const char* kRestore = "FakeOutlookRestoreFixture";   // ResetFunction
inline constexpr const char* kPick = "FakeOutlookSetPick";              // PickFunction
inline constexpr const char* kDelete = "FakeOutlookDeleteItem";         // DeleteFunction
inline constexpr const char* kBulk = "FakeOutlookAddBulkFolder";        // BulkFunction

}  // namespace fake_outlook
