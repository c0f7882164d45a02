// SPDX-License-Identifier: MIT
// Draws the program icon, the emblem and the envelope pointer and writes
// them into the folder given on the command line. The results are kept in
// the source tree; run this only after changing the drawings.

#include <exception>
#include <filesystem>
#include <iostream>

#include "pictures.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: veltaro-makepictures <output folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) {
        std::cerr << "veltaro-makepictures: " << folder.string() << " is not a folder\n";
        return 1;
    }
    try {
        for (const auto& path : veltaro::pictures::writePictures(folder)) {
            std::cout << path.string() << '\n';
        }
    } catch (const std::exception& failure) {
        std::cerr << "veltaro-makepictures: " << failure.what() << '\n';
        return 1;
    }
    return 0;
}
