// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace veltaro {

// The sides, in pixels, at which the faces draw the notification area's
// icon: the small-icon sizes of Windows at 100 to 200 per cent, and the
// 22 pixels of the XEmbed hosts, each with its double.
inline constexpr int kNotificationIconSides[] = {16, 20, 22, 24, 32, 40, 44, 48, 64};

// Green digits on black, as in the readout: both opaque, so that the
// number reads the same on a light panel and a dark one.
inline constexpr std::uint32_t kIconDigitColour = 0xFF00FF00;
inline constexpr std::uint32_t kIconBackgroundColour = 0xFF000000;

// A square picture, one 0xAARRGGBB word a pixel, rows from the top. Every
// pixel is either fully opaque or fully clear, so that the straight and
// the premultiplied forms of its alpha are the same.
struct IconPicture {
    int side = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(side) + static_cast<std::size_t>(x)];
    }
};

// The notification area's icon for the number the readout shows: its
// digits (0 to 999), or "--" when the readout shows none, drawn as bars
// on a grid scaled to `side`. A number past three digits cannot be drawn
// and shows as "--"; the sensors hold none.
IconPicture notificationIcon(std::optional<long long> celsius, int side);

// `text`'s lines from the first, as many whole ones as fit in `limit`
// characters with the line breaks between them; never part of a line.
std::wstring fitWholeLines(const std::wstring& text, std::size_t limit);

}  // namespace veltaro
