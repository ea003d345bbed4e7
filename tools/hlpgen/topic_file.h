// The |TOPIC internal file: every topic's records, laid out in topic blocks.
//
// |TOPIC is a run of 4096-byte blocks. Each block starts with a 12-byte header
//   i32 LastTopicLink    TOPICPOS of the last record of the previous block (-1 in block 0)
//   i32 FirstTopicLink   TOPICPOS of the first record of this block
//   i32 LastTopicHeader  TOPICPOS of the last topic header before this block (-1 if none)
// and the rest holds the block's records in LZ77 form (|SYSTEM flag 4: 4 KB
// blocks, each decoding to at most 16 KB). The coder here writes literals
// only: a flag byte of 0 followed by up to eight bytes as they are. Unused
// space at the end of a block is zero.
//
// Two kinds of position point into the records:
//  - TOPICPOS, a place in the decoded data: block * 0x4000 + 12 + offset
//    (the offset counts decoded bytes from the start of the block's data);
//  - TOPICOFFSET, a place in the text: block * 0x8000 + the TopicLength of
//    the paragraph records before it in that block. |CONTEXT, |TTLBTREE and
//    the contents record of |SYSTEM name topics by their TOPICOFFSET.
//
// Each record (TOPICLINK) starts with a 21-byte header:
//   i32 BlockSize  header + LinkData1 + LinkData2
//   i32 DataLen2   size of LinkData2
//   i32 PrevBlock  TOPICPOS of the previous record (-1 for the first)
//   i32 NextBlock  TOPICPOS of the next record (-1 for the last)
//   i32 DataLen1   header + LinkData1
//   u8  RecordType 2 = topic header, 0x20 = paragraph
// A topic header's LinkData1 is
//   i32 BlockSize (all records of the topic), i32 BrowseBck, i32 BrowseFor
//   (TOPICOFFSET of the previous/next topic in reading order, -1 at the ends),
//   i32 TopicNum, i32 NonScroll (-1), i32 Scroll (TOPICPOS of the first
//   paragraph), i32 NextTopic (TOPICPOS of the next topic header, -1 at the end)
// and its LinkData2 is the topic title, NUL-terminated.
//
// After the last topic comes a closing record that carries no text: a topic
// header with an empty title and every position -1. The last real topic's
// NextTopic points at it, so every topic ends at a topic header.
//
// A record never straddles two blocks: one that does not fit in what is left
// of a block starts the next block.
#pragma once

#include "topic_records.h"

#include <cstdint>
#include <string>
#include <vector>

namespace hlpgen {

inline constexpr std::size_t kTopicBlockSize = 4096;
inline constexpr std::size_t kTopicBlockHeaderSize = 12;
inline constexpr std::uint32_t kTopicPosBlockSpan = 0x4000;    // TOPICPOS per block
inline constexpr std::uint32_t kTopicOffsetBlockSpan = 0x8000; // TOPICOFFSET per block
inline constexpr std::size_t kTopicLinkHeaderSize = 21;
inline constexpr std::size_t kTopicHeaderSize = 28;
inline constexpr std::uint8_t kRecordTopicHeader = 0x02;
inline constexpr std::uint8_t kRecordParagraph = 0x20;

struct TopicContent {
    std::string title;
    std::vector<ParagraphRecord> paragraphs; // at least one
};

struct TopicPlacement {
    std::uint32_t headerPos; // TOPICPOS of the topic header record
    std::uint32_t offset;    // TOPICOFFSET of the topic
};

struct TopicFile {
    Bytes bytes;                         // the whole |TOPIC content
    std::vector<TopicPlacement> topics;  // in the order given
    std::uint32_t closingPos = 0;        // TOPICPOS of the closing record
};

// Decoded bytes that fit in one block when stored as literals.
std::size_t topicBlockCapacity();

// Throws FormatLimitError when a record is larger than a block can hold or
// the file outgrows the positions' range.
TopicFile buildTopicFile(const std::vector<TopicContent>& topics);

} // namespace hlpgen
