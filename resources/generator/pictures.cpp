// SPDX-License-Identifier: MIT
#include "pictures.h"

#include <fstream>
#include <stdexcept>
#include <string>

#include "gifwriter.h"
#include "icowriter.h"
#include "pngwriter.h"

namespace veltaro::pictures {

std::vector<PictureFile> makePictures()
{
    std::vector<PictureFile> files;
    files.push_back({"veltaro.ico", encodeIco({{drawProgramIcon(32), 8}})});
    files.push_back({"veltaro.png", encodePng(drawProgramIcon(32))});
    files.push_back({"emblem.gif", encodeGif(drawEmblem(1))});
    files.push_back({"envelope.ico", encodeIco({{drawEnvelope(32), 4}, {drawEnvelope(16), 4}})});
    files.push_back({"veltaro@2x.ico", encodeIco({{drawProgramIcon(64), 8}})});
    files.push_back({"emblem@2x.gif", encodeGif(drawEmblem(2))});
    files.push_back({"envelope@2x.ico", encodeIco({{drawEnvelope(64), 4}})});
    for (const int side : kIconSides) {
        if (side != 32) {
            files.push_back({"veltaro-" + std::to_string(side) + ".png", encodePng(drawProgramIcon(side))});
        }
    }
    return files;
}

std::vector<std::filesystem::path> writePictures(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> written;
    for (const PictureFile& file : makePictures()) {
        const std::filesystem::path path = folder / file.name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(file.bytes.data()), static_cast<std::streamsize>(file.bytes.size()));
        out.close();
        if (!out) {
            throw std::runtime_error("cannot write " + path.string());
        }
        written.push_back(path);
    }
    return written;
}

}  // namespace veltaro::pictures
