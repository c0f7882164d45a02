// SPDX-License-Identifier: MIT
#include "pngwriter.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace veltaro::pictures {

namespace {

// PNG stores its numbers big-endian, unlike GIF and ICO.
void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::uint32_t crc32(const std::uint8_t* bytes, std::size_t size)
{
    static const auto table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        c = table[(c ^ bytes[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const std::vector<std::uint8_t>& bytes)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : bytes) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return b << 16 | a;
}

void chunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data)
{
    put32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    put32(out, crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks, at most 65535 bytes each.
std::vector<std::uint8_t> zlibStored(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - offset, 65535);
        const bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length & 0xFF));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length & 0xFF));
        out.push_back(static_cast<std::uint8_t>((~length >> 8) & 0xFF));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                   raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    put32(out, adler32(raw));
    return out;
}

}  // namespace

std::vector<std::uint8_t> encodePng(const Canvas& canvas)
{
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    std::vector<std::uint8_t> header;
    put32(header, static_cast<std::uint32_t>(canvas.width()));
    put32(header, static_cast<std::uint32_t>(canvas.height()));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    chunk(out, "IHDR", header);

    std::vector<std::uint8_t> rows;
    for (int y = 0; y < canvas.height(); ++y) {
        rows.push_back(0);  // filter type None
        for (int x = 0; x < canvas.width(); ++x) {
            const bool clear = canvas.transparent() == canvas.at(x, y);
            const Rgb colour = clear ? Rgb{} : canvas.colourAt(x, y);
            rows.insert(rows.end(), {colour.r, colour.g, colour.b, static_cast<std::uint8_t>(clear ? 0 : 255)});
        }
    }
    chunk(out, "IDAT", zlibStored(rows));
    chunk(out, "IEND", {});
    return out;
}

}  // namespace veltaro::pictures
