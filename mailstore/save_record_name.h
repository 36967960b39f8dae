#pragma once
// The file a save run keeps at the top of every directory it saves into. A
// directory that holds one is saved mail: a mail store passes it over, so
// that mail saved below the mail root is not found again as new mail.

#include <string_view>

namespace qs {

inline constexpr std::string_view kSaveRecordName = ".quillstow-saved";

}  // namespace qs
