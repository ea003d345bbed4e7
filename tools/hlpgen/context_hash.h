// Context names and their hash values.
//
// Help files of the 3.1 format find topics by a 32-bit hash of the topic's
// context name. Each character of the name maps to a small value ('A'..'Z'
// and 'a'..'z' to 17..42, '1'..'9' to 1..9, '0' to 10, '.' to 12, '_' to 13)
// and hash = hash * 43 + value over the name, starting from 0, modulo 2^32.
// The hash ignores case, so "Contents" and "contents" are the same topic.
#pragma once

#include <cstdint>
#include <string_view>

namespace hlpgen {

// A context name we accept: a letter followed by letters, digits, '_' or '.',
// at most 255 characters. (Those are the characters the 3.1 format allows;
// starting with a letter also makes the name a valid HTML anchor.)
bool isValidContextName(std::string_view name);

// The hash of a valid context name, as the unsigned 32-bit pattern stored in
// the file. Throws std::invalid_argument for a name that is not valid.
std::uint32_t contextHash(std::string_view name);

// The same value read as the signed 32-bit number that orders |CONTEXT keys.
std::int32_t contextHashKey(std::string_view name);

} // namespace hlpgen
