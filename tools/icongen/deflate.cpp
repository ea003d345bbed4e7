#include "deflate.hpp"

#include <algorithm>
#include <array>

namespace icongen {
namespace {

constexpr std::size_t kWindow = 32768;  // the largest distance deflate can express
constexpr std::size_t kMinMatch = 3;
constexpr std::size_t kMaxMatch = 258;
constexpr int kMaxChain = 256;  // candidates tried per position
constexpr unsigned kHashBits = 15;

// Base values and extra bits of the length codes 257..285 and the distance codes 0..29.
constexpr std::array<unsigned, 29> kLengthBase = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<int, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                              2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<unsigned, 30> kDistanceBase = {1,    2,    3,    4,    5,    7,     9,     13,    17,  25,
                                                    33,   49,   65,   97,   129,  193,   257,   385,   513, 769,
                                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<int, 30> kDistanceExtra = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                                6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// Index of the last entry of a sorted table that is at most `value`.
template <std::size_t N>
std::size_t code_for(const std::array<unsigned, N>& base, std::size_t value) {
    return static_cast<std::size_t>(std::upper_bound(base.begin(), base.end(), value) - base.begin()) - 1;
}

// Deflate packs bits from the least significant end of each byte; Huffman codes go in
// most significant bit first.
class BitWriter {
public:
    explicit BitWriter(std::vector<std::uint8_t>& out) : out_(out) {}

    void bits(std::uint32_t value, int count) {
        acc_ |= value << used_;
        used_ += count;
        while (used_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(acc_ & 0xff));
            acc_ >>= 8;
            used_ -= 8;
        }
    }
    void code(std::uint32_t value, int length) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < length; ++i) reversed |= ((value >> i) & 1u) << (length - 1 - i);
        bits(reversed, length);
    }
    void flush() {
        if (used_ > 0) out_.push_back(static_cast<std::uint8_t>(acc_ & 0xff));
        acc_ = 0;
        used_ = 0;
    }

private:
    std::vector<std::uint8_t>& out_;
    std::uint32_t acc_ = 0;
    int used_ = 0;
};

// The fixed literal/length code (RFC 1951, 3.2.6).
void literal_or_length(BitWriter& out, unsigned symbol) {
    if (symbol < 144) out.code(0x30 + symbol, 8);
    else if (symbol < 256) out.code(0x190 + symbol - 144, 9);
    else if (symbol < 280) out.code(symbol - 256, 7);
    else out.code(0xc0 + symbol - 280, 8);
}

void match(BitWriter& out, std::size_t length, std::size_t distance) {
    const auto l = code_for(kLengthBase, length);
    literal_or_length(out, static_cast<unsigned>(257 + l));
    out.bits(static_cast<std::uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    const auto d = code_for(kDistanceBase, distance);
    out.code(static_cast<std::uint32_t>(d), 5);
    out.bits(static_cast<std::uint32_t>(distance - kDistanceBase[d]), kDistanceExtra[d]);
}

void deflate_fixed(std::span<const std::uint8_t> data, std::vector<std::uint8_t>& bytes) {
    BitWriter out(bytes);
    out.bits(1, 1);  // the final block
    out.bits(1, 2);  // fixed Huffman codes

    const std::size_t n = data.size();
    std::vector<std::int32_t> head(std::size_t{1} << kHashBits, -1);
    std::vector<std::int32_t> previous(n, -1);
    const auto hash = [&](std::size_t p) {
        return ((unsigned{data[p]} << 10) ^ (unsigned{data[p + 1]} << 5) ^ data[p + 2]) & ((1u << kHashBits) - 1);
    };
    const auto insert = [&](std::size_t p) {
        if (p + kMinMatch > n) return;
        const auto h = hash(p);
        previous[p] = head[h];
        head[h] = static_cast<std::int32_t>(p);
    };

    std::size_t i = 0;
    while (i < n) {
        std::size_t best_length = 0, best_distance = 0;
        if (i + kMinMatch <= n) {
            const std::size_t longest = std::min(kMaxMatch, n - i);
            int chain = kMaxChain;
            for (std::int32_t c = head[hash(i)]; c >= 0 && i - static_cast<std::size_t>(c) <= kWindow && chain-- > 0;
                 c = previous[static_cast<std::size_t>(c)]) {
                const auto candidate = static_cast<std::size_t>(c);
                std::size_t length = 0;
                while (length < longest && data[candidate + length] == data[i + length]) ++length;
                if (length > best_length) {
                    best_length = length;
                    best_distance = i - candidate;
                    if (length == longest) break;
                }
            }
        }
        if (best_length >= kMinMatch) {
            match(out, best_length, best_distance);
            for (std::size_t k = 0; k < best_length; ++k) insert(i + k);
            i += best_length;
        } else {
            literal_or_length(out, data[i]);
            insert(i);
            ++i;
        }
    }
    literal_or_length(out, 256);  // end of block
    out.flush();
}

}  // namespace

std::uint32_t adler32(std::span<const std::uint8_t> data) {
    std::uint32_t a = 1, b = 0;
    for (const auto byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

std::vector<std::uint8_t> zlib_compress(std::span<const std::uint8_t> data) {
    // CMF: deflate with a 32 KB window; FLG makes the pair a multiple of 31, no dictionary.
    std::vector<std::uint8_t> out = {0x78, 0x01};
    deflate_fixed(data, out);
    const auto check = adler32(data);
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(check >> shift));
    return out;
}

}  // namespace icongen
