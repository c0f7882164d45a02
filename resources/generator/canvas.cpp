// SPDX-License-Identifier: MIT
#include "canvas.h"

#include <cstdlib>
#include <stdexcept>
#include <utility>

namespace veltaro::pictures {

Rgb mix(Rgb a, Rgb b, int amount, int total)
{
    auto channel = [&](int from, int to) {
        return static_cast<std::uint8_t>((from * (total - amount) + to * amount + total / 2) / total);
    };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

Canvas::Canvas(int width, int height, std::vector<Rgb> palette, std::uint8_t fillIndex)
    : m_width(width)
    , m_height(height)
    , m_palette(std::move(palette))
    , m_indices(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fillIndex)
{
    if (width <= 0 || height <= 0 || m_palette.empty() || m_palette.size() > 256 || fillIndex >= m_palette.size()) {
        throw std::invalid_argument("canvas needs a positive size and a palette of 1 to 256 entries");
    }
}

std::uint8_t Canvas::at(int x, int y) const
{
    return m_indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)];
}

void Canvas::setTransparent(std::uint8_t index)
{
    if (index >= m_palette.size()) {
        throw std::invalid_argument("transparent index lies outside the palette");
    }
    m_transparent = index;
}

std::uint8_t Canvas::nearest(Rgb colour) const
{
    // Squared distance in plain RGB, ties to the lower index, so the
    // choice never depends on anything but the palette.
    long best = -1;
    std::uint8_t bestIndex = 0;
    for (std::size_t i = 0; i < m_palette.size(); ++i) {
        if (m_transparent == i) {
            continue;
        }
        const long dr = long{colour.r} - m_palette[i].r;
        const long dg = long{colour.g} - m_palette[i].g;
        const long db = long{colour.b} - m_palette[i].b;
        const long distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < best) {
            best = distance;
            bestIndex = static_cast<std::uint8_t>(i);
        }
    }
    return bestIndex;
}

void Canvas::set(int x, int y, std::uint8_t index)
{
    if (inside(x, y)) {
        m_indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] =
            index;
    }
}

void Canvas::fillRect(int x, int y, int w, int h, std::uint8_t index)
{
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            set(col, row, index);
        }
    }
}

void Canvas::hLine(int x0, int x1, int y, std::uint8_t index)
{
    if (x1 < x0) {
        std::swap(x0, x1);
    }
    for (int x = x0; x <= x1; ++x) {
        set(x, y, index);
    }
}

void Canvas::vLine(int x, int y0, int y1, std::uint8_t index)
{
    if (y1 < y0) {
        std::swap(y0, y1);
    }
    for (int y = y0; y <= y1; ++y) {
        set(x, y, index);
    }
}

void Canvas::line(int x0, int y0, int x1, int y1, std::uint8_t index)
{
    const int dx = std::abs(x1 - x0);
    const int dy = -std::abs(y1 - y0);
    const int stepX = x0 < x1 ? 1 : -1;
    const int stepY = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        set(x0, y0, index);
        if (x0 == x1 && y0 == y1) {
            return;
        }
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x0 += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y0 += stepY;
        }
    }
}

void Canvas::shade(int x, int y, int w, int h, const Shader& shader, Edge edge)
{
    constexpr int kSamples = 4;
    for (int row = y; row < y + h; ++row) {
        for (int col = x; col < x + w; ++col) {
            if (!inside(col, row)) {
                continue;
            }
            // Crisp edges, and any edge over the see-through key, which has
            // no colour to blend with, count only the shape's own samples.
            const bool alone = edge == Edge::Crisp || at(col, row) == m_transparent;
            const Rgb under = colourAt(col, row);
            int r = 0;
            int g = 0;
            int b = 0;
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const auto sample = shader(col * kEighths + 2 * sx + 1, row * kEighths + 2 * sy + 1);
                    if (!sample && alone) {
                        continue;
                    }
                    const Rgb c = sample.value_or(under);
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    covered += sample ? 1 : 0;
                }
            }
            constexpr int kCount = kSamples * kSamples;
            if (covered == 0 || (alone && 2 * covered < kCount)) {
                continue;
            }
            const int count = alone ? covered : kCount;
            const Rgb average{static_cast<std::uint8_t>((r + count / 2) / count),
                              static_cast<std::uint8_t>((g + count / 2) / count),
                              static_cast<std::uint8_t>((b + count / 2) / count)};
            set(col, row, nearest(average));
        }
    }
}

void Canvas::blit(const Canvas& from, int x, int y)
{
    if (from.palette() != m_palette) {
        throw std::invalid_argument("blit needs both canvases on one palette");
    }
    for (int row = 0; row < from.height(); ++row) {
        for (int col = 0; col < from.width(); ++col) {
            set(x + col, y + row, from.at(col, row));
        }
    }
}

}  // namespace veltaro::pictures
