// SPDX-License-Identifier: MIT
#include "linuxportio.h"

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
    unsigned char bytes[kConfigAccessBytes];
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

LinuxPortIo::LinuxPortIo(std::filesystem::path pciRoot, std::unique_ptr<ConfigFileOpener> opener)
    : m_pciRoot(std::move(pciRoot))
    , m_opener(std::move(opener))
{
}

bool LinuxPortIo::InitializeWinIo()
{
    constexpr std::uint8_t kSignatureOffset = 0xFC;
    if (!m_northbridge.valid())
        m_northbridge = m_opener->open(configFileOf(kNorthbridgeFunction));
    if (m_northbridge.valid() && preadDword(m_northbridge.get(), kSignatureOffset))
        return true;
    m_northbridge.reset();
    return false;
}

void LinuxPortIo::holdFunction(const PciFunctionAddress& function, UniqueFd file)
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

std::filesystem::path LinuxPortIo::configFileOf(const PciFunctionAddress& function) const
{
    return pciFunctionFolder(m_pciRoot, function) / "config";
}

[[gnu::hot]] bool LinuxPortIo::GetPortVal(std::uint16_t port, std::uint32_t& value, std::uint8_t sizeBytes)
{
    return answerPortRead(port, value, sizeBytes,
                          [this](const ConfigAddress& address) { return readConfigRegister(address); });
}

[[gnu::hot]] std::optional<std::uint32_t> LinuxPortIo::readConfigRegister(const ConfigAddress& address) const
{
    if (address.function != kNorthbridgeFunction)
        return readOtherFunction(address);
    if (!m_northbridge.valid())
        return std::nullopt;
    return preadDword(m_northbridge.get(), address.registerOffset);
}

std::optional<std::uint32_t> LinuxPortIo::readOtherFunction(const ConfigAddress& address) const
{
    for (const auto& [function, file] : m_heldFunctions) {
        if (function == address.function)
            return preadDword(file.get(), address.registerOffset);
    }
    // Other functions are answered the way the hardware would, from a
    // descriptor opened for this one read, with this process's rights.
    const std::filesystem::path configFile = configFileOf(address.function);
    errno = 0;
    UniqueFd fd = DirectConfigFileOpener().open(configFile);
    if (!fd.valid())
        return errno == ENOENT ? std::optional<std::uint32_t>(kAllOnes) : std::nullopt;
    return preadDword(fd.get(), address.registerOffset);
}

}  // namespace veltaro
