#pragma once
// What the search shows of a message, derived from its header block.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "mailstore/date_time.h"
#include "mailstore/message/item_facts.h"
#include "mailstore/mime/header_block.h"

namespace qs {

// A mail date header ("Tue, 30 Jun 2009 17:00:00 +0200") in seconds since
// 1970.
std::optional<long long> ParseMailDateSeconds(std::string_view text);

// A time in seconds since 1970 in local time.
DateTime LocalTimeOf(long long unix_seconds);

// file_name: the message's file name (for the Maildir draft flag);
// modified: the file's modification time in seconds since 1970, asked only
// when no header gives a date.
ItemFacts Summarize(const RawHeaders& headers, std::string_view file_name,
                    const std::function<long long()>& modified);

}  // namespace qs
