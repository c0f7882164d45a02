// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdint>

// The window as designed, for both faces: positions and sizes in twips
// (1/1440 inch) from the top-left corner of the client area, colours as
// red, green, blue, fonts in points. At 96 dots per inch a pixel is 15
// twips, so every box below lands on whole pixels there.
namespace veltaro::design {

struct Box {
    int left;
    int top;
    int width;
    int height;
};

inline constexpr int kDesignDpi = 96;

inline constexpr Box kClientArea{0, 0, 4605, 2520};
// Its top edge lies on the bottom edge of the client area: present, able
// to take the focus, and wholly out of sight.
inline constexpr Box kTxtsign{3360, 2520, 975, 285};
inline constexpr Box kLabel3{840, 1560, 1215, 375};
// Label8 fits its size to its text; only its corner is fixed.
inline constexpr Box kLabel8{480, 1920, 1680, 195};
inline constexpr Box kImage1{2880, 240, 1500, 1500};
// A status bar: it runs past the left, right and bottom edges, so only its
// top border line and the upper 17 px of the bar show.
inline constexpr Box kLblProcessorName{-20, 2265, 4695, 315};
inline constexpr Box kLbltemp{600, 480, 1725, 690};
// The emblem's drop shadow, beneath it.
inline constexpr Box kShape1{3240, 600, 1095, 1095};

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;
};

inline constexpr Rgb kReadoutText{0, 255, 0};
inline constexpr Rgb kReadoutBackground{0, 0, 0};
inline constexpr Rgb kProcessorLineBackground{192, 255, 255};
inline constexpr Rgb kLinkText{0, 0, 255};

inline constexpr wchar_t kSerifFace[] = L"Times New Roman";
inline constexpr double kReadoutPoints = 27.75;
inline constexpr double kLinkPoints = 12;

inline constexpr int kTimer1IntervalMs = 200;

// Twips as pixels at `dpi` dots per inch, to the nearest pixel (halves
// away from zero): -20 twips is -1 px at 96 DPI.
constexpr int pixels(int twips, int dpi)
{
    constexpr int kTwipsPerInch = 1440;
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long magnitude = ((scaled < 0 ? -scaled : scaled) + kTwipsPerInch / 2) / kTwipsPerInch;
    return static_cast<int>(scaled < 0 ? -magnitude : magnitude);
}

// A font's height in pixels at `dpi`: 27.75 pt is 37 px at 96 DPI.
inline int fontPixels(double points, int dpi)
{
    constexpr double kPointsPerInch = 72;
    return static_cast<int>(std::lround(points * dpi / kPointsPerInch));
}

}  // namespace veltaro::design
