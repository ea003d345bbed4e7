// A small zlib (RFC 1950) stream writer for the PNG images of large icons: one deflate
// block (RFC 1951) with the fixed Huffman codes and greedy LZ77 matching over a 32 KB
// window. Icon art is flat colour, so this gets close to what a full encoder would.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace icongen {

// The zlib stream of `data`: header, deflate data, Adler-32 of `data`.
std::vector<std::uint8_t> zlib_compress(std::span<const std::uint8_t> data);

std::uint32_t adler32(std::span<const std::uint8_t> data);

}  // namespace icongen
