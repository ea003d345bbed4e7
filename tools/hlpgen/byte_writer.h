// Little-endian byte writing for the help file's binary structures, and the
// one error type raised when a value does not fit the field meant for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace hlpgen {

using Bytes = std::vector<std::uint8_t>;

// A value that the help file format cannot hold (a page overflowing, a count
// beyond its field). Raised instead of ever writing a wrapped-around number.
class FormatLimitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Narrows an integer, refusing values that do not fit the target type.
template <typename To, typename From>
To checkedNarrow(From value, std::string_view what)
{
    if (!std::in_range<To>(value)) {
        throw FormatLimitError(std::string(what) + " does not fit its field (" +
                               std::to_string(value) + ")");
    }
    return static_cast<To>(value);
}

class ByteWriter {
public:
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v)
    {
        u8(static_cast<std::uint8_t>(v & 0xFFu));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void i16(std::int16_t v) { u16(static_cast<std::uint16_t>(v)); }
    void u32(std::uint32_t v)
    {
        u16(static_cast<std::uint16_t>(v & 0xFFFFu));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void append(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void text(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
    // A NUL-terminated string (the format's STRINGZ).
    void stringz(std::string_view s)
    {
        text(s);
        u8(0);
    }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, std::uint8_t{0}); }

    std::size_t size() const { return bytes_.size(); }
    const Bytes& bytes() const { return bytes_; }
    Bytes take() { return std::move(bytes_); }

private:
    Bytes bytes_;
};

// Overwrites a 32-bit little-endian value at a known position.
inline void patchU32(Bytes& b, std::size_t at, std::uint32_t v)
{
    if (at + 4 > b.size()) throw std::out_of_range("patchU32 outside the buffer");
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

} // namespace hlpgen
