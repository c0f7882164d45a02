// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bytereader.h"
#include "icoreader.h"

namespace veltaro::testing {
namespace {

struct ImageShape {
    int side;
    int bits;
};

struct IconCase {
    const char* name;
    const char* file;
    std::vector<ImageShape> images;
};

const IconCase kIcons[] = {
    {"program_icon", "veltaro.ico", {{32, 8}}},
    {"envelope_pointer", "envelope.ico", {{32, 4}, {16, 4}}},
    {"program_icon_2x", "veltaro@2x.ico", {{64, 8}}},
    {"envelope_pointer_2x", "envelope@2x.ico", {{64, 4}}},
};

std::size_t stride(int width, int bits)
{
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
}

IcoFile load(const IconCase& icon)
{
    return parseIco(readBytes(std::string(VELTARO_RESOURCES_DIR) + "/" + icon.file));
}

TEST(IconFiles, DirectoryAndBitmapsDescribeTheImagesBackToBack)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE(icon.name);
        const auto bytes = readBytes(std::string(VELTARO_RESOURCES_DIR) + "/" + icon.file);
        const IcoFile ico = parseIco(bytes);
        EXPECT_EQ(ico.reserved, 0);
        EXPECT_EQ(ico.type, 1);
        ASSERT_EQ(ico.entries.size(), icon.images.size());

        std::size_t expectedOffset = 6 + 16 * ico.entries.size();
        for (std::size_t i = 0; i < icon.images.size(); ++i) {
            SCOPED_TRACE(i);
            const ImageShape& shape = icon.images[i];
            const IcoEntry& entry = ico.entries[i];
            EXPECT_EQ(entry.width, shape.side);
            EXPECT_EQ(entry.height, shape.side);
            // Colour count is 0 for 256 colours and more.
            EXPECT_EQ(entry.colourCount, shape.bits == 8 ? 0 : 1 << shape.bits);
            EXPECT_EQ(entry.reserved, 0);
            EXPECT_EQ(entry.planes, 1);
            EXPECT_EQ(entry.bitCount, shape.bits);
            const std::size_t size =
                40 + 4 * (std::size_t{1} << shape.bits) +
                static_cast<std::size_t>(shape.side) * (stride(shape.side, shape.bits) + stride(shape.side, 1));
            EXPECT_EQ(entry.bytes, size);
            EXPECT_EQ(entry.offset, expectedOffset);
            const IcoBitmap& bmp = ico.images[i];
            EXPECT_EQ(bmp.width, shape.side);
            EXPECT_EQ(bmp.height, 2 * shape.side);  // colour image and mask
            EXPECT_EQ(bmp.planes, 1);
            EXPECT_EQ(bmp.bitCount, shape.bits);
            EXPECT_EQ(bmp.palette.size(), std::size_t{1} << shape.bits);
            EXPECT_EQ(bmp.end, static_cast<std::size_t>(entry.offset) + entry.bytes);
            expectedOffset += size;
        }
        EXPECT_EQ(bytes.size(), expectedOffset);
    }
}

// Windows draws (screen AND mask) XOR colour: where the mask lets the
// screen through, a colour other than black would tint it.
TEST(IconFiles, MaskShowsSomeScreenAndItIsLeftUntinted)
{
    for (const IconCase& icon : kIcons) {
        SCOPED_TRACE(icon.name);
        const IcoFile ico = load(icon);
        for (std::size_t i = 0; i < ico.images.size(); ++i) {
            SCOPED_TRACE(i);
            const IcoBitmap& bmp = ico.images[i];
            const auto clear = std::count(bmp.masked.begin(), bmp.masked.end(), true);
            const auto opaque = static_cast<long>(bmp.masked.size()) - clear;
            EXPECT_GT(clear, 0);
            EXPECT_GE(opaque, static_cast<long>(bmp.masked.size()) / 4);
            int tinted = 0;
            for (std::size_t p = 0; p < bmp.masked.size(); ++p) {
                if (bmp.masked[p] && bmp.palette[bmp.indices[p]] != std::array<std::uint8_t, 3>{0, 0, 0}) {
                    ++tinted;
                }
            }
            EXPECT_EQ(tinted, 0);
        }
    }
}

// As a mouse pointer the envelope's hot spot is the middle of the picture,
// so the envelope must sit centred on it.
TEST(IconFiles, EnvelopeIsCentredOnThePointersHotSpot)
{
    std::vector<IcoBitmap> images = load(kIcons[1]).images;
    const std::vector<IcoBitmap> doubled = load(kIcons[3]).images;
    images.insert(images.end(), doubled.begin(), doubled.end());
    for (const IcoBitmap& bmp : images) {
        SCOPED_TRACE(bmp.width);
        const int side = bmp.width;
        int left = side;
        int right = -1;
        int top = side;
        int bottom = -1;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                if (!bmp.masked[static_cast<std::size_t>(y) * side + x]) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        ASSERT_GE(right, 0);
        // Twice the centre, so that half pixels stay whole numbers.
        EXPECT_NEAR(left + right + 1, side, 1);
        EXPECT_NEAR(top + bottom + 1, side, 1);
        EXPECT_GE(right - left + 1, side * 3 / 4) << "too small to read as a pointer";
    }
}

}  // namespace
}  // namespace veltaro::testing
