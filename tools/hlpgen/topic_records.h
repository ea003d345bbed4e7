// The contents of |TOPIC records: paragraphs of text (record type 0x20) with
// their formatting, ready to be placed by topic_file.
//
// A paragraph record carries two data parts:
//  - LinkData1: the paragraph's size fields, its paragraph format (spacing,
//    indents, tab stops) and then a list of character-formatting commands;
//  - LinkData2: NUL-terminated strings. The reader shows a string, then
//    applies the next command, and so on, until command 0xFF.
// Commands used here: 0x80 font change, 0x82 end of paragraph, 0x83 tab,
// 0xE3 start of a jump hotspot (followed by the target's context hash),
// 0x89 end of hotspot, 0xFF end of the record.
//
// Metrics are in half-points, as for help files with the plain font table.
#pragma once

#include "byte_writer.h"
#include "help_document.h"

#include <cstdint>
#include <string_view>

namespace hlpgen {

// Fonts of the |FONT table, by index.
enum class Font : std::uint16_t { Body = 0, Title = 1, Bold = 2, Heading = 3 };

struct ParagraphRecord {
    Bytes data1; // LinkData1, without the 21-byte link header
    Bytes data2; // LinkData2, the strings
};

// Compressed integers of LinkData1 (the reader tells the short and long
// forms apart by the lowest bit of the first byte).
void putCompressedUnsigned16(ByteWriter& out, std::uint32_t value); // 0..32767
void putCompressedSigned16(ByteWriter& out, std::int32_t value);    // -16384..16383
// Only the two-byte form (-16384..16383) is written; a record never needs more.
void putCompressedSigned32(ByteWriter& out, std::int32_t value);

// The heading paragraph that shows a topic's title at the top of the topic.
ParagraphRecord encodeTitle(std::string_view title);

// One block of a topic. Link spans become hotspots that jump by context hash.
ParagraphRecord encodeBlock(const Block& block);

// The character count a paragraph record adds to topic offsets (the
// record's TopicLength): every character of LinkData2, NULs included.
std::uint32_t paragraphLength(const ParagraphRecord& record);

} // namespace hlpgen
