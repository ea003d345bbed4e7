// The |TOPIC layout, read back with the format's rules: block headers,
// TOPICPOS decoding, the record chain, topic headers and TOPICOFFSETs.
#include "topic_file.h"

#include "format_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace hlpgen {
namespace {

using formatcheck::TopicLink;

constexpr std::int32_t kNone = -1;

// A topic of `count` plain paragraphs of about `length` characters each.
TopicContent makeTopic(const std::string& title, int count, std::size_t length)
{
    TopicContent t;
    t.title = title;
    for (int i = 0; i < count; ++i) {
        Block b;
        b.spans.push_back({Span::Kind::Text, title + " paragraph " + std::to_string(i) + " " + std::string(length, 'w'), {}, false});
        t.paragraphs.push_back(encodeBlock(b));
    }
    return t;
}

struct ReadBack {
    std::vector<formatcheck::TopicBlock> blocks;
    std::vector<TopicLink> links;
};

ReadBack readBack(const TopicFile& f)
{
    ReadBack r;
    r.blocks = formatcheck::readTopicBlocks(f.bytes);
    r.links = formatcheck::walkTopic(r.blocks);
    return r;
}

TEST(TopicFile, OneTopicFillsTheFirstBlock)
{
    const TopicFile f = buildTopicFile({makeTopic("Only", 2, 10)});
    ASSERT_EQ(f.bytes.size(), 4096u);
    const ReadBack r = readBack(f);
    EXPECT_EQ(r.blocks[0].lastTopicLink, kNone);
    EXPECT_EQ(r.blocks[0].firstTopicLink, 12);
    EXPECT_EQ(r.blocks[0].lastTopicHeader, kNone);

    ASSERT_EQ(r.links.size(), 4u); // header, two paragraphs, closing record
    EXPECT_EQ(r.links[0].pos, 12u);
    EXPECT_EQ(r.links[0].recordType, 0x02);
    EXPECT_EQ(formatcheck::stringz(r.links[0].data2, 0), "Only");
    EXPECT_EQ(r.links[0].prevBlock, kNone);
    EXPECT_EQ(r.links[1].recordType, 0x20);
    EXPECT_EQ(r.links[3].recordType, 0x02);
    EXPECT_EQ(r.links[3].dataLen2, 0);
    EXPECT_EQ(r.links[3].nextBlock, kNone);
    EXPECT_EQ(f.closingPos, r.links[3].pos);
    EXPECT_EQ(f.topics[0].headerPos, 12u);
    EXPECT_EQ(f.topics[0].offset, 0u);
}

// Enough text for several blocks.
std::vector<TopicContent> manyTopics()
{
    std::vector<TopicContent> topics;
    for (int t = 0; t < 30; ++t) topics.push_back(makeTopic("Topic " + std::to_string(t), 1 + t % 4, 150 + 37 * (t % 5)));
    return topics;
}

TEST(TopicFile, RecordsChainThroughTheBlocksAndNeverStraddleOne)
{
    const auto topics = manyTopics();
    const TopicFile f = buildTopicFile(topics);
    ASSERT_EQ(f.bytes.size() % 4096, 0u);
    const ReadBack r = readBack(f);
    ASSERT_GT(r.blocks.size(), 3u);

    std::size_t expected = 1; // the closing record
    for (const auto& t : topics) expected += 1 + t.paragraphs.size();
    ASSERT_EQ(r.links.size(), expected);

    for (std::size_t i = 0; i < r.links.size(); ++i) {
        const TopicLink& l = r.links[i];
        EXPECT_EQ(l.prevBlock, i == 0 ? kNone : static_cast<std::int32_t>(r.links[i - 1].pos)) << i;
        EXPECT_EQ(l.blockSize, 21 + static_cast<std::int32_t>(l.data1.size()) + l.dataLen2) << i;
        // A record ends inside the data its block decodes to (4084 coded bytes).
        EXPECT_LE(l.offset + static_cast<std::size_t>(l.blockSize), topicBlockCapacity()) << i;
        if (i > 0) {
            EXPECT_GE(l.block, r.links[i - 1].block);
        }
    }
}

TEST(TopicFile, BlockHeadersPointAtTheRightRecords)
{
    const ReadBack r = readBack(buildTopicFile(manyTopics()));
    for (std::uint32_t b = 0; b < r.blocks.size(); ++b) {
        std::int32_t first = kNone, lastBefore = kNone, lastHeaderBefore = kNone;
        for (const TopicLink& l : r.links) {
            if (l.block < b) {
                lastBefore = static_cast<std::int32_t>(l.pos);
                if (l.recordType == 0x02) lastHeaderBefore = static_cast<std::int32_t>(l.pos);
            }
            if (l.block == b && first == kNone) first = static_cast<std::int32_t>(l.pos);
        }
        EXPECT_EQ(r.blocks[b].firstTopicLink, first) << "block " << b;
        EXPECT_EQ(r.blocks[b].lastTopicLink, lastBefore) << "block " << b;
        EXPECT_EQ(r.blocks[b].lastTopicHeader, lastHeaderBefore) << "block " << b;
    }
}

TEST(TopicFile, TopicOffsetsCountTheCharactersBeforeTheTopicInItsBlock)
{
    const TopicFile f = buildTopicFile(manyTopics());
    const ReadBack r = readBack(f);
    std::uint32_t block = 0, characters = 0;
    std::size_t topic = 0;
    for (const TopicLink& l : r.links) {
        if (l.block != block) {
            block = l.block;
            characters = 0;
        }
        if (l.recordType == 0x20) {
            const auto p = formatcheck::readParagraph(l);
            EXPECT_EQ(p.topicLength, static_cast<std::uint32_t>(l.dataLen2));
            characters += p.topicLength;
        } else if (topic < f.topics.size()) {
            EXPECT_EQ(f.topics[topic].headerPos, l.pos);
            EXPECT_EQ(f.topics[topic].offset, block * 0x8000 + characters) << "topic " << topic;
            ++topic;
        }
    }
    EXPECT_EQ(topic, f.topics.size());
}

TEST(TopicFile, TopicHeadersLinkTheTopicsInOrder)
{
    const auto topics = manyTopics();
    const TopicFile f = buildTopicFile(topics);
    const ReadBack r = readBack(f);
    std::size_t t = 0;
    for (std::size_t i = 0; i + 1 < r.links.size(); ++i) {
        const TopicLink& l = r.links[i];
        if (l.recordType != 0x02) continue;
        const auto& d = l.data1;
        ASSERT_EQ(d.size(), 28u);
        const bool last = t + 1 == topics.size();
        std::int32_t bytes = 0;
        for (std::size_t j = i; j < r.links.size() && (j == i || r.links[j].recordType != 0x02); ++j) bytes += r.links[j].blockSize;
        EXPECT_EQ(formatcheck::i32(d, 0), bytes) << t;
        EXPECT_EQ(formatcheck::i32(d, 4), t == 0 ? kNone : static_cast<std::int32_t>(f.topics[t - 1].offset)) << t;
        EXPECT_EQ(formatcheck::i32(d, 8), last ? kNone : static_cast<std::int32_t>(f.topics[t + 1].offset)) << t;
        EXPECT_EQ(formatcheck::i32(d, 12), static_cast<std::int32_t>(t));
        EXPECT_EQ(formatcheck::i32(d, 16), kNone); // no non-scrolling region
        EXPECT_EQ(formatcheck::u32(d, 20), r.links[i + 1].pos);
        EXPECT_EQ(formatcheck::u32(d, 24), last ? f.closingPos : f.topics[t + 1].headerPos) << t;
        EXPECT_EQ(formatcheck::stringz(l.data2, 0), topics[t].title);
        ++t;
    }
    EXPECT_EQ(t, topics.size());
}

TEST(TopicFile, ParagraphTooLargeForABlockIsRefused)
{
    EXPECT_THROW(buildTopicFile({makeTopic("Huge", 1, 4000)}), FormatLimitError);
    EXPECT_NO_THROW(buildTopicFile({makeTopic("Large", 1, 3400)}));
}

TEST(CompressedNumbers, ShortAndLongFormsDecodeBack)
{
    for (std::int32_t v : {0, 1, 63, 64, 127, 128, 16383}) {
        ByteWriter w;
        putCompressedUnsigned16(w, static_cast<std::uint32_t>(v));
        std::size_t at = 0;
        EXPECT_EQ(formatcheck::compressedUnsigned16(w.bytes(), at), static_cast<std::uint32_t>(v));
        EXPECT_EQ(at, v < 128 ? 1u : 2u);
    }
    for (std::int32_t v : {-16384, -65, -64, -18, 0, 63, 64, 16383}) {
        ByteWriter w;
        putCompressedSigned16(w, v);
        std::size_t at = 0;
        EXPECT_EQ(formatcheck::compressedSigned16(w.bytes(), at), v);
        EXPECT_EQ(at, (v >= -64 && v <= 63) ? 1u : 2u);
    }
    for (std::int32_t v : {-16384, 0, 3630, 16383}) {
        ByteWriter w;
        putCompressedSigned32(w, v);
        std::size_t at = 0;
        EXPECT_EQ(formatcheck::compressedSigned32(w.bytes(), at), v);
    }
    ByteWriter w;
    EXPECT_THROW(putCompressedSigned16(w, 16384), FormatLimitError);
    EXPECT_THROW(putCompressedSigned16(w, -16385), FormatLimitError);
    EXPECT_THROW(putCompressedUnsigned16(w, 32768), FormatLimitError);
    EXPECT_THROW(putCompressedSigned32(w, 16384), FormatLimitError);
}

} // namespace
} // namespace hlpgen
