// PNG images for the 256x256 entries of icons, which Windows Vista and later read in
// place of a bitmap: 8-bit RGBA, no interlacing, every row unfiltered.
#pragma once

#include "art.hpp"

#include <cstdint>
#include <span>
#include <vector>

namespace icongen {

std::vector<std::uint8_t> encode_png(const Image& image);

// The CRC-32 that guards each PNG chunk (ISO 3309, as zlib and PNG use it).
std::uint32_t crc32(std::span<const std::uint8_t> data);

}  // namespace icongen
