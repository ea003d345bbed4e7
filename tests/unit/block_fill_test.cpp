// Writing the optimizer's block: every byte, as 16-bit space characters, and not one more.
#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "win32/BlockFill.h"

namespace {

TEST(BlockFill, WritesSpaceCharactersIntoEveryByteAndNoFurther) {
    // Sizes around the page that is written first and then copied.
    for (std::size_t bytes : {0, 1, 2, 3, 4095, 4096, 4097, 8192, 8193, 12290}) {
        std::vector<unsigned char> memory(bytes + 16, 0xAB);
        tarvesk::FillWithSpaces(memory.data(), bytes);
        for (std::size_t i = 0; i < bytes; ++i) {
            ASSERT_EQ(memory[i], i % 2 == 0 ? 0x20 : 0x00) << "byte " << i << " of " << bytes;
        }
        for (std::size_t i = bytes; i < memory.size(); ++i) ASSERT_EQ(memory[i], 0xAB) << "past " << bytes;
    }
}

}  // namespace
