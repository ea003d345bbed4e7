// The whole help file, opened the way a viewer does: header, internal
// directory, |SYSTEM, |FONT, then every topic found through |CONTEXT and
// every jump resolved. Also builds the real help text.
#include "context_hash.h"
#include "help_parser.h"
#include "hlp_file.h"
#include "html_page.h"

#include "format_reader.h"
#include "xml_check.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace hlpgen {
namespace {

using formatcheck::Bytes;
using formatcheck::i32;
using formatcheck::u16;
using formatcheck::u32;

// "overview" has a hash above 2^31, a negative |CONTEXT key. The keyword
// "jumps" leads to two topics; the last topic has no keywords.
const char* const kSource =
    "@title Sample Help\n"
    "@copyright Sample copyright\n"
    "@topic contents Contents\n"
    "@keywords start here\n"
    "Go to [[overview]], [[zzzzzz]] or [[a.b_1|the last one]].\n"
    "@topic overview Overview\n"
    "@keywords Bold text; jumps\n"
    "- **Bold** and [[contents|back]].\n"
    "@topic zzzzzz Wrapped hash\n"
    "@keywords jumps; hash\n"
    "@heading Heading\n"
    "Text.\n"
    "@topic a.b_1 Last topic\n"
    "End.\n";

struct OpenedFile {
    Bytes file;
    Bytes system, font, topic, context, titles;
    std::optional<Bytes> keywords, keywordData, keywordMap;
    std::vector<formatcheck::TopicLink> links;
};

OpenedFile open(const HelpDocument& doc)
{
    OpenedFile f;
    f.file = buildHelpFile(doc);
    auto need = [&](const char* name) {
        const auto content = formatcheck::internalFile(f.file, name);
        if (!content) throw std::runtime_error(std::string("no internal file ") + name);
        return *content;
    };
    f.system = need("|SYSTEM");
    f.font = need("|FONT");
    f.topic = need("|TOPIC");
    f.context = need("|CONTEXT");
    f.titles = need("|TTLBTREE");
    f.keywords = formatcheck::internalFile(f.file, "|KWBTREE");
    f.keywordData = formatcheck::internalFile(f.file, "|KWDATA");
    f.keywordMap = formatcheck::internalFile(f.file, "|KWMAP");
    f.links = formatcheck::walkTopic(formatcheck::readTopicBlocks(f.topic));
    return f;
}

// Topic offset -> title, computed from the records as the format defines
// TOPICOFFSET (block * 0x8000 + paragraph characters before it in the block).
std::map<std::uint32_t, std::string> topicsByOffset(const OpenedFile& f)
{
    std::map<std::uint32_t, std::string> topics;
    std::uint32_t block = 0, characters = 0;
    for (const auto& l : f.links) {
        if (l.block != block) block = l.block, characters = 0;
        if (l.recordType == 0x20) characters += formatcheck::readParagraph(l).topicLength;
        if (l.recordType == 0x02 && l.dataLen2 > 0) topics[block * 0x8000 + characters] = formatcheck::stringz(l.data2, 0);
    }
    return topics;
}

std::optional<std::int32_t> contextLookup(const Bytes& tree, std::int32_t hash)
{
    const auto entry = formatcheck::findInTree(tree, formatcheck::kContextTree, [&](const Bytes& t, std::size_t at) {
        const std::int32_t key = i32(t, at);
        return key < hash ? -1 : key > hash ? 1 : 0;
    });
    if (!entry) return std::nullopt;
    return i32(*entry, 4);
}

TEST(HelpFile, HeaderAndDirectoryDescribeTheFile)
{
    const Bytes file = buildHelpFile(parseHelpSource(kSource, "help.txt"));
    EXPECT_EQ(u32(file, 0), 0x00035F3Fu);
    EXPECT_EQ(i32(file, 8), -1); // no free list
    EXPECT_EQ(u32(file, 12), file.size());

    const std::uint32_t dir = u32(file, 4);
    const Bytes directory = formatcheck::slice(file, dir + 9, u32(file, dir + 4));
    EXPECT_EQ(formatcheck::readBTreeHeader(directory).flags, 0x0402);
    EXPECT_EQ(formatcheck::readBTreeHeader(directory).pageSize, 1024);
    const auto walk = formatcheck::walkLeaves(directory, formatcheck::kDirectoryTree);
    EXPECT_TRUE(walk.problems.empty());
    std::vector<std::string> names;
    for (const Bytes& entry : walk.entries) {
        const std::string name = formatcheck::stringz(entry, 0);
        names.push_back(name);
        // Each FILEHEADER: reserved = used + 9, flags 4, inside the file.
        const std::uint32_t at = u32(entry, name.size() + 1);
        ASSERT_LE(at + 9 + u32(file, at + 4), file.size()) << name;
        EXPECT_EQ(u32(file, at), u32(file, at + 4) + 9) << name;
        EXPECT_EQ(file[at + 8], 4) << name;
    }
    EXPECT_EQ(names, (std::vector<std::string>{"|CONTEXT", "|FONT", "|KWBTREE", "|KWDATA", "|KWMAP", "|SYSTEM",
                                               "|TOPIC", "|TTLBTREE"}));
}

TEST(HelpFile, SystemNamesTitleContentsAndBlockKind)
{
    const OpenedFile f = open(parseHelpSource(kSource, "help.txt"));
    EXPECT_EQ(u16(f.system, 0), 0x036C);
    EXPECT_EQ(u16(f.system, 2), 21); // the 3.1 format
    EXPECT_EQ(u16(f.system, 4), 1);
    EXPECT_EQ(u16(f.system, 10), 4); // LZ77 topic blocks of 4 KB
    std::map<std::uint16_t, Bytes> records;
    for (std::size_t at = 12; at < f.system.size();) {
        const std::uint16_t size = u16(f.system, at + 2);
        records[u16(f.system, at)] = formatcheck::slice(f.system, at + 4, size);
        at += 4u + size;
    }
    EXPECT_EQ(formatcheck::stringz(records.at(1), 0), "Sample Help");
    EXPECT_EQ(formatcheck::stringz(records.at(2), 0), "Sample copyright");
    ASSERT_EQ(records.at(3).size(), 4u);
    EXPECT_EQ(topicsByOffset(f).at(u32(records.at(3), 0)), "Contents");
    EXPECT_EQ(formatcheck::stringz(records.at(4), 0), "BrowseButtons()");
}

TEST(HelpFile, ContextFindsEveryTopicByItsName)
{
    const HelpDocument doc = parseHelpSource(kSource, "help.txt");
    const OpenedFile f = open(doc);
    const auto topics = topicsByOffset(f);

    const auto walk = formatcheck::walkLeaves(f.context, formatcheck::kContextTree);
    EXPECT_TRUE(walk.problems.empty());
    ASSERT_EQ(walk.entries.size(), doc.topics.size());
    for (std::size_t i = 1; i < walk.entries.size(); ++i) {
        EXPECT_LT(i32(walk.entries[i - 1], 0), i32(walk.entries[i], 0)) << "keys in signed order";
    }
    for (const Topic& t : doc.topics) {
        const auto offset = contextLookup(f.context, contextHashKey(t.context));
        ASSERT_TRUE(offset) << t.context;
        ASSERT_TRUE(topics.count(static_cast<std::uint32_t>(*offset))) << t.context;
        EXPECT_EQ(topics.at(static_cast<std::uint32_t>(*offset)), t.title);
    }
    EXPECT_FALSE(contextLookup(f.context, contextHashKey("missing")));
}

TEST(HelpFile, TitleTreeListsTheTopicsByOffset)
{
    const HelpDocument doc = parseHelpSource(kSource, "help.txt");
    const OpenedFile f = open(doc);
    const auto topics = topicsByOffset(f);
    const auto walk = formatcheck::walkLeaves(f.titles, formatcheck::kTitleTree);
    EXPECT_TRUE(walk.problems.empty());
    ASSERT_EQ(walk.entries.size(), doc.topics.size());
    for (const Bytes& e : walk.entries) {
        EXPECT_EQ(topics.at(u32(e, 0)), formatcheck::stringz(e, 4));
    }
}

TEST(HelpFile, EveryKeywordLeadsToTheTopicsThatListIt)
{
    const HelpDocument doc = parseHelpSource(kSource, "help.txt");
    const OpenedFile f = open(doc);
    ASSERT_TRUE(f.keywords && f.keywordData && f.keywordMap);
    const auto topics = topicsByOffset(f);

    std::map<std::string, std::vector<std::string>> expected; // term -> titles
    for (const Topic& t : doc.topics) {
        for (const std::string& k : t.keywords) expected[k].push_back(t.title);
    }
    const auto walk = formatcheck::walkLeaves(*f.keywords, formatcheck::kKeywordTree);
    EXPECT_TRUE(walk.problems.empty());
    EXPECT_EQ(walk.entries.size(), expected.size());
    for (const auto& [term, titles] : expected) {
        const auto offsets = formatcheck::keywordTopics(*f.keywords, *f.keywordData, term);
        ASSERT_TRUE(offsets) << term;
        std::vector<std::string> found;
        for (std::uint32_t offset : *offsets) found.push_back(topics.at(offset));
        EXPECT_EQ(found, titles) << term;
    }
    EXPECT_EQ(formatcheck::readKeywordMap(*f.keywordMap).size(), 1u);
}

TEST(HelpFile, WithoutKeywordsThereIsNoIndex)
{
    const OpenedFile f = open(parseHelpSource("@title T\n@topic a A\nText.\n", "help.txt"));
    EXPECT_FALSE(f.keywords);
    EXPECT_FALSE(f.keywordData);
    EXPECT_FALSE(f.keywordMap);
}

TEST(HelpFile, EveryJumpLeadsToATopicAndEveryFontExists)
{
    const OpenedFile f = open(parseHelpSource(kSource, "help.txt"));
    const auto topics = topicsByOffset(f);
    const std::uint16_t fonts = u16(f.font, 2);
    EXPECT_EQ(formatcheck::stringz(f.font, u16(f.font, 4)), "Arial");
    EXPECT_EQ(u16(f.font, 6) + 11u * fonts, f.font.size());

    std::vector<std::pair<std::string, std::string>> jumps; // hotspot text -> target title
    for (const auto& l : f.links) {
        if (l.recordType != 0x20) continue;
        const auto p = formatcheck::readParagraph(l);
        for (std::size_t i = 0; i < p.commands.size(); ++i) {
            const Bytes& c = p.commands[i];
            if (c[0] == 0x80) {
                EXPECT_LT(u16(c, 1), fonts);
            }
            if (c[0] != 0xE3) continue;
            const auto offset = contextLookup(f.context, i32(c, 1));
            ASSERT_TRUE(offset) << "jump to an unknown hash";
            ASSERT_LT(i + 1, p.commands.size());
            EXPECT_EQ(p.commands[i + 1][0], 0x89) << "hotspot not closed";
            jumps.emplace_back(p.strings[i + 1], topics.at(static_cast<std::uint32_t>(*offset)));
        }
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Overview", "Overview"}, {"Wrapped hash", "Wrapped hash"}, {"the last one", "Last topic"}, {"back", "Contents"}};
    EXPECT_EQ(jumps, expected);
}

#ifdef TARVESK_HELP_SOURCE
TEST(RealHelpText, BuildsAndItsContentsLinksToEveryTopic)
{
    std::ifstream in(TARVESK_HELP_SOURCE, std::ios::binary);
    if (!in) GTEST_SKIP() << "help text not found at " << TARVESK_HELP_SOURCE;
    std::stringstream text;
    text << in.rdbuf();
    const HelpDocument doc = parseHelpSource(text.str(), TARVESK_HELP_SOURCE);
    EXPECT_EQ(doc.title, "Tarvesk Help");

    std::set<std::string> listed;
    for (const Block& b : doc.topics.front().blocks) {
        for (const Span& s : b.spans) {
            if (s.kind == Span::Kind::Link) listed.insert(s.target);
        }
    }
    for (std::size_t i = 1; i < doc.topics.size(); ++i) {
        EXPECT_TRUE(listed.count(doc.topics[i].context)) << "contents does not list " << doc.topics[i].context;
    }

    const OpenedFile f = open(doc);
    EXPECT_EQ(topicsByOffset(f).size(), doc.topics.size());
    EXPECT_EQ(xmlcheck::check(buildHtmlPage(doc)).error, "");
}

TEST(RealHelpText, IndexListsWhatUsersLookForAndEachTermLeadsToOneTopic)
{
    std::ifstream in(TARVESK_HELP_SOURCE, std::ios::binary);
    if (!in) GTEST_SKIP() << "help text not found at " << TARVESK_HELP_SOURCE;
    std::stringstream text;
    text << in.rdbuf();
    const HelpDocument doc = parseHelpSource(text.str(), TARVESK_HELP_SOURCE);

    for (std::size_t i = 1; i < doc.topics.size(); ++i) {
        EXPECT_FALSE(doc.topics[i].keywords.empty()) << "no index terms lead to " << doc.topics[i].context;
    }
    const OpenedFile f = open(doc);
    ASSERT_TRUE(f.keywords && f.keywordData);
    for (const char* term : {"tray", "alarm level", "automatic start", "optimize", "shut down", "settings",
                             "system requirements"}) {
        EXPECT_TRUE(formatcheck::keywordTopics(*f.keywords, *f.keywordData, term)) << term;
    }
    // A term with several topics makes the viewer ask which one; Wine's viewer
    // cannot, and shows an error instead. So every term names one topic.
    for (const Bytes& entry : formatcheck::walkLeaves(*f.keywords, formatcheck::kKeywordTree).entries) {
        const std::string term = formatcheck::stringz(entry, 0);
        EXPECT_EQ(formatcheck::i16(entry, term.size() + 1), 1) << term;
    }
}
#endif

} // namespace
} // namespace hlpgen
