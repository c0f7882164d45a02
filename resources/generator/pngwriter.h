// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace veltaro::pictures {

// A PNG file (8-bit RGBA) of the canvas, its transparent index fully
// see-through. The pixel data goes into stored (uncompressed) deflate
// blocks: the desktop icons are small, and the bytes stay easy to check.
std::vector<std::uint8_t> encodePng(const Canvas& canvas);

}  // namespace veltaro::pictures
