// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace veltaro::pictures {

// One image of an icon file: the canvas at 4 or 8 bits per pixel with a
// palette of 16 or 256 entries. Pixels of the canvas's transparent index
// become set bits of the AND mask.
struct IcoImage {
    Canvas canvas;
    int bitsPerPixel = 8;
};

// An icon file (ICO, type 1) with uncompressed BMP images in the given
// order. Masked pixels are stored as colour index 0, which must be black:
// Windows draws an icon as (screen AND mask) XOR image, so anything but
// black there would tint the screen behind the transparent part.
std::vector<std::uint8_t> encodeIco(const std::vector<IcoImage>& images);

}  // namespace veltaro::pictures
