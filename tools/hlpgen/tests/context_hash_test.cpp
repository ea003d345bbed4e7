// Context hashes, against values worked out by hand from the published
// definition: value('A'..'Z', 'a'..'z') = 17..42, '1'..'9' = 1..9, '0' = 10,
// '.' = 12, '_' = 13; hash = hash * 43 + value, from 0, modulo 2^32.
#include "context_hash.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace hlpgen {
namespace {

TEST(ContextHash, MatchesHandWorkedValues)
{
    EXPECT_EQ(contextHash("A"), 17u);
    EXPECT_EQ(contextHash("Z"), 42u);
    EXPECT_EQ(contextHash("ab"), 17u * 43 + 18);  // 749
    EXPECT_EQ(contextHash("a0"), 17u * 43 + 10);  // '0' counts 10
    EXPECT_EQ(contextHash("a9"), 17u * 43 + 9);
    EXPECT_EQ(contextHash("a."), 17u * 43 + 12);
    EXPECT_EQ(contextHash("a_"), 17u * 43 + 13);
    // c=19 o=31 n=30 t=36 e=21 n=30 t=36 s=35:
    //   19 -> 848 -> 36494 -> 1569278 -> 67478975 -> 2901595955
    //   -> 124768626101 mod 2^32 = 214574517 -> 9226704266 mod 2^32 = 636769674
    EXPECT_EQ(contextHash("contents"), 636769674u);
}

TEST(ContextHash, WrapsModulo2To32)
{
    // n times 'z' (42) sums 42 * (43^(n-1) + ... + 1) = 43^n - 1.
    // 43^6 - 1 = 6321363048, which is 2026395752 modulo 2^32.
    EXPECT_EQ(contextHash("zzzzzz"), 2026395752u);
    EXPECT_EQ(contextHash("zzzzz"), 147008442u); // 43^5 - 1, no wrap yet
}

TEST(ContextHash, IgnoresCase)
{
    EXPECT_EQ(contextHash("CONTENTS"), contextHash("contents"));
    EXPECT_EQ(contextHash("Tray_Mode.2"), contextHash("tray_mode.2"));
}

TEST(ContextHash, SignedKeyIsTheTwosComplementReading)
{
    // "overview" hashes to 2551221821, above 2^31: a negative |CONTEXT key.
    EXPECT_EQ(contextHash("overview"), 2551221821u);
    EXPECT_EQ(contextHashKey("overview"), static_cast<std::int32_t>(2551221821LL - 4294967296LL));
    EXPECT_EQ(contextHashKey("contents"), 636769674);
}

TEST(ContextHash, AcceptsOnlyLettersDigitsUnderscoreAndDot)
{
    EXPECT_TRUE(isValidContextName("a"));
    EXPECT_TRUE(isValidContextName("tray_mode.v2"));
    EXPECT_TRUE(isValidContextName(std::string(255, 'x')));
    for (const char* bad : {"", "1abc", "_a", ".a", "a-b", "a b", "a|b", "caf\xe9"}) {
        EXPECT_FALSE(isValidContextName(bad)) << bad;
        EXPECT_THROW(contextHash(bad), std::invalid_argument) << bad;
    }
    EXPECT_FALSE(isValidContextName(std::string(256, 'x')));
}

} // namespace
} // namespace hlpgen
