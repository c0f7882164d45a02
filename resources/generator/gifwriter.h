// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "canvas.h"

namespace veltaro::pictures {

// Variable-length-code LZW as GIF uses it: `minCodeSize` bits per pixel
// value, a clear code at 2^minCodeSize, codes packed least significant
// bit first. Returns the bare code stream, not yet cut into sub-blocks.
std::vector<std::uint8_t> lzwCompress(const std::vector<std::uint8_t>& pixels, int minCodeSize);

// A still GIF89a: one frame that covers the whole logical screen, the
// canvas palette as the global colour table (its size must be a power of
// two from 2 to 256), no local table, no interlacing and no loop block.
// With a transparent index on the canvas, a graphic control extension
// marks it and it is also the background index.
std::vector<std::uint8_t> encodeGif(const Canvas& canvas);

}  // namespace veltaro::pictures
