// SPDX-License-Identifier: MIT
#include "icoreader.h"

#include <stdexcept>

#include "bytereader.h"

namespace veltaro::testing {
namespace {

std::size_t stride(int width, int bits)
{
    return ((static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32) * 4;
}

IcoBitmap readBitmap(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    ByteReader in(bytes, offset);
    IcoBitmap bmp;
    bmp.headerSize = in.u32();
    bmp.width = static_cast<int>(in.u32());
    bmp.height = static_cast<int>(in.u32());
    bmp.planes = in.u16();
    bmp.bitCount = in.u16();
    bmp.compression = in.u32();
    in.u32();  // image size
    in.u32();  // resolution
    in.u32();
    const std::uint32_t used = in.u32();
    in.u32();  // important colours
    if (bmp.headerSize != 40 || bmp.compression != 0 || bmp.width <= 0 || bmp.height <= 0 || bmp.height % 2 != 0 ||
        (bmp.bitCount != 1 && bmp.bitCount != 4 && bmp.bitCount != 8)) {
        throw std::runtime_error("not an uncompressed palette bitmap");
    }
    const std::uint32_t entries = used != 0 ? used : (1u << bmp.bitCount);
    for (std::uint32_t i = 0; i < entries; ++i) {
        const std::uint8_t blue = in.u8();
        const std::uint8_t green = in.u8();
        const std::uint8_t red = in.u8();
        in.u8();
        bmp.palette.push_back({red, green, blue});
    }

    const int width = bmp.width;
    const int rows = bmp.height / 2;
    const auto pixels = static_cast<std::size_t>(width) * static_cast<std::size_t>(rows);
    bmp.indices.assign(pixels, 0);
    bmp.masked.assign(pixels, false);
    const int perByte = 8 / bmp.bitCount;
    // Both bitmaps are stored bottom row first.
    for (int row = rows - 1; row >= 0; --row) {
        std::vector<std::uint8_t> line;
        for (std::size_t i = 0; i < stride(width, bmp.bitCount); ++i) {
            line.push_back(in.u8());
        }
        for (int x = 0; x < width; ++x) {
            const int shift = 8 - bmp.bitCount * (x % perByte + 1);
            const int index = (line[static_cast<std::size_t>(x / perByte)] >> shift) & ((1 << bmp.bitCount) - 1);
            if (static_cast<std::size_t>(index) >= bmp.palette.size()) {
                throw std::runtime_error("pixel refers past the palette");
            }
            bmp.indices[static_cast<std::size_t>(row) * width + x] = static_cast<std::uint8_t>(index);
        }
    }
    for (int row = rows - 1; row >= 0; --row) {
        std::vector<std::uint8_t> line;
        for (std::size_t i = 0; i < stride(width, 1); ++i) {
            line.push_back(in.u8());
        }
        for (int x = 0; x < width; ++x) {
            bmp.masked[static_cast<std::size_t>(row) * width + x] =
                ((line[static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1) != 0;
        }
    }
    bmp.end = in.at();
    return bmp;
}

}  // namespace

IcoFile parseIco(const std::vector<std::uint8_t>& bytes)
{
    ByteReader in(bytes);
    IcoFile ico;
    ico.reserved = in.u16();
    ico.type = in.u16();
    const int count = in.u16();
    for (int i = 0; i < count; ++i) {
        IcoEntry entry;
        entry.width = in.u8();
        entry.height = in.u8();
        entry.colourCount = in.u8();
        entry.reserved = in.u8();
        entry.planes = in.u16();
        entry.bitCount = in.u16();
        entry.bytes = in.u32();
        entry.offset = in.u32();
        if (entry.width == 0) {
            entry.width = 256;
        }
        if (entry.height == 0) {
            entry.height = 256;
        }
        ico.entries.push_back(entry);
    }
    for (const IcoEntry& entry : ico.entries) {
        ico.images.push_back(readBitmap(bytes, entry.offset));
    }
    return ico;
}

}  // namespace veltaro::testing
