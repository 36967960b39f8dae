#pragma once
// The placeholder format of saved names and exported lines: "%k" stands for
// text k (from 1), "%%" for one "%".

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "mailstore/found_item.h"

namespace qs {

// Replaces "%1", "%2"... in increasing order, each pass over the whole text
// including what earlier passes inserted, then "%%" by "%". So a value that
// holds a later placeholder is substituted again, "%%1" gives "%" and text 1,
// "%10" gives text 1 and "0", and "%0", "%9" (with eight texts) and a lone
// "%" stay.
std::string FillPlaceholders(const std::string& format, const std::vector<std::string>& texts);

// The same with count texts, text k made by text(k) only where a pass finds
// "%k": most formats use a few of them.
using PlaceholderText = std::function<std::string(std::size_t k)>;
std::string FillPlaceholders(const std::string& format, std::size_t count, const PlaceholderText& text);

// A row's texts in the order of their columns' placeholder numbers.
std::vector<std::string> PlaceholderTexts(const RowTexts& texts);

// Replaces every non-overlapping occurrence, found from the left.
std::string ReplaceAll(std::string text, const std::string& what, const std::string& with);

}  // namespace qs
