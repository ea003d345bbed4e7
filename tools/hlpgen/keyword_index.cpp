#include "keyword_index.h"

#include "btree.h"

#include <algorithm>
#include <map>

namespace hlpgen {
namespace {

constexpr BTreeLayout kKeywordTree{0x0002, 2048, "i24"};

char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view s)
{
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), foldCase);
    return out;
}

} // namespace

bool keywordLess(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(foldCase(x)) < static_cast<unsigned char>(foldCase(y));
    });
}

std::vector<IndexTerm> collectIndexTerms(const HelpDocument& doc)
{
    // Keyed by the folded term, so that one term is one entry whatever its capitals.
    std::map<std::string, IndexTerm> byTerm;
    for (std::size_t t = 0; t < doc.topics.size(); ++t) {
        for (const std::string& keyword : doc.topics[t].keywords) {
            IndexTerm& entry = byTerm[folded(keyword)];
            if (entry.term.empty()) entry.term = keyword;
            if (entry.topics.empty() || entry.topics.back() != t) entry.topics.push_back(t);
        }
    }
    std::vector<IndexTerm> terms;
    for (auto& [key, entry] : byTerm) terms.push_back(std::move(entry));
    std::stable_sort(terms.begin(), terms.end(),
                     [](const IndexTerm& a, const IndexTerm& b) { return keywordLess(a.term, b.term); });
    return terms;
}

KeywordFiles buildKeywordFiles(const std::vector<IndexTerm>& terms, const std::vector<std::uint32_t>& topicOffsets)
{
    KeywordFiles files;
    ByteWriter data;
    std::vector<BTreeEntry> entries;
    for (const IndexTerm& t : terms) {
        const auto dataOffset = checkedNarrow<std::int32_t>(data.size(), "keyword data offset");
        for (std::size_t topic : t.topics) data.u32(topicOffsets.at(topic));
        ByteWriter key;
        key.stringz(t.term);
        ByteWriter leaf;
        leaf.stringz(t.term);
        leaf.i16(checkedNarrow<std::int16_t>(t.topics.size(), "topics of keyword '" + t.term + "'"));
        leaf.i32(dataOffset);
        entries.push_back({key.take(), leaf.take()});
    }
    files.tree = buildBTree(kKeywordTree, entries);
    files.data = data.take();

    // The builder lays the leaves out as pages 0, 1, ... in chain order.
    const std::vector<std::size_t> starts = leafPageStarts(kKeywordTree.pageSize, entries);
    ByteWriter map;
    map.u16(checkedNarrow<std::uint16_t>(starts.size(), "keyword map entries"));
    for (std::size_t page = 0; page < starts.size(); ++page) {
        map.i32(checkedNarrow<std::int32_t>(starts[page], "keyword number"));
        map.i16(checkedNarrow<std::int16_t>(page, "keyword page number"));
    }
    files.map = map.take();
    return files;
}

} // namespace hlpgen
