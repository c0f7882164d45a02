// SPDX-License-Identifier: MIT
#include <stdexcept>

#include "pictures.h"

namespace veltaro::pictures {
namespace {

namespace ink {
constexpr std::uint8_t kBlack = 0;
constexpr std::uint8_t kPaper = 1;
constexpr std::uint8_t kPaperShade = 2;
constexpr std::uint8_t kFold = 3;
constexpr std::uint8_t kFlapEdge = 4;
constexpr std::uint8_t kSeal = 5;
constexpr std::uint8_t kSealDark = 6;
constexpr std::uint8_t kSealLight = 7;
constexpr std::uint8_t kClear = 15;
}  // namespace ink

const std::vector<Rgb>& envelopePalette()
{
    // Entries past the used ones stay black; the key's colour is never
    // stored, its pixels go to the mask.
    static const std::vector<Rgb> palette = {
        {0, 0, 0},     {255, 255, 255}, {228, 231, 238}, {176, 182, 196}, {84, 88, 100}, {204, 30, 36},
        {132, 14, 22}, {246, 118, 104}, {0, 0, 0},       {0, 0, 0},       {0, 0, 0},     {0, 0, 0},
        {0, 0, 0},     {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
    };
    return palette;
}

// The back of a sealed envelope, flap on top. As a pointer its hot spot is
// the centre, so the envelope is centred on the picture's middle; the black
// rim keeps it readable on light backgrounds and the white paper on dark.
void drawLarge(Canvas& c)
{
    constexpr int kLeft = 3;
    constexpr int kRight = 28;
    constexpr int kTop = 7;
    constexpr int kBottom = 24;

    c.fillRect(kLeft, kTop, kRight - kLeft + 1, kBottom - kTop + 1, ink::kPaper);
    // Folds of the back panel, running up from the lower corners.
    c.line(kLeft + 1, kBottom - 1, 13, 16, ink::kFold);
    c.line(kRight - 1, kBottom - 1, 18, 16, ink::kFold);
    c.hLine(kLeft + 1, kRight - 1, kBottom - 1, ink::kPaperShade);
    // The flap, with its shadow one pixel below its edges.
    for (int y = kTop + 1; y <= 18; ++y) {
        const int inset = (y - kTop - 1) * 12 / 10;
        c.hLine(kLeft + 1 + inset, kRight - 1 - inset, y, ink::kPaper);
    }
    c.line(kLeft + 1, kTop + 2, 14, 19, ink::kPaperShade);
    c.line(kRight - 1, kTop + 2, 17, 19, ink::kPaperShade);
    c.line(kLeft + 1, kTop + 1, 14, 18, ink::kFlapEdge);
    c.line(kRight - 1, kTop + 1, 17, 18, ink::kFlapEdge);
    c.hLine(15, 16, 18, ink::kFlapEdge);

    // Wax seal on the flap's tip.
    c.fillRect(14, 16, 4, 4, ink::kSeal);
    c.hLine(15, 16, 15, ink::kSeal);
    c.hLine(15, 16, 20, ink::kSealDark);
    c.vLine(13, 17, 18, ink::kSeal);
    c.vLine(18, 17, 18, ink::kSealDark);
    c.set(17, 19, ink::kSealDark);
    c.set(15, 17, ink::kSealLight);

    // Rim.
    c.hLine(kLeft, kRight, kTop, ink::kBlack);
    c.hLine(kLeft, kRight, kBottom, ink::kBlack);
    c.vLine(kLeft, kTop, kBottom, ink::kBlack);
    c.vLine(kRight, kTop, kBottom, ink::kBlack);
}

void drawSmall(Canvas& c)
{
    constexpr int kLeft = 1;
    constexpr int kRight = 14;
    constexpr int kTop = 3;
    constexpr int kBottom = 12;

    c.fillRect(kLeft, kTop, kRight - kLeft + 1, kBottom - kTop + 1, ink::kPaper);
    c.line(kLeft + 1, kBottom - 1, 5, 8, ink::kFold);
    c.line(kRight - 1, kBottom - 1, 10, 8, ink::kFold);
    for (int y = kTop + 1; y <= 8; ++y) {
        const int inset = y - kTop - 1;
        c.hLine(kLeft + 1 + inset, kRight - 1 - inset, y, ink::kPaper);
    }
    c.line(kLeft + 1, kTop + 1, 6, 8, ink::kBlack);
    c.line(kRight - 1, kTop + 1, 9, 8, ink::kBlack);
    c.hLine(7, 8, 8, ink::kSeal);
    c.hLine(7, 8, 9, ink::kSealDark);

    c.hLine(kLeft, kRight, kTop, ink::kBlack);
    c.hLine(kLeft, kRight, kBottom, ink::kBlack);
    c.vLine(kLeft, kTop, kBottom, ink::kBlack);
    c.vLine(kRight, kTop, kBottom, ink::kBlack);
}

// Whether sample (sx, sy) lies within `reach` of the segment from a to b,
// all in eighths.
bool nearSegment(int sx, int sy, int ax, int ay, int bx, int by, int reach)
{
    const long long dx = bx - ax;
    const long long dy = by - ay;
    const long long px = sx - ax;
    const long long py = sy - ay;
    const long long along = px * dx + py * dy;
    const long long length = dx * dx + dy * dy;
    const long long r = reach;
    if (along <= 0) {
        return px * px + py * py <= r * r;
    }
    if (along >= length) {
        return (sx - bx) * (sx - bx) + (sy - by) * (sy - by) <= r * r;
    }
    const long long cross = px * dy - py * dx;
    return cross * cross <= r * r * length;
}

// The pixel centre of pixel p, in eighths.
constexpr int centre(int p)
{
    return p * kEighths + kEighths / 2;
}

// The 32 pixel envelope drawn again at 64 for screens at twice the
// density: the same envelope, its lines two pixels wide, its slanted
// edges and its seal rounded at the finer grid instead of doubled.
void drawDouble(Canvas& c)
{
    constexpr int kLeft = 6;
    constexpr int kRight = 57;
    constexpr int kTop = 14;
    constexpr int kBottom = 49;
    constexpr int kLine = kEighths;  // half the width of a two-pixel line
    constexpr int kSealX = 32 * kEighths;
    constexpr int kSealY = 36 * kEighths;
    constexpr int kSealR = 11 * kEighths / 2;

    c.fillRect(kLeft, kTop, kRight - kLeft + 1, kBottom - kTop + 1, ink::kPaper);
    c.fillRect(kLeft + 2, kBottom - 3, kRight - kLeft - 3, 2, ink::kPaperShade);

    // One pass over the envelope's box: folds first, the flap's shadow and
    // edges over them, the seal on top.
    const auto shader = [&](int sx, int sy) -> std::optional<Rgb> {
        const auto ink = [&](std::uint8_t index) { return envelopePalette()[index]; };
        const int dx = sx - kSealX;
        const int dy = sy - kSealY;
        if (dx * dx + dy * dy <= kSealR * kSealR) {
            const int lx = sx - (kSealX - 2 * kEighths);
            const int ly = sy - (kSealY - 2 * kEighths);
            if (lx * lx + ly * ly <= (3 * kEighths / 2) * (3 * kEighths / 2)) {
                return ink(ink::kSealLight);
            }
            const int ox = dx + kEighths;
            const int oy = dy + kEighths;
            return ink(ox * ox + oy * oy > kSealR * kSealR ? ink::kSealDark : ink::kSeal);
        }
        for (const int side : {-1, 1}) {
            const int cornerX = side < 0 ? centre(kLeft + 3) : centre(kRight - 3);
            const int tipX = kSealX + side * 2 * kEighths;
            if (nearSegment(sx, sy, cornerX, centre(kTop + 3), tipX, kSealY, kLine)) {
                return ink(ink::kFlapEdge);
            }
            if (nearSegment(sx, sy, cornerX, centre(kTop + 5), tipX, kSealY + 2 * kEighths, kLine)) {
                return ink(ink::kPaperShade);
            }
            const int foldX = side < 0 ? centre(kLeft + 3) : centre(kRight - 3);
            if (nearSegment(sx, sy, foldX, centre(kBottom - 3), kSealX + side * 9 * kEighths, centre(33), kLine)) {
                return ink(ink::kFold);
            }
        }
        return std::nullopt;
    };
    c.shade(kLeft + 2, kTop + 2, kRight - kLeft - 3, kBottom - kTop - 3, shader, Edge::Crisp);

    // Rim, two pixels wide.
    c.fillRect(kLeft, kTop, kRight - kLeft + 1, 2, ink::kBlack);
    c.fillRect(kLeft, kBottom - 1, kRight - kLeft + 1, 2, ink::kBlack);
    c.fillRect(kLeft, kTop, 2, kBottom - kTop + 1, ink::kBlack);
    c.fillRect(kRight - 1, kTop, 2, kBottom - kTop + 1, ink::kBlack);
}

}  // namespace

Canvas drawEnvelope(int size)
{
    Canvas c(size, size, envelopePalette(), ink::kClear);
    c.setTransparent(ink::kClear);
    if (size == 32) {
        drawLarge(c);
    } else if (size == 16) {
        drawSmall(c);
    } else if (size == 64) {
        drawDouble(c);
    } else {
        throw std::invalid_argument("the envelope is drawn at 16, 32 or 64 pixels");
    }
    return c;
}

}  // namespace veltaro::pictures
