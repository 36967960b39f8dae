#pragma once
// The base name of a saved mail: the name format filled from the item's list
// row, with sender, subject and recipients clipped, then fit for a file name.

#include <cstddef>
#include <string>
#include <vector>

namespace qs {

// The number of characters a clip setting keeps: a decimal number, rounded
// half to even. Throws std::invalid_argument for a text that is empty, not
// a number, or negative.
std::size_t ParseClipLength(const std::string& setting);

// texts: the row texts (see RowTexts), at most kMaxRowTexts of them, else
// std::invalid_argument. Texts 2 and 4 are cut to clip_address characters,
// text 3 to clip_subject characters.
std::string FormatItemName(const std::string& format, std::vector<std::string> texts,
                           const std::string& clip_address, const std::string& clip_subject);

// The nine characters Windows refuses in a name become blanks, control
// characters go, and the first 256 characters are kept.
std::string CleanFileName(const std::string& name);

}  // namespace qs
