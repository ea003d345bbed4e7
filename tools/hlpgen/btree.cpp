#include "btree.h"

namespace hlpgen {
namespace {

constexpr std::uint16_t kNoPage = 0xFFFF; // -1 as a 16-bit page number
const Bytes kNoKey;                       // the smallest key of an empty tree's only leaf

// A page of the level being built, with the smallest key below it.
struct Node {
    std::uint16_t page;
    const Bytes* minKey;
};

std::uint16_t pageNumber(std::size_t index)
{
    return checkedNarrow<std::uint16_t>(checkedNarrow<std::int16_t>(index, "B+ tree page number"),
                                        "B+ tree page number");
}

Bytes finishPage(ByteWriter& page, std::size_t pageSize)
{
    page.zeros(pageSize - page.size());
    return page.take();
}

} // namespace

std::vector<std::size_t> leafPageStarts(std::uint16_t pageSize, const std::vector<BTreeEntry>& sortedEntries)
{
    if (pageSize <= kLeafPageHeaderSize) throw FormatLimitError("B+ tree page size too small");
    const std::size_t leafRoom = pageSize - kLeafPageHeaderSize;
    std::vector<std::size_t> starts{0};
    std::size_t used = 0;
    for (std::size_t i = 0; i < sortedEntries.size(); ++i) {
        const std::size_t size = sortedEntries[i].leaf.size();
        if (size > leafRoom) throw FormatLimitError("B+ tree entry larger than a page");
        if (used + size > leafRoom) {
            starts.push_back(i);
            used = 0;
        }
        used += size;
    }
    return starts;
}

Bytes buildBTree(const BTreeLayout& layout, const std::vector<BTreeEntry>& sortedEntries)
{
    const std::size_t pageSize = layout.pageSize;
    if (layout.structure.size() >= 16) throw FormatLimitError("B+ tree structure text too long");

    std::vector<Bytes> pages;

    // Leaves: as many entries per page as fit, in key order.
    const std::vector<std::size_t> starts = leafPageStarts(layout.pageSize, sortedEntries);
    const std::size_t leafRoom = pageSize - kLeafPageHeaderSize;
    std::vector<std::vector<const BTreeEntry*>> leaves(starts.size());
    for (std::size_t page = 0; page < starts.size(); ++page) {
        const std::size_t end = page + 1 < starts.size() ? starts[page + 1] : sortedEntries.size();
        for (std::size_t i = starts[page]; i < end; ++i) leaves[page].push_back(&sortedEntries[i]);
    }

    std::vector<Node> level;
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        std::size_t bytes = 0;
        for (const BTreeEntry* e : leaves[i]) bytes += e->leaf.size();
        ByteWriter page;
        page.u16(checkedNarrow<std::uint16_t>(leafRoom - bytes, "B+ tree unused bytes"));
        page.i16(checkedNarrow<std::int16_t>(leaves[i].size(), "B+ tree page entries"));
        page.u16(i == 0 ? kNoPage : pageNumber(i - 1));
        page.u16(i + 1 == leaves.size() ? kNoPage : pageNumber(i + 1));
        for (const BTreeEntry* e : leaves[i]) page.append(e->leaf);
        pages.push_back(finishPage(page, pageSize));
        level.push_back({pageNumber(i), leaves[i].empty() ? &kNoKey : &leaves[i].front()->key});
    }

    // Index levels until one page covers everything.
    const std::size_t indexRoom = pageSize - kIndexPageHeaderSize;
    std::int16_t levels = 1;
    while (level.size() > 1) {
        std::vector<Node> above;
        std::size_t i = 0;
        while (i < level.size()) {
            const Node first = level[i++];
            ByteWriter entries;
            std::size_t count = 0;
            while (i < level.size()) {
                const std::size_t need = level[i].minKey->size() + 2;
                if (need > indexRoom) throw FormatLimitError("B+ tree key larger than a page");
                if (entries.size() + need > indexRoom) break;
                entries.append(*level[i].minKey);
                entries.u16(level[i].page);
                ++count;
                ++i;
            }
            ByteWriter page;
            page.u16(checkedNarrow<std::uint16_t>(indexRoom - entries.size(), "B+ tree unused bytes"));
            page.i16(checkedNarrow<std::int16_t>(count, "B+ tree page entries"));
            page.u16(first.page);
            page.append(entries.bytes());
            above.push_back({pageNumber(pages.size()), first.minKey});
            pages.push_back(finishPage(page, pageSize));
        }
        level = std::move(above);
        levels = checkedNarrow<std::int16_t>(levels + 1, "B+ tree levels");
    }

    ByteWriter tree;
    tree.u16(kBTreeMagic);
    tree.u16(layout.flags);
    tree.u16(layout.pageSize);
    tree.text(layout.structure);
    tree.zeros(16 - layout.structure.size());
    tree.i16(0);               // must be zero
    tree.i16(0);               // page splits: none, the tree is built whole
    tree.u16(level.front().page); // root
    tree.i16(-1);              // must be -1
    tree.i16(checkedNarrow<std::int16_t>(pages.size(), "B+ tree pages"));
    tree.i16(levels);
    tree.i32(checkedNarrow<std::int32_t>(sortedEntries.size(), "B+ tree entries"));
    for (const Bytes& p : pages) tree.append(p);
    return tree.take();
}

} // namespace hlpgen
