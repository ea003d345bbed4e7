// Text art for icons and cursors: the format, its parser and its checks.
//
// An art file is line based. Blank lines and lines whose first non-blank
// character is '#' are ignored, except inside an image's pixel rows.
//
//   kind icon                   what the file describes: "icon" or "cursor";
//                               once, before the first image
//   palette                     starts a new, empty palette (optional before
//                               the first colour)
//   colour X #RRGGBB            pixel character X is an opaque colour
//   colour X #RRGGBBAA          ... with alpha (32bpp images only)
//   colour X transparent        pixel character X is transparent
//   image WxH Nbpp              an image of W x H pixels at N bits per pixel
//   image WxH 1bpp hotspot X Y  (cursors: the hot spot, from the top left)
//   <H rows of exactly W pixel characters>
//
// After the depth an icon image may say:
//   png        the image is stored PNG-compressed, as Windows Vista and later read
//              it. Only a 256x256 32bpp image may be: older systems cannot read PNG,
//              and they never pick a 256 px image while smaller ones are there.
//   scale S    the rows draw the image at 1/S of its size (W/S x H/S characters), and
//              each character becomes an S x S block. Only images larger than 64 px
//              may be scaled; every smaller size is drawn at its own size.
//
// An image uses the palette in force where it stands. Pixel characters are
// printable ASCII other than blank and '#'.
//
// Depths: icons take 1, 4, 8 or 32 bits per pixel; cursors are two-colour,
// 1 bit per pixel. A paletted image's colour table holds the palette's
// distinct opaque colours in the order they were declared, plus black when the
// image has transparent pixels and the palette has no black (a transparent
// pixel is black in the colour bitmap and set in the mask); that table must fit
// 2^N entries. A 1bpp image's table is always black, white, so its palette may
// hold only those two colours.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace icongen {

// A problem with the art; the message names the file and line.
class ArtError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Kind { icon, cursor };

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct HotSpot {
    int x = 0, y = 0;
};

struct Image {
    int width = 0;
    int height = 0;
    int bpp = 0;                   // 1, 4, 8 or 32
    bool png = false;              // stored PNG-compressed (256x256 32bpp only)
    int scale = 1;                 // drawn at 1/scale of its size, blown up by whole pixels
    std::optional<HotSpot> hotspot;  // cursors only
    std::vector<Rgba> table;       // colour table of a paletted image, at most 2^bpp entries
    std::vector<Rgba> pixels;      // row-major from the top left; a transparent pixel is {0,0,0,0}
    std::vector<bool> transparent; // row-major from the top left

    Rgba at(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool clear(int x, int y) const { return transparent[static_cast<std::size_t>(y * width + x)]; }
};

struct Art {
    Kind kind = Kind::icon;
    std::vector<Image> images;
};

// Parses and checks the whole text; `name` is used in messages.
// Throws ArtError on the first problem found.
Art parse_art(std::string_view text, const std::string& name);

// Reads a file and parses it; throws ArtError if the file cannot be read.
Art read_art(const std::string& path);

}  // namespace icongen
