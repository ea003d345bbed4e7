// The HTML page: well-formed, one anchor per topic, a table of contents that
// reaches every topic, and every in-page link landing on an anchor.
#include "help_parser.h"
#include "html_page.h"

#include "xml_check.h"

#include <gtest/gtest.h>

namespace hlpgen {
namespace {

const char* const kSource =
    "@title Help & <Friends>\n"
    "@topic contents Contents\n"
    "See [[usage]] and [[quotes|\"quotes\" & more]].\n"
    "- first\n"
    "- **second**\n"
    "\n"
    "After the list.\n"
    "@topic usage Using it\n"
    "@heading A <heading>\n"
    "Text with a [[contents]] link.\n"
    "@topic quotes Quotes\n"
    "- a list that ends the topic\n";

TEST(HtmlPage, WellFormedWithAnAnchorPerTopicAndLinksThatLand)
{
    const HelpDocument doc = parseHelpSource(kSource, "help.txt");
    const std::string html = buildHtmlPage(doc);
    const xmlcheck::Result r = xmlcheck::check(html);
    ASSERT_EQ(r.error, "") << html;

    for (const Topic& t : doc.topics) {
        EXPECT_EQ(r.ids.count(t.context), 1u) << t.context;
    }
    EXPECT_EQ(r.ids.size(), doc.topics.size()); // no other ids that could clash with topic names
    for (const std::string& target : r.anchorTargets) {
        EXPECT_EQ(r.ids.count(target), 1u) << target;
    }

    // The table of contents comes before the first topic and names them all, in order.
    const std::size_t firstTopic = html.find("<div class=\"topic\"");
    ASSERT_NE(firstTopic, std::string::npos);
    std::size_t at = 0;
    for (const Topic& t : doc.topics) {
        at = html.find("<a href=\"#" + t.context + "\">" + t.title + "</a>", at);
        EXPECT_LT(at, firstTopic) << t.context;
    }
}

TEST(HtmlPage, EscapesTextAndKeepsStructure)
{
    const std::string html = buildHtmlPage(parseHelpSource(kSource, "help.txt"));
    EXPECT_NE(html.find("<title>Help &amp; &lt;Friends&gt;</title>"), std::string::npos);
    EXPECT_NE(html.find("<h3>A &lt;heading&gt;</h3>"), std::string::npos);
    EXPECT_NE(html.find("<a href=\"#quotes\">&quot;quotes&quot; &amp; more</a>"), std::string::npos);
    // Consecutive bullets form one list, closed before the next paragraph
    // and at the end of a topic.
    EXPECT_NE(html.find("<ul>\n<li>first</li>\n<li><b>second</b></li>\n</ul>\n<p>After the list.</p>"), std::string::npos);
    EXPECT_NE(html.find("<li>a list that ends the topic</li>\n</ul>\n"), std::string::npos);
}

TEST(HtmlPage, KeywordsBecomeAnIndexAfterTheTopics)
{
    const HelpDocument doc = parseHelpSource("@title T\n"
                                             "@topic contents Contents\n"
                                             "@keywords zone; Alarm & level\n"
                                             "@topic usage Using it\n"
                                             "@keywords zone\n",
                                             "help.txt");
    const std::string html = buildHtmlPage(doc);
    const xmlcheck::Result r = xmlcheck::check(html);
    ASSERT_EQ(r.error, "") << html;
    for (const std::string& target : r.anchorTargets) EXPECT_EQ(r.ids.count(target), 1u) << target;

    const std::size_t index = html.find("<div class=\"index\" id=\"keyword-index\">\n<h2>Index</h2>");
    ASSERT_NE(index, std::string::npos);
    EXPECT_GT(index, html.find("<div class=\"topic\" id=\"usage\">"));
    EXPECT_NE(html.find("<li><a href=\"#keyword-index\">Index</a></li>"), std::string::npos);
    // In index order, each term with its topics.
    const std::size_t alarm = html.find("<li>Alarm &amp; level: <a href=\"#contents\">Contents</a></li>", index);
    const std::size_t zone =
        html.find("<li>zone: <a href=\"#contents\">Contents</a>, <a href=\"#usage\">Using it</a></li>", index);
    ASSERT_NE(alarm, std::string::npos) << html;
    ASSERT_NE(zone, std::string::npos) << html;
    EXPECT_LT(alarm, zone);

    // Without keywords there is no index.
    EXPECT_EQ(buildHtmlPage(parseHelpSource(kSource, "help.txt")).find("keyword-index"), std::string::npos);
}

} // namespace
} // namespace hlpgen
