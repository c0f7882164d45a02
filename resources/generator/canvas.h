// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace veltaro::pictures {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    bool operator==(const Rgb&) const = default;
};

// Linear mix of a and b: `amount` parts of b in `total`.
Rgb mix(Rgb a, Rgb b, int amount, int total);

// Shapes are described on a grid of eighths of a pixel. Every pixel is
// sampled at 4 x 4 points whose centres fall on odd eighths, so pixel
// (x, y) covers eighths 8x .. 8x+7 and its samples sit at 8x+1, 8x+3, ...
constexpr int kEighths = 8;

// Colour of the shape at one sample point, or nothing where the point lies
// outside it and the pixel's present colour shows through.
using Shader = std::function<std::optional<Rgb>(int sx, int sy)>;

// Smooth edges mix a shape with what lies under it. Crisp edges give a
// pixel to the shape when the shape covers at least half of it, in the
// shape's own colours: right for edges between two colours whose mix
// would land on some unrelated palette entry.
enum class Edge { Smooth, Crisp };

// A picture of palette indices, top row first. Anti-aliased drawing mixes
// colours in RGB and stores the nearest palette entry, so every shape ends
// up in the picture's palette whatever it blends with.
class Canvas {
public:
    Canvas(int width, int height, std::vector<Rgb> palette, std::uint8_t fillIndex);

    int width() const { return m_width; }
    int height() const { return m_height; }
    const std::vector<Rgb>& palette() const { return m_palette; }
    const std::vector<std::uint8_t>& indices() const { return m_indices; }
    std::uint8_t at(int x, int y) const;
    Rgb colourAt(int x, int y) const { return m_palette[at(x, y)]; }

    // Marks `index` as the see-through key. nearest() never picks it, so a
    // blend that comes out close to its colour cannot punch a hole, and
    // shapes drawn over it are not blended with it: their edge pixels go
    // opaque where the shape covers at least half of them.
    void setTransparent(std::uint8_t index);
    std::optional<std::uint8_t> transparent() const { return m_transparent; }
    std::uint8_t nearest(Rgb colour) const;

    // Drawing is clipped to the picture.
    void set(int x, int y, std::uint8_t index);
    void fillRect(int x, int y, int w, int h, std::uint8_t index);
    void hLine(int x0, int x1, int y, std::uint8_t index);
    void vLine(int x, int y0, int y1, std::uint8_t index);
    void line(int x0, int y0, int x1, int y1, std::uint8_t index);

    // Draws the shader over the box x, y, w, h.
    void shade(int x, int y, int w, int h, const Shader& shader, Edge edge = Edge::Smooth);

    // Copies `from`, which must share the palette, with its top-left
    // corner at x, y.
    void blit(const Canvas& from, int x, int y);

private:
    bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < m_width && y < m_height; }

    int m_width;
    int m_height;
    std::vector<Rgb> m_palette;
    std::vector<std::uint8_t> m_indices;
    std::optional<std::uint8_t> m_transparent;
};

}  // namespace veltaro::pictures
