// A reader for help files, written from the published description of the
// format and independent of the writer, so that the tests check the writer's
// output against the format's rules rather than against its own code.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace formatcheck {

using Bytes = std::vector<std::uint8_t>;

inline std::uint32_t u32(const Bytes& b, std::size_t at)
{
    if (at + 4 > b.size()) throw std::out_of_range("u32 read past the end");
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
inline std::uint16_t u16(const Bytes& b, std::size_t at)
{
    if (at + 2 > b.size()) throw std::out_of_range("u16 read past the end");
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
inline std::int32_t i32(const Bytes& b, std::size_t at)
{
    const std::uint32_t v = u32(b, at);
    return v <= 0x7FFFFFFFu ? static_cast<std::int32_t>(v) : -static_cast<std::int32_t>(~v) - 1;
}
inline std::int16_t i16(const Bytes& b, std::size_t at)
{
    const std::uint16_t v = u16(b, at);
    return static_cast<std::int16_t>(v <= 0x7FFF ? v : v - 0x10000);
}
inline std::string stringz(const Bytes& b, std::size_t at)
{
    std::string s;
    while (true) {
        if (at >= b.size()) throw std::out_of_range("unterminated string");
        if (b[at] == 0) return s;
        s.push_back(static_cast<char>(b[at++]));
    }
}
inline Bytes slice(const Bytes& b, std::size_t at, std::size_t n)
{
    if (at + n > b.size()) throw std::out_of_range("slice past the end");
    return Bytes(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + n));
}

// ---- B+ trees -------------------------------------------------------------

struct BTreeHeader {
    std::uint16_t magic, flags, pageSize;
    std::string structure;
    std::int16_t mustBeZero, pageSplits, rootPage, mustBeMinusOne, totalPages, levels;
    std::int32_t totalEntries;
};

inline BTreeHeader readBTreeHeader(const Bytes& t)
{
    return {u16(t, 0), u16(t, 2), u16(t, 4), stringz(t, 6), i16(t, 22), i16(t, 24), i16(t, 26),
            i16(t, 28), i16(t, 30), i16(t, 32), i32(t, 34)};
}

// How to read one kind of tree: the size of a leaf entry and of an index key
// at a position, and how a key at a position compares with the one sought.
struct TreeKind {
    std::function<std::size_t(const Bytes&, std::size_t)> leafEntrySize;
    std::function<std::size_t(const Bytes&, std::size_t)> keySize;
};

inline std::size_t pageAt(const BTreeHeader& h, int page) { return 38 + static_cast<std::size_t>(page) * h.pageSize; }

// All leaf entries in order: down the first children to the first leaf,
// then along the NextPage chain. Also checks each page's bookkeeping.
struct LeafWalk {
    std::vector<Bytes> entries;
    std::vector<std::string> problems;
    std::vector<std::pair<int, int>> leaves; // (page number, entries) in chain order
};

inline LeafWalk walkLeaves(const Bytes& t, const TreeKind& kind)
{
    const BTreeHeader h = readBTreeHeader(t);
    LeafWalk walk;
    int page = h.rootPage;
    for (int level = 1; level < h.levels; ++level) {
        const std::size_t at = pageAt(h, page);
        std::size_t used = 0;
        std::size_t p = at + 6;
        for (int i = 0; i < i16(t, at + 2); ++i) {
            const std::size_t n = kind.keySize(t, p) + 2;
            used += n;
            p += n;
        }
        if (u16(t, at) != h.pageSize - 6 - used) walk.problems.push_back("index page " + std::to_string(page) + ": wrong unused count");
        page = i16(t, at + 4);
    }
    int previous = -1;
    int leaves = 0;
    while (page != -1) {
        if (++leaves > h.totalPages) {
            walk.problems.push_back("leaf chain does not end");
            break;
        }
        const std::size_t at = pageAt(h, page);
        if (i16(t, at + 4) != previous) walk.problems.push_back("leaf " + std::to_string(page) + ": wrong PreviousPage");
        std::size_t p = at + 8;
        walk.leaves.emplace_back(page, i16(t, at + 2));
        for (int i = 0; i < i16(t, at + 2); ++i) {
            const std::size_t n = kind.leafEntrySize(t, p);
            walk.entries.push_back(slice(t, p, n));
            p += n;
        }
        if (u16(t, at) != h.pageSize - (p - at)) walk.problems.push_back("leaf " + std::to_string(page) + ": wrong unused count");
        if (p > at + h.pageSize) walk.problems.push_back("leaf " + std::to_string(page) + ": entries overflow the page");
        previous = page;
        page = i16(t, at + 6);
    }
    if (static_cast<std::int32_t>(walk.entries.size()) != h.totalEntries) walk.problems.push_back("entry count differs from header");
    return walk;
}

// Finds the leaf entry for a key as the format describes: in an index page,
// follow the last entry whose key is not above the one sought, or the first
// child when every key is above it. compare(tree, at) < 0 when the key at
// "at" is below the one sought.
inline std::optional<Bytes> findInTree(const Bytes& t, const TreeKind& kind,
                                       const std::function<int(const Bytes&, std::size_t)>& compare)
{
    const BTreeHeader h = readBTreeHeader(t);
    int page = h.rootPage;
    for (int level = 1; level < h.levels; ++level) {
        const std::size_t at = pageAt(h, page);
        int child = i16(t, at + 4);
        std::size_t p = at + 6;
        for (int i = 0; i < i16(t, at + 2); ++i) {
            const std::size_t k = kind.keySize(t, p);
            if (compare(t, p) > 0) break;
            child = i16(t, p + k);
            p += k + 2;
        }
        page = child;
    }
    const std::size_t at = pageAt(h, page);
    std::size_t p = at + 8;
    for (int i = 0; i < i16(t, at + 2); ++i) {
        if (compare(t, p) == 0) return slice(t, p, kind.leafEntrySize(t, p));
        p += kind.leafEntrySize(t, p);
    }
    return std::nullopt;
}

inline std::size_t stringzSize(const Bytes& t, std::size_t at) { return stringz(t, at).size() + 1; }

// The internal directory: (STRINGZ name, i32 offset).
inline const TreeKind kDirectoryTree{[](const Bytes& t, std::size_t at) { return stringzSize(t, at) + 4; }, stringzSize};
// |CONTEXT: (i32 hash, i32 topic offset).
inline const TreeKind kContextTree{[](const Bytes&, std::size_t) { return std::size_t{8}; },
                                   [](const Bytes&, std::size_t) { return std::size_t{4}; }};
// |TTLBTREE: (i32 topic offset, STRINGZ title).
inline const TreeKind kTitleTree{[](const Bytes& t, std::size_t at) { return 4 + stringzSize(t, at + 4); },
                                 [](const Bytes&, std::size_t) { return std::size_t{4}; }};

// |KWBTREE: (STRINGZ keyword, i16 count, i32 offset into |KWDATA).
inline const TreeKind kKeywordTree{[](const Bytes& t, std::size_t at) { return stringzSize(t, at) + 6; }, stringzSize};

// Keywords compare with ASCII letters folded to one case.
inline int compareKeywords(const std::string& a, const std::string& b)
{
    auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return fold(a[i]) < fold(b[i]) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// The topic offsets a keyword leads to: its entry found by the tree's search
// rule, then Count offsets read from |KWDATA at the entry's offset.
inline std::optional<std::vector<std::uint32_t>> keywordTopics(const Bytes& tree, const Bytes& data,
                                                              const std::string& keyword)
{
    const auto entry = findInTree(tree, kKeywordTree, [&](const Bytes& t, std::size_t at) {
        return compareKeywords(stringz(t, at), keyword);
    });
    if (!entry) return std::nullopt;
    const std::size_t after = stringz(*entry, 0).size() + 1;
    const std::int16_t count = i16(*entry, after);
    const std::int32_t offset = i32(*entry, after + 2);
    if (count <= 0 || offset < 0) throw std::runtime_error("keyword entry with no topics or a negative offset");
    std::vector<std::uint32_t> topics;
    for (std::int16_t i = 0; i < count; ++i) topics.push_back(u32(data, static_cast<std::size_t>(offset) + 4u * i));
    return topics;
}

// |KWMAP: u16 count, then (i32 number of the first keyword, i16 leaf page) records.
struct KeywordMapRecord {
    std::int32_t firstKeyword;
    std::int16_t page;
};

inline std::vector<KeywordMapRecord> readKeywordMap(const Bytes& map)
{
    const std::uint16_t count = u16(map, 0);
    if (map.size() != 2u + 6u * count) throw std::runtime_error("|KWMAP size does not match its count");
    std::vector<KeywordMapRecord> records;
    for (std::size_t i = 0; i < count; ++i) records.push_back({i32(map, 2 + 6 * i), i16(map, 6 + 6 * i)});
    return records;
}

// ---- the help file's internal files -----------------------------------------

// The content of internal file "name" (behind its FILEHEADER).
inline std::optional<Bytes> internalFile(const Bytes& file, const std::string& name)
{
    const std::uint32_t dir = u32(file, 4);
    const Bytes directory = slice(file, dir + 9, u32(file, dir + 4));
    const auto entry = findInTree(directory, kDirectoryTree, [&](const Bytes& t, std::size_t at) {
        return stringz(t, at).compare(name);
    });
    if (!entry) return std::nullopt;
    const std::uint32_t at = u32(*entry, name.size() + 1);
    return slice(file, at + 9, u32(file, at + 4));
}

// ---- |TOPIC -------------------------------------------------------------------

// The LZ77 decoding of the format: a flag byte, then for each of its bits
// from the lowest, a literal byte (bit clear) or a 16-bit back reference
// (bit set: 12 bits distance-1, 4 bits length-3).
inline Bytes lz77Decode(const Bytes& in, std::size_t from, std::size_t to)
{
    Bytes out;
    std::size_t i = from;
    while (i < to) {
        const std::uint8_t flags = in[i++];
        for (int bit = 0; bit < 8 && i < to; ++bit) {
            if (flags & (1u << bit)) {
                const std::uint16_t word = u16(in, i);
                i += 2;
                const std::size_t distance = (word & 0x0FFFu) + 1;
                for (int n = 0; n < (word >> 12) + 3; ++n) out.push_back(out.at(out.size() - distance));
            } else {
                out.push_back(in[i++]);
            }
        }
    }
    return out;
}

struct TopicBlock {
    std::int32_t lastTopicLink, firstTopicLink, lastTopicHeader;
    Bytes decoded;
};

// |TOPIC of a file with 4 KB LZ77 blocks (|SYSTEM flags 4).
inline std::vector<TopicBlock> readTopicBlocks(const Bytes& topic)
{
    std::vector<TopicBlock> blocks;
    for (std::size_t at = 0; at < topic.size(); at += 4096) {
        const std::size_t end = std::min(topic.size(), at + 4096);
        blocks.push_back({i32(topic, at), i32(topic, at + 4), i32(topic, at + 8), lz77Decode(topic, at + 12, end)});
    }
    return blocks;
}

struct TopicLink {
    std::uint32_t pos;
    std::uint32_t block, offset; // where TOPICPOS says it is
    std::int32_t blockSize, dataLen2, prevBlock, nextBlock, dataLen1;
    std::uint8_t recordType;
    Bytes data1, data2; // LinkData1 (after the 21-byte header), LinkData2
};

// The record at a TOPICPOS: (pos - 12) / 16 KB is the block, the rest the
// offset into the block's decoded data.
inline TopicLink linkAt(const std::vector<TopicBlock>& blocks, std::uint32_t pos)
{
    if (pos < 12) throw std::out_of_range("TOPICPOS below 12");
    TopicLink l{};
    l.pos = pos;
    l.block = (pos - 12) / 0x4000;
    l.offset = (pos - 12) % 0x4000;
    const Bytes& d = blocks.at(l.block).decoded;
    l.blockSize = i32(d, l.offset);
    l.dataLen2 = i32(d, l.offset + 4);
    l.prevBlock = i32(d, l.offset + 8);
    l.nextBlock = i32(d, l.offset + 12);
    l.dataLen1 = i32(d, l.offset + 16);
    l.recordType = d.at(l.offset + 20);
    l.data1 = slice(d, l.offset + 21, static_cast<std::size_t>(l.dataLen1) - 21);
    l.data2 = slice(d, l.offset + static_cast<std::size_t>(l.dataLen1), static_cast<std::size_t>(l.dataLen2));
    return l;
}

// Every record, from TOPICPOS 12 along the NextBlock chain.
inline std::vector<TopicLink> walkTopic(const std::vector<TopicBlock>& blocks)
{
    std::vector<TopicLink> links;
    std::uint32_t pos = 12;
    while (pos != 0xFFFFFFFFu && pos != 0) {
        links.push_back(linkAt(blocks, pos));
        if (links.size() > 100000) throw std::runtime_error("NextBlock chain does not end");
        pos = static_cast<std::uint32_t>(links.back().nextBlock);
    }
    return links;
}

// Compressed numbers of LinkData1.
inline std::uint32_t compressedUnsigned16(const Bytes& b, std::size_t& at)
{
    if (b.at(at) % 2 == 0) return b[at++] / 2u;
    const std::uint32_t v = b[at] / 2u + 128u * b.at(at + 1);
    at += 2;
    return v;
}
inline std::int32_t compressedSigned16(const Bytes& b, std::size_t& at)
{
    if (b.at(at) % 2 == 0) return b[at++] / 2 - 64;
    const std::int32_t v = b[at] / 2 + 128 * b.at(at + 1) - 16384;
    at += 2;
    return v;
}
inline std::int32_t compressedSigned32(const Bytes& b, std::size_t& at)
{
    if (b.at(at) % 2 != 0) throw std::runtime_error("four-byte compressed long not expected here");
    const std::int32_t v = u16(b, at) / 2 - 16384;
    at += 2;
    return v;
}

// A paragraph record (type 0x20) taken apart.
struct Paragraph {
    std::int32_t topicSize;
    std::uint32_t topicLength;
    std::uint16_t formatBits;
    std::vector<std::string> strings; // strings[i] is shown before commands[i]
    std::vector<Bytes> commands;      // the last one is 0xFF
};

inline Paragraph readParagraph(const TopicLink& l)
{
    Paragraph p{};
    const Bytes& d = l.data1;
    std::size_t at = 0;
    p.topicSize = compressedSigned32(d, at);
    p.topicLength = compressedUnsigned16(d, at);
    at += 4; // two unknown bytes and the paragraph id
    p.formatBits = u16(d, at);
    at += 2;
    if (p.formatBits & 0x0001) throw std::runtime_error("unexpected format field 0x0001");
    for (std::uint16_t bit : {0x0002, 0x0004, 0x0008, 0x0010, 0x0020, 0x0040}) {
        if (p.formatBits & bit) compressedSigned16(d, at);
    }
    if (p.formatBits & 0x0100) at += 3;
    if (p.formatBits & 0x0200) {
        const std::int32_t tabs = compressedSigned16(d, at);
        for (std::int32_t i = 0; i < tabs; ++i) {
            if (compressedUnsigned16(d, at) & 0x4000) compressedUnsigned16(d, at);
        }
    }
    std::size_t text = 0;
    while (true) {
        p.strings.push_back(stringz(l.data2, text));
        text += p.strings.back().size() + 1;
        const std::uint8_t code = d.at(at);
        std::size_t size = 0;
        switch (code) {
        case 0xFF: case 0x81: case 0x82: case 0x83: case 0x89: case 0x8B: case 0x8C: size = 1; break;
        case 0x80: size = 3; break;
        case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE6: case 0xE7: size = 5; break;
        default: throw std::runtime_error("unexpected formatting command " + std::to_string(code));
        }
        p.commands.push_back(slice(d, at, size));
        at += size;
        if (code == 0xFF) break;
    }
    if (at != d.size()) throw std::runtime_error("bytes after the end-of-record command");
    if (text != l.data2.size()) throw std::runtime_error("strings and commands do not pair up");
    return p;
}

} // namespace formatcheck
