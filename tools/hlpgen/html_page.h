// The help as one HTML page, for systems without the help engine.
//
// The page is well-formed XHTML: a table of contents with a link to every
// topic, then each topic in a <div> whose id is its context name. Links
// between topics are in-page anchors (href="#name"). When topics have
// keywords, an index follows the topics (id "keyword-index"): every term in
// the viewer's index order, each with links to its topics.
#pragma once

#include "help_document.h"

#include <string>

namespace hlpgen {

std::string buildHtmlPage(const HelpDocument& doc);

} // namespace hlpgen
