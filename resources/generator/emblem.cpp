// SPDX-License-Identifier: MIT
#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "pictures.h"

namespace veltaro::pictures {
namespace {

// The emblem palette. Its size and entry 27 (white, see-through) are fixed
// by the window layout; the rest is free.
namespace ink {
constexpr std::uint8_t kTileEdge = 1;
constexpr std::uint8_t kTile0 = 2;  // board blues, darkest first
constexpr std::uint8_t kTile3 = 5;
constexpr std::uint8_t kBevel = 6;
constexpr std::uint8_t kScaleMark = 7;
constexpr std::uint8_t kBody0 = 8;  // package greys, darkest first
constexpr std::uint8_t kBody1 = 9;
constexpr std::uint8_t kBody2 = 10;
constexpr std::uint8_t kBodyEdge = 11;
constexpr std::uint8_t kPinDark = 12;
constexpr std::uint8_t kPin = 13;
constexpr std::uint8_t kPinLight = 14;
constexpr std::uint8_t kHeat0 = 15;  // heat colours, coolest first
constexpr std::uint8_t kHeat7 = 22;
constexpr std::uint8_t kGlassShade = 23;
constexpr std::uint8_t kGlass = 24;
constexpr std::uint8_t kGlassLight = 25;
constexpr std::uint8_t kGlint = 26;
constexpr std::uint8_t kClear = 27;
constexpr std::uint8_t kMercury = 28;
constexpr std::uint8_t kMercuryDark = 29;
constexpr std::uint8_t kMercuryLight = 30;
constexpr std::uint8_t kOutline = 31;
}  // namespace ink

const std::vector<Rgb>& emblemPalette()
{
    static const std::vector<Rgb> palette = {
        // Black, which the icon file stores under its mask
        {0, 0, 0},
        // Circuit board
        {10, 18, 38},
        {24, 45, 84},
        {29, 54, 98},
        {34, 64, 113},
        {40, 75, 129},
        {62, 104, 164},
        {96, 140, 196},
        // Package and its gold pins
        {30, 31, 37},
        {46, 48, 56},
        {64, 66, 77},
        {104, 107, 120},
        {112, 104, 80},
        {176, 160, 110},
        {232, 214, 150},
        // Heat, as a thermal camera shows it: violet through red to yellow-white
        {52, 6, 78},
        {104, 8, 104},
        {160, 16, 88},
        {208, 36, 52},
        {238, 82, 24},
        {250, 142, 14},
        {255, 204, 48},
        {255, 244, 168},
        // Glass
        {160, 182, 204},
        {206, 222, 238},
        {232, 241, 250},
        {246, 249, 253},
        // See-through key
        {255, 255, 255},
        // Mercury, and the thermometer's rim
        {204, 18, 28},
        {134, 8, 16},
        {255, 118, 104},
        {22, 26, 36},
    };
    return palette;
}

Rgb colour(std::uint8_t index)
{
    return emblemPalette()[index];
}

int squared(int v)
{
    return v * v;
}

// Integer square root, so the drawings never depend on the maths library.
int isqrt(int value)
{
    int root = 0;
    while ((root + 1) * (root + 1) <= value) {
        ++root;
    }
    return root;
}

// Picks from the heat colours by a position 0 (cool) to `range` (hot).
Rgb heat(int position, int range)
{
    constexpr int kSteps = ink::kHeat7 - ink::kHeat0;
    const int scaled = position * kSteps * 16 / range;
    const int step = std::min(scaled / 16, kSteps);
    const int rest = step == kSteps ? 0 : scaled % 16;
    const auto low = static_cast<std::uint8_t>(ink::kHeat0 + step);
    const auto high = static_cast<std::uint8_t>(std::min<int>(low + 1, ink::kHeat7));
    return mix(colour(low), colour(high), rest, 16);
}

// The board behind the chip: lit from the top left, darkening towards the
// bottom right. The four blues are mixed by ordered dithering so that the
// light falls off evenly instead of in bands.
void fillBoard(Canvas& c)
{
    static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    constexpr int kShades = ink::kTile3 - ink::kTile0;
    const int range = c.width() + c.height() - 2;
    for (int y = 0; y < c.height(); ++y) {
        for (int x = 0; x < c.width(); ++x) {
            const int level = (x + y) * kShades * 16 / range;
            const int step = std::min(level / 16, kShades);
            const bool darker = step < kShades && level % 16 > kBayer[y % 4][x % 4];
            c.set(x, y, static_cast<std::uint8_t>(ink::kTile3 - step - (darker ? 1 : 0)));
        }
    }
}

// Geometry of the chip and the thermometer, in pixels of the picture
// being drawn. `unit` is the width of the thinnest line: 1 at the sizes
// the drawing was designed for, more on larger pictures, so that a line
// keeps its weight against the shapes around it.
struct Layout {
    int unit;
    int bodyX, bodyY;  // top-left corner of the chip package
    int bodySide;
    int pins;  // on each side
    int pinWidth, pinPitch, pinLength;
    int dieInset;                   // from the package edge to the die
    int tubeX, tubeTop, tubeWidth;  // glass tube of the thermometer
    int bulbCy, bulbRadius;         // glass bulb, centred under the tube
    int mercuryTop;
};

void drawPins(Canvas& c, const Layout& l)
{
    const int u = l.unit;
    const int span = l.pins * l.pinWidth + (l.pins - 1) * (l.pinPitch - l.pinWidth);
    const int first = (l.bodySide - span) / 2;
    for (int i = 0; i < l.pins; ++i) {
        const int along = first + i * l.pinPitch;
        // Each pin is lit along its upper or left side and darkens at the
        // tip, where it bends down to the board.
        for (int side = 0; side < 2; ++side) {
            const int x = l.bodyX + along;
            const int y = side == 0 ? l.bodyY - l.pinLength : l.bodyY + l.bodySide;
            const int tip = side == 0 ? y : y + l.pinLength - u;
            c.fillRect(x, y, l.pinWidth, l.pinLength, ink::kPin);
            c.fillRect(x, y, u, l.pinLength, ink::kPinLight);
            c.fillRect(x, tip, l.pinWidth, u, ink::kPinDark);
        }
        for (int side = 0; side < 2; ++side) {
            const int y = l.bodyY + along;
            const int x = side == 0 ? l.bodyX - l.pinLength : l.bodyX + l.bodySide;
            const int tip = side == 0 ? x : x + l.pinLength - u;
            c.fillRect(x, y, l.pinLength, l.pinWidth, ink::kPin);
            c.fillRect(x, y, l.pinLength, u, ink::kPinLight);
            c.fillRect(tip, y, u, l.pinWidth, ink::kPinDark);
        }
    }
}

void drawPackage(Canvas& c, const Layout& l)
{
    const int u = l.unit;
    const int x0 = l.bodyX;
    const int y0 = l.bodyY;
    const int side = l.bodySide;
    c.fillRect(x0, y0, side, side, ink::kBody1);
    // Light falls from the top left.
    c.fillRect(x0, y0, side, u, ink::kBodyEdge);
    c.fillRect(x0, y0, u, side, ink::kBodyEdge);
    c.fillRect(x0 + u, y0 + side - u, side - u, u, ink::kBody0);
    c.fillRect(x0 + side - u, y0 + u, u, side - u, ink::kBody0);
    c.fillRect(x0 + u, y0 + u, side - 2 * u, u, ink::kBody2);
    c.fillRect(x0 + u, y0 + u, u, side - 2 * u, ink::kBody2);

    // Pin 1 is marked by a small dimple in the corner, where there is room.
    if (l.dieInset >= 7 * u) {
        const int mx = (x0 + 4 * u) * kEighths + u * kEighths / 2;
        const int my = (y0 + 4 * u) * kEighths + u * kEighths / 2;
        const int r = u * kEighths * 3 / 2;
        c.shade(
            x0 + 2 * u, y0 + 2 * u, 5 * u, 5 * u,
            [&](int sx, int sy) -> std::optional<Rgb> {
                if (squared(sx - mx) + squared(sy - my) > squared(r)) {
                    return std::nullopt;
                }
                // Lit on the far side, as a hollow is.
                return colour(sx + sy > mx + my + u * kEighths / 2 ? ink::kBody2 : ink::kBody0);
            },
            Edge::Crisp);
    }

    // The die: a thermal picture, hottest at the core, cooling to the edge.
    const int dx0 = x0 + l.dieInset;
    const int dy0 = y0 + l.dieInset;
    const int die = side - 2 * l.dieInset;
    c.fillRect(dx0 - u, dy0 - u, die + 2 * u, die + 2 * u, ink::kBody0);
    const int cx = (2 * dx0 + die) * kEighths / 2 - u * kEighths / 2;
    const int cy = (2 * dy0 + die) * kEighths / 2 - u * kEighths / 2;
    const int reach = die * kEighths * 7 / 10;
    c.shade(dx0, dy0, die, die, [&](int sx, int sy) -> std::optional<Rgb> {
        // Half linear, half square root: a broad hot core that still cools
        // through every colour before the edge.
        const int t = std::max(0, reach - isqrt(squared(sx - cx) + squared(sy - cy)));
        return heat((t + isqrt(t * reach)) / 2, reach);
    });
}

// Outline of the thermometer in eighths: a tube with a round top standing
// on a round bulb.
struct ThermometerShape {
    explicit ThermometerShape(const Layout& l)
        : cx((2 * l.tubeX + l.tubeWidth) * kEighths / 2)
        , half(l.tubeWidth * kEighths / 2)
        , capCy(l.tubeTop * kEighths + half)
        , bulbCy(l.bulbCy * kEighths)
        , bulbR(l.bulbRadius * kEighths)
        , boxX(l.tubeX - l.bulbRadius)
        , boxY(l.tubeTop)
        , boxW(l.tubeWidth + 2 * l.bulbRadius)
        , boxH(l.bulbCy + l.bulbRadius - l.tubeTop + 1)
    {
    }

    // Whether the sample lies inside the outline shrunk by `inset` eighths.
    bool contains(int sx, int sy, int inset) const
    {
        const int tubeHalf = half - inset;
        const bool inTube = sy >= capCy && sy <= bulbCy && std::abs(sx - cx) <= tubeHalf;
        const bool inCap = squared(sx - cx) + squared(sy - capCy) <= squared(tubeHalf);
        const bool inBulb = squared(sx - cx) + squared(sy - bulbCy) <= squared(bulbR - inset);
        return inTube || inCap || inBulb;
    }

    int cx, half, capCy, bulbCy, bulbR;
    int boxX, boxY, boxW, boxH;  // pixels that the outline touches
};

// The package and the thermometer stand a little off the board and cast a
// shadow two lines down and to the right.
void drawShadows(Canvas& c, const Layout& l)
{
    const int offset = 2 * l.unit;
    c.fillRect(l.bodyX + offset, l.bodyY + offset, l.bodySide, l.bodySide, ink::kTileEdge);
    const ThermometerShape glass(l);
    c.shade(
        glass.boxX + offset, glass.boxY + offset, glass.boxW, glass.boxH,
        [&](int sx, int sy) -> std::optional<Rgb> {
            if (!glass.contains(sx - offset * kEighths, sy - offset * kEighths, 0)) {
                return std::nullopt;
            }
            return colour(ink::kTileEdge);
        },
        Edge::Crisp);
}

// A glass thermometer with a dark rim, the mercury standing at `mercuryTop`.
void drawThermometer(Canvas& c, const Layout& l)
{
    const ThermometerShape glass(l);
    const int cx = glass.cx;
    const int half = glass.half;
    const int bulbCy = glass.bulbCy;
    const int u = l.unit;
    const int rim = u * kEighths;
    const int boxX = glass.boxX;
    const int boxW = glass.boxW;
    const int boxH = glass.boxH;

    c.shade(boxX, glass.boxY, boxW, boxH, [&](int sx, int sy) -> std::optional<Rgb> {
        if (!glass.contains(sx, sy, 0)) {
            return std::nullopt;
        }
        return colour(ink::kOutline);
    });
    c.shade(
        boxX, glass.boxY, boxW, boxH,
        [&](int sx, int sy) -> std::optional<Rgb> {
            if (!glass.contains(sx, sy, rim)) {
                return std::nullopt;
            }
            // Glass lit from the left, with a glint high up the tube.
            const int across = sx - (cx - half);
            if (across < half * 2 / 3) {
                const bool glint = sy < glass.capCy + 6 * u * kEighths;
                return colour(glint ? ink::kGlint : ink::kGlassLight);
            }
            return across < half * 3 / 2 ? colour(ink::kGlass) : colour(ink::kGlassShade);
        },
        Edge::Crisp);

    const int columnHalf = half - 2 * rim;
    const int mercuryR = glass.bulbR - 2 * rim;
    const int mercuryTop = l.mercuryTop * kEighths;
    c.shade(
        boxX, l.mercuryTop, boxW, boxH,
        [&](int sx, int sy) -> std::optional<Rgb> {
            const bool inColumn = sy >= mercuryTop && sy <= bulbCy && std::abs(sx - cx) <= columnHalf;
            const bool inBulb = squared(sx - cx) + squared(sy - bulbCy) <= squared(mercuryR);
            if (!inColumn && !inBulb) {
                return std::nullopt;
            }
            // A glint on the bulb's upper left, shade on its lower right.
            const int spotX = cx - mercuryR / 2;
            const int spotY = bulbCy - mercuryR / 2;
            if (inBulb && squared(sx - spotX) + squared(sy - spotY) <= squared(mercuryR / 3)) {
                return colour(ink::kMercuryLight);
            }
            if (inBulb && !inColumn) {
                const int offX = sx - cx + mercuryR / 4;
                const int offY = sy - bulbCy + mercuryR / 4;
                const bool rimShade = squared(offX) + squared(offY) > squared(mercuryR);
                return colour(rimShade ? ink::kMercuryDark : ink::kMercury);
            }
            // A column of four lines or more gets a lit left and a shaded
            // right; a thinner one stays plain so that it stays red.
            if (columnHalf >= 2 * rim) {
                const int across = sx - (cx - columnHalf);
                if (across < columnHalf * 2 / 3) {
                    return colour(ink::kMercuryLight);
                }
                if (across >= columnHalf * 3 / 2) {
                    return colour(ink::kMercuryDark);
                }
            }
            return colour(ink::kMercury);
        },
        Edge::Crisp);
}

// Scale marks beside the tube, a long one every other mark.
void drawScale(Canvas& c, const Layout& l, int from, int to, int step)
{
    const int u = l.unit;
    const int x = l.tubeX + l.tubeWidth + u;
    for (int y = from, i = 0; y <= to; y += step, ++i) {
        c.fillRect(x, y, (i % 2 == 0 ? 3 : 2) * u, u, ink::kScaleMark);
    }
}

}  // namespace

Canvas drawEmblem(int scale)
{
    if (scale != 1 && scale != 2) {
        throw std::invalid_argument("the emblem is drawn at scale 1 or 2");
    }
    const int u = scale;
    const int side = 100 * u;
    const int square = 74 * u;
    const int margin = 13 * u;

    Canvas tile(square, square, emblemPalette(), ink::kTile0);
    fillBoard(tile);

    const Layout l{.unit = u,
                   .bodyX = 12 * u,
                   .bodyY = 17 * u,
                   .bodySide = 36 * u,
                   .pins = 8,
                   .pinWidth = 2 * u,
                   .pinPitch = 4 * u,
                   .pinLength = 5 * u,
                   .dieInset = 8 * u,
                   .tubeX = 55 * u,
                   .tubeTop = 5 * u,
                   .tubeWidth = 8 * u,
                   .bulbCy = 59 * u,
                   .bulbRadius = 9 * u,
                   .mercuryTop = 18 * u};
    drawShadows(tile, l);
    drawPins(tile, l);
    drawPackage(tile, l);
    drawThermometer(tile, l);
    drawScale(tile, l, 10 * u, 46 * u, 4 * u);

    // Frame of the tile: a dark edge with a bevel inside it.
    tile.fillRect(u, u, square - 2 * u, u, ink::kBevel);
    tile.fillRect(u, u, u, square - 2 * u, ink::kBevel);
    tile.fillRect(0, 0, square, u, ink::kTileEdge);
    tile.fillRect(0, square - u, square, u, ink::kTileEdge);
    tile.fillRect(0, 0, u, square, ink::kTileEdge);
    tile.fillRect(square - u, 0, u, square, ink::kTileEdge);

    Canvas emblem(side, side, emblemPalette(), ink::kClear);
    emblem.setTransparent(ink::kClear);
    emblem.blit(tile, margin, margin);
    return emblem;
}

namespace {

// The program icon's layout at each size. Up to 48 pixels each size has
// its own, so that every edge falls on a whole pixel; above, the 32 pixel
// layout multiplied, its lines as wide as its pixels grew.
Layout iconLayout(int side)
{
    // clang-format off
    static const Layout kLayouts[] = {
        {.unit = 1, .bodyX = 2, .bodyY = 4,  .bodySide = 8,  .pins = 3, .pinWidth = 1, .pinPitch = 2, .pinLength = 2,
         .dieInset = 2, .tubeX = 9,  .tubeTop = 0, .tubeWidth = 6, .bulbCy = 11, .bulbRadius = 4, .mercuryTop = 3},
        {.unit = 1, .bodyX = 2, .bodyY = 6,  .bodySide = 13, .pins = 3, .pinWidth = 2, .pinPitch = 4, .pinLength = 2,
         .dieInset = 3, .tubeX = 16, .tubeTop = 1, .tubeWidth = 6, .bulbCy = 18, .bulbRadius = 5, .mercuryTop = 6},
        {.unit = 1, .bodyX = 3, .bodyY = 8,  .bodySide = 18, .pins = 4, .pinWidth = 2, .pinPitch = 4, .pinLength = 3,
         .dieInset = 4, .tubeX = 23, .tubeTop = 1, .tubeWidth = 6, .bulbCy = 25, .bulbRadius = 6, .mercuryTop = 8},
        {.unit = 1, .bodyX = 5, .bodyY = 12, .bodySide = 27, .pins = 4, .pinWidth = 3, .pinPitch = 6, .pinLength = 4,
         .dieInset = 6, .tubeX = 34, .tubeTop = 2, .tubeWidth = 9, .bulbCy = 37, .bulbRadius = 9, .mercuryTop = 12},
    };
    // clang-format on
    switch (side) {
    case 16:
        return kLayouts[0];
    case 24:
        return kLayouts[1];
    case 32:
        return kLayouts[2];
    case 48:
        return kLayouts[3];
    case 64:
    case 128:
    case 256:
        break;
    default:
        throw std::invalid_argument("the program icon is drawn at 16, 24, 32, 48, 64, 128 or 256 pixels");
    }
    const Layout& b = kLayouts[2];
    const int m = side / 32;
    return {.unit = m,
            .bodyX = b.bodyX * m,
            .bodyY = b.bodyY * m,
            .bodySide = b.bodySide * m,
            .pins = b.pins,
            .pinWidth = b.pinWidth * m,
            .pinPitch = b.pinPitch * m,
            .pinLength = b.pinLength * m,
            .dieInset = b.dieInset * m,
            .tubeX = b.tubeX * m,
            .tubeTop = b.tubeTop * m,
            .tubeWidth = b.tubeWidth * m,
            .bulbCy = b.bulbCy * m,
            .bulbRadius = b.bulbRadius * m,
            .mercuryTop = b.mercuryTop * m};
}

}  // namespace

// The emblem's chip and thermometer, drawn small: fewer pins, a thinner
// tube standing in front of the package's right-hand pins.
Canvas drawProgramIcon(int side)
{
    const Layout l = iconLayout(side);
    Canvas icon(side, side, emblemPalette(), ink::kClear);
    icon.setTransparent(ink::kClear);
    drawPins(icon, l);
    drawPackage(icon, l);
    drawThermometer(icon, l);
    return icon;
}

}  // namespace veltaro::pictures
