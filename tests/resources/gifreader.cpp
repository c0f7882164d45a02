// SPDX-License-Identifier: MIT
#include "gifreader.h"

#include <stdexcept>

#include "bytereader.h"

namespace veltaro::testing {
namespace {

// Data sub-blocks up to and including the zero-length terminator.
std::vector<std::uint8_t> subBlocks(ByteReader& in)
{
    std::vector<std::uint8_t> out;
    for (std::uint8_t length = in.u8(); length != 0; length = in.u8()) {
        const auto block = in.take(length);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> lzwDecode(const std::vector<std::uint8_t>& codes, int minCodeSize, std::size_t pixels)
{
    if (minCodeSize < 2 || minCodeSize > 8) {
        throw std::runtime_error("bad LZW minimum code size");
    }
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;

    // Each table entry is its prefix code and last pixel; strings are
    // rebuilt backwards when they are output.
    std::vector<int> prefix(4096, -1);
    std::vector<std::uint8_t> suffix(4096, 0);
    std::vector<std::uint8_t> first(4096, 0);
    for (int i = 0; i < clear; ++i) {
        suffix[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
        first[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }

    std::size_t bitAt = 0;
    auto read = [&](int width) {
        if (bitAt + static_cast<std::size_t>(width) > codes.size() * 8) {
            throw std::runtime_error("LZW stream ends without an end code");
        }
        int code = 0;
        for (int i = 0; i < width; ++i, ++bitAt) {
            code |= ((codes[bitAt / 8] >> (bitAt % 8)) & 1) << i;
        }
        return code;
    };

    std::vector<std::uint8_t> out;
    auto emit = [&](int code) {
        std::vector<std::uint8_t> string;
        for (int c = code; c != -1; c = prefix[static_cast<std::size_t>(c)]) {
            string.push_back(suffix[static_cast<std::size_t>(c)]);
        }
        out.insert(out.end(), string.rbegin(), string.rend());
        if (out.size() > pixels) {
            throw std::runtime_error("LZW stream holds more pixels than the image");
        }
    };

    int width = minCodeSize + 1;
    int next = end + 1;
    int previous = -1;
    for (;;) {
        const int code = read(width);
        if (code == clear) {
            width = minCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end) {
            break;
        }
        if (previous == -1) {
            if (code >= clear) {
                throw std::runtime_error("first code after a clear is not a pixel");
            }
            emit(code);
            previous = code;
            continue;
        }
        if (code > next || (code == next && next == 4096)) {
            throw std::runtime_error("LZW code refers past the table");
        }
        if (next < 4096) {
            // The new entry is the previous string plus the first pixel of
            // this one; for code == next that pixel is the previous string's.
            const auto slot = static_cast<std::size_t>(next);
            prefix[slot] = previous;
            first[slot] = first[static_cast<std::size_t>(previous)];
            suffix[slot] =
                code == next ? first[static_cast<std::size_t>(previous)] : first[static_cast<std::size_t>(code)];
            ++next;
            if (next == (1 << width) && width < 12) {
                ++width;
            }
        }
        emit(code);
        previous = code;
    }
    if (out.size() != pixels) {
        throw std::runtime_error("LZW stream holds fewer pixels than the image");
    }
    if ((bitAt + 7) / 8 != codes.size()) {
        throw std::runtime_error("data follows the LZW end code");
    }
    return out;
}

GifFile parseGif(const std::vector<std::uint8_t>& bytes)
{
    ByteReader in(bytes);
    GifFile gif;
    const auto signature = in.take(6);
    gif.signature.assign(signature.begin(), signature.end());
    if (gif.signature != "GIF87a" && gif.signature != "GIF89a") {
        throw std::runtime_error("not a GIF");
    }
    gif.width = in.u16();
    gif.height = in.u16();
    const std::uint8_t packed = in.u8();
    gif.globalTable = (packed & 0x80) != 0;
    gif.colourResolutionBits = ((packed >> 4) & 7) + 1;
    gif.sorted = (packed & 0x08) != 0;
    gif.backgroundIndex = in.u8();
    in.u8();  // aspect ratio
    if (gif.globalTable) {
        const int entries = 2 << (packed & 7);
        for (int i = 0; i < entries; ++i) {
            const auto rgb = in.take(3);
            gif.globalColours.push_back({rgb[0], rgb[1], rgb[2]});
        }
    }

    for (;;) {
        const std::uint8_t introducer = in.u8();
        if (introducer == 0x3B) {
            break;
        }
        if (introducer == 0x21) {
            const std::uint8_t label = in.u8();
            const auto body = subBlocks(in);
            if (label == 0xF9) {
                if (body.size() != 4) {
                    throw std::runtime_error("graphic control extension is not 4 bytes");
                }
                GifControl control;
                control.disposal = (body[0] >> 2) & 7;
                control.userInput = (body[0] & 0x02) != 0;
                control.transparentFlag = (body[0] & 0x01) != 0;
                control.delay = body[1] | (body[2] << 8);
                control.transparentIndex = body[3];
                gif.controls.push_back(control);
            } else if (label == 0xFF) {
                gif.applications.emplace_back(body.begin(), body.begin() + std::min<std::size_t>(11, body.size()));
            }
            continue;
        }
        if (introducer != 0x2C) {
            throw std::runtime_error("unknown GIF block");
        }
        GifFrame frame;
        frame.left = in.u16();
        frame.top = in.u16();
        frame.width = in.u16();
        frame.height = in.u16();
        const std::uint8_t flags = in.u8();
        frame.localTable = (flags & 0x80) != 0;
        frame.interlaced = (flags & 0x40) != 0;
        if (frame.localTable) {
            in.take(3 * static_cast<std::size_t>(2 << (flags & 7)));
        }
        frame.minCodeSize = in.u8();
        const auto codes = subBlocks(in);
        frame.indices = lzwDecode(codes, frame.minCodeSize,
                                  static_cast<std::size_t>(frame.width) * static_cast<std::size_t>(frame.height));
        gif.frames.push_back(std::move(frame));
    }
    if (!in.atEnd()) {
        throw std::runtime_error("bytes follow the GIF trailer");
    }
    return gif;
}

}  // namespace veltaro::testing
