// SPDX-License-Identifier: MIT
// Prints the number a screenshot (binary PPM) shows in the notification
// area's icon: that of the first of the icon's pictures, at any side and
// place, whose every pixel the shot holds in the same colour.
#include <fstream>
#include <iostream>
#include <iterator>

#include "notificationicon.h"

int main(int argc, char* argv[])
{
    std::ifstream file(argc == 2 ? argv[1] : "", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, largest = 0;
    file >> magic >> width >> height >> largest;
    file.get();
    const std::vector<unsigned char> rgb{std::istreambuf_iterator<char>(file), {}};
    if (magic != "P6" || largest != 255 || rgb.size() < static_cast<std::size_t>(width) * height * 3)
        return 2;
    for (const int side : veltaro::kNotificationIconSides) {
        for (int number = -1; number <= 255; ++number) {
            const auto picture =
                veltaro::notificationIcon(number < 0 ? std::nullopt : std::optional<long long>(number), side);
            for (int top = 0; top + side <= height; ++top) {
                for (int left = 0; left + side <= width; ++left) {
                    bool same = true;
                    for (int i = 0; i < side * side && same; ++i) {
                        const std::size_t at = (static_cast<std::size_t>(top + i / side) * width + left + i % side) * 3;
                        same = (picture.pixels[static_cast<std::size_t>(i)] & 0xFFFFFF) ==
                               static_cast<std::uint32_t>(rgb[at] << 16 | rgb[at + 1] << 8 | rgb[at + 2]);
                    }
                    if (same)
                        return (std::cout << (number < 0 ? std::string("--") : std::to_string(number)) << '\n') ? 0 : 3;
                }
            }
        }
    }
    return 1;
}
