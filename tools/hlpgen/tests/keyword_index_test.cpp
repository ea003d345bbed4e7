// The keyword index: which terms it holds and in what order, and its three
// internal files read back with format_reader.h: exact bytes for a small
// index, and for a large one every term found through the tree's search with
// its topics, and a map that agrees with the leaf chain.
#include "keyword_index.h"

#include "help_parser.h"

#include "format_reader.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace hlpgen {
namespace {

using formatcheck::readBTreeHeader;

TEST(KeywordIndex, TermsAreListedOnceIgnoringCaseWithTheirTopicsInDocumentOrder)
{
    const HelpDocument doc = parseHelpSource("@title T\n"
                                             "@topic one One\n"
                                             "@keywords tray; Alarm level\n"
                                             "@topic two Two\n"
                                             "@keywords Zebra; tray\n"
                                             "@keywords b\n"
                                             "@topic three Three\n"
                                             "@keywords tray icon\n",
                                             "help.txt");
    const std::vector<IndexTerm> terms = collectIndexTerms(doc);
    std::vector<std::string> names;
    for (const IndexTerm& t : terms) names.push_back(t.term);
    // Capitals do not count ("Alarm" before "b"); a term before a longer term it begins.
    EXPECT_EQ(names, (std::vector<std::string>{"Alarm level", "b", "tray", "tray icon", "Zebra"}));
    EXPECT_EQ(terms[2].topics, (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(terms[4].topics, (std::vector<std::size_t>{1}));

    EXPECT_TRUE(keywordLess("apple", "Banana"));
    EXPECT_FALSE(keywordLess("Banana", "apple"));
    EXPECT_FALSE(keywordLess("Tray", "tray"));
    EXPECT_FALSE(keywordLess("tray", "Tray"));
}

TEST(KeywordIndex, SmallIndexHasTheFormatsBytes)
{
    // alpha -> topics at 0x10 and 0x8020, Mid -> 0x8020, Zeta -> 0x10.
    const std::vector<IndexTerm> terms = {{"alpha", {0, 1}}, {"Mid", {1}}, {"Zeta", {0}}};
    const KeywordFiles files = buildKeywordFiles(terms, {0x10, 0x8020});

    const auto h = readBTreeHeader(files.tree);
    EXPECT_EQ(h.magic, 0x293B);
    EXPECT_EQ(h.flags, 0x0002);
    EXPECT_EQ(h.pageSize, 2048);
    EXPECT_EQ(h.structure, "i24");
    EXPECT_EQ(h.mustBeZero, 0);
    EXPECT_EQ(h.mustBeMinusOne, -1);
    EXPECT_EQ(h.rootPage, 0);
    EXPECT_EQ(h.totalPages, 1);
    EXPECT_EQ(h.levels, 1);
    EXPECT_EQ(h.totalEntries, 3);
    ASSERT_EQ(files.tree.size(), 38u + 2048u);

    // One leaf: 12 + 10 + 11 bytes of entries leave 2048 - 8 - 33 = 2007 unused.
    const Bytes leaf(files.tree.begin() + 38, files.tree.begin() + 38 + 8 + 33);
    const Bytes expectedLeaf = {
        0xD7, 0x07, 0x03, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,                  // unused, entries, no neighbours
        'a', 'l', 'p', 'h', 'a', 0, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, // two topics from |KWDATA offset 0
        'M', 'i', 'd', 0, 0x01, 0x00, 0x08, 0x00, 0x00, 0x00,           // one topic from offset 8
        'Z', 'e', 't', 'a', 0, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00,      // one topic from offset 12
    };
    EXPECT_EQ(leaf, expectedLeaf);

    const Bytes expectedData = {0x10, 0x00, 0x00, 0x00, 0x20, 0x80, 0x00, 0x00,
                                0x20, 0x80, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00};
    EXPECT_EQ(files.data, expectedData);

    // One leaf page: page 0 starts with keyword 0.
    const Bytes expectedMap = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(files.map, expectedMap);

    // The same, read back as a viewer searches: any capitals find a term.
    EXPECT_EQ(formatcheck::keywordTopics(files.tree, files.data, "ALPHA"), (std::vector<std::uint32_t>{0x10, 0x8020}));
    EXPECT_EQ(formatcheck::keywordTopics(files.tree, files.data, "zeta"), (std::vector<std::uint32_t>{0x10}));
    EXPECT_FALSE(formatcheck::keywordTopics(files.tree, files.data, "beta"));
}

TEST(KeywordIndex, ManyTermsSpreadOverLeavesAreAllFoundAndMapped)
{
    // 500 terms of about 30 bytes: several leaves under an index page. Every
    // third term leads to two topics.
    std::vector<IndexTerm> terms;
    for (int i = 0; i < 500; ++i) {
        char text[64];
        std::snprintf(text, sizeof text, "%s term number %04d", i % 2 ? "Index" : "index", i);
        terms.push_back({text, i % 3 == 0 ? std::vector<std::size_t>{0, 2} : std::vector<std::size_t>{1}});
    }
    const std::vector<std::uint32_t> offsets = {0, 0x40, 0x8000};
    const KeywordFiles files = buildKeywordFiles(terms, offsets);

    EXPECT_EQ(readBTreeHeader(files.tree).levels, 2);
    const auto walk = formatcheck::walkLeaves(files.tree, formatcheck::kKeywordTree);
    ASSERT_TRUE(walk.problems.empty()) << walk.problems.front();
    ASSERT_EQ(walk.entries.size(), terms.size());
    ASSERT_GT(walk.leaves.size(), 3u);

    for (std::size_t i = 0; i < terms.size(); ++i) {
        EXPECT_EQ(formatcheck::stringz(walk.entries[i], 0), terms[i].term);
        std::string query = terms[i].term;
        query[0] = 'I'; // looked up with other capitals than stored
        const auto found = formatcheck::keywordTopics(files.tree, files.data, query);
        ASSERT_TRUE(found) << terms[i].term;
        std::vector<std::uint32_t> expected;
        for (std::size_t t : terms[i].topics) expected.push_back(offsets[t]);
        EXPECT_EQ(*found, expected) << terms[i].term;
    }
    EXPECT_FALSE(formatcheck::keywordTopics(files.tree, files.data, "index term number 0100x"));

    // The map names each leaf in chain order with the number of its first keyword.
    const auto map = formatcheck::readKeywordMap(files.map);
    ASSERT_EQ(map.size(), walk.leaves.size());
    std::int32_t first = 0;
    for (std::size_t i = 0; i < map.size(); ++i) {
        EXPECT_EQ(map[i].page, walk.leaves[i].first) << "leaf " << i;
        EXPECT_EQ(map[i].firstKeyword, first) << "leaf " << i;
        first += walk.leaves[i].second;
    }
}

TEST(KeywordIndex, TooManyTopicsForOneTermAreRefused)
{
    std::vector<std::size_t> topics(40000, 0);
    EXPECT_THROW(buildKeywordFiles({{"everything", topics}}, {0}), FormatLimitError);
}

} // namespace
} // namespace hlpgen
