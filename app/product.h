#pragma once

namespace qs {

inline constexpr const char* kProductName = "Quillstow";
inline constexpr const char* kProductMaker = "Orrinwick";
inline constexpr const char* kFaqPage = "https://quillstow.example/faq";
inline constexpr const char* kSupportPage = "https://quillstow.example/support";

// The version the build stamps into the program.
const char* ProductVersion();

}  // namespace qs
