// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <ostream>

#include "canvas.h"
#include "gifreader.h"
#include "gifwriter.h"

namespace veltaro::testing {
namespace {

using pictures::Canvas;
using pictures::Rgb;

std::vector<Rgb> greyPalette(int entries)
{
    std::vector<Rgb> palette;
    for (int i = 0; i < entries; ++i) {
        const auto level = static_cast<std::uint8_t>(i * 255 / (entries - 1));
        palette.push_back({level, level, level});
    }
    return palette;
}

Canvas paint(int width, int height, int colours, const std::function<int(int, int)>& index)
{
    Canvas canvas(width, height, greyPalette(colours), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            canvas.set(x, y, static_cast<std::uint8_t>(index(x, y) % colours));
        }
    }
    return canvas;
}

// Cheap deterministic noise: every pixel a new string, so the code table
// fills and has to be cleared again and again.
int noise(int x, int y)
{
    std::uint32_t v = static_cast<std::uint32_t>(y * 7919 + x) * 2654435761u;
    v ^= v >> 15;
    return static_cast<int>(v & 0xFFu);
}

struct RoundTripCase {
    const char* name;
    int width;
    int height;
    int colours;
    std::function<int(int, int)> index;

    friend void PrintTo(const RoundTripCase& row, std::ostream* out) { *out << row.name; }
};

class GifWriterRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(GifWriterRoundTrip, IndependentReaderGetsThePixelsBack)
{
    const RoundTripCase& row = GetParam();
    const Canvas canvas = paint(row.width, row.height, row.colours, row.index);
    const GifFile gif = parseGif(pictures::encodeGif(canvas));
    ASSERT_EQ(gif.frames.size(), 1u);
    EXPECT_EQ(gif.globalColours.size(), static_cast<std::size_t>(row.colours));
    EXPECT_EQ(gif.frames[0].indices, canvas.indices());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pictures, GifWriterRoundTrip,
    ::testing::Values(
        RoundTripCase{"one_pixel_two_colours", 1, 1, 2, [](int, int) { return 1; }},
        RoundTripCase{"one_colour_long_strings", 300, 300, 4, [](int, int) { return 3; }},
        RoundTripCase{"noise_fills_the_table_many_times", 160, 160, 256, noise},
        RoundTripCase{"stripes_in_32_colours", 100, 100, 32, [](int x, int y) { return (x / 3 + y / 5) * 7; }},
        RoundTripCase{"checker_in_16_colours", 64, 48, 16, [](int x, int y) { return (x ^ y) & 15; }}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// The last code before the end code is where the widths of writer and
// reader part most easily: the reader may widen for it. Sweep the length so
// that streams end on and next to every step in code width from 3 to 7 bits.
TEST(GifWriter, StreamsOfEveryLengthUpTo600PixelsDecode)
{
    for (int length = 1; length <= 600; ++length) {
        SCOPED_TRACE(length);
        const Canvas canvas = paint(length, 1, 4, [](int x, int) { return (x * x / 3 + x) & 3; });
        const auto codes = pictures::lzwCompress(canvas.indices(), 2);
        EXPECT_EQ(lzwDecode(codes, 2, static_cast<std::size_t>(length)), canvas.indices());
    }
}

}  // namespace
}  // namespace veltaro::testing
