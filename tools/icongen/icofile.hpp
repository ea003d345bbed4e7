// Writes checked art as a Windows .ico or .cur file.
//
// Layout: a 6-byte directory header (reserved 0, type 1 icon or 2 cursor, image
// count), one 16-byte entry per image, then each image as a DIB: a 40-byte
// BITMAPINFOHEADER whose height is twice the image's (colour bitmap and mask),
// the colour table (2^bpp entries for 1bpp and 4bpp images; as many as the image
// has colours for 8bpp ones, in biClrUsed), the colour bitmap, then the 1bpp AND
// mask (1 = transparent). Both bitmaps run bottom-up with every row padded to a
// multiple of 32 bits. An image marked png is stored as a PNG file instead of a
// DIB; its entry says 256x256 (written 0, 0), 1 plane, 32 bits. In a cursor's
// directory entry the planes and bit-count fields hold the hot spot's x and y.
#pragma once

#include "art.hpp"

#include <cstdint>
#include <string>
#include <vector>

namespace icongen {

std::vector<std::uint8_t> encode(const Art& art);

// The kind of file a path names by its extension (.ico or .cur, any case);
// throws ArtError for any other extension.
Kind kind_for_path(const std::string& path);

// Bytes in one row of a bitmap `width` pixels wide at `bpp` bits per pixel,
// padded to a multiple of 4 bytes.
constexpr std::size_t row_bytes(int width, int bpp) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bpp) + 31) / 32 * 4;
}

}  // namespace icongen
