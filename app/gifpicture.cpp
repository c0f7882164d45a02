// SPDX-License-Identifier: MIT
#include "gifpicture.h"

#include <algorithm>
#include <string_view>

namespace veltaro {

namespace {

// Pictures are the program's own; this only keeps a damaged header from
// asking for gigabytes.
constexpr std::size_t kMaxPixels = std::size_t{4096} * 4096;
constexpr int kLzwTableSize = 4096;

// Reads forward; a read past the end gives zeros and marks the reader
// failed, which the caller checks once a block is read.
struct Reader {
    std::span<const std::uint8_t> bytes;
    std::size_t at = 0;
    bool failed = false;

    std::uint8_t u8()
    {
        if (at >= bytes.size()) {
            failed = true;
            return 0;
        }
        return bytes[at++];
    }
    int u16()
    {
        const int low = u8();
        return low | (u8() << 8);
    }
    std::span<const std::uint8_t> take(std::size_t count)
    {
        if (bytes.size() - at < count) {
            failed = true;
            at = bytes.size();
            return {};
        }
        const auto taken = bytes.subspan(at, count);
        at += count;
        return taken;
    }
};

// A block's data sub-blocks joined, up to its zero-length terminator.
std::vector<std::uint8_t> subBlocks(Reader& in)
{
    std::vector<std::uint8_t> data;
    for (std::uint8_t length = in.u8(); length != 0 && !in.failed; length = in.u8()) {
        const auto block = in.take(length);
        data.insert(data.end(), block.begin(), block.end());
    }
    return data;
}

void readColourTable(Reader& in, int sizeBits, std::array<std::uint32_t, 256>& colours)
{
    colours.fill(0);
    const auto table = in.take(3 * (std::size_t{2} << sizeBits));
    for (std::size_t i = 0; i < table.size() / 3; ++i)
        colours[i] = std::uint32_t{table[3 * i]} << 16 | std::uint32_t{table[3 * i + 1]} << 8 | table[3 * i + 2];
}

// Fills `pixels` from one image's LZW codes. Each table entry is its
// prefix entry, its last pixel, its first pixel and its length, so a
// string is written back to front straight into place.
bool decodeLzw(std::span<const std::uint8_t> codes, int minimumCodeSize, std::vector<std::uint8_t>& pixels)
{
    if (minimumCodeSize < 2 || minimumCodeSize > 8)
        return false;
    std::array<std::uint16_t, kLzwTableSize> prefix{};
    std::array<std::uint16_t, kLzwTableSize> length{};
    std::array<std::uint8_t, kLzwTableSize> last{};
    std::array<std::uint8_t, kLzwTableSize> first{};
    const int clear = 1 << minimumCodeSize;
    const int end = clear + 1;
    for (int code = 0; code < clear; ++code) {
        last[code] = first[code] = static_cast<std::uint8_t>(code);
        length[code] = 1;
    }

    int width = minimumCodeSize + 1;
    int next = end + 1;
    int previous = -1;
    std::size_t bit = 0;
    std::size_t written = 0;
    while (written < pixels.size()) {
        if (bit + static_cast<std::size_t>(width) > codes.size() * 8)
            return false;
        int code = 0;
        for (int i = 0; i < width; ++i, ++bit)
            code |= (codes[bit / 8] >> (bit % 8) & 1) << i;
        if (code == clear) {
            width = minimumCodeSize + 1;
            next = end + 1;
            previous = -1;
            continue;
        }
        if (code == end || code > next || (previous < 0 && code >= clear))
            return false;
        if (previous >= 0 && next < kLzwTableSize) {
            // The previous string and the first pixel of this one, which
            // for the entry being made is the previous string's own.
            prefix[next] = static_cast<std::uint16_t>(previous);
            first[next] = first[previous];
            last[next] = code == next ? first[previous] : first[code];
            length[next] = static_cast<std::uint16_t>(length[previous] + 1);
            if (++next == 1 << width && width < 12)
                ++width;
        }
        if (length[code] > pixels.size() - written)
            return false;
        written += length[code];
        std::size_t at = written;
        for (int entry = code, left = length[code]; left > 0; entry = prefix[entry], --left)
            pixels[--at] = last[entry];
        previous = code;
    }
    return true;
}

std::optional<GifPicture> readImage(Reader& in, int background, GifPicture picture)
{
    const int left = in.u16();
    const int top = in.u16();
    const int width = in.u16();
    const int height = in.u16();
    const std::uint8_t flags = in.u8();
    if ((flags & 0x80) != 0)
        readColourTable(in, flags & 7, picture.colours);
    const int minimumCodeSize = in.u8();
    const auto codes = subBlocks(in);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (in.failed || count > kMaxPixels || (flags & 0x40) != 0)  // interlaced rows are not put back in order
        return std::nullopt;
    std::vector<std::uint8_t> image(count);
    if (!decodeLzw(codes, minimumCodeSize, image))
        return std::nullopt;

    const std::ptrdiff_t screenWidth = picture.width;
    const int outside = picture.transparentIndex >= 0 ? picture.transparentIndex : background;
    picture.indices.assign(static_cast<std::size_t>(screenWidth * picture.height), static_cast<std::uint8_t>(outside));
    // The image where it lies on the screen, cut at the screen's edges.
    const std::ptrdiff_t rows = std::min(height, picture.height - top);
    const std::ptrdiff_t columns = std::min(width, picture.width - left);
    for (std::ptrdiff_t row = 0; row < rows && columns > 0; ++row)
        std::copy_n(image.begin() + row * width, columns, picture.indices.begin() + (top + row) * screenWidth + left);
    return picture;
}

}  // namespace

std::optional<GifPicture> decodeGif(std::span<const std::uint8_t> bytes)
{
    Reader in{bytes};
    const auto signature = in.take(6);
    const std::string_view text(reinterpret_cast<const char*>(signature.data()), signature.size());
    if (text != "GIF87a" && text != "GIF89a")
        return std::nullopt;
    GifPicture picture;
    picture.width = in.u16();
    picture.height = in.u16();
    const std::uint8_t screenFlags = in.u8();
    const int background = in.u8();
    in.u8();  // pixel aspect ratio
    if (in.failed || picture.width == 0 || picture.height == 0 ||
        static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height) > kMaxPixels)
        return std::nullopt;
    if ((screenFlags & 0x80) != 0)
        readColourTable(in, screenFlags & 7, picture.colours);

    for (;;) {
        const std::uint8_t introducer = in.u8();
        if (in.failed)
            return std::nullopt;
        if (introducer == 0x2C)
            return readImage(in, background, std::move(picture));
        if (introducer != 0x21)
            return std::nullopt;  // the trailer before any image, or no block at all
        const std::uint8_t label = in.u8();
        const auto body = subBlocks(in);
        // The graphic control block that comes last before the image rules it.
        if (label == 0xF9 && body.size() >= 4)
            picture.transparentIndex = (body[0] & 1) != 0 ? body[3] : -1;
    }
}

}  // namespace veltaro
