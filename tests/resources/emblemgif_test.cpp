// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "gifpicture.h"
#include "gifreader.h"

namespace veltaro::testing {
namespace {

constexpr int kClear = 27;

// The emblem and its double for screens of twice the density: the same
// file structure, the opaque square scaled with the picture.
struct EmblemCase {
    const char* name;
    const char* file;
    int side;
    int squareLeft;
    int squareSide;
};

const EmblemCase kEmblems[] = {
    {"emblem", "emblem.gif", 100, 13, 74},
    {"emblem_2x", "emblem@2x.gif", 200, 26, 148},
};

class EmblemGif : public ::testing::TestWithParam<EmblemCase> {
protected:
    void SetUp() override { m_gif = parseGif(readBytes(std::string(VELTARO_RESOURCES_DIR "/") + GetParam().file)); }
    GifFile m_gif;
};

TEST_P(EmblemGif, HasASquareScreenWithA32ColourGlobalTable)
{
    EXPECT_EQ(m_gif.signature, "GIF89a");
    EXPECT_EQ(m_gif.width, GetParam().side);
    EXPECT_EQ(m_gif.height, GetParam().side);
    EXPECT_TRUE(m_gif.globalTable);
    EXPECT_EQ(m_gif.colourResolutionBits, 5);
    ASSERT_EQ(m_gif.globalColours.size(), 32u);
    EXPECT_EQ(m_gif.backgroundIndex, kClear);
    EXPECT_EQ(m_gif.globalColours[kClear], (std::array<std::uint8_t, 3>{255, 255, 255}));
}

TEST_P(EmblemGif, IsOneStillFrameWithIndex27Transparent)
{
    ASSERT_EQ(m_gif.controls.size(), 1u);
    EXPECT_TRUE(m_gif.controls[0].transparentFlag);
    EXPECT_EQ(m_gif.controls[0].transparentIndex, kClear);
    EXPECT_EQ(m_gif.controls[0].delay, 0);
    EXPECT_TRUE(m_gif.applications.empty()) << "no loop block: " << m_gif.applications.front();

    ASSERT_EQ(m_gif.frames.size(), 1u);
    const GifFrame& frame = m_gif.frames[0];
    EXPECT_EQ(frame.left, 0);
    EXPECT_EQ(frame.top, 0);
    EXPECT_EQ(frame.width, GetParam().side);
    EXPECT_EQ(frame.height, GetParam().side);
    EXPECT_FALSE(frame.localTable);
    EXPECT_FALSE(frame.interlaced);
}

TEST_P(EmblemGif, OpaqueExactlyInItsSquare)
{
    ASSERT_EQ(m_gif.frames.size(), 1u);
    const int side = GetParam().side;
    const int first = GetParam().squareLeft;
    const int last = first + GetParam().squareSide - 1;
    const auto& pixels = m_gif.frames[0].indices;
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(side * side));
    int wrong = 0;
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const bool inSquare = x >= first && x <= last && y >= first && y <= last;
            const bool clear = pixels[static_cast<std::size_t>(y) * side + x] == kClear;
            if (inSquare == clear && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << (clear ? "clear" : "opaque");
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_P(EmblemGif, OpaqueSquareIsAPictureNotAFlatFill)
{
    ASSERT_EQ(m_gif.frames.size(), 1u);
    std::array<bool, 256> used{};
    for (std::uint8_t index : m_gif.frames[0].indices) {
        used[index] = true;
    }
    EXPECT_GE(std::count(used.begin(), used.end(), true), 20);
}

INSTANTIATE_TEST_SUITE_P(Emblems, EmblemGif, ::testing::ValuesIn(kEmblems),
                         [](const auto& info) { return std::string(info.param.name); });

// A 24 x 24 picture in four colours written by an unrelated GIF encoder.
// Reading it right shows that the reader above follows the format and not
// merely this project's writer.
const std::uint8_t kForeignGif[] = {
    0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x18, 0x00, 0x18, 0x00, 0xF1, 0x00, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00,
    0xFF, 0xFF, 0x00, 0x00, 0x80, 0xFF, 0x21, 0xF9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2C, 0x00, 0x00, 0x00, 0x00,
    0x18, 0x00, 0x18, 0x00, 0x00, 0x02, 0x8F, 0x84, 0x83, 0xA3, 0xC2, 0x06, 0x18, 0xD4, 0x60, 0xE2, 0x0D, 0x8B, 0x63,
    0xBE, 0x3A, 0x8A, 0x20, 0x5C, 0x03, 0x18, 0x00, 0xD7, 0x17, 0x9A, 0xA4, 0x09, 0x84, 0x48, 0xEB, 0x96, 0xCC, 0x28,
    0xC7, 0xAD, 0x44, 0x39, 0x10, 0xDE, 0x1C, 0x49, 0x35, 0x31, 0x01, 0x87, 0xC2, 0x62, 0x70, 0x75, 0x02, 0x89, 0x90,
    0x2D, 0xA5, 0x0A, 0x46, 0x83, 0xBE, 0x66, 0x53, 0x97, 0x2E, 0xB1, 0xE8, 0x3D, 0xB0, 0x93, 0x46, 0x87, 0x03, 0xDE,
    0x6C, 0x50, 0xCB, 0x0F, 0x8B, 0xAC, 0x32, 0x9F, 0xA2, 0xD4, 0x1A, 0xDB, 0x16, 0xCA, 0x56, 0x7C, 0x11, 0xF9, 0xD5,
    0x63, 0x24, 0x06, 0xF7, 0x44, 0x26, 0x7A, 0xA4, 0xD6, 0x94, 0x32, 0x22, 0xE5, 0x56, 0xF5, 0x46, 0x48, 0xC7, 0x33,
    0xB7, 0x55, 0xD7, 0x55, 0xF1, 0x25, 0x16, 0xF9, 0xF5, 0xE7, 0xE7, 0x04, 0x58, 0xB2, 0x76, 0xB8, 0x69, 0x28, 0xB3,
    0x78, 0xF7, 0xA9, 0xA8, 0x37, 0x9A, 0x57, 0x64, 0x39, 0x78, 0xBA, 0x54, 0xB8, 0xDA, 0x26, 0x55, 0x00, 0x00, 0x3B,
};

TEST(GifReader, ReadsAPictureFromAnotherEncoder)
{
    const GifFile gif = parseGif({std::begin(kForeignGif), std::end(kForeignGif)});
    ASSERT_EQ(gif.frames.size(), 1u);
    const auto& pixels = gif.frames[0].indices;
    ASSERT_EQ(pixels.size(), 24u * 24u);

    // The picture was made as colour ((x / 3) + (y / 2) * 3 + x * y) mod 4
    // of black, red, sky blue, yellow; the encoder chose its own order.
    const std::array<std::array<std::uint8_t, 3>, 4> colours = {{{0, 0, 0}, {255, 0, 0}, {0, 128, 255}, {255, 255, 0}}};
    int wrong = 0;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 24; ++x) {
            const auto expected = colours[static_cast<std::size_t>(((x / 3) + (y / 2) * 3 + x * y) % 4)];
            if (gif.globalColours.at(pixels[static_cast<std::size_t>(y) * 24 + x]) != expected) {
                ++wrong;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

std::vector<std::uint8_t> resource(const char* file)
{
    return readBytes(std::string(VELTARO_RESOURCES_DIR "/") + file);
}

// The Windows face's own decoder draws what the strict reader reads.
TEST(GifPicture, DecodesWhatTheStrictReaderReads)
{
    for (const auto& bytes : {resource("emblem.gif"), resource("emblem@2x.gif"),
                              std::vector<std::uint8_t>(std::begin(kForeignGif), std::end(kForeignGif))}) {
        const GifFile gif = parseGif(bytes);
        const auto picture = decodeGif(bytes);
        SCOPED_TRACE(gif.width);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->width, gif.width);
        EXPECT_EQ(picture->height, gif.height);
        EXPECT_EQ(picture->indices, gif.frames.at(0).indices);
        EXPECT_EQ(picture->transparentIndex,
                  gif.controls.at(0).transparentFlag ? gif.controls.at(0).transparentIndex : -1);
        for (std::size_t i = 0; i < gif.globalColours.size(); ++i) {
            const auto [r, g, b] = gif.globalColours[i];
            EXPECT_EQ(picture->colours[i], std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b) << i;
        }
    }
}

TEST(GifPicture, GivesNothingForATruncatedOrMalformedFile)
{
    const auto emblem = resource("emblem.gif");
    ASSERT_TRUE(decodeGif(emblem).has_value());
    for (std::size_t cut = 0; cut + 1 < emblem.size(); ++cut)
        EXPECT_FALSE(decodeGif({emblem.data(), cut}).has_value()) << "cut at " << cut;

    // Offsets into the other encoder's picture: the signature, the screen's
    // width, the image's introducer, flags and code size, its first code.
    const std::pair<std::size_t, std::uint8_t> kFaults[] = {
        {0, 'X'}, {6, 0}, {33, 0x3B}, {42, 0x40}, {43, 1}, {43, 9}, {45, 0xFF},
    };
    for (const auto& [offset, value] : kFaults) {
        std::vector<std::uint8_t> bytes(std::begin(kForeignGif), std::end(kForeignGif));
        bytes[offset] = value;
        EXPECT_FALSE(decodeGif(bytes).has_value()) << offset << " = " << int{value};
    }
}

}  // namespace
}  // namespace veltaro::testing
