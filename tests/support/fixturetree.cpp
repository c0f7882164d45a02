// SPDX-License-Identifier: MIT
#include "fixturetree.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace veltaro::testing {

FixtureTree::FixtureTree()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "veltaro-pci-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("cannot make a fixture folder");
    m_root = pattern;
}

FixtureTree::~FixtureTree()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_root, ignored);
}

std::filesystem::path FixtureTree::writeConfig(const std::string& function, std::size_t size,
                                               const std::vector<std::pair<std::uint8_t, std::uint32_t>>& registers)
{
    std::vector<char> bytes(size, 0);
    for (const auto& [offset, value] : registers) {
        for (std::size_t i = 0; i < 4 && offset + i < size; ++i)
            bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    const std::filesystem::path folder = m_root / "devices" / function;
    std::filesystem::create_directories(folder);
    std::filesystem::path file = folder / "config";
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

std::filesystem::path FixtureTree::writeFile(const std::filesystem::path& relative, const std::string& text)
{
    std::filesystem::path file = m_root / relative;
    std::filesystem::create_directories(file.parent_path());
    // Written over in place and then cut to length, never emptied first:
    // on ext4 a file truncated to nothing is flushed to disk when it is
    // closed, which makes a test that rewrites a file often wait on the
    // disk.
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        throw std::runtime_error("cannot write " + file.string());
    const bool written = ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) &&
                         ::ftruncate(fd, static_cast<off_t>(text.size())) == 0;
    ::close(fd);
    if (!written)
        throw std::runtime_error("cannot write " + file.string());
    return file;
}

}  // namespace veltaro::testing
