#include "html_page.h"

#include "keyword_index.h"

#include <string_view>

namespace hlpgen {
namespace {

std::string escape(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out.push_back(c);
        }
    }
    return out;
}

std::string spans(const std::vector<Span>& list)
{
    std::string out;
    for (const Span& s : list) {
        std::string piece = s.kind == Span::Kind::Link
                                ? "<a href=\"#" + escape(s.target) + "\">" + escape(s.text) + "</a>"
                                : escape(s.text);
        out += s.bold ? "<b>" + piece + "</b>" : piece;
    }
    return out;
}

// The index's anchor: a context name never contains '-', so no topic can clash with it.
constexpr std::string_view kIndexId = "keyword-index";

// Each term, then the topics it leads to.
std::string indexSection(const HelpDocument& doc, const std::vector<IndexTerm>& terms)
{
    std::string out = "\n<div class=\"index\" id=\"" + std::string(kIndexId) + "\">\n<h2>Index</h2>\n<ul>\n";
    for (const IndexTerm& term : terms) {
        out += "<li>" + escape(term.term) + ": ";
        for (std::size_t i = 0; i < term.topics.size(); ++i) {
            const Topic& t = doc.topics[term.topics[i]];
            if (i > 0) out += ", ";
            out += "<a href=\"#" + escape(t.context) + "\">" + escape(t.title) + "</a>";
        }
        out += "</li>\n";
    }
    out += "</ul>\n";
    out += "<p class=\"back\"><a href=\"#" + escape(doc.topics.front().context) + "\">Back to " +
           escape(doc.topics.front().title) + "</a></p>\n</div>\n";
    return out;
}

constexpr std::string_view kStyle =
    "body { font-family: Arial, Helvetica, sans-serif; font-size: 100%; line-height: 1.4;"
    " max-width: 46em; margin: 1em auto; padding: 0 1em; color: #000; background: #fff; }\n"
    "h1 { font-size: 1.6em; }\n"
    "h2 { font-size: 1.3em; margin-top: 2em; padding-top: 0.6em; border-top: 1px solid #bbb; }\n"
    "h3 { font-size: 1.05em; margin-bottom: 0.2em; }\n"
    "a { color: #006000; }\n"
    "p.back { font-size: 0.85em; }\n";

} // namespace

std::string buildHtmlPage(const HelpDocument& doc)
{
    std::string out;
    out += "<!DOCTYPE html>\n";
    out += "<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"en\" xml:lang=\"en\">\n";
    out += "<head>\n<meta charset=\"utf-8\" />\n";
    out += "<title>" + escape(doc.title) + "</title>\n";
    out += "<style type=\"text/css\">\n" + std::string(kStyle) + "</style>\n</head>\n<body>\n";
    out += "<h1>" + escape(doc.title) + "</h1>\n";
    if (!doc.copyright.empty()) out += "<p>" + escape(doc.copyright) + "</p>\n";

    const std::vector<IndexTerm> terms = collectIndexTerms(doc);
    out += "<ul class=\"toc\">\n";
    for (const Topic& t : doc.topics) {
        out += "<li><a href=\"#" + escape(t.context) + "\">" + escape(t.title) + "</a></li>\n";
    }
    if (!terms.empty()) out += "<li><a href=\"#" + std::string(kIndexId) + "\">Index</a></li>\n";
    out += "</ul>\n";

    const std::string contents = doc.topics.empty() ? std::string() : doc.topics.front().context;
    for (const Topic& t : doc.topics) {
        out += "\n<div class=\"topic\" id=\"" + escape(t.context) + "\">\n";
        out += "<h2>" + escape(t.title) + "</h2>\n";
        bool inList = false;
        for (const Block& b : t.blocks) {
            const bool bullet = b.kind == Block::Kind::Bullet;
            if (bullet && !inList) out += "<ul>\n";
            if (!bullet && inList) out += "</ul>\n";
            inList = bullet;
            switch (b.kind) {
            case Block::Kind::Bullet: out += "<li>" + spans(b.spans) + "</li>\n"; break;
            case Block::Kind::Heading: out += "<h3>" + spans(b.spans) + "</h3>\n"; break;
            case Block::Kind::Paragraph: out += "<p>" + spans(b.spans) + "</p>\n"; break;
            }
        }
        if (inList) out += "</ul>\n";
        if (t.context != contents) {
            out += "<p class=\"back\"><a href=\"#" + escape(contents) + "\">Back to " +
                   escape(doc.topics.front().title) + "</a></p>\n";
        }
        out += "</div>\n";
    }
    if (!terms.empty()) out += indexSection(doc, terms);
    out += "</body>\n</html>\n";
    return out;
}

} // namespace hlpgen
