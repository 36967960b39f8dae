#pragma once
// A saved page's pictures: the "cid:" links of an HTML body that name parts
// of the mail, made to point at the files those parts were saved as, so that
// a browser shows them.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "mailstore/mail_store.h"

namespace qs {

struct MessageContent;

// By the Content-ID of a part (without angle brackets), the URL of its file.
using PictureLinks = std::map<std::string, std::string, std::less<>>;

// The links for the attachments saved, those with a Content-ID; a path made
// a relative URL, each byte outside letters, digits, "-._~/" percent-encoded.
PictureLinks PictureLinksOf(const MessageContent& content, const std::vector<PageLink>& saved);

// The HTML with each "cid:" link whose Content-ID (percent-decoded, as a cid
// URL holds it) is in links replaced by that URL; links to other parts stay
// as they are.
std::string LinkPictures(std::string_view html, const PictureLinks& links);

}  // namespace qs
