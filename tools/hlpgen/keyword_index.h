// The keyword index: the terms a reader looks up in the viewer's Index, and
// the three internal files that hold it in the help file.
//
//   |KWBTREE  B+ tree "i24" (2 KB pages) of keywords in index order:
//             leaf entries (STRINGZ keyword, i16 count, i32 offset into |KWDATA),
//             index entries (STRINGZ keyword, i16 page)
//   |KWDATA   the TOPICOFFSETs of each keyword's topics, keyword after keyword;
//             a keyword's entry points at its first one
//   |KWMAP    u16 number of leaf pages, then per leaf page in chain order
//             (i32 number of the page's first keyword, i16 page number)
//
// Keywords are ordered ignoring case (ASCII letters only), as the viewers
// search them.
#pragma once

#include "byte_writer.h"
#include "help_document.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hlpgen {

struct IndexTerm {
    std::string term;                // as the help text spells it
    std::vector<std::size_t> topics; // indexes into HelpDocument::topics, in document order
};

// True when a comes before b in the index: ASCII letters compared without case.
bool keywordLess(std::string_view a, std::string_view b);

// Every keyword of the document once, in index order.
std::vector<IndexTerm> collectIndexTerms(const HelpDocument& doc);

struct KeywordFiles {
    Bytes tree; // |KWBTREE
    Bytes data; // |KWDATA
    Bytes map;  // |KWMAP
};

// topicOffsets[i] is the TOPICOFFSET of topic i. Throws FormatLimitError when
// a count or offset does not fit its field.
KeywordFiles buildKeywordFiles(const std::vector<IndexTerm>& terms, const std::vector<std::uint32_t>& topicOffsets);

} // namespace hlpgen
