// The project's own art, as the resources build uses it: every size Windows asks for is
// there, drawn at that size, and each tray picture keeps what defines it at every size.
#include "art.hpp"
#include "icofile.hpp"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

using namespace icongen;

namespace {

const std::filesystem::path art_dir = TARVESK_ART_DIR;

// The small-icon sizes at 96, 120, 144 and 192 DPI: the tray pictures' sizes.
const std::vector<int> tray_sizes = {16, 20, 24, 32};
// What Windows asks of a program's icon, from the title bar at 96 DPI to Vista's large views.
const std::vector<int> program_sizes = {16, 20, 24, 32, 40, 48, 64, 256};

const Rgba black{0, 0, 0, 255}, red{255, 0, 0, 255}, yellow{255, 255, 0, 255}, green{0, 255, 0, 255};

Art project_art(const std::string& name) {
    const auto path = art_dir / name;
    if (!std::filesystem::exists(path)) throw std::runtime_error("missing " + path.string());
    return read_art(path.string());
}

const Image* find_image(const Art& art, int size) {
    for (const auto& img : art.images)
        if (img.width == size && img.height == size) return &img;
    return nullptr;
}

std::vector<int> sizes_of(const Art& art) {
    std::vector<int> sizes;
    for (const auto& img : art.images) {
        EXPECT_EQ(img.width, img.height);
        sizes.push_back(img.width);
    }
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

bool is(const Image& img, int x, int y, Rgba colour) { return !img.clear(x, y) && img.at(x, y) == colour; }

bool has_opaque(const Image& img, Rgba colour) {
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (is(img, x, y, colour)) return true;
    return false;
}

// The larger of the opaque pixels' width and height.
int drawn_extent(const Image& img) {
    int left = img.width, right = -1, top = img.height, bottom = -1;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            if (!img.clear(x, y)) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return std::max(right - left, bottom - top) + 1;
}

// Every image up to 64 px is drawn at its own size; the tray sizes in 16 colours.
void expect_drawn_sizes(const Art& art, const std::string& name) {
    for (const auto& img : art.images) {
        if (img.width <= 64) {
            EXPECT_EQ(img.scale, 1) << name << " " << img.width;
        }
        EXPECT_EQ(img.png, img.width == 256) << name << " " << img.width;
        // A picture fills its size: it is not a smaller drawing with a wide margin.
        EXPECT_GE(drawn_extent(img), img.width * 3 / 4) << name << " " << img.width;
    }
}

// The slots of a gauge, from the bottom up: each a list of rows, each row its columns.
using Slot = std::vector<std::vector<std::pair<int, int>>>;

// In the empty gauge every slot pixel is black; a slot is a run of rows holding black.
std::vector<Slot> slots_of(const Image& empty) {
    std::vector<Slot> slots;
    bool in_slot = false;
    for (int y = 0; y < empty.height; ++y) {
        std::vector<std::pair<int, int>> row;
        for (int x = 0; x < empty.width; ++x)
            if (is(empty, x, y, black)) row.emplace_back(x, y);
        if (row.empty()) {
            in_slot = false;
            continue;
        }
        if (!in_slot) slots.insert(slots.begin(), Slot{});
        slots.front().push_back(row);
        in_slot = true;
    }
    return slots;
}

// How a slot of a level picture is filled: every pixel of the slot in `fill` for the
// bottom `filled` rows, black above them.
void expect_slot(const Image& img, const Slot& slot, int filled, Rgba fill, const std::string& what) {
    const int rows = static_cast<int>(slot.size());
    for (int r = 0; r < rows; ++r) {
        const bool full = r >= rows - filled;
        for (const auto& [x, y] : slot[static_cast<std::size_t>(r)])
            EXPECT_TRUE(is(img, x, y, full ? fill : black)) << what << " at " << x << "," << y;
    }
}

}  // namespace

TEST(ProjectArt, ProgramIconHasEverySizeIn256Colours) {
    const Art art = project_art("program.txt");
    EXPECT_EQ(art.kind, Kind::icon);
    EXPECT_EQ(sizes_of(art), program_sizes);
    for (const auto& img : art.images)
        EXPECT_EQ(img.bpp, img.width == 256 ? 32 : 8) << img.width;
    expect_drawn_sizes(art, "program");
}

TEST(ProjectArt, AgentIconHasEverySizeIn16Colours) {
    const Art art = project_art("agent.txt");
    EXPECT_EQ(sizes_of(art), program_sizes);
    for (const auto& img : art.images)
        EXPECT_EQ(img.bpp, img.width == 256 ? 32 : 4) << img.width;
    expect_drawn_sizes(art, "agent");
}

TEST(ProjectArt, TrayPicturesHaveEachSmallIconSizeIn16Colours) {
    for (const char* name : {"gauge102.txt", "gauge103.txt", "gauge104.txt", "gauge105.txt", "gauge106.txt",
                             "warning108.txt", "chip101.txt"}) {
        const Art art = project_art(name);
        EXPECT_EQ(art.kind, Kind::icon) << name;
        for (int size : tray_sizes) {
            const Image* img = find_image(art, size);
            ASSERT_NE(img, nullptr) << name << " has no " << size << " px image";
            EXPECT_EQ(img->bpp, 4) << name << " " << size;
        }
        expect_drawn_sizes(art, name);
    }
    // The chip is also the windows' icon, which the taskbar and Alt+Tab show large.
    EXPECT_EQ(sizes_of(project_art("chip101.txt")), (std::vector<int>{16, 20, 24, 32, 40, 48, 64}));
    for (const char* name : {"gauge102.txt", "gauge103.txt", "gauge104.txt", "gauge105.txt", "gauge106.txt",
                             "warning108.txt"})
        EXPECT_EQ(sizes_of(project_art(name)), tray_sizes) << name;
}

// The five tray pictures are one gauge of four slots at different levels, at every size.
TEST(ProjectArt, GaugesShowTheirLevelsAtEverySize) {
    const Art arts[] = {project_art("gauge102.txt"), project_art("gauge103.txt"), project_art("gauge104.txt"),
                        project_art("gauge105.txt"), project_art("gauge106.txt")};
    for (int size : tray_sizes) {
        const std::string at = " at " + std::to_string(size) + " px";
        const Image* level[5];
        for (int k = 0; k < 5; ++k) {
            level[k] = find_image(arts[k], size);
            ASSERT_NE(level[k], nullptr) << "gauge" << 102 + k << at;
        }
        const Image &g102 = *level[0], &g103 = *level[1], &g104 = *level[2], &empty = *level[3], &g106 = *level[4];

        const std::vector<Slot> slots = slots_of(empty);
        ASSERT_EQ(slots.size(), 4u) << "gauge105" << at << " has " << slots.size() << " slots";
        EXPECT_FALSE(has_opaque(empty, red) || has_opaque(empty, yellow) || has_opaque(empty, green)) << at;

        // One frame: only the slots' pixels differ between the pictures.
        for (int k : {0, 1, 2, 4})
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) {
                    if (is(empty, x, y, black)) continue;
                    const std::string where = "gauge" + std::to_string(102 + k) + at + " " + std::to_string(x) + "," +
                                              std::to_string(y);
                    EXPECT_EQ(level[k]->clear(x, y), empty.clear(x, y)) << where;
                    EXPECT_EQ(level[k]->at(x, y), empty.at(x, y)) << where;
                }

        const auto rows = [&](std::size_t s) { return static_cast<int>(slots[s].size()); };
        // 104: only a thin red line, the bottom rows of the lowest slot (at most a third of it).
        int red_rows = 0;
        for (const auto& row : slots[0]) red_rows += is(g104, row.front().first, row.front().second, red);
        EXPECT_GE(red_rows, 1) << "gauge104" << at;
        EXPECT_LE(red_rows, rows(0) / 3) << "gauge104" << at;
        expect_slot(g104, slots[0], red_rows, red, "gauge104" + at);
        for (std::size_t s : {1, 2, 3}) expect_slot(g104, slots[s], 0, black, "gauge104" + at);
        // 103: the bottom slot yellow.
        expect_slot(g103, slots[0], rows(0), yellow, "gauge103" + at);
        for (std::size_t s : {1, 2, 3}) expect_slot(g103, slots[s], 0, black, "gauge103" + at);
        // 102: the bottom two slots green.
        for (std::size_t s : {0, 1}) expect_slot(g102, slots[s], rows(s), green, "gauge102" + at);
        for (std::size_t s : {2, 3}) expect_slot(g102, slots[s], 0, black, "gauge102" + at);
        // 106: the bottom two green and the third two thirds green, to the nearest row.
        for (std::size_t s : {0, 1}) expect_slot(g106, slots[s], rows(s), green, "gauge106" + at);
        expect_slot(g106, slots[2], static_cast<int>(std::lround(2.0 * rows(2) / 3.0)), green, "gauge106" + at);
        // The top slot is empty in every picture.
        for (const Image* img : level) expect_slot(*img, slots[3], 0, black, "top slot" + at);
        // Three slots of one height over the top one, which is no taller.
        EXPECT_EQ(slots[0].size(), slots[1].size()) << at;
        EXPECT_EQ(slots[1].size(), slots[2].size()) << at;
        EXPECT_LE(slots[3].size(), slots[2].size()) << at;
    }
}

// A yellow triangle, widening downwards, with a black exclamation mark inside it.
TEST(ProjectArt, WarningIsAYellowTriangleWithABlackMarkAtEverySize) {
    const Art art = project_art("warning108.txt");
    for (int size : tray_sizes) {
        const Image* img = find_image(art, size);
        ASSERT_NE(img, nullptr) << size;
        EXPECT_TRUE(has_opaque(*img, yellow)) << size;
        int widest = 0, mark_rows = 0;
        for (int y = 0; y < size; ++y) {
            int opaque = 0;
            for (int x = 0; x < size; ++x) {
                opaque += !img->clear(x, y);
                if (!is(*img, x, y, black)) continue;
                // Every black pixel of the mark has yellow somewhere to its left and right.
                bool left = false, right = false;
                for (int k = 0; k < x; ++k) left = left || is(*img, k, y, yellow);
                for (int k = x + 1; k < size; ++k) right = right || is(*img, k, y, yellow);
                EXPECT_TRUE(left && right) << size << " px: black at " << x << "," << y << " is outside the triangle";
            }
            bool black_row = false;
            for (int x = 0; x < size; ++x) black_row = black_row || is(*img, x, y, black);
            mark_rows += black_row;
            if (opaque > 0) {
                EXPECT_GE(opaque, widest) << size << " px: row " << y << " is narrower than the one above";
                widest = std::max(widest, opaque);
            }
        }
        EXPECT_GE(mark_rows, size / 3) << size << " px: the mark is too short";
    }
}

// The .ico files as the resources build writes them: one entry per size, bitmaps with the
// art's depth below 256 px, and a 256 px PNG that decodes to the drawing.
namespace {

using Bytes = std::vector<std::uint8_t>;

std::uint32_t le(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int k = n - 1; k >= 0; --k) v = v << 8 | b.at(at + static_cast<std::size_t>(k));
    return v;
}
std::uint32_t be32(const Bytes& b, std::size_t at) {
    return std::uint32_t{b.at(at)} << 24 | std::uint32_t{b.at(at + 1)} << 16 | std::uint32_t{b.at(at + 2)} << 8 |
           b.at(at + 3);
}

// The RGBA rows of a PNG file written with unfiltered rows, as zlib reads its image data.
Bytes png_pixels(const Bytes& png, int width, int height) {
    Bytes idat;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        const auto chunk = png.begin() + static_cast<std::ptrdiff_t>(at);
        if (std::string(chunk + 4, chunk + 8) == "IDAT") idat.insert(idat.end(), chunk + 8, chunk + 8 + length);
        at += 12 + length;
    }
    const std::size_t row = 1 + 4 * static_cast<std::size_t>(width);
    Bytes rows(row * static_cast<std::size_t>(height));
    uLongf size = static_cast<uLongf>(rows.size());
    if (uncompress(rows.data(), &size, idat.data(), static_cast<uLong>(idat.size())) != Z_OK || size != rows.size())
        return {};
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        if (rows[static_cast<std::size_t>(y) * row] != 0) return {};  // only unfiltered rows are expected
        pixels.insert(pixels.end(), rows.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y) * row + 1),
                      rows.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(y + 1) * row));
    }
    return pixels;
}

}  // namespace

TEST(ProjectIcons, EntriesHoldEachSizeAtItsDepthAndTheLargestAsPng) {
    for (const char* name : {"program.txt", "agent.txt", "chip101.txt", "gauge102.txt", "gauge103.txt", "gauge104.txt",
                             "gauge105.txt", "gauge106.txt", "warning108.txt"}) {
        const Art art = project_art(name);
        const Bytes ico = encode(art);
        ASSERT_EQ(le(ico, 4, 2), art.images.size()) << name;
        for (std::size_t k = 0; k < art.images.size(); ++k) {
            const Image& img = art.images[k];
            const std::string what = std::string(name) + " " + std::to_string(img.width) + " px";
            const std::size_t entry = 6 + 16 * k;
            EXPECT_EQ(ico[entry] == 0 ? 256 : ico[entry], img.width) << what;
            EXPECT_EQ(le(ico, entry + 6, 2), static_cast<std::uint32_t>(img.bpp)) << what;
            const std::size_t at = le(ico, entry + 12, 4), size = le(ico, entry + 8, 4);
            ASSERT_LE(at + size, ico.size()) << what;
            const auto start = ico.begin() + static_cast<std::ptrdiff_t>(at);
            const Bytes data(start, start + static_cast<std::ptrdiff_t>(size));
            if (img.width < 256) {
                EXPECT_EQ(le(data, 0, 4), 40u) << what << ": not a bitmap";
                EXPECT_EQ(le(data, 4, 4), static_cast<std::uint32_t>(img.width)) << what;
                EXPECT_EQ(le(data, 14, 2), static_cast<std::uint32_t>(img.bpp)) << what;
                continue;
            }
            ASSERT_GE(data.size(), 33u) << what;
            EXPECT_EQ(Bytes(data.begin(), data.begin() + 8), (Bytes{0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'}))
                << what;
            EXPECT_EQ(be32(data, 16), 256u) << what;
            EXPECT_EQ(be32(data, 20), 256u) << what;
            const Bytes pixels = png_pixels(data, 256, 256);
            ASSERT_EQ(pixels.size(), 256u * 256 * 4) << what << ": the image data does not decode";
            int differences = 0;
            for (int y = 0; y < 256; ++y)
                for (int x = 0; x < 256; ++x) {
                    const std::size_t p = 4 * static_cast<std::size_t>(y * 256 + x);
                    const Rgba c = img.clear(x, y) ? Rgba{0, 0, 0, 0} : img.at(x, y);
                    differences += Rgba{pixels[p], pixels[p + 1], pixels[p + 2], pixels[p + 3]} != c;
                }
            EXPECT_EQ(differences, 0) << what;
        }
    }
}

TEST(ProjectArt, HandCursorHotSpotIsOnTheFingertip) {
    const Art art = project_art("hand.txt");
    ASSERT_EQ(art.kind, Kind::cursor);
    ASSERT_EQ(art.images.size(), 1u);
    const Image& hand = art.images[0];
    EXPECT_EQ(hand.width, 32);
    EXPECT_EQ(hand.height, 32);
    EXPECT_EQ(hand.bpp, 1);
    ASSERT_TRUE(hand.hotspot);
    EXPECT_EQ(hand.hotspot->x, 7);
    EXPECT_EQ(hand.hotspot->y, 1);
    // The hot spot is on the finger, and nothing of the hand lies above the fingertip's outline.
    EXPECT_FALSE(hand.clear(7, 1));
    EXPECT_FALSE(hand.clear(7, 0));
    for (int x = 0; x < 32; ++x)
        if (x < 6 || x > 8) {
            EXPECT_TRUE(hand.clear(x, 0)) << "column " << x;
        }
}

TEST(ProjectArt, EveryArtFileParses) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(art_dir)) {
        if (entry.path().extension() != ".txt") continue;
        ++files;
        EXPECT_NO_THROW(read_art(entry.path().string())) << entry.path();
    }
    EXPECT_EQ(files, 10);
}
