#include "png.hpp"

#include "deflate.hpp"

#include <array>
#include <string_view>

namespace icongen {
namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Length, type, data, and the CRC of type and data.
void chunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data) {
    put32(out, static_cast<std::uint32_t>(data.size()));
    const auto start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(std::span(out).subspan(start)));
}

}  // namespace

std::uint32_t crc32(std::span<const std::uint8_t> data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xffffffffu;
    for (const auto byte : data) c = table[(c ^ byte) & 0xff] ^ (c >> 8);
    return c ^ 0xffffffffu;
}

std::vector<std::uint8_t> encode_png(const Image& image) {
    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(image.width));
    put32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits a sample, RGBA, deflate, filters, no interlace
    chunk(out, "IHDR", header);

    std::vector<std::uint8_t> rows;
    rows.reserve(static_cast<std::size_t>(image.height) * (1 + 4 * static_cast<std::size_t>(image.width)));
    for (int y = 0; y < image.height; ++y) {
        rows.push_back(0);  // filter type None
        for (int x = 0; x < image.width; ++x) {
            const Rgba c = image.clear(x, y) ? Rgba{0, 0, 0, 0} : image.at(x, y);
            rows.insert(rows.end(), {c.r, c.g, c.b, c.a});
        }
    }
    chunk(out, "IDAT", zlib_compress(rows));
    chunk(out, "IEND", {});
    return out;
}

}  // namespace icongen
