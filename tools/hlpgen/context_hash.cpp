#include "context_hash.h"

#include <stdexcept>
#include <string>

namespace hlpgen {
namespace {

bool isLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The per-character value of the context hash; 0 for characters a context
// name may not contain.
std::uint32_t charValue(char c)
{
    if (c >= 'A' && c <= 'Z') return static_cast<std::uint32_t>(c - 'A' + 17);
    if (c >= 'a' && c <= 'z') return static_cast<std::uint32_t>(c - 'a' + 17);
    if (c >= '1' && c <= '9') return static_cast<std::uint32_t>(c - '0');
    if (c == '0') return 10;
    if (c == '.') return 12;
    if (c == '_') return 13;
    return 0;
}

} // namespace

bool isValidContextName(std::string_view name)
{
    if (name.empty() || name.size() > 255 || !isLetter(name.front())) return false;
    for (char c : name) {
        if (!isLetter(c) && !isDigit(c) && c != '_' && c != '.') return false;
    }
    return true;
}

std::uint32_t contextHash(std::string_view name)
{
    if (!isValidContextName(name)) {
        throw std::invalid_argument("not a valid context name: '" + std::string(name) + "'");
    }
    // Unsigned arithmetic: the hash is defined modulo 2^32.
    std::uint32_t hash = 0;
    for (char c : name) hash = hash * 43u + charValue(c);
    return hash;
}

std::int32_t contextHashKey(std::string_view name)
{
    const std::uint32_t h = contextHash(name);
    // Two's-complement reading of the stored pattern, without relying on a
    // narrowing conversion.
    return h <= 0x7FFFFFFFu ? static_cast<std::int32_t>(h)
                            : -static_cast<std::int32_t>(~h) - 1;
}

} // namespace hlpgen
