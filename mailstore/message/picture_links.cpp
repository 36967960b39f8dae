#include "mailstore/message/picture_links.h"

#include "mailstore/message/message_content.h"
#include "platform/text.h"

namespace qs {

namespace {

bool Unreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
         c == '_' || c == '~';
}

std::string RelativeUrl(std::string_view path) {
  std::string url;
  for (const char c : path) {
    if (Unreserved(static_cast<unsigned char>(c)) || c == '/') url += c;
    else AppendPercentEscape(url, c);
  }
  return url;  // no ":" is left that could read as a scheme
}

// Where a link's Content-ID ends: at the end of an attribute's value, of a
// CSS url(), or of the tag.
bool EndsLink(char c) {
  return c == '"' || c == '\'' || c == ')' || c == '>' || c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

PictureLinks PictureLinksOf(const MessageContent& content, const std::vector<PageLink>& saved) {
  PictureLinks links;
  for (const PageLink& link : saved) {
    if (link.attachment < 1 || static_cast<std::size_t>(link.attachment) > content.attachments.size()) continue;
    const std::string& id = content.attachments[static_cast<std::size_t>(link.attachment - 1)].content_id;
    if (!id.empty()) links.emplace(id, RelativeUrl(link.path));
  }
  return links;
}

std::string LinkPictures(std::string_view html, const PictureLinks& links) {
  if (links.empty()) return std::string(html);
  std::string linked;
  linked.reserve(html.size());
  std::size_t copied = 0;
  for (std::size_t at = 0; at + 4 <= html.size(); ++at) {
    if (AsciiLower(html[at]) != 'c' || AsciiLower(html[at + 1]) != 'i' || AsciiLower(html[at + 2]) != 'd' ||
        html[at + 3] != ':')
      continue;
    std::size_t end = at + 4;
    while (end < html.size() && !EndsLink(html[end])) ++end;
    const auto found = links.find(PercentDecoded(html.substr(at + 4, end - at - 4)));
    if (found == links.end()) continue;
    linked.append(html.substr(copied, at - copied));
    linked += found->second;
    copied = end;
    at = end - 1;
  }
  linked.append(html.substr(copied));
  return linked;
}

}  // namespace qs
