#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "canvas.h"

namespace veltaro::pictures {

// The emblem: 100 x 100 with a 32-colour palette. Index 27 is white, the
// see-through key; the opaque part is the 74 x 74 square at (13, 13).
Canvas drawEmblem();

// The program and window icon: 32 x 32 on the emblem's palette.
Canvas drawProgramIcon();

// The envelope pointer at 32 or 16 pixels on a side, 16 colours.
Canvas drawEnvelope(int size);

struct PictureFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// veltaro.ico, veltaro.png (the same icon for the desktop's icon theme),
// emblem.gif and envelope.ico, encoded.
std::vector<PictureFile> makePictures();

// Writes makePictures() into `folder`, which must exist, and returns the
// paths written. Throws std::runtime_error naming a file it could not write.
std::vector<std::filesystem::path> writePictures(const std::filesystem::path& folder);

}  // namespace veltaro::pictures
