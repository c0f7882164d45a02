// SPDX-License-Identifier: MIT
// The register read through the kernel's configuration file, on a
// northbridge config file of any length and content. The input becomes
// <tree>/devices/0000:00:18.3/config in a temporary tree of this process;
// the way starts on it and the three registers the program uses are read. A register
// whose four bytes are all in the file reads as their little-endian value;
// any other read fails, and a start on a file too short for the signature
// register fails.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <system_error>

#include "linuxconfigspace.h"
#include "pciconfigread.h"

namespace {

// The file is rewritten for every input. On a disk-backed ext4 folder
// each truncate-and-rewrite waits for a flush at close; the memory-backed
// /dev/shm makes it several times faster.
std::filesystem::path scratchFolder()
{
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error))
        return "/dev/shm";
    return std::filesystem::temp_directory_path();
}

const std::filesystem::path& configFile()
{
    static const std::filesystem::path file = [] {
        const std::filesystem::path root = scratchFolder() / ("veltaro-configspace-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root / "devices" / "0000:00:18.3");
        // The tree goes again when the fuzzer ends normally.
        static const struct Cleanup {
            std::filesystem::path root;
            ~Cleanup()
            {
                std::error_code ignored;
                std::filesystem::remove_all(root, ignored);
            }
        } cleanup{root};
        return root / "devices" / "0000:00:18.3" / "config";
    }();
    return file;
}

std::optional<std::uint32_t> expectedRegister(const std::uint8_t* data, std::size_t size, std::size_t offset)
{
    if (offset + 4 > size)
        return std::nullopt;
    return std::uint32_t{data[offset]} | std::uint32_t{data[offset + 1]} << 8 | std::uint32_t{data[offset + 2]} << 16 |
           std::uint32_t{data[offset + 3]} << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace veltaro;
    const std::filesystem::path& file = configFile();
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        if (!out)
            std::abort();
    }

    LinuxConfigSpace configSpace(file.parent_path().parent_path().parent_path());
    const bool started = configSpace.start();
    if (started != expectedRegister(data, size, 0xFC).has_value())
        std::abort();

    constexpr struct {
        std::uint32_t address;
        std::size_t offset;
    } kRegisters[] = {
        {kSignatureRegister, 0xFC}, {kThermtripStatusRegister, 0xE4}, {kReportedTemperatureRegister, 0xA4}};
    for (const auto& reg : kRegisters) {
        const std::optional<std::uint32_t> expected = started ? expectedRegister(data, size, reg.offset) : std::nullopt;
        // The program's own read gives 0 for a read that failed.
        if (PciConfigRead(configSpace, reg.address) != expected.value_or(0))
            std::abort();
        if (readConfigRegister(configSpace, reg.address) != expected)
            std::abort();
    }
    return 0;
}
