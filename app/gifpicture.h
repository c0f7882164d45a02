// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace veltaro {

// The first image of a GIF over its whole logical screen, as colour
// indices into the table it was drawn with.
struct GifPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> indices;         // row by row, top row first
    std::array<std::uint32_t, 256> colours{};  // 0xRRGGBB; entries past the table are black
    int transparentIndex = -1;                 // -1: every pixel is opaque
};

// Decodes a GIF87a or GIF89a file: its first image, which must not be
// interlaced, its colour table (local, else global) and the transparent
// index of the graphic control block before it. The screen outside the
// image is transparent, or the background colour in a picture without
// one. Anything malformed or truncated before the image's last pixel
// gives nothing, never a partly filled picture.
std::optional<GifPicture> decodeGif(std::span<const std::uint8_t> bytes);

}  // namespace veltaro
