#pragma once
// Letter case set aside the way Unicode folds it: each character by its
// simple folding, one code point for one, in every script (so "ß" stays
// "ß" and does not become "ss"; "ẞ" folds to "ß").

#include <string>
#include <string_view>

namespace qs {

// The text with every character folded: two texts differ only in letter case
// when their foldings are equal. A byte that starts no valid UTF-8 sequence
// stays as it is.
std::string FoldCase(std::string_view utf8);

}  // namespace qs
