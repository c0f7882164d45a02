// SPDX-License-Identifier: MIT
#include "notificationicon.h"

#include <algorithm>
#include <array>

namespace veltaro {

namespace {

// Each character on a grid of three columns and five rows, as on a
// seven-segment display: the outer columns and the rows 0, 2 and 4 are
// the bars, one stroke thick; the middle column and rows 1 and 3 are the
// room between them. A row's three cells are its bits 2, 1 and 0, left to
// right.
using Glyph = std::array<std::uint8_t, 5>;

constexpr std::array<Glyph, 10> kDigitGlyphs = {{
    {0b111, 0b101, 0b101, 0b101, 0b111},  // 0
    {0b001, 0b001, 0b001, 0b001, 0b001},  // 1
    {0b111, 0b001, 0b111, 0b100, 0b111},  // 2
    {0b111, 0b001, 0b111, 0b001, 0b111},  // 3
    {0b101, 0b101, 0b111, 0b001, 0b001},  // 4
    {0b111, 0b100, 0b111, 0b001, 0b111},  // 5
    {0b111, 0b100, 0b111, 0b101, 0b111},  // 6
    {0b111, 0b001, 0b001, 0b001, 0b001},  // 7
    {0b111, 0b101, 0b111, 0b101, 0b111},  // 8
    {0b111, 0b101, 0b111, 0b001, 0b111},  // 9
}};
constexpr Glyph kDashGlyph = {0b000, 0b000, 0b111, 0b000, 0b000};

constexpr long long kLargestDrawn = 999;

// The bars' thickness for `count` characters: thinner the more there are,
// so that three digits keep a clear column between them at 16 pixels.
int strokeFor(int count, int side)
{
    switch (count) {
    case 1:
        return std::max(2, side / 8);
    case 2:
        return std::max(1, (side + 2) / 10);
    default:
        return std::max(1, (side + 4) / 14);
    }
}

void fill(IconPicture& picture, int left, int top, int width, int height)
{
    for (int y = top; y < top + height; ++y)
        std::fill_n(picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.side + left, width,
                    kIconDigitColour);
}

}  // namespace

IconPicture notificationIcon(std::optional<long long> celsius, int side)
{
    std::vector<const Glyph*> glyphs;
    if (celsius && *celsius >= 0 && *celsius <= kLargestDrawn) {
        long long rest = *celsius;
        do {
            glyphs.insert(glyphs.begin(), &kDigitGlyphs[static_cast<std::size_t>(rest % 10)]);
            rest /= 10;
        } while (rest > 0);
    } else {
        glyphs = {&kDashGlyph, &kDashGlyph};
    }

    IconPicture picture{side, std::vector<std::uint32_t>(static_cast<std::size_t>(side) * side, kIconBackgroundColour)};
    const int count = static_cast<int>(glyphs.size());
    // A margin of background all round keeps the digits off a panel of
    // their own colour.
    const int margin = std::max(1, side / 16);
    const int room = side - 2 * margin;
    const int stroke = strokeFor(count, side);
    const int gap = stroke;
    // Characters no wider than three fifths of their height.
    const int width = std::min((room - (count - 1) * gap) / count, room * 3 / 5);
    const int inner = width - 2 * stroke;
    const int upper = (room - 3 * stroke) / 2;
    const std::array<int, 3> columnLeft = {0, stroke, stroke + inner};
    const std::array<int, 3> columnWidth = {stroke, inner, stroke};
    const std::array<int, 5> rowTop = {0, stroke, stroke + upper, 2 * stroke + upper, room - stroke};
    const std::array<int, 5> rowHeight = {stroke, upper, stroke, room - 3 * stroke - upper, stroke};

    int left = (side - (count * width + (count - 1) * gap)) / 2;
    for (const Glyph* glyph : glyphs) {
        for (std::size_t row = 0; row < rowTop.size(); ++row) {
            for (std::size_t column = 0; column < columnLeft.size(); ++column) {
                if (((*glyph)[row] >> (2 - column) & 1) != 0)
                    fill(picture, left + columnLeft[column], margin + rowTop[row], columnWidth[column], rowHeight[row]);
            }
        }
        left += width + gap;
    }
    return picture;
}

std::wstring fitWholeLines(const std::wstring& text, std::size_t limit)
{
    std::size_t end = 0;
    while (end < text.size()) {
        const std::size_t lineEnd = std::min(text.find(L'\n', end), text.size());
        if (lineEnd > limit)
            break;
        end = lineEnd + 1;
    }
    // `end` lies past the break that follows the last line that fits.
    return end == 0 ? std::wstring() : text.substr(0, end - 1);
}

}  // namespace veltaro
