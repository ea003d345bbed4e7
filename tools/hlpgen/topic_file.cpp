#include "topic_file.h"

namespace hlpgen {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFFu; // -1 as a TOPICPOS or TOPICOFFSET
constexpr std::size_t kBlockData = kTopicBlockSize - kTopicBlockHeaderSize;
constexpr std::uint32_t kMaxBlocks = 0x8000; // keeps every position below 2^31

std::size_t literalCodedSize(std::size_t n) { return n + (n + 7) / 8; }

// LZ77 form with literals only: each group of up to eight bytes is preceded
// by a flag byte whose clear bits mean "copy one byte".
Bytes codeAsLiterals(const Bytes& data)
{
    Bytes out;
    out.reserve(literalCodedSize(data.size()));
    for (std::size_t i = 0; i < data.size(); i += 8) {
        out.push_back(0x00);
        for (std::size_t j = i; j < data.size() && j < i + 8; ++j) out.push_back(data[j]);
    }
    return out;
}

enum class RecordKind { TopicHeader, Paragraph, Closing };

// Where one record goes.
struct Placed {
    RecordKind kind;
    std::size_t topic;     // for headers and paragraphs
    std::size_t paragraph; // for paragraphs: index into the topic's paragraphs
    std::size_t size;      // whole record, link header included
    std::uint32_t block = 0;
    std::uint32_t pos = 0;
};

// Chooses blocks and positions, record after record.
class Placer {
public:
    explicit Placer(std::size_t capacity) : capacity_(capacity) {}

    const Placed& place(Placed p, const std::string& topicTitle)
    {
        if (p.size > capacity_) {
            throw FormatLimitError("a paragraph of topic '" + topicTitle + "' is too long for a topic block (" +
                                   std::to_string(p.size) + " bytes, at most " + std::to_string(capacity_) +
                                   "); split it");
        }
        if (used_ + p.size > capacity_) {
            ++block_;
            used_ = 0;
            characters_ = 0;
            if (block_ >= kMaxBlocks) throw FormatLimitError("the help text is too large for one help file");
        }
        p.block = block_;
        p.pos = block_ * kTopicPosBlockSpan + static_cast<std::uint32_t>(kTopicBlockHeaderSize + used_);
        used_ += p.size;
        records_.push_back(p);
        return records_.back();
    }

    // TOPICOFFSET of the text position after everything placed so far.
    std::uint32_t textOffset() const { return block_ * kTopicOffsetBlockSpan + characters_; }
    // A block holds fewer bytes than 0x8000, so the count stays below the next block's offsets.
    void addCharacters(std::uint32_t n) { characters_ += n; }

    std::uint32_t lastBlock() const { return block_; }
    std::vector<Placed>& records() { return records_; }

private:
    std::size_t capacity_;
    std::uint32_t block_ = 0;
    std::size_t used_ = 0;
    std::uint32_t characters_ = 0;
    std::vector<Placed> records_;
};

} // namespace

std::size_t topicBlockCapacity()
{
    std::size_t n = kBlockData;
    while (literalCodedSize(n) > kBlockData) --n;
    return n;
}

TopicFile buildTopicFile(const std::vector<TopicContent>& topics)
{
    if (topics.empty()) throw FormatLimitError("no topics to write");

    // First pass: every record's block and position, every topic's offset.
    Placer placer(topicBlockCapacity());
    std::vector<TopicPlacement> placements(topics.size());
    for (std::size_t t = 0; t < topics.size(); ++t) {
        const TopicContent& topic = topics[t];
        if (topic.paragraphs.empty()) throw FormatLimitError("topic '" + topic.title + "' has no paragraph");
        const std::size_t headerSize = kTopicLinkHeaderSize + kTopicHeaderSize + topic.title.size() + 1;
        const Placed& head = placer.place({RecordKind::TopicHeader, t, 0, headerSize}, topic.title);
        placements[t] = {head.pos, placer.textOffset()};
        for (std::size_t p = 0; p < topic.paragraphs.size(); ++p) {
            const ParagraphRecord& para = topic.paragraphs[p];
            placer.place({RecordKind::Paragraph, t, p, kTopicLinkHeaderSize + para.data1.size() + para.data2.size()},
                         topic.title);
            placer.addCharacters(paragraphLength(para));
        }
    }
    const Placed closing = placer.place({RecordKind::Closing, 0, 0, kTopicLinkHeaderSize + kTopicHeaderSize}, "");
    const std::vector<Placed>& records = placer.records();

    // Size of each topic's records, for its header.
    std::vector<std::size_t> topicBytes(topics.size(), 0);
    for (const Placed& r : records) {
        if (r.kind != RecordKind::Closing) topicBytes[r.topic] += r.size;
    }

    // Second pass: the records, block by block, in decoded form.
    std::vector<Bytes> decoded(placer.lastBlock() + 1);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Placed& r = records[i];
        ByteWriter data1;
        ByteWriter data2;
        std::uint8_t type = kRecordTopicHeader;
        switch (r.kind) {
        case RecordKind::TopicHeader: {
            const std::size_t t = r.topic;
            const bool last = t + 1 == topics.size();
            data1.i32(checkedNarrow<std::int32_t>(topicBytes[t], "topic size"));
            data1.u32(t == 0 ? kNone : placements[t - 1].offset); // browse back
            data1.u32(last ? kNone : placements[t + 1].offset);   // browse forward
            data1.i32(checkedNarrow<std::int32_t>(t, "topic number"));
            data1.u32(kNone);              // no non-scrolling region
            data1.u32(records[i + 1].pos); // scrolling region: the first paragraph follows the header
            data1.u32(last ? closing.pos : placements[t + 1].headerPos);
            data2.stringz(topics[t].title);
            break;
        }
        case RecordKind::Paragraph: {
            const ParagraphRecord& para = topics[r.topic].paragraphs[r.paragraph];
            type = kRecordParagraph;
            data1.append(para.data1);
            data2.append(para.data2);
            break;
        }
        case RecordKind::Closing:
            data1.i32(checkedNarrow<std::int32_t>(r.size, "record size"));
            for (int field = 0; field < 6; ++field) data1.u32(kNone);
            break;
        }

        ByteWriter link;
        link.i32(checkedNarrow<std::int32_t>(r.size, "record size"));
        link.i32(checkedNarrow<std::int32_t>(data2.size(), "record text size"));
        link.u32(i == 0 ? kNone : records[i - 1].pos);
        link.u32(i + 1 == records.size() ? kNone : records[i + 1].pos);
        link.i32(checkedNarrow<std::int32_t>(kTopicLinkHeaderSize + data1.size(), "record format size"));
        link.u8(type);
        link.append(data1.bytes());
        link.append(data2.bytes());
        if (link.size() != r.size) throw std::logic_error("topic record size changed while writing");
        Bytes& target = decoded[r.block];
        target.insert(target.end(), link.bytes().begin(), link.bytes().end());
    }

    // Block headers and the coded blocks.
    ByteWriter out;
    std::uint32_t lastRecordBefore = kNone;
    std::uint32_t lastHeaderBefore = kNone;
    std::size_t next = 0; // first record of the block being written
    for (std::uint32_t b = 0; b < decoded.size(); ++b) {
        const std::size_t start = out.size();
        out.u32(lastRecordBefore);
        out.u32(records[next].pos);
        out.u32(lastHeaderBefore);
        out.append(codeAsLiterals(decoded[b]));
        if (out.size() - start > kTopicBlockSize) throw std::logic_error("topic block overflow");
        out.zeros(kTopicBlockSize - (out.size() - start));
        while (next < records.size() && records[next].block == b) {
            lastRecordBefore = records[next].pos;
            if (records[next].kind == RecordKind::TopicHeader) lastHeaderBefore = records[next].pos;
            ++next;
        }
    }

    TopicFile file;
    file.bytes = out.take();
    file.topics = std::move(placements);
    file.closingPos = closing.pos;
    return file;
}

} // namespace hlpgen
