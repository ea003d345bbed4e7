// The help file (format version 3.1) as a whole.
//
// A 16-byte header
//   u32 magic 0x00035F3F, i32 offset of the internal directory,
//   i32 first free block (-1: none), i32 size of the whole file
// is followed by internal files, each behind a 9-byte FILEHEADER
//   i32 reserved space (FILEHEADER included), i32 used space (excluded), u8 flags (4)
// and last by the internal directory, itself an internal file: a B+ tree
// (flags 0x0402, 1 KB pages, structure "z4") of (name, FILEHEADER offset),
// ordered by name.
//
// Internal files written:
//   |SYSTEM   u16 magic 0x036C, u16 minor 21 (the 3.1 format), u16 major 1,
//             u32 build date (0), u16 flags 4 (LZ77 topic blocks of 4 KB),
//             then records of (u16 type, u16 size, data): 1 title, 2 copyright,
//             3 contents topic (TOPICOFFSET), 4 a macro run when the file opens
//   |FONT     u16 face names, u16 descriptors, u16 offset of the face names,
//             u16 offset of the descriptors, face names of 20 bytes, then
//             descriptors of 11 bytes (u8 attributes, u8 half-points,
//             u8 family, u16 face name index, u8 rgb[3], u8 background rgb[3])
//   |TOPIC    see topic_file.h
//   |CONTEXT  B+ tree "L4" of (i32 context hash, TOPICOFFSET), by signed hash
//   |TTLBTREE B+ tree "Lz" of (TOPICOFFSET, topic title), by offset
//   |KWBTREE, |KWDATA, |KWMAP  the keyword index (see keyword_index.h),
//             only when some topic has keywords
#pragma once

#include "byte_writer.h"
#include "help_document.h"

namespace hlpgen {

inline constexpr std::uint32_t kHelpFileMagic = 0x00035F3F;
inline constexpr std::uint16_t kSystemMagic = 0x036C;
inline constexpr std::uint16_t kSystemMinor31 = 21;
inline constexpr std::uint16_t kSystemFlagsLz77Blocks4k = 4;
inline constexpr std::size_t kFileHeaderSize = 9;
inline constexpr std::uint8_t kFileFlags = 4;

// The macro the file runs when it opens: the browse buttons step through
// the topics in the order of the source.
inline constexpr const char* kOpeningMacro = "BrowseButtons()";

Bytes buildHelpFile(const HelpDocument& doc);

} // namespace hlpgen
