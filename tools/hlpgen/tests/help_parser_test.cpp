// The help source markup: what it turns into, and every error that must
// stop the build rather than produce a help file with dead links.
#include "help_parser.h"

#include "context_hash.h"

#include <gtest/gtest.h>

#include <string>

namespace hlpgen {
namespace {

HelpDocument parse(const std::string& text) { return parseHelpSource(text, "help.txt"); }

TEST(HelpParser, TopicsBlocksAndSpans)
{
    const HelpDocument doc = parse(
        "# a comment\n"
        "@title My Help\n"
        "@copyright (c) Someone\n"
        "@topic contents Contents\n"
        "Read [[second]] or\n"
        "[[second|the other one]].\n"
        "\n"
        "- one **bold** item\n"
        "  that goes on\n"
        "- two\n"
        "@topic second Second   Topic\n"
        "@heading Sub   heading\n"
        "Text\twith   blanks.\r\n");
    EXPECT_EQ(doc.title, "My Help");
    EXPECT_EQ(doc.copyright, "(c) Someone");
    ASSERT_EQ(doc.topics.size(), 2u);
    EXPECT_EQ(doc.topics[1].title, "Second Topic");

    const auto& blocks = doc.topics[0].blocks;
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0].kind, Block::Kind::Paragraph);
    ASSERT_EQ(blocks[0].spans.size(), 5u);
    EXPECT_EQ(blocks[0].spans[0].text, "Read ");
    EXPECT_EQ(blocks[0].spans[1].kind, Span::Kind::Link);
    EXPECT_EQ(blocks[0].spans[1].target, "second");
    EXPECT_EQ(blocks[0].spans[1].text, "Second Topic"); // the target's title
    EXPECT_EQ(blocks[0].spans[2].text, " or ");         // lines join with one blank
    EXPECT_EQ(blocks[0].spans[3].text, "the other one");
    EXPECT_EQ(blocks[0].spans[4].text, ".");

    EXPECT_EQ(blocks[1].kind, Block::Kind::Bullet);
    ASSERT_EQ(blocks[1].spans.size(), 3u);
    EXPECT_FALSE(blocks[1].spans[0].bold);
    EXPECT_EQ(blocks[1].spans[1].text, "bold");
    EXPECT_TRUE(blocks[1].spans[1].bold);
    EXPECT_EQ(blocks[1].spans[2].text, " item that goes on");
    EXPECT_EQ(blocks[2].kind, Block::Kind::Bullet);

    const auto& second = doc.topics[1].blocks;
    ASSERT_EQ(second.size(), 2u);
    EXPECT_EQ(second[0].kind, Block::Kind::Heading);
    EXPECT_EQ(second[0].spans[0].text, "Sub heading");
    EXPECT_EQ(second[1].spans[0].text, "Text with blanks.");
    EXPECT_EQ(second[1].line, 13);
}

TEST(HelpParser, KeywordsBelongToTheirTopic)
{
    const HelpDocument doc = parse("@title T\n"
                                   "@topic a A\n"
                                   "@keywords  tray ;alarm   level;  Optimize\n"
                                   "Text.\n"
                                   "@keywords settings\n"
                                   "@topic b B\n"
                                   "@keywords tray\n");
    EXPECT_EQ(doc.topics[0].keywords, (std::vector<std::string>{"tray", "alarm level", "Optimize", "settings"}));
    EXPECT_EQ(doc.topics[1].keywords, (std::vector<std::string>{"tray"}));
    // Keywords are not text: the paragraph is the only block.
    ASSERT_EQ(doc.topics[0].blocks.size(), 1u);
    EXPECT_EQ(doc.topics[0].blocks[0].spans[0].text, "Text.");
}

struct BadSource {
    const char* text;
    const char* message; // part of the expected message
    int line;
};

TEST(HelpParser, ProblemsStopTheParseWithFileAndLine)
{
    const BadSource cases[] = {
        {"@title T\n@topic a A\nSee [[b]].\n", "link to unknown topic 'b'", 3},
        {"@title T\n@topic a A\n@topic a B\n", "duplicate context name 'a' (first defined on line 2)", 3},
        {"@title T\n@topic intro A\n@topic Intro B\n", "duplicate context name 'Intro'", 3},
        {"@title T\n@topic a\n", "topic 'a' has an empty title", 2},
        {"@title T\n@topic a    \n", "topic 'a' has an empty title", 2},
        {"@title T\n@topic\n", "@topic needs a context name and a title", 2},
        {"@title\n@topic a A\n", "empty @title", 1},
        {"@topic a A\ntext\n", "missing @title", 1},
        {"@title T\n", "no @topic", 1},
        {"@title T\nstray text\n@topic a A\n", "text before the first @topic", 2},
        {"@title T\n- item\n", "text before the first @topic", 2},
        {"@title T\n@topic 9a A\n", "'9a' is not a valid context name", 2},
        {"@title T\n@topic a-b A\n", "'a-b' is not a valid context name", 2},
        {"@title T\n@topic a A\nsee [[a\n", "'[[' without ']]'", 3},
        {"@title T\n@topic a A\nsee a]]\n", "']]' without '[['", 3},
        {"@title T\n@topic a A\nsee [[a|]]\n", "empty link text", 3},
        {"@title T\n@topic a A\nsee [[x y]]\n", "'x y' is not a valid context name", 3},
        {"@title T\n@topic a A\n**bold\nstill\n", "'**' is not closed", 3},
        {"@title T\n@topic a A\ncaf\xc3\xa9\n", "character 0xC3 is not allowed", 3},
        {"@title T\n@topic a A\n@bogus x\n", "unknown directive '@bogus'", 3},
        {"@title T\n@topic a A\n@title U\n", "@title must come before the first @topic", 3},
        {"@title T\n@title U\n@topic a A\n", "@title given twice", 2},
        {"@title T\n@topic a A\n@heading\n", "empty @heading", 3},
        {"@title T\n@topic a A\n-\n", "empty bullet item", 3},
        {"@title T\n@topic a A\nsee [[a|**x**]]\n", "markup inside a link", 3},
        {"@title T\n@keywords x\n@topic a A\n", "text before the first @topic", 2},
        {"@title T\n@topic a A\n@keywords\n", "@keywords needs at least one index term", 3},
        {"@title T\n@topic a A\n@keywords x;;y\n", "empty index term", 3},
        {"@title T\n@topic a A\n@keywords x; y;\n", "empty index term", 3},
        {"@title T\n@topic a A\n@keywords x\n@keywords X\n", "index term 'X' is spelled 'x' on line 3", 4},
        {"@title T\n@topic a A\n@keywords x\n@keywords y; x\n", "index term 'x' given twice for topic 'a'", 4},
        {"@title T\n@topic a A\n@keywords Tray\n@topic b B\n@keywords tray\n", "is spelled 'Tray' on line 3", 5},
        {"@title T\n@topic a A\n@keywords see [[a]]\n", "markup inside index term", 3},
    };
    for (const BadSource& c : cases) {
        try {
            parse(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const SourceError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
            EXPECT_EQ(message.rfind("help.txt:" + std::to_string(c.line) + ": error: ", 0), 0u) << message;
        }
    }
}

TEST(HelpParser, OverlongTitleIsRefused)
{
    const std::string source = "@title T\n@topic a " + std::string(kMaxTitleLength + 1, 'x') + "\n";
    EXPECT_THROW(parse(source), SourceError);
    EXPECT_NO_THROW(parse("@title T\n@topic a " + std::string(kMaxTitleLength, 'x') + "\n"));
}

TEST(HelpParser, OverlongKeywordIsRefused)
{
    const std::string longest(kMaxKeywordLength, 'k');
    EXPECT_NO_THROW(parse("@title T\n@topic a A\n@keywords " + longest + "\n"));
    EXPECT_THROW(parse("@title T\n@topic a A\n@keywords " + longest + "k\n"), SourceError);
}

TEST(HelpParser, NamesWithTheSameHashAreRefused)
{
    // Below 2^32 no two names share a hash (it is a base-43 numeral with
    // digits 1..42); these two of seven letters meet after the wrap-around.
    ASSERT_EQ(contextHash("auwinwk"), contextHash("pslodus"));
    try {
        parse("@title T\n@topic auwinwk A\n@topic pslodus B\n");
        ADD_FAILURE() << "accepted two topics with one hash";
    } catch (const SourceError& e) {
        EXPECT_NE(std::string(e.what()).find("have the same hash"), std::string::npos) << e.what();
    }
}

} // namespace
} // namespace hlpgen
