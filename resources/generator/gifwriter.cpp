// SPDX-License-Identifier: MIT
#include "gifwriter.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "bytewriter.h"

namespace veltaro::pictures {
namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kCodeLimit = 1 << kMaxCodeBits;

class BitPacker {
public:
    void put(int code, int bits)
    {
        m_buffer |= static_cast<std::uint32_t>(code) << m_count;
        m_count += bits;
        while (m_count >= 8) {
            m_bytes.push_back(static_cast<std::uint8_t>(m_buffer & 0xFFu));
            m_buffer >>= 8;
            m_count -= 8;
        }
    }

    std::vector<std::uint8_t> finish()
    {
        if (m_count > 0) {
            m_bytes.push_back(static_cast<std::uint8_t>(m_buffer & 0xFFu));
        }
        m_buffer = 0;
        m_count = 0;
        return std::move(m_bytes);
    }

private:
    std::uint32_t m_buffer = 0;
    int m_count = 0;
    std::vector<std::uint8_t> m_bytes;
};

}  // namespace

std::vector<std::uint8_t> lzwCompress(const std::vector<std::uint8_t>& pixels, int minCodeSize)
{
    if (minCodeSize < 2 || minCodeSize > 8) {
        throw std::invalid_argument("GIF code size must be 2 to 8 bits");
    }
    const int alphabet = 1 << minCodeSize;
    const int clearCode = alphabet;
    const int endCode = alphabet + 1;

    // next[code * alphabet + pixel]: the code of string `code` followed by
    // `pixel`, or 0 while it has none (0 is never a string code of length 2+).
    std::vector<std::uint16_t> next(static_cast<std::size_t>(kCodeLimit) * static_cast<std::size_t>(alphabet));
    if (std::any_of(pixels.begin(), pixels.end(), [&](std::uint8_t p) { return p >= alphabet; })) {
        throw std::invalid_argument("pixel value does not fit the GIF code size");
    }
    int codeBits = minCodeSize + 1;
    int nextCode = endCode + 1;

    BitPacker out;
    out.put(clearCode, codeBits);
    if (pixels.empty()) {
        out.put(endCode, codeBits);
        return out.finish();
    }

    // The decoder adds its table entry one code later than the encoder
    // does, so it widens its codes one step later too: the encoder widens
    // only once the code it just added no longer fits the present width.
    auto addEntry = [&](int prefix, int pixel) {
        next[static_cast<std::size_t>(prefix) * static_cast<std::size_t>(alphabet) + static_cast<std::size_t>(pixel)] =
            static_cast<std::uint16_t>(nextCode);
        ++nextCode;
        if (nextCode > (1 << codeBits) && codeBits < kMaxCodeBits) {
            ++codeBits;
        }
    };

    int prefix = pixels.front();
    for (std::size_t i = 1; i < pixels.size(); ++i) {
        const int pixel = pixels[i];
        const std::uint16_t known = next[static_cast<std::size_t>(prefix) * static_cast<std::size_t>(alphabet) +
                                         static_cast<std::size_t>(pixel)];
        if (known != 0) {
            prefix = known;
            continue;
        }
        out.put(prefix, codeBits);
        addEntry(prefix, pixel);
        if (nextCode == kCodeLimit) {
            // Table full: start afresh rather than keep coding with a
            // frozen table, which some readers handle badly.
            out.put(clearCode, codeBits);
            std::fill(next.begin(), next.end(), std::uint16_t{0});
            codeBits = minCodeSize + 1;
            nextCode = endCode + 1;
        }
        prefix = pixel;
    }
    out.put(prefix, codeBits);
    // The decoder still adds an entry for this last code before it reads
    // the end code, and may widen for it.
    if (nextCode < kCodeLimit) {
        ++nextCode;
        if (nextCode > (1 << codeBits) && codeBits < kMaxCodeBits) {
            ++codeBits;
        }
    }
    out.put(endCode, codeBits);
    return out.finish();
}

std::vector<std::uint8_t> encodeGif(const Canvas& canvas)
{
    const auto& palette = canvas.palette();
    if (palette.size() < 2 || !std::has_single_bit(palette.size())) {
        throw std::invalid_argument("GIF colour table size must be a power of two from 2 to 256");
    }
    if (canvas.width() > 0xFFFF || canvas.height() > 0xFFFF) {
        throw std::invalid_argument("GIF screen is at most 65535 pixels on a side");
    }
    // Table size field n means 2^(n+1) entries; the colour resolution is
    // given as the same number of bits.
    const int tableBits = std::bit_width(palette.size()) - 1;
    const auto sizeField = static_cast<std::uint8_t>(tableBits - 1);
    const auto width = static_cast<std::uint16_t>(canvas.width());
    const auto height = static_cast<std::uint16_t>(canvas.height());
    const std::uint8_t transparent = canvas.transparent().value_or(0);

    ByteWriter gif;
    gif.text("GIF89a");
    gif.u16(width);
    gif.u16(height);
    gif.u8(static_cast<std::uint8_t>(0x80u | (sizeField << 4) | sizeField));
    gif.u8(transparent);
    gif.u8(0);  // square pixels
    for (const Rgb& colour : palette) {
        gif.u8(colour.r);
        gif.u8(colour.g);
        gif.u8(colour.b);
    }

    if (canvas.transparent()) {
        gif.u8(0x21);
        gif.u8(0xF9);
        gif.u8(4);
        gif.u8(0x01);  // no disposal given, no user input, transparent index valid
        gif.u16(0);    // delay in hundredths of a second
        gif.u8(transparent);
        gif.u8(0);
    }

    gif.u8(0x2C);
    gif.u16(0);
    gif.u16(0);
    gif.u16(width);
    gif.u16(height);
    gif.u8(0);  // no local table, not interlaced

    const int minCodeSize = std::max(2, tableBits);
    gif.u8(static_cast<std::uint8_t>(minCodeSize));
    const std::vector<std::uint8_t> codes = lzwCompress(canvas.indices(), minCodeSize);
    for (std::size_t at = 0; at < codes.size(); at += 255) {
        const std::size_t length = std::min<std::size_t>(255, codes.size() - at);
        gif.u8(static_cast<std::uint8_t>(length));
        for (std::size_t i = 0; i < length; ++i) {
            gif.u8(codes[at + i]);
        }
    }
    gif.u8(0);
    gif.u8(0x3B);
    return gif.take();
}

}  // namespace veltaro::pictures
