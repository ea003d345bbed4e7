#include "art.hpp"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>

namespace icongen {
namespace {

struct Line {
    std::string_view text;  // without the line break
    int number;             // from 1
};

std::vector<Line> split_lines(std::string_view text) {
    std::vector<Line> lines;
    int number = 1;
    while (!text.empty()) {
        const auto end = text.find('\n');
        auto line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back({line, number++});
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool is_blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && is_blank(text[i])) ++i;
        const auto start = i;
        while (i < text.size() && !is_blank(text[i])) ++i;
        if (i > start) out.push_back(text.substr(start, i - start));
    }
    return out;
}

bool is_keyword(std::string_view word) {
    return word == "kind" || word == "palette" || word == "colour" || word == "image";
}

bool is_pixel_char(char c) { return c > ' ' && c < 127 && c != '#'; }

std::string quoted(char c) {
    if (c > ' ' && c < 127) return std::string("'") + c + "'";
    std::ostringstream s;
    s << "character code " << static_cast<int>(static_cast<unsigned char>(c));
    return s.str();
}

// Parses a whole decimal number; nothing else may follow.
std::optional<int> to_int(std::string_view text) {
    int value = 0;
    if (text.empty() || text.size() > 6) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::optional<std::uint8_t> hex_byte(std::string_view two) {
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(two.data(), two.data() + two.size(), value, 16);
    if (ec != std::errc{} || end != two.data() + two.size()) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::string hex(const Rgba& c) {
    static const char digits[] = "0123456789abcdef";
    std::string s = "#";
    for (auto v : {c.r, c.g, c.b}) {
        s += digits[v >> 4];
        s += digits[v & 15];
    }
    return s;
}

struct PaletteEntry {
    char ch;
    bool transparent;
    Rgba colour;
    int line;
};

constexpr Rgba black{0, 0, 0, 255};
constexpr Rgba white{255, 255, 255, 255};

class Parser {
public:
    explicit Parser(const std::string& name) : name_(name) {}

    Art parse(std::string_view text) {
        const auto lines = split_lines(text);
        std::size_t i = 0;
        while (i < lines.size()) {
            const Line& line = lines[i++];
            const auto w = words(line.text);
            if (w.empty() || w[0].front() == '#') continue;
            if (w[0] == "kind") {
                kind_line(line, w);
            } else if (w[0] == "palette") {
                if (w.size() != 1) fail(line.number, "'palette' takes nothing after it");
                palette_.clear();
            } else if (w[0] == "colour") {
                colour_line(line, w);
            } else if (w[0] == "image") {
                i = image(lines, i - 1);
            } else if (!art_.images.empty()) {
                fail(line.number, "unexpected text '" + std::string(w[0]) +
                                      "' (more pixel rows than the image above is high?)");
            } else {
                fail(line.number, "unknown keyword '" + std::string(w[0]) +
                                      "' (expected kind, palette, colour or image)");
            }
        }
        if (!have_kind_) fail(0, "no 'kind icon' or 'kind cursor' line");
        if (art_.images.empty()) fail(0, "no images");
        return art_;
    }

private:
    [[noreturn]] void fail(int line, const std::string& message) const {
        throw ArtError(name_ + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + message);
    }
    [[noreturn]] void fail(int line, int column, const std::string& message) const {
        throw ArtError(name_ + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " + message);
    }

    void kind_line(const Line& line, const std::vector<std::string_view>& w) {
        if (have_kind_) fail(line.number, "a second 'kind' line");
        if (!art_.images.empty()) fail(line.number, "'kind' must come before the first image");
        if (w.size() != 2 || (w[1] != "icon" && w[1] != "cursor"))
            fail(line.number, "expected 'kind icon' or 'kind cursor'");
        art_.kind = w[1] == "icon" ? Kind::icon : Kind::cursor;
        have_kind_ = true;
    }

    void colour_line(const Line& line, const std::vector<std::string_view>& w) {
        if (w.size() != 3)
            fail(line.number, "expected 'colour X #RRGGBB', 'colour X #RRGGBBAA' or 'colour X transparent'");
        if (w[1].size() != 1 || !is_pixel_char(w[1][0]))
            fail(line.number, "a pixel character is one printable character other than blank and '#', not '" +
                                  std::string(w[1]) + "'");
        const char ch = w[1][0];
        for (const auto& e : palette_)
            if (e.ch == ch)
                fail(line.number, quoted(ch) + " is already in this palette (line " + std::to_string(e.line) + ")");
        PaletteEntry entry{ch, false, {}, line.number};
        const auto value = w[2];
        if (value == "transparent") {
            entry.transparent = true;
        } else {
            const auto bad = [&] {
                fail(line.number, "colour '" + std::string(value) + "' is not #RRGGBB, #RRGGBBAA or 'transparent'");
            };
            if (value.front() != '#' || (value.size() != 7 && value.size() != 9)) bad();
            std::uint8_t parts[4] = {0, 0, 0, 255};
            for (std::size_t k = 0; 1 + 2 * k < value.size(); ++k) {
                const auto byte = hex_byte(value.substr(1 + 2 * k, 2));
                if (!byte) bad();
                parts[k] = *byte;
            }
            entry.colour = {parts[0], parts[1], parts[2], parts[3]};
        }
        palette_.push_back(entry);
    }

    // Reads what may follow an image's depth ('png', 'scale S', 'hotspot X Y') into `img` and
    // checks it against the kind and size; returns whether the image is scaled.
    bool options(const Line& head, const std::vector<std::string_view>& w, Image& img) const {
        const auto size = w[1], depth = w[2];
        bool scaled = false;
        for (std::size_t k = 3; k < w.size();) {
            const auto option = w[k];
            if (option == "png" && !img.png) {
                img.png = true;
                k += 1;
            } else if (option == "scale" && !scaled && k + 1 < w.size()) {
                const auto s = to_int(w[k + 1]);
                if (!s || *s < 2)
                    fail(head.number, "scale '" + std::string(w[k + 1]) + "' is not a whole number from 2");
                img.scale = *s;
                scaled = true;
                k += 2;
            } else if (option == "hotspot" && !img.hotspot && k + 2 < w.size()) {
                const auto hx = to_int(w[k + 1]);
                const auto hy = to_int(w[k + 2]);
                if (!hx || !hy) fail(head.number, "hot spot '" + std::string(w[k + 1]) + " " + std::string(w[k + 2]) +
                                                      "' is not two whole numbers");
                if (*hx < 0 || *hx >= img.width || *hy < 0 || *hy >= img.height)
                    fail(head.number, "hot spot " + std::to_string(*hx) + " " + std::to_string(*hy) +
                                          " lies outside the " + std::string(size) + " image");
                img.hotspot = HotSpot{*hx, *hy};
                k += 3;
            } else {
                fail(head.number, "unexpected '" + std::string(option) +
                                      "' after the depth (expected 'png', 'scale S' or 'hotspot X Y', each once)");
            }
        }
        if (art_.kind == Kind::cursor) {
            if (img.bpp != 1) fail(head.number, "cursor images are two-colour: 1bpp, not " + std::string(depth));
            if (!img.hotspot) fail(head.number, "a cursor image needs 'hotspot X Y'");
            if (img.png || scaled) fail(head.number, "a cursor image takes neither 'png' nor 'scale'");
        } else if (img.hotspot) {
            fail(head.number, "an icon has no hot spot (use 'kind cursor' for a cursor)");
        }
        if (img.png && (img.width != 256 || img.height != 256 || img.bpp != 32))
            fail(head.number, "only a 256x256 32bpp image may be 'png': older Windows cannot read PNG, and "
                              "never picks a 256 px image");
        if (scaled) {
            if (img.width <= 64 && img.height <= 64)
                fail(head.number, "a " + std::string(size) + " image is drawn at its own size: only images larger "
                                  "than 64 px may be scaled");
            if (img.width % img.scale != 0 || img.height % img.scale != 0)
                fail(head.number, "scale " + std::to_string(img.scale) + " does not divide " + std::string(size));
        }
        return scaled;
    }

    // Parses the image whose header is lines[at]; returns the index of the line after its rows.
    std::size_t image(const std::vector<Line>& lines, std::size_t at) {
        const Line& head = lines[at];
        const auto w = words(head.text);
        if (!have_kind_) fail(head.number, "'kind icon' or 'kind cursor' must come before the first image");

        Image img;
        if (w.size() < 3) fail(head.number, "expected 'image WxH Nbpp', then 'png', 'scale S' or 'hotspot X Y'");
        const auto size = w[1];
        const auto x = size.find('x');
        const auto width = x == std::string_view::npos ? std::nullopt : to_int(size.substr(0, x));
        const auto height = x == std::string_view::npos ? std::nullopt : to_int(size.substr(x + 1));
        if (!width || !height) fail(head.number, "size '" + std::string(size) + "' is not WxH");
        if (*width < 1 || *width > 256 || *height < 1 || *height > 256)
            fail(head.number, "size " + std::string(size) + " is outside 1x1 to 256x256");
        img.width = *width;
        img.height = *height;

        const auto depth = w[2];
        const auto bpp = depth.size() > 3 && depth.ends_with("bpp") ? to_int(depth.substr(0, depth.size() - 3))
                                                                    : std::nullopt;
        if (!bpp || (*bpp != 1 && *bpp != 4 && *bpp != 8 && *bpp != 32))
            fail(head.number, "depth '" + std::string(depth) + "' is not 1bpp, 4bpp, 8bpp or 32bpp");
        img.bpp = *bpp;

        const bool scaled = options(head, w, img);
        for (const auto& other : art_.images)
            if (other.width == img.width && other.height == img.height && other.bpp == img.bpp)
                fail(head.number, "a second " + std::string(size) + " " + std::string(depth) + " image");

        // Pixel rows, drawn at 1/scale of the image's size.
        const int drawn_width = img.width / img.scale, drawn_height = img.height / img.scale;
        const std::string drawn = std::to_string(drawn_width) + "x" + std::to_string(drawn_height);
        const std::string what = scaled ? "the " + drawn + " drawing of the " + std::string(size) + " image"
                                        : "the " + std::string(size) + " image";
        bool any_transparent = false;
        std::vector<Rgba> pixels;
        std::vector<bool> transparent;
        for (int row = 0; row < drawn_height; ++row) {
            const std::size_t k = at + 1 + static_cast<std::size_t>(row);
            const auto short_by = [&] {
                return what + " at line " + std::to_string(head.number) + " has only " + std::to_string(row) +
                       " of its " + std::to_string(drawn_height) + " pixel rows";
            };
            if (k >= lines.size()) fail(head.number, short_by() + " before the end of the file");
            const Line& line = lines[k];
            const auto lw = words(line.text);
            if (!lw.empty() && is_keyword(lw[0])) fail(line.number, short_by());
            if (static_cast<int>(line.text.size()) != drawn_width)
                fail(line.number, "pixel row " + std::to_string(row + 1) + " of " + what + " has " +
                                      std::to_string(line.text.size()) + " characters, expected " +
                                      std::to_string(drawn_width));
            for (int col = 0; col < drawn_width; ++col) {
                const char ch = line.text[static_cast<std::size_t>(col)];
                const auto e = std::find_if(palette_.begin(), palette_.end(),
                                            [ch](const PaletteEntry& p) { return p.ch == ch; });
                if (e == palette_.end()) fail(line.number, col + 1, quoted(ch) + " is not in the palette");
                const bool clear = e->transparent || e->colour.a == 0;
                any_transparent = any_transparent || clear;
                pixels.push_back(clear ? Rgba{0, 0, 0, 0} : e->colour);
                transparent.push_back(clear);
            }
        }
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                const auto k = static_cast<std::size_t>((y / img.scale) * drawn_width + x / img.scale);
                img.pixels.push_back(pixels[k]);
                img.transparent.push_back(transparent[k]);
            }

        if (img.bpp <= 8) img.table = colour_table(head, img.bpp, any_transparent);
        art_.images.push_back(std::move(img));
        return at + 1 + static_cast<std::size_t>(drawn_height);
    }

    std::vector<Rgba> colour_table(const Line& head, int bpp, bool any_transparent) const {
        std::vector<Rgba> table;
        for (const auto& e : palette_) {
            if (e.transparent) continue;
            if (e.colour.a != 255)
                fail(head.number, "colour " + quoted(e.ch) + " (line " + std::to_string(e.line) +
                                      ") has alpha; only 32bpp images take alpha");
            if (bpp == 1 && e.colour != black && e.colour != white)
                fail(head.number, "a 1bpp image takes only black #000000 and white #ffffff, but " + quoted(e.ch) +
                                      " (line " + std::to_string(e.line) + ") is " + hex(e.colour));
            if (std::find(table.begin(), table.end(), e.colour) == table.end()) table.push_back(e.colour);
        }
        if (bpp == 1) return {black, white};
        if (any_transparent && std::find(table.begin(), table.end(), black) == table.end()) table.push_back(black);
        const std::size_t room = std::size_t{1} << bpp;
        if (table.size() > room)
            fail(head.number, "the palette has " + std::to_string(table.size()) + " colours" +
                                  (any_transparent ? " (counting black for the transparent pixels)" : "") +
                                  "; a " + std::to_string(bpp) + "bpp image holds at most " + std::to_string(room));
        return table;
    }

    const std::string& name_;
    Art art_;
    bool have_kind_ = false;
    std::vector<PaletteEntry> palette_;
};

}  // namespace

Art parse_art(std::string_view text, const std::string& name) { return Parser(name).parse(text); }

Art read_art(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ArtError(path + ": cannot open the file");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw ArtError(path + ": cannot read the file");
    return parse_art(text.str(), path);
}

}  // namespace icongen
