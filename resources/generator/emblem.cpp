#include <algorithm>
#include <cstdlib>

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

// Geometry of the chip and the thermometer, in pixels of the square tile.
struct Layout {
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
    const int span = l.pins * l.pinWidth + (l.pins - 1) * (l.pinPitch - l.pinWidth);
    const int first = (l.bodySide - span) / 2;
    for (int i = 0; i < l.pins; ++i) {
        const int along = first + i * l.pinPitch;
        // Each pin is lit along its upper or left side and darkens at the
        // tip, where it bends down to the board.
        for (int side = 0; side < 2; ++side) {
            const int x = l.bodyX + along;
            const int y = side == 0 ? l.bodyY - l.pinLength : l.bodyY + l.bodySide;
            const int tip = side == 0 ? y : y + l.pinLength - 1;
            c.fillRect(x, y, l.pinWidth, l.pinLength, ink::kPin);
            c.vLine(x, y, y + l.pinLength - 1, ink::kPinLight);
            c.hLine(x, x + l.pinWidth - 1, tip, ink::kPinDark);
        }
        for (int side = 0; side < 2; ++side) {
            const int y = l.bodyY + along;
            const int x = side == 0 ? l.bodyX - l.pinLength : l.bodyX + l.bodySide;
            const int tip = side == 0 ? x : x + l.pinLength - 1;
            c.fillRect(x, y, l.pinLength, l.pinWidth, ink::kPin);
            c.hLine(x, x + l.pinLength - 1, y, ink::kPinLight);
            c.vLine(tip, y, y + l.pinWidth - 1, ink::kPinDark);
        }
    }
}

void drawPackage(Canvas& c, const Layout& l)
{
    const int x0 = l.bodyX;
    const int y0 = l.bodyY;
    const int x1 = l.bodyX + l.bodySide - 1;
    const int y1 = l.bodyY + l.bodySide - 1;
    c.fillRect(x0, y0, l.bodySide, l.bodySide, ink::kBody1);
    // Light falls from the top left.
    c.hLine(x0, x1, y0, ink::kBodyEdge);
    c.vLine(x0, y0, y1, ink::kBodyEdge);
    c.hLine(x0 + 1, x1, y1, ink::kBody0);
    c.vLine(x1, y0 + 1, y1, ink::kBody0);
    c.hLine(x0 + 1, x1 - 1, y0 + 1, ink::kBody2);
    c.vLine(x0 + 1, y0 + 1, y1 - 1, ink::kBody2);

    // Pin 1 is marked by a small dimple in the corner, where there is room.
    if (l.dieInset >= 7) {
        const int mx = (x0 + 4) * kEighths + kEighths / 2;
        const int my = (y0 + 4) * kEighths + kEighths / 2;
        const int r = kEighths * 3 / 2;
        c.shade(
            x0 + 2, y0 + 2, 5, 5,
            [&](int sx, int sy) -> std::optional<Rgb> {
                if (squared(sx - mx) + squared(sy - my) > squared(r)) {
                    return std::nullopt;
                }
                // Lit on the far side, as a hollow is.
                return colour(sx + sy > mx + my + kEighths / 2 ? ink::kBody2 : ink::kBody0);
            },
            Edge::Crisp);
    }

    // The die: a thermal picture, hottest at the core, cooling to the edge.
    const int dx0 = x0 + l.dieInset;
    const int dy0 = y0 + l.dieInset;
    const int side = l.bodySide - 2 * l.dieInset;
    c.fillRect(dx0 - 1, dy0 - 1, side + 2, side + 2, ink::kBody0);
    const int cx = (2 * dx0 + side) * kEighths / 2 - kEighths / 2;
    const int cy = (2 * dy0 + side) * kEighths / 2 - kEighths / 2;
    const int reach = side * kEighths * 7 / 10;
    c.shade(dx0, dy0, side, side, [&](int sx, int sy) -> std::optional<Rgb> {
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
// shadow two pixels down and to the right.
void drawShadows(Canvas& c, const Layout& l)
{
    constexpr int kOffset = 2;
    c.fillRect(l.bodyX + kOffset, l.bodyY + kOffset, l.bodySide, l.bodySide, ink::kTileEdge);
    const ThermometerShape glass(l);
    c.shade(
        glass.boxX + kOffset, glass.boxY + kOffset, glass.boxW, glass.boxH,
        [&](int sx, int sy) -> std::optional<Rgb> {
            if (!glass.contains(sx - kOffset * kEighths, sy - kOffset * kEighths, 0)) {
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
    const int rim = kEighths;
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
                const bool glint = sy < glass.capCy + 6 * kEighths;
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
            // A column of four pixels or more gets a lit left and a shaded
            // right; a thinner one stays plain so that it stays red.
            if (columnHalf >= 2 * kEighths) {
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
    const int x = l.tubeX + l.tubeWidth + 1;
    for (int y = from, i = 0; y <= to; y += step, ++i) {
        c.hLine(x, x + (i % 2 == 0 ? 2 : 1), y, ink::kScaleMark);
    }
}

}  // namespace

Canvas drawEmblem()
{
    constexpr int kSide = 100;
    constexpr int kSquare = 74;
    constexpr int kMargin = 13;

    Canvas tile(kSquare, kSquare, emblemPalette(), ink::kTile0);
    fillBoard(tile);

    const Layout l{.bodyX = 12,
                   .bodyY = 17,
                   .bodySide = 36,
                   .pins = 8,
                   .pinWidth = 2,
                   .pinPitch = 4,
                   .pinLength = 5,
                   .dieInset = 8,
                   .tubeX = 55,
                   .tubeTop = 5,
                   .tubeWidth = 8,
                   .bulbCy = 59,
                   .bulbRadius = 9,
                   .mercuryTop = 18};
    drawShadows(tile, l);
    drawPins(tile, l);
    drawPackage(tile, l);
    drawThermometer(tile, l);
    drawScale(tile, l, 10, 46, 4);

    // Frame of the tile: a dark edge with a bevel inside it.
    tile.hLine(1, kSquare - 2, 1, ink::kBevel);
    tile.vLine(1, 1, kSquare - 2, ink::kBevel);
    tile.hLine(0, kSquare - 1, 0, ink::kTileEdge);
    tile.hLine(0, kSquare - 1, kSquare - 1, ink::kTileEdge);
    tile.vLine(0, 0, kSquare - 1, ink::kTileEdge);
    tile.vLine(kSquare - 1, 0, kSquare - 1, ink::kTileEdge);

    Canvas emblem(kSide, kSide, emblemPalette(), ink::kClear);
    emblem.setTransparent(ink::kClear);
    emblem.blit(tile, kMargin, kMargin);
    return emblem;
}

Canvas drawProgramIcon()
{
    Canvas icon(32, 32, emblemPalette(), ink::kClear);
    icon.setTransparent(ink::kClear);
    // The emblem's chip and thermometer, drawn small: fewer pins, a thinner
    // tube standing in front of the package's right-hand pins.
    const Layout l{.bodyX = 3,
                   .bodyY = 8,
                   .bodySide = 18,
                   .pins = 4,
                   .pinWidth = 2,
                   .pinPitch = 4,
                   .pinLength = 3,
                   .dieInset = 4,
                   .tubeX = 23,
                   .tubeTop = 1,
                   .tubeWidth = 6,
                   .bulbCy = 25,
                   .bulbRadius = 6,
                   .mercuryTop = 8};
    drawPins(icon, l);
    drawPackage(icon, l);
    drawThermometer(icon, l);
    return icon;
}

}  // namespace veltaro::pictures
