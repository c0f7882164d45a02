// SPDX-License-Identifier: MIT
#pragma once

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

// A temperature attribute in millidegrees Celsius, as the kernel writes it
// ("%ld\n"). Empty when it cannot be read or is not a whole number.
std::optional<long long> readMillidegrees(int fd);

// The same, opening the file for this one read.
std::optional<std::string> readAttributeFile(const std::filesystem::path& file);

// N of a name <prefix><N> (hwmon3, Tccd1); empty for any other name.
std::optional<unsigned> numberAfter(std::string_view prefix, std::string_view name);

}  // namespace veltaro
