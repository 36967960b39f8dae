#include "mailstore/html/html_text.h"

#include <libxml/HTMLparser.h>

#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "mailstore/mail_store.h"

namespace qs {

namespace {

struct DocumentFree {
  void operator()(xmlDoc* document) const { xmlFreeDoc(document); }
};

bool Named(const xmlNode* node, const char* name) {
  return xmlStrcasecmp(node->name, reinterpret_cast<const xmlChar*>(name)) == 0;
}

bool IsBlock(const xmlNode* node) {
  static constexpr const char* kBlocks[] = {"p",  "div", "h1",    "h2",  "h3",         "h4",
                                            "h5", "h6",  "table", "tr",  "ul",         "ol",
                                            "pre", "blockquote", "hr", "address", "section",
                                            "article", "header", "footer", "dl", "dt", "dd"};
  for (const char* name : kBlocks)
    if (Named(node, name)) return true;
  return false;
}

class TextWriter {
 public:
  void Node(const xmlNode* node, bool preformatted) {
    for (; node; node = node->next) {
      if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        Text(reinterpret_cast<const char*>(node->content), preformatted);
        continue;
      }
      if (node->type != XML_ELEMENT_NODE) continue;
      if (Named(node, "script") || Named(node, "style") || Named(node, "head") ||
          Named(node, "title"))
        continue;
      if (Named(node, "br")) {
        NewLine();
        continue;
      }
      const bool block = IsBlock(node);
      if (block) BlankLineIf(Named(node, "p") || Named(node, "h1") || Named(node, "h2") ||
                             Named(node, "h3") || Named(node, "table") || Named(node, "ul") ||
                             Named(node, "ol") || Named(node, "blockquote"));
      if (Named(node, "li")) {
        NewLine();
        // Items of a numbered list are numbered, others bulleted.
        out_ += lists_.empty() || lists_.back() == 0 ? "* " : std::to_string(lists_.back()++) + ". ";
        space_pending_ = false;
      }
      const bool list = Named(node, "ol") || Named(node, "ul");
      if (list) lists_.push_back(Named(node, "ol") ? 1 : 0);
      if ((Named(node, "td") || Named(node, "th")) && !AtLineStart()) out_ += '\t';
      const std::size_t link_start = out_.size();
      Node(node->children, preformatted || Named(node, "pre"));
      if (list) lists_.pop_back();
      if (Named(node, "a")) Link(node, link_start);
      if (block) BlankLineIf(Named(node, "p") || Named(node, "table") || Named(node, "ul") ||
                             Named(node, "ol") || Named(node, "blockquote"));
    }
  }

  std::string Result() {
    // No trailing blanks on a line, no more than one empty line in a row.
    std::string out;
    std::size_t newlines = 0;
    for (char c : out_) {
      if (c == '\n') {
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
        if (++newlines > 2) continue;
      } else {
        newlines = 0;
      }
      out += c;
    }
    const auto first = out.find_first_not_of('\n');
    if (first == std::string::npos) return {};
    out.erase(0, first);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out + "\n";
  }

 private:
  bool AtLineStart() const { return out_.empty() || out_.back() == '\n'; }

  void NewLine() {
    out_ += '\n';
    space_pending_ = false;
  }

  void BlankLineIf(bool blank) {
    if (!AtLineStart()) NewLine();
    if (blank) NewLine();
  }

  void Text(const char* text, bool preformatted) {
    if (!text) return;
    if (preformatted) {
      out_ += text;
      return;
    }
    for (const char* c = text; *c; ++c) {
      if (*c == ' ' || *c == '\t' || *c == '\n' || *c == '\r') {
        space_pending_ = true;
        continue;
      }
      if (space_pending_ && !AtLineStart() && out_.back() != ' ') out_ += ' ';
      space_pending_ = false;
      out_ += *c;
    }
  }

  void Link(const xmlNode* node, std::size_t text_start) {
    xmlChar* href = xmlGetProp(node, reinterpret_cast<const xmlChar*>("href"));
    if (!href) return;
    std::string target(reinterpret_cast<const char*>(href));
    xmlFree(href);
    if (target.empty() || target[0] == '#') return;
    const std::string shown = out_.substr(text_start);
    std::string bare = target;
    if (bare.rfind("mailto:", 0) == 0) bare.erase(0, 7);
    if (shown.find(bare) != std::string::npos) return;
    out_ += " <" + target + ">";
  }

  std::string out_;
  bool space_pending_ = false;
  std::vector<int> lists_;  // per open list: the next number, 0 for bullets
};

}  // namespace

std::string HtmlToText(std::string_view html) {
  if (html.empty()) return {};
  if (html.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw MailStoreError("an HTML body of " + std::to_string(html.size()) +
                         " bytes is too large to be read as text");
  std::unique_ptr<xmlDoc, DocumentFree> document(htmlReadMemory(
      html.data(), static_cast<int>(html.size()), nullptr, "UTF-8",
      HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET));
  if (!document) return {};
  TextWriter writer;
  writer.Node(xmlDocGetRootElement(document.get()), false);
  return writer.Result();
}

}  // namespace qs
