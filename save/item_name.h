#pragma once
// The base name of a saved mail: the name format filled from the found
// item, with sender, subject and recipients clipped, then fit for a file name.

#include <cstddef>
#include <functional>
#include <string>

#include "mailstore/found_item.h"

namespace qs {

// The number of characters a clip setting keeps: a decimal number, rounded
// half to even. Throws std::invalid_argument for a text that is empty, not
// a number, or negative.
std::size_t ParseClipLength(const std::string& setting);

// The clip lengths of a run's names, read once. A setting that is no length
// leaves its reason instead, and every name of the run fails with it.
struct ClipLengths {
  std::size_t address = 0;
  std::size_t subject = 0;
  std::string invalid{};
};
ClipLengths ReadClipLengths(const std::string& clip_address, const std::string& clip_subject);

// The format filled from a row's texts, the columns that clip as an address
// cut to clips.address characters, the subject to clips.subject. text(k)
// gives the text of column k (kFoundColumns' order), asked only for the
// columns the name uses. Throws std::invalid_argument with the clip lengths'
// reason when they are invalid.
using ColumnTextOf = std::function<std::string(std::size_t column)>;
std::string FormatItemName(const std::string& format, const ColumnTextOf& text, const ClipLengths& clips);

// The nine characters Windows refuses in a name become blanks, control
// characters go, and the first 256 characters are kept.
std::string CleanFileName(const std::string& name);

}  // namespace qs
