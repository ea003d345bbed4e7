#include "icofile.hpp"

#include "png.hpp"

#include <algorithm>
#include <cctype>

namespace icongen {
namespace {

class Writer {
public:
    void u8(unsigned v) { bytes.push_back(static_cast<std::uint8_t>(v)); }
    void u16(unsigned v) {
        u8(v & 0xff);
        u8((v >> 8) & 0xff);
    }
    void u32(std::uint32_t v) {
        u16(v & 0xffff);
        u16(v >> 16);
    }
    void pad_to(std::size_t size) { bytes.resize(size, 0); }
    std::vector<std::uint8_t> bytes;
};

// An 8bpp table holds only the colours the image uses (biClrUsed says how many): the
// unused rest of 256 entries would cost up to 1 KB an image. Smaller tables are written whole.
std::size_t table_entries(const Image& img) {
    if (img.bpp == 8) return img.table.size();
    return img.bpp < 8 ? std::size_t{1} << img.bpp : 0;
}

std::size_t colour_bytes(const Image& img) {
    return row_bytes(img.width, img.bpp) * static_cast<std::size_t>(img.height);
}
std::size_t mask_bytes(const Image& img) { return row_bytes(img.width, 1) * static_cast<std::size_t>(img.height); }

std::size_t dib_size(const Image& img) {
    return 40 + 4 * table_entries(img) + colour_bytes(img) + mask_bytes(img);
}

unsigned index_of(const Image& img, Rgba colour) {
    const auto it = std::find(img.table.begin(), img.table.end(), colour);
    // The parser puts every opaque colour, and black for transparent pixels, in the table.
    return static_cast<unsigned>(it - img.table.begin());
}

void write_dib(Writer& out, const Image& img) {
    const auto start = out.bytes.size();
    // BITMAPINFOHEADER
    out.u32(40);
    out.u32(static_cast<std::uint32_t>(img.width));
    out.u32(static_cast<std::uint32_t>(2 * img.height));  // colour bitmap and mask
    out.u16(1);                                           // planes
    out.u16(static_cast<unsigned>(img.bpp));
    out.u32(0);  // BI_RGB
    out.u32(static_cast<std::uint32_t>(colour_bytes(img) + mask_bytes(img)));
    out.u32(0);  // x pixels per metre
    out.u32(0);  // y pixels per metre
    out.u32(img.bpp == 8 ? static_cast<std::uint32_t>(img.table.size()) : 0);  // colours used; 0: all 2^bpp
    out.u32(0);  // colours important: all

    // Colour table (RGBQUAD: blue, green, red, reserved), unused entries black.
    for (std::size_t k = 0; k < table_entries(img); ++k) {
        const Rgba c = k < img.table.size() ? img.table[k] : Rgba{};
        out.u8(c.b);
        out.u8(c.g);
        out.u8(c.r);
        out.u8(0);
    }

    // Colour bitmap, bottom row first.
    const Rgba transparent_black{0, 0, 0, 255};
    for (int y = img.height - 1; y >= 0; --y) {
        const auto row_start = out.bytes.size();
        if (img.bpp == 32) {
            for (int x = 0; x < img.width; ++x) {
                const Rgba c = img.at(x, y);
                out.u8(c.b);
                out.u8(c.g);
                out.u8(c.r);
                out.u8(c.a);
            }
        } else {
            unsigned acc = 0;
            int bits = 0;
            for (int x = 0; x < img.width; ++x) {
                const unsigned index = index_of(img, img.clear(x, y) ? transparent_black : img.at(x, y));
                acc = (acc << img.bpp) | index;
                bits += img.bpp;
                if (bits == 8) {
                    out.u8(acc);
                    acc = 0;
                    bits = 0;
                }
            }
            if (bits > 0) out.u8(acc << (8 - bits));
        }
        out.pad_to(row_start + row_bytes(img.width, img.bpp));
    }

    // AND mask, bottom row first: 1 where the pixel is transparent.
    for (int y = img.height - 1; y >= 0; --y) {
        const auto row_start = out.bytes.size();
        unsigned acc = 0;
        int bits = 0;
        for (int x = 0; x < img.width; ++x) {
            acc = (acc << 1) | (img.clear(x, y) ? 1u : 0u);
            if (++bits == 8) {
                out.u8(acc);
                acc = 0;
                bits = 0;
            }
        }
        if (bits > 0) out.u8(acc << (8 - bits));
        out.pad_to(row_start + row_bytes(img.width, 1));
    }
    out.pad_to(start + dib_size(img));
}

}  // namespace

std::vector<std::uint8_t> encode(const Art& art) {
    const bool cursor = art.kind == Kind::cursor;
    std::vector<std::vector<std::uint8_t>> stored;
    for (const auto& img : art.images) {
        if (img.png) {
            stored.push_back(encode_png(img));
        } else {
            Writer dib;
            write_dib(dib, img);
            stored.push_back(std::move(dib.bytes));
        }
    }

    Writer out;
    out.u16(0);
    out.u16(cursor ? 2 : 1);
    out.u16(static_cast<unsigned>(art.images.size()));
    std::size_t offset = 6 + 16 * art.images.size();
    for (std::size_t k = 0; k < art.images.size(); ++k) {
        const Image& img = art.images[k];
        out.u8(img.width == 256 ? 0 : static_cast<unsigned>(img.width));
        out.u8(img.height == 256 ? 0 : static_cast<unsigned>(img.height));
        out.u8(img.bpp < 8 ? 1u << img.bpp : 0u);  // colour count; 0 for 256 and more
        out.u8(0);
        if (cursor) {
            out.u16(static_cast<unsigned>(img.hotspot->x));
            out.u16(static_cast<unsigned>(img.hotspot->y));
        } else {
            out.u16(1);
            out.u16(static_cast<unsigned>(img.bpp));
        }
        out.u32(static_cast<std::uint32_t>(stored[k].size()));
        out.u32(static_cast<std::uint32_t>(offset));
        offset += stored[k].size();
    }
    for (const auto& bytes : stored) out.bytes.insert(out.bytes.end(), bytes.begin(), bytes.end());
    return std::move(out.bytes);
}

Kind kind_for_path(const std::string& path) {
    const auto dot = path.find_last_of("./\\");
    std::string ext = dot == std::string::npos || path[dot] != '.' ? std::string() : path.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".ico") return Kind::icon;
    if (ext == ".cur") return Kind::cursor;
    throw ArtError(path + ": the output must be a .ico or a .cur file");
}

}  // namespace icongen
