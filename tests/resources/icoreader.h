// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// A strict reader of icon files with uncompressed BMP images, for the
// picture tests; written apart from the generator. Malformed input throws
// std::runtime_error.
namespace veltaro::testing {

struct IcoEntry {
    int width = 0;  // 0 in the file stands for 256
    int height = 0;
    int colourCount = 0;
    int reserved = 0;
    int planes = 0;
    int bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint32_t offset = 0;
};

struct IcoBitmap {
    std::uint32_t headerSize = 0;
    int width = 0;
    int height = 0;  // of colour image and mask together
    int planes = 0;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::vector<std::array<std::uint8_t, 3>> palette;  // red, green, blue
    // Top row first; `masked` is true where the AND mask lets the screen through.
    std::vector<std::uint8_t> indices;
    std::vector<bool> masked;
    std::size_t end = 0;  // file offset just past the mask
};

struct IcoFile {
    int reserved = 0;
    int type = 0;
    std::vector<IcoEntry> entries;
    std::vector<IcoBitmap> images;  // in directory order
};

IcoFile parseIco(const std::vector<std::uint8_t>& bytes);

}  // namespace veltaro::testing
