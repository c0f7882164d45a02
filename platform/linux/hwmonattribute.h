// SPDX-License-Identifier: MIT
#pragma once

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "uniquefd.h"

namespace veltaro {

// The kernel's hwmon attributes (`name`, `temp1_input`, ...) are small
// text files that sysfs renders afresh at each read from offset 0.

// The attribute opened for reading, or an invalid descriptor when it cannot
// be opened or is not a regular file. It is opened without blocking: a FIFO
// put in its place would otherwise hold the open until someone writes to it.
UniqueFd openAttribute(const std::filesystem::path& file);

// The attribute's text without its closing newline. Empty when the read
// fails, or when the text is cut short (no newline) or too long for an
// attribute: sysfs writes each value as one line.
std::optional<std::string> readAttribute(int fd);

// Longer than any value the kernel's sensor drivers write: a driver name
// or a signed number.
inline constexpr std::size_t kLargestAttribute = 64;

// The text of one read at offset 0 without its newline, in `buffer`; empty
// as for readAttribute.
inline std::optional<std::string_view> readAttributeLine(int fd, char (&buffer)[kLargestAttribute])
{
    ssize_t count;
    do {
        count = ::pread(fd, buffer, sizeof buffer, 0);
    } while (count < 0 && errno == EINTR);
    if (count <= 0 || static_cast<std::size_t>(count) == sizeof buffer || buffer[count - 1] != '\n')
        return std::nullopt;
    return std::string_view(buffer, static_cast<std::size_t>(count) - 1);
}

// A temperature attribute in millidegrees Celsius, as the kernel writes it
// ("%ld\n"). Empty when it cannot be read or is not a whole number that a
// long long holds.
std::optional<long long> readMillidegrees(int fd);

// The same, opening the file for this one read.
std::optional<std::string> readAttributeFile(const std::filesystem::path& file);

// N of a name <prefix><N> (hwmon3, Tccd1); empty for any other name.
std::optional<unsigned> numberAfter(std::string_view prefix, std::string_view name);

}  // namespace veltaro
