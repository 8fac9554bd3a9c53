#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<unsigned char> iconFile() {
    std::ifstream in(HENGCHI_ICO, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t le(const std::vector<unsigned char>& b, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
    }
    return v;
}

// Windows shows the icon in every size it needs from these five images: 24-bit colour each,
// with a 1-bit mask for transparency, no alpha channel and no PNG inside.
TEST(WindowIcon, HoldsFiveSizesOfTwentyFourBitColourWithAMask) {
    const std::vector<unsigned char> ico = iconFile();
    ASSERT_GE(ico.size(), 6U);
    EXPECT_EQ(le(ico, 0, 2), 0U); // reserved
    EXPECT_EQ(le(ico, 2, 2), 1U); // an icon, not a cursor
    ASSERT_EQ(le(ico, 4, 2), 5U);

    const std::uint32_t sizes[] = {64, 48, 32, 24, 16};
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(sizes[i]);
        const std::size_t entry = 6 + 16 * i;
        const std::uint32_t size = sizes[i];
        EXPECT_EQ(le(ico, entry, 1), size);
        EXPECT_EQ(le(ico, entry + 1, 1), size);
        EXPECT_EQ(le(ico, entry + 6, 2), 24U);
        const std::uint32_t bytes = le(ico, entry + 8, 4);
        const std::uint32_t offset = le(ico, entry + 12, 4);
        ASSERT_LE(offset + bytes, ico.size());

        EXPECT_EQ(le(ico, offset, 4), 40U);          // BITMAPINFOHEADER, not a PNG
        EXPECT_EQ(le(ico, offset + 4, 4), size);     // width
        EXPECT_EQ(le(ico, offset + 8, 4), 2 * size); // colour and mask stacked
        EXPECT_EQ(le(ico, offset + 14, 2), 24U);     // bits per pixel
        const std::uint32_t colourRow = (size * 3 + 3) / 4 * 4;
        const std::uint32_t maskRow = (size + 31) / 32 * 4;
        EXPECT_EQ(bytes, 40 + size * colourRow + size * maskRow);
    }
}

} // namespace
