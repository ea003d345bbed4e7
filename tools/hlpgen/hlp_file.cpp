#include "hlp_file.h"

#include "btree.h"
#include "context_hash.h"
#include "keyword_index.h"
#include "topic_file.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

namespace hlpgen {
namespace {

constexpr std::uint16_t kSystemTitle = 1;
constexpr std::uint16_t kSystemCopyright = 2;
constexpr std::uint16_t kSystemContents = 3;
constexpr std::uint16_t kSystemConfig = 4;

constexpr std::size_t kFaceNameSize = 20;
constexpr std::uint8_t kFamilySwiss = 0x03; // the format's family numbers, not GDI's
constexpr std::uint8_t kAttrBold = 0x01;

struct FontDescriptor {
    Font font;
    std::uint8_t attributes;
    std::uint8_t halfPoints;
};

// One face, four styles; indexed by Font.
constexpr std::array<FontDescriptor, 4> kFonts{{
    {Font::Body, 0, 20},            // 10 pt
    {Font::Title, kAttrBold, 28},   // 14 pt bold
    {Font::Bold, kAttrBold, 20},    // 10 pt bold
    {Font::Heading, kAttrBold, 22}, // 11 pt bold
}};
constexpr const char* kFaceName = "Arial";

void systemRecord(ByteWriter& out, std::uint16_t type, const Bytes& data)
{
    out.u16(type);
    out.u16(checkedNarrow<std::uint16_t>(data.size(), "|SYSTEM record"));
    out.append(data);
}

Bytes stringzBytes(std::string_view s)
{
    ByteWriter w;
    w.stringz(s);
    return w.take();
}

Bytes systemFile(const HelpDocument& doc, std::uint32_t contentsOffset)
{
    ByteWriter out;
    out.u16(kSystemMagic);
    out.u16(kSystemMinor31);
    out.u16(1);   // major
    out.u32(0);   // build date: none, so that builds are reproducible
    out.u16(kSystemFlagsLz77Blocks4k);
    systemRecord(out, kSystemTitle, stringzBytes(doc.title));
    if (!doc.copyright.empty()) systemRecord(out, kSystemCopyright, stringzBytes(doc.copyright));
    ByteWriter contents;
    contents.u32(contentsOffset);
    systemRecord(out, kSystemContents, contents.bytes());
    systemRecord(out, kSystemConfig, stringzBytes(kOpeningMacro));
    return out.take();
}

Bytes fontFile()
{
    ByteWriter out;
    const std::uint16_t faces = 1;
    const auto descriptors = static_cast<std::uint16_t>(kFonts.size());
    const std::uint16_t faceOffset = 8;
    const auto descriptorOffset = static_cast<std::uint16_t>(faceOffset + faces * kFaceNameSize);
    out.u16(faces);
    out.u16(descriptors);
    out.u16(faceOffset);
    out.u16(descriptorOffset);
    const std::string face = kFaceName;
    out.text(face);
    out.zeros(kFaceNameSize - face.size());
    for (std::size_t i = 0; i < kFonts.size(); ++i) {
        if (static_cast<std::size_t>(kFonts[i].font) != i) throw std::logic_error("font table out of order");
        out.u8(kFonts[i].attributes);
        out.u8(kFonts[i].halfPoints);
        out.u8(kFamilySwiss);
        out.u16(0);                  // face name index
        out.zeros(3);                   // text colour: black
        for (int c = 0; c < 3; ++c) out.u8(255); // background colour (unused)
    }
    return out.take();
}

Bytes contextFile(const HelpDocument& doc, const TopicFile& topics)
{
    std::vector<std::pair<std::int32_t, std::uint32_t>> byHash;
    for (std::size_t i = 0; i < doc.topics.size(); ++i) {
        byHash.emplace_back(contextHashKey(doc.topics[i].context), topics.topics[i].offset);
    }
    std::sort(byHash.begin(), byHash.end());
    std::vector<BTreeEntry> entries;
    for (const auto& [hash, offset] : byHash) {
        ByteWriter key;
        key.i32(hash);
        ByteWriter leaf;
        leaf.i32(hash);
        leaf.u32(offset);
        entries.push_back({key.take(), leaf.take()});
    }
    return buildBTree({0x0002, 2048, "L4"}, entries);
}

Bytes titleFile(const HelpDocument& doc, const TopicFile& topics)
{
    // Topic offsets grow with the source order, so the entries are sorted already.
    std::vector<BTreeEntry> entries;
    for (std::size_t i = 0; i < doc.topics.size(); ++i) {
        ByteWriter key;
        key.u32(topics.topics[i].offset);
        ByteWriter leaf;
        leaf.u32(topics.topics[i].offset);
        leaf.stringz(doc.topics[i].title);
        entries.push_back({key.take(), leaf.take()});
    }
    return buildBTree({0x0002, 2048, "Lz"}, entries);
}

void internalFile(ByteWriter& out, const Bytes& content)
{
    const auto used = checkedNarrow<std::int32_t>(content.size(), "internal file size");
    out.i32(checkedNarrow<std::int32_t>(content.size() + kFileHeaderSize, "internal file size"));
    out.i32(used);
    out.u8(kFileFlags);
    out.append(content);
}

} // namespace

Bytes buildHelpFile(const HelpDocument& doc)
{
    if (doc.topics.empty()) throw FormatLimitError("a help file needs at least one topic");

    std::vector<TopicContent> contents;
    for (const Topic& topic : doc.topics) {
        TopicContent c;
        c.title = topic.title;
        c.paragraphs.push_back(encodeTitle(topic.title));
        for (const Block& block : topic.blocks) c.paragraphs.push_back(encodeBlock(block));
        contents.push_back(std::move(c));
    }
    const TopicFile topics = buildTopicFile(contents);

    std::vector<std::pair<std::string, Bytes>> files = {
        {"|SYSTEM", systemFile(doc, topics.topics.front().offset)},
        {"|FONT", fontFile()},
        {"|TOPIC", topics.bytes},
        {"|CONTEXT", contextFile(doc, topics)},
        {"|TTLBTREE", titleFile(doc, topics)},
    };
    // Without keywords the file has no index at all, rather than an empty one.
    const std::vector<IndexTerm> terms = collectIndexTerms(doc);
    if (!terms.empty()) {
        std::vector<std::uint32_t> offsets;
        for (const TopicPlacement& p : topics.topics) offsets.push_back(p.offset);
        KeywordFiles keywords = buildKeywordFiles(terms, offsets);
        files.emplace_back("|KWBTREE", std::move(keywords.tree));
        files.emplace_back("|KWDATA", std::move(keywords.data));
        files.emplace_back("|KWMAP", std::move(keywords.map));
    }

    ByteWriter out;
    out.u32(kHelpFileMagic);
    out.i32(0);  // directory offset, patched below
    out.i32(-1); // no free list
    out.i32(0);  // file size, patched below

    std::vector<std::pair<std::string, std::int32_t>> directory;
    for (const auto& [name, content] : files) {
        directory.emplace_back(name, checkedNarrow<std::int32_t>(out.size(), "internal file offset"));
        internalFile(out, content);
    }
    std::sort(directory.begin(), directory.end());
    std::vector<BTreeEntry> entries;
    for (const auto& [name, offset] : directory) {
        ByteWriter key;
        key.stringz(name);
        ByteWriter leaf;
        leaf.stringz(name);
        leaf.i32(offset);
        entries.push_back({key.take(), leaf.take()});
    }
    const auto directoryOffset = checkedNarrow<std::uint32_t>(out.size(), "directory offset");
    internalFile(out, buildBTree({0x0402, 1024, "z4"}, entries));

    Bytes file = out.take();
    patchU32(file, 4, directoryOffset);
    patchU32(file, 12, checkedNarrow<std::uint32_t>(file.size(), "help file size"));
    return file;
}

} // namespace hlpgen
