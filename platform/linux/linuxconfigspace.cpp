// SPDX-License-Identifier: MIT
#include "linuxconfigspace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace veltaro {

namespace {

constexpr std::uint32_t kAllOnes = 0xFFFF'FFFF;

// Exactly 4 bytes or nothing: past the first 64 bytes an unprivileged
// descriptor reads 0 bytes rather than failing.
std::optional<std::uint32_t> preadDword(int fd, std::uint8_t offset)
{
    unsigned char bytes[4];
    ssize_t count;
    do {
        count = ::pread(fd, bytes, sizeof bytes, offset);
    } while (count < 0 && errno == EINTR);
    if (count != static_cast<ssize_t>(sizeof bytes))
        return std::nullopt;
    // Configuration space is little-endian whatever the host.
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

}  // namespace

LinuxConfigSpace::LinuxConfigSpace(std::filesystem::path pciRoot, std::unique_ptr<ConfigFileOpener> opener)
    : m_pciRoot(std::move(pciRoot))
    , m_opener(std::move(opener))
{
}

bool LinuxConfigSpace::start()
{
    constexpr std::uint8_t kSignatureOffset = 0xFC;
    if (!m_northbridge.valid())
        m_northbridge = m_opener->open(configFileOf(kNorthbridgeFunction));
    if (m_northbridge.valid() && preadDword(m_northbridge.get(), kSignatureOffset))
        return true;
    m_northbridge.reset();
    return false;
}

void LinuxConfigSpace::holdFunction(const PciFunctionAddress& function, UniqueFd file)
{
    if (file.valid())
        m_heldFunctions.emplace_back(function, std::move(file));
}

std::filesystem::path pciFunctionFolder(const std::filesystem::path& pciRoot, const PciFunctionAddress& function)
{
    char name[32];
    std::snprintf(name, sizeof name, "0000:%02x:%02x.%x", unsigned{function.bus}, unsigned{function.device},
                  unsigned{function.function});
    return pciRoot / "devices" / name;
}

std::filesystem::path LinuxConfigSpace::configFileOf(const PciFunctionAddress& function) const
{
    return pciFunctionFolder(m_pciRoot, function) / "config";
}

std::optional<std::uint32_t> LinuxConfigSpace::read(const PciFunctionAddress& function, std::uint8_t offset)
{
    if (function != kNorthbridgeFunction)
        return readOtherFunction(function, offset);
    if (!m_northbridge.valid())
        return std::nullopt;
    return preadDword(m_northbridge.get(), offset);
}

bool LinuxConfigSpace::write(const PciFunctionAddress& /*function*/, std::uint8_t /*offset*/, std::uint32_t /*value*/)
{
    return false;
}

std::optional<std::uint32_t> LinuxConfigSpace::readOtherFunction(const PciFunctionAddress& function,
                                                                 std::uint8_t offset) const
{
    for (const auto& [held, file] : m_heldFunctions) {
        if (held == function)
            return preadDword(file.get(), offset);
    }
    // Other functions are answered the way the hardware would, from a
    // descriptor opened for this one read, with this process's rights.
    const std::filesystem::path configFile = configFileOf(function);
    errno = 0;
    UniqueFd fd = DirectConfigFileOpener().open(configFile);
    if (!fd.valid())
        return errno == ENOENT ? std::optional<std::uint32_t>(kAllOnes) : std::nullopt;
    return preadDword(fd.get(), offset);
}

}  // namespace veltaro
