// B+ trees as the help file stores them (the internal directory, |CONTEXT,
// |TTLBTREE, |KWBTREE).
//
// A tree is a 38-byte header followed by fixed-size pages:
//   header: u16 magic 0x293B, u16 flags, u16 page size, char structure[16],
//           i16 0, i16 page splits, i16 root page, i16 -1, i16 total pages,
//           i16 levels, i32 total entries
//   leaf page:  u16 unused bytes, i16 entries, i16 previous leaf, i16 next leaf
//               (-1 at either end), then the entries
//   index page: u16 unused bytes, i16 entries, i16 first child page, then
//               entries of (key, i16 page): the page holding keys from this
//               key up to the next entry's key
// Keys increase from page to page. The builder lays the leaves out first
// (pages 0..n-1), then each index level above them; the root is the last page.
#pragma once

#include "byte_writer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hlpgen {

struct BTreeEntry {
    Bytes key;  // the key as an index page stores it
    Bytes leaf; // the whole leaf entry (key followed by its data)
};

struct BTreeLayout {
    std::uint16_t flags;     // 0x0002, plus 0x0400 for the internal directory
    std::uint16_t pageSize;  // 1024 for the directory, 2048 for the others
    std::string structure;   // describes the entries, e.g. "z4" or "L4"
};

inline constexpr std::uint16_t kBTreeMagic = 0x293B;
inline constexpr std::size_t kBTreeHeaderSize = 38;
inline constexpr std::size_t kLeafPageHeaderSize = 8;
inline constexpr std::size_t kIndexPageHeaderSize = 6;

// Where the leaves split the entries: the index of the first entry on each
// leaf page, for pages 0, 1, ... in chain order. Each leaf takes as many
// entries as fit. An empty list still makes one (empty) leaf, starting at 0.
// Throws FormatLimitError when an entry cannot fit a page.
std::vector<std::size_t> leafPageStarts(std::uint16_t pageSize, const std::vector<BTreeEntry>& sortedEntries);

// Builds the tree from entries already sorted in key order. Throws
// FormatLimitError when an entry cannot fit a page or the tree outgrows the
// 16-bit page numbers.
Bytes buildBTree(const BTreeLayout& layout, const std::vector<BTreeEntry>& sortedEntries);

} // namespace hlpgen
