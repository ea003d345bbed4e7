// B+ trees checked with the reader of format_reader.h: header fields, leaf
// chains, page bookkeeping, and that every key is found by the format's
// search rule however many pages and levels the tree needs.
#include "btree.h"

#include "format_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace hlpgen {
namespace {

using formatcheck::kDirectoryTree;
using formatcheck::readBTreeHeader;

// Directory-style entries (STRINGZ name, i32 value), sorted by name.
std::vector<BTreeEntry> directoryEntries(int count, std::size_t nameLength)
{
    std::vector<BTreeEntry> entries;
    for (int i = 0; i < count; ++i) {
        char number[16];
        std::snprintf(number, sizeof number, "|F%05d", i);
        std::string name = number;
        name.resize(nameLength, 'x');
        ByteWriter key;
        key.stringz(name);
        ByteWriter leaf;
        leaf.stringz(name);
        leaf.i32(i * 10);
        entries.push_back({key.take(), leaf.take()});
    }
    return entries;
}

const BTreeLayout kDirectory{0x0402, 1024, "z4"};

std::optional<formatcheck::Bytes> find(const Bytes& tree, const std::string& name)
{
    return formatcheck::findInTree(tree, kDirectoryTree, [&](const Bytes& t, std::size_t at) {
        return formatcheck::stringz(t, at).compare(name);
    });
}

void expectEveryEntryFoundInOrder(const Bytes& tree, const std::vector<BTreeEntry>& entries)
{
    const auto walk = formatcheck::walkLeaves(tree, kDirectoryTree);
    EXPECT_TRUE(walk.problems.empty()) << walk.problems.front();
    ASSERT_EQ(walk.entries.size(), entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(walk.entries[i], entries[i].leaf) << "entry " << i;
        const std::string name = formatcheck::stringz(entries[i].key, 0);
        const auto found = find(tree, name);
        ASSERT_TRUE(found) << name;
        EXPECT_EQ(*found, entries[i].leaf);
    }
}

TEST(BTree, SmallTreeIsOneLeafWithTheFormatsHeader)
{
    const auto entries = directoryEntries(5, 8);
    const Bytes tree = buildBTree(kDirectory, entries);
    const auto h = readBTreeHeader(tree);
    EXPECT_EQ(h.magic, 0x293B);
    EXPECT_EQ(h.flags, 0x0402);
    EXPECT_EQ(h.pageSize, 1024);
    EXPECT_EQ(h.structure, "z4");
    EXPECT_EQ(h.mustBeZero, 0);
    EXPECT_EQ(h.mustBeMinusOne, -1);
    EXPECT_EQ(h.rootPage, 0);
    EXPECT_EQ(h.totalPages, 1);
    EXPECT_EQ(h.levels, 1);
    EXPECT_EQ(h.totalEntries, 5);
    EXPECT_EQ(tree.size(), 38u + 1024u);
    // Leaf header: unused bytes, entries, no previous, no next leaf.
    EXPECT_EQ(formatcheck::u16(tree, 38), 1024 - 8 - 5 * (9 + 4));
    EXPECT_EQ(formatcheck::i16(tree, 40), 5);
    EXPECT_EQ(formatcheck::i16(tree, 42), -1);
    EXPECT_EQ(formatcheck::i16(tree, 44), -1);
    expectEveryEntryFoundInOrder(tree, entries);
}

TEST(BTree, ManyEntriesSpreadOverLinkedLeavesUnderOneIndexPage)
{
    const auto entries = directoryEntries(300, 12);
    const Bytes tree = buildBTree(kDirectory, entries);
    const auto h = readBTreeHeader(tree);
    EXPECT_EQ(h.levels, 2);
    EXPECT_GT(h.totalPages, 2);
    EXPECT_EQ(h.rootPage, h.totalPages - 1);
    EXPECT_EQ(tree.size(), 38u + 1024u * static_cast<std::size_t>(h.totalPages));
    expectEveryEntryFoundInOrder(tree, entries);
}

TEST(BTree, LongKeysNeedSeveralIndexLevels)
{
    // 200-byte names: four per leaf and four per index page.
    const auto entries = directoryEntries(100, 200);
    const Bytes tree = buildBTree(kDirectory, entries);
    EXPECT_GE(readBTreeHeader(tree).levels, 3);
    expectEveryEntryFoundInOrder(tree, entries);
}

TEST(BTree, KeysBetweenBeforeAndAfterTheEntriesAreNotFound)
{
    const Bytes tree = buildBTree(kDirectory, directoryEntries(300, 12));
    EXPECT_FALSE(find(tree, "|A"));                // before the first
    EXPECT_FALSE(find(tree, "|F00150"));           // between two
    EXPECT_FALSE(find(tree, "|Z"));                // after the last
}

TEST(BTree, EmptyTreeIsOneEmptyLeaf)
{
    const Bytes tree = buildBTree(kDirectory, {});
    const auto h = readBTreeHeader(tree);
    EXPECT_EQ(h.totalPages, 1);
    EXPECT_EQ(h.levels, 1);
    EXPECT_EQ(h.totalEntries, 0);
    EXPECT_EQ(formatcheck::i16(tree, 40), 0);
    EXPECT_FALSE(find(tree, "|SYSTEM"));
}

TEST(BTree, EntryLargerThanAPageIsRefused)
{
    EXPECT_THROW(buildBTree(kDirectory, directoryEntries(1, 1100)), FormatLimitError);
}

} // namespace
} // namespace hlpgen
