// Tests of icongen: the bytes of the .ico/.cur files, the checks on the art,
// and the project's own art files.
#include "art.hpp"
#include "icofile.hpp"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

using namespace icongen;

namespace {

using Bytes = std::vector<std::uint8_t>;

unsigned u16(const Bytes& b, std::size_t at) { return b.at(at) | b.at(at + 1) << 8; }
std::uint32_t u32(const Bytes& b, std::size_t at) { return u16(b, at) | static_cast<std::uint32_t>(u16(b, at + 2)) << 16; }

Bytes encode_text(const std::string& text) { return encode(parse_art(text, "test.txt")); }

std::string rows(int count, const std::string& row) {
    std::string out;
    for (int i = 0; i < count; ++i) out += row + "\n";
    return out;
}

// A 16x16 16-colour icon: top row transparent, the rest red with one blue pixel.
const std::string small_icon =
    "kind icon\n"
    "colour . transparent\n"
    "colour R #ff0000\n"
    "colour B #0000ff\n"
    "image 16x16 4bpp\n" +
    rows(1, std::string(16, '.')) + rows(14, std::string(16, 'R')) + "BRRRRRRRRRRRRRRR\n";

std::string error_of(const std::string& text) {
    try {
        parse_art(text, "bad.txt");
    } catch (const ArtError& e) {
        return e.what();
    }
    return "(no error)";
}

}  // namespace

TEST(IcoFile, DirectoryAndBitmapHeaderOfSixteenColourIcon) {
    const Bytes b = encode_text(small_icon);
    // ICONDIR
    EXPECT_EQ(u16(b, 0), 0u);
    EXPECT_EQ(u16(b, 2), 1u);  // icon
    EXPECT_EQ(u16(b, 4), 1u);  // one image
    // ICONDIRENTRY
    EXPECT_EQ(b[6], 16);
    EXPECT_EQ(b[7], 16);
    EXPECT_EQ(b[8], 16);  // colour count
    EXPECT_EQ(b[9], 0);
    EXPECT_EQ(u16(b, 10), 1u);  // planes
    EXPECT_EQ(u16(b, 12), 4u);  // bits per pixel
    const std::uint32_t size = 40 + 16 * 4 + 16 * 8 + 16 * 4;
    EXPECT_EQ(u32(b, 14), size);
    EXPECT_EQ(u32(b, 18), 22u);
    EXPECT_EQ(b.size(), 22 + size);
    // BITMAPINFOHEADER
    EXPECT_EQ(u32(b, 22), 40u);
    EXPECT_EQ(u32(b, 26), 16u);
    EXPECT_EQ(u32(b, 30), 32u);  // twice the height: colour bitmap and mask
    EXPECT_EQ(u16(b, 34), 1u);
    EXPECT_EQ(u16(b, 36), 4u);
    EXPECT_EQ(u32(b, 38), 0u);  // BI_RGB
    EXPECT_EQ(u32(b, 42), 16u * 8 + 16u * 4);
    EXPECT_EQ(u32(b, 54), 0u);  // colours used
}

TEST(IcoFile, ColourTableFollowsDeclarationOrderAndTransparentPixelsAreBlack) {
    const Bytes b = encode_text(small_icon);
    const std::size_t table = 22 + 40;
    // RGBQUAD is blue, green, red, 0.
    EXPECT_EQ((Bytes{b[table], b[table + 1], b[table + 2], b[table + 3]}), (Bytes{0, 0, 255, 0}));  // R
    EXPECT_EQ((Bytes{b[table + 4], b[table + 5], b[table + 6]}), (Bytes{255, 0, 0}));           // B
    // Black was added for the transparent pixels, as entry 2.
    EXPECT_EQ((Bytes{b[table + 8], b[table + 9], b[table + 10]}), (Bytes{0, 0, 0}));
    const std::size_t pixels = table + 16 * 4;
    // Bottom row first: "BRRR..." is indexes 1, 0, 0, ...
    EXPECT_EQ(b[pixels], 0x10);
    EXPECT_EQ(b[pixels + 1], 0x00);
    // Last stored row is the top, transparent row: index 2 (black) everywhere.
    EXPECT_EQ(b[pixels + 15 * 8], 0x22);
    // Its mask row is all ones; the others all zeros.
    const std::size_t mask = pixels + 16 * 8;
    EXPECT_EQ(u32(b, mask), 0u);
    EXPECT_EQ(u32(b, mask + 15 * 4), 0x0000ffffu);  // 16 bits set, then 16 bits of padding left clear
}

TEST(IcoFile, EightBitTableHoldsOnlyTheImagesColours) {
    const std::string art = "kind icon\ncolour . transparent\ncolour G #00ff00\nimage 32x32 8bpp\n" +
                            rows(31, std::string(32, 'G')) + "." + std::string(31, 'G') + "\n";
    const Bytes b = encode_text(art);
    EXPECT_EQ(b[8], 0);  // 256 colours are written as 0
    EXPECT_EQ(u16(b, 12), 8u);
    EXPECT_EQ(u32(b, 14), 40u + 2 * 4 + 32 * 32 + 32 * 4);  // green, and black for the transparent pixel
    EXPECT_EQ(b.size(), 22u + u32(b, 14));
    EXPECT_EQ(u32(b, 22 + 32), 2u);  // biClrUsed
    const std::size_t table = 22 + 40, pixels = table + 2 * 4;
    EXPECT_EQ(u32(b, table), 0x0000ff00u);
    EXPECT_EQ(u32(b, table + 4), 0u);
    EXPECT_EQ(b[pixels], 1);  // bottom row first: the transparent pixel is black, entry 1
    EXPECT_EQ(b[pixels + 1], 0);
}

TEST(IcoFile, LargestImageIsStoredAsPngAndTheOthersAsBitmaps) {
    const std::string art = "kind icon\ncolour . transparent\ncolour R #ff000080\n"
                            "image 16x16 32bpp\n" + rows(16, std::string(16, 'R')) +
                            "image 256x256 32bpp png scale 128\nR.\n.R\n";
    const Bytes b = encode_text(art);
    ASSERT_EQ(u16(b, 4), 2u);
    const std::size_t png_entry = 6 + 16;
    EXPECT_EQ(b[png_entry], 0);      // 256 wide
    EXPECT_EQ(b[png_entry + 1], 0);  // 256 high
    EXPECT_EQ(b[png_entry + 2], 0);
    EXPECT_EQ(u16(b, png_entry + 4), 1u);
    EXPECT_EQ(u16(b, png_entry + 6), 32u);
    const std::size_t first = u32(b, 6 + 12), second = u32(b, png_entry + 12);
    EXPECT_EQ(first, 6u + 2 * 16);
    EXPECT_EQ(second, first + u32(b, 6 + 8));
    EXPECT_EQ(u32(b, 6 + 8), 40u + 16 * 16 * 4 + 16 * 4);  // the 16 px image stays a bitmap
    EXPECT_EQ(b.size(), second + u32(b, png_entry + 8));
    const auto png = b.begin() + static_cast<std::ptrdiff_t>(second);
    EXPECT_EQ(Bytes(png, png + 8), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}));
    EXPECT_EQ(u32(b, second + 16), 0x00010000u);  // IHDR width 256, big-endian
}
TEST(IcoFile, RowsOfOddWidthArePaddedTo32Bits) {
    // 5 pixels: 20 bits of colour and 5 bits of mask per row, each padded to 4 bytes.
    const std::string art =
        "kind icon\ncolour . transparent\ncolour W #ffffff\nimage 5x3 4bpp\n"
        ".WWWW\n"
        "WWWWW\n"
        "WWWW.\n";
    const Bytes b = encode_text(art);
    const std::uint32_t size = 40 + 16 * 4 + 3 * 4 + 3 * 4;
    EXPECT_EQ(u32(b, 14), size);
    ASSERT_EQ(b.size(), 22 + size);
    const std::size_t pixels = 22 + 40 + 64;
    // Bottom row "WWWW." : W is 0, black (transparent) is 1; padding bytes stay 0.
    EXPECT_EQ((Bytes{b[pixels], b[pixels + 1], b[pixels + 2], b[pixels + 3]}), (Bytes{0x00, 0x00, 0x10, 0x00}));
    const std::size_t mask = pixels + 12;
    EXPECT_EQ((Bytes{b[mask], b[mask + 1], b[mask + 2], b[mask + 3]}), (Bytes{0x08, 0, 0, 0}));  // bottom row
    EXPECT_EQ((Bytes{b[mask + 4], b[mask + 5], b[mask + 6], b[mask + 7]}), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ((Bytes{b[mask + 8], b[mask + 9], b[mask + 10], b[mask + 11]}), (Bytes{0x80, 0, 0, 0}));  // top row
}

TEST(IcoFile, MaskOfThirtyThreePixelRowTakesTwoWords) {
    EXPECT_EQ(row_bytes(33, 1), 8u);
    EXPECT_EQ(row_bytes(32, 1), 4u);
    EXPECT_EQ(row_bytes(1, 1), 4u);
    EXPECT_EQ(row_bytes(16, 4), 8u);
    EXPECT_EQ(row_bytes(3, 8), 4u);
    EXPECT_EQ(row_bytes(3, 32), 12u);
    const std::string art = "kind icon\ncolour . transparent\ncolour K #000000\nimage 33x1 1bpp\n" +
                            std::string(32, 'K') + ".\n";
    const Bytes b = encode_text(art);
    const std::size_t mask = 22 + 40 + 2 * 4 + 8;
    EXPECT_EQ(b.size(), mask + 8);
    EXPECT_EQ(u32(b, mask), 0u);
    EXPECT_EQ(b[mask + 4], 0x80);  // the 33rd pixel
}

TEST(IcoFile, ThirtyTwoBitPixelsKeepAlphaAndMask) {
    const std::string art =
        "kind icon\ncolour . transparent\ncolour S #10203080\ncolour O #405060\nimage 2x1 32bpp\nS.\n"
        "image 1x1 32bpp\nO\n";
    const Bytes b = encode_text(art);
    ASSERT_EQ(u16(b, 4), 2u);
    EXPECT_EQ(u16(b, 12), 32u);
    const std::size_t first = u32(b, 6 + 12);
    EXPECT_EQ(first, 6u + 2 * 16);
    const std::size_t pixels = first + 40;  // no colour table
    EXPECT_EQ((Bytes{b[pixels], b[pixels + 1], b[pixels + 2], b[pixels + 3]}), (Bytes{0x30, 0x20, 0x10, 0x80}));
    EXPECT_EQ((Bytes{b[pixels + 4], b[pixels + 5], b[pixels + 6], b[pixels + 7]}), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(b[pixels + 8], 0x40);  // mask: second pixel transparent
    const std::size_t second = u32(b, 6 + 16 + 12);
    EXPECT_EQ(second, first + u32(b, 6 + 8));
    EXPECT_EQ((Bytes{b[second + 40], b[second + 41], b[second + 42], b[second + 43]}), (Bytes{0x60, 0x50, 0x40, 255}));
}

TEST(IcoFile, CursorCarriesHotSpotAndBlackWhiteTable) {
    const std::string art =
        "kind cursor\ncolour . transparent\ncolour K #000000\ncolour W #ffffff\n"
        "image 32x32 1bpp hotspot 7 1\n" +
        rows(31, std::string(32, '.')) + "WK" + std::string(30, '.') + "\n";
    const Bytes b = encode_text(art);
    EXPECT_EQ(u16(b, 2), 2u);  // cursor
    EXPECT_EQ(b[6], 32);
    EXPECT_EQ(b[8], 2);         // two colours
    EXPECT_EQ(u16(b, 10), 7u);  // hot spot x in the planes field
    EXPECT_EQ(u16(b, 12), 1u);  // hot spot y in the bit-count field
    EXPECT_EQ(u32(b, 14), 40u + 8 + 32 * 4 + 32 * 4);
    EXPECT_EQ(u16(b, 22 + 14), 1u);  // the DIB itself is 1bpp
    const std::size_t table = 22 + 40;
    EXPECT_EQ(u32(b, table), 0x00000000u);      // black
    EXPECT_EQ(u32(b, table + 4), 0x00ffffffu);  // white
    const std::size_t pixels = table + 8;
    EXPECT_EQ(b[pixels], 0x80);  // bottom row: white, black, transparent (black)...
    const std::size_t mask = pixels + 32 * 4;
    EXPECT_EQ((Bytes{b[mask], b[mask + 1], b[mask + 2], b[mask + 3]}), (Bytes{0x3f, 0xff, 0xff, 0xff}));
    EXPECT_EQ(u32(b, mask + 4), 0xffffffffu);
}

TEST(IcoFile, LargestSizeIsWrittenAsZero) {
    const std::string art = "kind icon\ncolour K #000000\nimage 256x1 4bpp\n" + std::string(256, 'K') + "\n";
    const Bytes b = encode_text(art);
    EXPECT_EQ(b[6], 0);
    EXPECT_EQ(b[7], 1);
}

TEST(IcoFile, OutputKindComesFromTheExtension) {
    EXPECT_EQ(kind_for_path("out/program.ico"), Kind::icon);
    EXPECT_EQ(kind_for_path("HAND.CUR"), Kind::cursor);
    EXPECT_THROW(kind_for_path("hand.bmp"), ArtError);
    EXPECT_THROW(kind_for_path("dir.ico/hand"), ArtError);
}

TEST(ArtParser, CommentsBlankLinesCrLfAndPaletteReset) {
    const std::string art =
        "# a comment\r\n"
        "kind icon\r\n"
        "\r\n"
        "colour A #000000\r\n"
        "colour B #111111\r\n"
        "image 2x1 1bpp\r\n"
        "AA\r\n"
        "  # between images\r\n"
        "palette\r\n"
        "colour A #ffffff\r\n"
        "image 1x1 4bpp\r\n"
        "A\r\n";
    // B is not black or white, so the first image would fail if the palette were the one
    // given after it; it is checked against its own palette, which has B.
    EXPECT_NE(error_of(art).find("1bpp"), std::string::npos);
    const std::string ok =
        "kind icon\ncolour A #000000\nimage 2x1 1bpp\nAA\npalette\ncolour A #ffffff\ncolour C #123456\n"
        "image 1x1 4bpp\nA\n";
    const Art parsed = parse_art(ok, "ok.txt");
    ASSERT_EQ(parsed.images.size(), 2u);
    EXPECT_EQ(parsed.images[1].at(0, 0), (Rgba{255, 255, 255, 255}));
    EXPECT_EQ(parsed.images[1].table.size(), 2u);
}

TEST(ArtParser, ScaledDrawingBecomesWholePixelBlocks) {
    const std::string art =
        "kind icon\ncolour . transparent\ncolour A #102030\ncolour B #405060\n"
        "image 128x96 32bpp scale 32\n"
        "AB..\n"
        "BA..\n"
        "....\n";
    const Art parsed = parse_art(art, "scaled.txt");
    ASSERT_EQ(parsed.images.size(), 1u);
    const Image& img = parsed.images[0];
    EXPECT_EQ(img.width, 128);
    EXPECT_EQ(img.height, 96);
    EXPECT_EQ(img.scale, 32);
    const Rgba a{0x10, 0x20, 0x30, 255}, b{0x40, 0x50, 0x60, 255};
    EXPECT_EQ(img.at(0, 0), a);
    EXPECT_EQ(img.at(31, 31), a);
    EXPECT_EQ(img.at(32, 0), b);
    EXPECT_EQ(img.at(31, 32), b);
    EXPECT_EQ(img.at(32, 32), a);
    EXPECT_FALSE(img.clear(63, 63));
    EXPECT_TRUE(img.clear(64, 0));
    EXPECT_TRUE(img.clear(0, 64));
    EXPECT_TRUE(img.clear(127, 95));
    EXPECT_EQ(img.pixels.size(), 128u * 96);
}

struct BadArt {
    const char* what;
    std::string text;
    const char* message;  // a part of the error message
};

class ArtRejection : public testing::TestWithParam<BadArt> {};

TEST_P(ArtRejection, FailsWithClearMessage) {
    const auto& bad = GetParam();
    const std::string message = error_of(bad.text);
    EXPECT_NE(message.find(bad.message), std::string::npos) << bad.what << ": got \"" << message << "\"";
    EXPECT_EQ(message.rfind("bad.txt", 0), 0u) << message;
}

const std::string head = "kind icon\ncolour . transparent\ncolour K #000000\n";

INSTANTIATE_TEST_SUITE_P(
    Checks, ArtRejection,
    testing::Values(
        BadArt{"row too long", head + "image 2x2 4bpp\nKK\nKKK\n", "bad.txt:6: pixel row 2 of the 2x2 image has 3"},
        BadArt{"row too short", head + "image 2x2 4bpp\nK\nKK\n", "pixel row 1 of the 2x2 image has 1"},
        BadArt{"trailing blank", head + "image 2x1 4bpp\nKK \n", "has 3 characters, expected 2"},
        BadArt{"too few rows at end", head + "image 2x3 4bpp\nKK\nKK\n", "has only 2 of its 3 pixel rows"},
        BadArt{"too few rows before image", head + "image 2x3 4bpp\nKK\nimage 1x1 4bpp\nK\n",
               "bad.txt:6: the 2x3 image at line 4 has only 1 of its 3"},
        BadArt{"too many rows", head + "image 2x1 4bpp\nKK\nKK\n", "bad.txt:6: unexpected text 'KK'"},
        BadArt{"unknown character", head + "image 3x1 4bpp\nKZK\n", "bad.txt:5:2: 'Z' is not in the palette"},
        BadArt{"tab in row", head + "image 3x1 4bpp\nK\tK\n", "character code 9 is not in the palette"},
        BadArt{"palette too big for 4bpp",
               "kind icon\n" + [] {
                   std::string s;
                   for (int i = 0; i < 17; ++i) s += "colour " + std::string(1, char('a' + i)) + " #0000" +
                                                     (i < 10 ? "0" : "1") + std::to_string(i % 10) + "\n";
                   return s;
               }() + "image 1x1 4bpp\na\n",
               "the palette has 17 colours; a 4bpp image holds at most 16"},
        BadArt{"one bit icon in colour",
               "kind icon\ncolour . transparent\ncolour a #010101\ncolour b #020202\nimage 2x1 1bpp\nab\n",
               "takes only black"},
        BadArt{"transparency needs black",
               [] {
                   std::string s = "kind icon\ncolour . transparent\n";
                   for (int i = 0; i < 16; ++i) s += "colour " + std::string(1, char('a' + i)) + " #1000" +
                                                     (i < 10 ? "0" : "1") + std::to_string(i % 10) + "\n";
                   return s + "image 2x1 4bpp\na.\n";
               }(),
               "17 colours (counting black for the transparent pixels)"},
        BadArt{"alpha in paletted image", "kind icon\ncolour a #ff000080\nimage 1x1 8bpp\na\n",
               "only 32bpp images take alpha"},
        BadArt{"duplicate palette character", head + "colour K #ffffff\nimage 1x1 4bpp\nK\n",
               "bad.txt:4: 'K' is already in this palette (line 3)"},
        BadArt{"bad colour", "kind icon\ncolour a #12345\nimage 1x1 4bpp\na\n", "is not #RRGGBB"},
        BadArt{"bad hex", "kind icon\ncolour a #12345g\nimage 1x1 4bpp\na\n", "is not #RRGGBB"},
        BadArt{"hash as pixel", "kind icon\ncolour # #123456\n", "a pixel character is one printable"},
        BadArt{"unsupported depth", head + "image 1x1 24bpp\nK\n", "is not 1bpp, 4bpp, 8bpp or 32bpp"},
        BadArt{"size too big", head + "image 257x1 4bpp\n", "outside 1x1 to 256x256"},
        BadArt{"size zero", head + "image 0x1 4bpp\n", "outside 1x1 to 256x256"},
        BadArt{"size syntax", head + "image 16by16 4bpp\n", "is not WxH"},
        BadArt{"duplicate image", head + "image 1x1 4bpp\nK\nimage 1x1 4bpp\nK\n", "a second 1x1 4bpp image"},
        BadArt{"no kind", "colour K #000000\nimage 1x1 4bpp\nK\n", "must come before the first image"},
        BadArt{"kind twice", "kind icon\nkind cursor\n", "a second 'kind' line"},
        BadArt{"unknown kind", "kind bitmap\n", "expected 'kind icon' or 'kind cursor'"},
        BadArt{"unknown keyword", "kind icon\ncolor K #000000\n", "unknown keyword 'color'"},
        BadArt{"no images", "kind icon\ncolour K #000000\n", "no images"},
        BadArt{"hot spot on icon", head + "image 1x1 1bpp hotspot 0 0\nK\n", "an icon has no hot spot"},
        BadArt{"cursor without hot spot", "kind cursor\ncolour K #000000\nimage 1x1 1bpp\nK\n",
               "a cursor image needs 'hotspot X Y'"},
        BadArt{"cursor hot spot outside", "kind cursor\ncolour K #000000\nimage 2x2 1bpp hotspot 2 0\nKK\nKK\n",
               "hot spot 2 0 lies outside the 2x2 image"},
        BadArt{"cursor in colour", "kind cursor\ncolour K #000000\nimage 1x1 4bpp hotspot 0 0\nK\n",
               "cursor images are two-colour"},
        BadArt{"cursor colour not black or white",
               "kind cursor\ncolour R #ff0000\nimage 1x1 1bpp hotspot 0 0\nR\n", "is #ff0000"},
        BadArt{"png below 256", head + "image 64x64 32bpp png\n", "only a 256x256 32bpp image may be 'png'"},
        BadArt{"png in a palette", head + "image 256x256 8bpp png scale 128\nKK\nKK\n",
               "only a 256x256 32bpp image may be 'png'"},
        BadArt{"png twice", head + "image 256x256 32bpp png png\n", "unexpected 'png' after the depth"},
        BadArt{"scaled small image", head + "image 64x64 4bpp scale 2\n", "only images larger than 64 px"},
        BadArt{"scale not dividing", head + "image 96x96 4bpp scale 5\n", "scale 5 does not divide 96x96"},
        BadArt{"scale one", head + "image 96x96 4bpp scale 1\n", "scale '1' is not a whole number from 2"},
        BadArt{"scale missing", head + "image 96x96 4bpp scale\n", "unexpected 'scale'"},
        BadArt{"scaled rows full size", head + "image 96x96 4bpp scale 48\nKKK\nKK\n",
               "pixel row 1 of the 2x2 drawing of the 96x96 image has 3 characters, expected 2"},
        BadArt{"scaled rows too few", head + "image 96x96 4bpp scale 48\nKK\n",
               "the 2x2 drawing of the 96x96 image at line 4 has only 1 of its 2 pixel rows"},
        BadArt{"unknown option", head + "image 16x16 4bpp compressed\n", "unexpected 'compressed'"},
        BadArt{"scaled cursor", "kind cursor\ncolour K #000000\nimage 96x96 1bpp hotspot 0 0 scale 48\nKK\nKK\n",
               "a cursor image takes neither 'png' nor 'scale'"}),
    [](const testing::TestParamInfo<BadArt>& info) {
        std::string name;
        for (const char* p = info.param.what; *p; ++p) name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
        return name;
    });
