// SPDX-License-Identifier: MIT
#include "icowriter.h"

#include <stdexcept>

#include "bytewriter.h"

namespace veltaro::pictures {
namespace {

constexpr std::uint32_t kDirectoryBytes = 6;
constexpr std::uint32_t kEntryBytes = 16;
constexpr std::uint32_t kInfoHeaderBytes = 40;

// BMP rows are padded to whole 32-bit words.
std::uint32_t rowBytes(int width, int bitsPerPixel)
{
    return ((static_cast<std::uint32_t>(width) * static_cast<std::uint32_t>(bitsPerPixel) + 31) / 32) * 4;
}

std::uint32_t paletteEntries(const IcoImage& image)
{
    return 1u << image.bitsPerPixel;
}

std::uint32_t imageBytes(const IcoImage& image)
{
    const auto height = static_cast<std::uint32_t>(image.canvas.height());
    return kInfoHeaderBytes + 4 * paletteEntries(image) + height * rowBytes(image.canvas.width(), image.bitsPerPixel) +
           height * rowBytes(image.canvas.width(), 1);
}

void check(const IcoImage& image)
{
    const Canvas& canvas = image.canvas;
    if (image.bitsPerPixel != 4 && image.bitsPerPixel != 8) {
        throw std::invalid_argument("icon images are written at 4 or 8 bits per pixel");
    }
    if (canvas.width() > 256 || canvas.height() > 256) {
        throw std::invalid_argument("icon images are at most 256 pixels on a side");
    }
    if (canvas.palette().size() > paletteEntries(image)) {
        throw std::invalid_argument("icon palette has more entries than its bit depth holds");
    }
    if (canvas.palette().front() != Rgb{0, 0, 0}) {
        throw std::invalid_argument("icon palette entry 0 must be black");
    }
}

void writeImage(ByteWriter& ico, const IcoImage& image)
{
    const Canvas& canvas = image.canvas;
    const int width = canvas.width();
    const int height = canvas.height();
    const std::uint32_t colourRow = rowBytes(width, image.bitsPerPixel);
    const std::uint32_t maskRow = rowBytes(width, 1);
    const auto rows = static_cast<std::uint32_t>(height);

    ico.u32(kInfoHeaderBytes);
    ico.u32(static_cast<std::uint32_t>(width));
    ico.u32(2 * rows);  // colour image and mask, one above the other
    ico.u16(1);
    ico.u16(static_cast<std::uint16_t>(image.bitsPerPixel));
    ico.u32(0);  // uncompressed
    ico.u32(rows * (colourRow + maskRow));
    ico.u32(0);
    ico.u32(0);
    ico.u32(0);
    ico.u32(0);

    const auto& palette = canvas.palette();
    for (std::uint32_t i = 0; i < paletteEntries(image); ++i) {
        const Rgb colour = i < palette.size() ? palette[i] : Rgb{};
        ico.u8(colour.b);
        ico.u8(colour.g);
        ico.u8(colour.r);
        ico.u8(0);
    }

    auto masked = [&](int x, int y) { return canvas.at(x, y) == canvas.transparent(); };

    // Both bitmaps are stored bottom row first.
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourRow, 0);
        for (int x = 0; x < width; ++x) {
            const std::uint8_t index = masked(x, y) ? 0 : canvas.at(x, y);
            if (image.bitsPerPixel == 8) {
                row[static_cast<std::size_t>(x)] = index;
            } else {
                const int shift = (x % 2 == 0) ? 4 : 0;
                row[static_cast<std::size_t>(x / 2)] |= static_cast<std::uint8_t>(index << shift);
            }
        }
        ico.append(row);
    }
    for (int y = height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < width; ++x) {
            if (masked(x, y)) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
            }
        }
        ico.append(row);
    }
}

}  // namespace

std::vector<std::uint8_t> encodeIco(const std::vector<IcoImage>& images)
{
    if (images.empty() || images.size() > 0xFFFF) {
        throw std::invalid_argument("an icon file holds 1 to 65535 images");
    }
    for (const IcoImage& image : images) {
        check(image);
    }

    ByteWriter ico;
    ico.u16(0);
    ico.u16(1);  // icon, not cursor
    ico.u16(static_cast<std::uint16_t>(images.size()));

    std::uint32_t offset = kDirectoryBytes + kEntryBytes * static_cast<std::uint32_t>(images.size());
    for (const IcoImage& image : images) {
        // 0 stands for 256 in the byte-sized fields.
        ico.u8(static_cast<std::uint8_t>(image.canvas.width() & 0xFF));
        ico.u8(static_cast<std::uint8_t>(image.canvas.height() & 0xFF));
        ico.u8(static_cast<std::uint8_t>(paletteEntries(image) & 0xFF));
        ico.u8(0);
        ico.u16(1);
        ico.u16(static_cast<std::uint16_t>(image.bitsPerPixel));
        ico.u32(imageBytes(image));
        ico.u32(offset);
        offset += imageBytes(image);
    }
    for (const IcoImage& image : images) {
        writeImage(ico, image);
    }
    return ico.take();
}

}  // namespace veltaro::pictures
