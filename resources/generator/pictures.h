// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"

namespace veltaro::pictures {

// The emblem: 100 x 100 with a 32-colour palette. Index 27 is white, the
// see-through key; the opaque part is the 74 x 74 square at (13, 13).
// Scale 2 draws it for screens of twice the density: 200 x 200, the
// square 148 x 148 at (26, 26), on the same palette.
Canvas drawEmblem(int scale = 1);

// The program and window icon on the emblem's palette, at one of the
// sides in kIconSides; 32 is the window's icon, 64 its double.
inline constexpr int kIconSides[] = {16, 24, 32, 48, 64, 128, 256};
Canvas drawProgramIcon(int side = 32);

// The envelope pointer at 16, 32 or 64 pixels on a side, 16 colours; 64
// is the 32 pixel pointer for screens of twice the density.
Canvas drawEnvelope(int size);

struct PictureFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// veltaro.ico, veltaro.png (the same icon for the desktop's icon theme),
// emblem.gif and envelope.ico, encoded; their doubles for screens of
// twice the density, named as Qt looks them up (veltaro@2x.ico,
// emblem@2x.gif, envelope@2x.ico); and the icon theme's other sizes,
// veltaro-<side>.png.
std::vector<PictureFile> makePictures();

// Writes makePictures() into `folder`, which must exist, and returns the
// paths written. Throws std::runtime_error naming a file it could not write.
std::vector<std::filesystem::path> writePictures(const std::filesystem::path& folder);

}  // namespace veltaro::pictures
