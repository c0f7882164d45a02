// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace veltaro::testing {

// A throwaway copy of the kernel's PCI folder (<root>/devices/<fn>/config,
// and the hwmon folders below a function) for the tests to read, removed
// again when the test ends.
class FixtureTree {
public:
    FixtureTree();
    ~FixtureTree();
    FixtureTree(const FixtureTree&) = delete;
    FixtureTree& operator=(const FixtureTree&) = delete;

    const std::filesystem::path& root() const { return m_root; }

    // Writes a config file of `size` bytes whose 32-bit registers hold the
    // given values (offset, value), little-endian, and zero elsewhere.
    std::filesystem::path writeConfig(const std::string& function, std::size_t size,
                                      const std::vector<std::pair<std::uint8_t, std::uint32_t>>& registers);

    // Writes a text file at a path below the root, making its folders.
    std::filesystem::path writeFile(const std::filesystem::path& relative, const std::string& text);

private:
    std::filesystem::path m_root;
};

}  // namespace veltaro::testing
