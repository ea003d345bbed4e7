// The PNG writer and its deflate encoder, read back with zlib.
#include "deflate.hpp"
#include "png.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <random>
#include <string>
#include <vector>

using namespace icongen;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b.at(at)} << 24 | std::uint32_t{b.at(at + 1)} << 16 | std::uint32_t{b.at(at + 2)} << 8 |
           b.at(at + 3);
}

// zlib's own reading of a stream; fails the test when zlib rejects it.
Bytes inflate_all(const Bytes& stream, std::size_t expected_size) {
    Bytes out(expected_size + 1);
    uLongf size = static_cast<uLongf>(out.size());
    const int rc = uncompress(out.data(), &size, stream.data(), static_cast<uLong>(stream.size()));
    EXPECT_EQ(rc, Z_OK) << "zlib rejects the stream";
    out.resize(rc == Z_OK ? size : 0);
    return out;
}

void expect_round_trip(const Bytes& data, const char* what) {
    const Bytes stream = zlib_compress(data);
    EXPECT_EQ(inflate_all(stream, data.size()), data) << what;
}

Bytes random_bytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes out(n);
    for (auto& b : out) b = static_cast<std::uint8_t>(gen());
    return out;
}

}  // namespace

TEST(Deflate, ZlibReadsBackWhatItWrites) {
    expect_round_trip({}, "empty");
    expect_round_trip({42}, "one byte");
    expect_round_trip({1, 2}, "shorter than a match");
    expect_round_trip(Bytes(1000, 0), "a run: matches overlapping their own source");
    expect_round_trip(random_bytes(5000, 1), "incompressible: literals of every code length");
    // Lengths around the largest match (258) and the boundaries of the length codes.
    for (std::size_t run : {3u, 4u, 10u, 11u, 18u, 34u, 130u, 227u, 257u, 258u, 259u, 516u, 517u}) {
        Bytes data = random_bytes(600, 2);
        const Bytes copy(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(run));
        data.insert(data.end(), copy.begin(), copy.end());
        expect_round_trip(data, ("a repeat of " + std::to_string(run)).c_str());
    }
}

TEST(Deflate, MatchesReachBackNoFurtherThanTheWindow) {
    // The same block repeated at distances just inside and just beyond 32 KB: the second must
    // not be copied from beyond the window.
    for (std::size_t gap : {32768u - 64, 32768u - 63, 32768u - 62, 32769u, 40000u}) {
        const Bytes block = random_bytes(64, 3);
        Bytes data = block;
        const Bytes filler = random_bytes(gap - block.size(), 4);
        data.insert(data.end(), filler.begin(), filler.end());
        data.insert(data.end(), block.begin(), block.end());
        expect_round_trip(data, ("a repeat " + std::to_string(gap) + " bytes back").c_str());
    }
}

TEST(Deflate, FlatPictureRowsShrinkToAFraction) {
    // 256 rows of 1 KB with a few colour changes, as a blown-up drawing gives.
    Bytes data;
    for (int y = 0; y < 256; ++y) {
        data.push_back(0);
        for (int x = 0; x < 256; ++x) {
            const std::uint8_t shade = static_cast<std::uint8_t>((x / 32 + y / 64) * 20);
            data.insert(data.end(), {shade, 0x80, 0x20, 0xff});
        }
    }
    const Bytes stream = zlib_compress(data);
    EXPECT_EQ(inflate_all(stream, data.size()), data);
    EXPECT_LT(stream.size(), data.size() / 50) << "compressed to " << stream.size();
}

TEST(Deflate, ChecksumsAgreeWithZlib) {
    const Bytes data = random_bytes(100000, 5);  // long enough for Adler-32's sums to wrap
    EXPECT_EQ(adler32(data), ::adler32(1, data.data(), static_cast<uInt>(data.size())));
    EXPECT_EQ(adler32({}), 1u);
    EXPECT_EQ(crc32(data), ::crc32(0, data.data(), static_cast<uInt>(data.size())));
    const std::string check = "123456789";
    EXPECT_EQ(crc32(Bytes(check.begin(), check.end())), 0xcbf43926u);
}

TEST(Png, ChunksHeaderAndPixelsReadBack) {
    Image img;
    img.width = 3;
    img.height = 2;
    img.bpp = 32;
    img.png = true;
    const Rgba red{255, 0, 0, 255}, half{0, 0, 255, 128}, none{0, 0, 0, 0};
    img.pixels = {red, half, none, half, red, red};
    img.transparent = {false, false, true, false, false, false};
    const Bytes png = encode_png(img);

    ASSERT_GE(png.size(), 8u);
    EXPECT_EQ(Bytes(png.begin(), png.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}));
    std::vector<std::string> types;
    Bytes header, idat;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        ASSERT_LE(at + 12 + length, png.size());
        const std::string type(png.begin() + static_cast<std::ptrdiff_t>(at + 4),
                               png.begin() + static_cast<std::ptrdiff_t>(at + 8));
        const Bytes body(png.begin() + static_cast<std::ptrdiff_t>(at + 8),
                         png.begin() + static_cast<std::ptrdiff_t>(at + 8 + length));
        EXPECT_EQ(be32(png, at + 8 + length), ::crc32(0, png.data() + at + 4, length + 4)) << type;
        if (type == "IHDR") header = body;
        if (type == "IDAT") idat.insert(idat.end(), body.begin(), body.end());
        types.push_back(type);
        at += 12 + length;
    }
    EXPECT_EQ(types, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
    ASSERT_EQ(header.size(), 13u);
    EXPECT_EQ(be32(header, 0), 3u);
    EXPECT_EQ(be32(header, 4), 2u);
    EXPECT_EQ(Bytes(header.begin() + 8, header.end()), (Bytes{8, 6, 0, 0, 0}));  // 8-bit RGBA
    EXPECT_EQ(inflate_all(idat, 2 * (1 + 3 * 4)),
              (Bytes{0, 255, 0, 0, 255, 0, 0, 255, 128, 0, 0, 0, 0,  //
                     0, 0, 0, 255, 128, 255, 0, 0, 255, 255, 0, 0, 255}));
}
