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
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string url;
  for (const char c : path) {
    const auto byte = static_cast<unsigned char>(c);
    if (Unreserved(byte) || c == '/') {
      url += c;
    } else {
      url += '%';
      url += kHex[byte >> 4];
      url += kHex[byte & 0xF];
    }
  }
  return url;  // no ":" is left that could read as a scheme
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const int high = text[i] == '%' && i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = high >= 0 ? HexValue(text[i + 2]) : -1;
    if (low < 0) {
      decoded += text[i];
      continue;
    }
    decoded += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return decoded;
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
