// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bytereader.h"

// A strict GIF reader for the picture tests, written apart from the
// generator so that a fault in its writer cannot hide behind shared code.
// Malformed input throws std::runtime_error.
namespace veltaro::testing {

struct GifControl {
    int disposal = 0;
    bool userInput = false;
    bool transparentFlag = false;
    int delay = 0;
    int transparentIndex = 0;
};

struct GifFrame {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool localTable = false;
    bool interlaced = false;
    int minCodeSize = 0;
    std::vector<std::uint8_t> indices;  // row by row, top row first
};

struct GifFile {
    std::string signature;
    int width = 0;
    int height = 0;
    bool globalTable = false;
    int colourResolutionBits = 0;
    bool sorted = false;
    std::vector<std::array<std::uint8_t, 3>> globalColours;
    int backgroundIndex = 0;
    std::vector<GifControl> controls;
    std::vector<std::string> applications;  // identifier and code, e.g. "NETSCAPE2.0"
    std::vector<GifFrame> frames;
};

// Reads a whole file; it must end with the trailer and nothing after it.
GifFile parseGif(const std::vector<std::uint8_t>& bytes);

// Decodes one image's LZW code stream (sub-blocks already joined). The
// stream must hold exactly `pixels` pixels and end with the end code.
std::vector<std::uint8_t> lzwDecode(const std::vector<std::uint8_t>& codes, int minCodeSize, std::size_t pixels);

}  // namespace veltaro::testing
