// SPDX-License-Identifier: MIT
#include "hwmonattribute.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <charconv>
#include <string_view>
#include <system_error>

namespace veltaro {

UniqueFd openAttribute(const std::filesystem::path& file)
{
    UniqueFd fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (fd.valid() && (::fstat(fd.get(), &status) != 0 || !S_ISREG(status.st_mode)))
        fd.reset();
    return fd;
}

std::optional<std::string> readAttribute(int fd)
{
    char buffer[kLargestAttribute];
    const std::optional<std::string_view> line = readAttributeLine(fd, buffer);
    if (!line)
        return std::nullopt;
    return std::string(*line);
}

std::optional<long long> readMillidegrees(int fd)
{
    char buffer[kLargestAttribute];
    const std::optional<std::string_view> line = readAttributeLine(fd, buffer);
    if (!line)
        return std::nullopt;
    long long value = 0;
    const char* end = line->data() + line->size();
    const auto [stop, error] = std::from_chars(line->data(), end, value);
    if (error != std::errc() || stop != end || line->empty())
        return std::nullopt;
    return value;
}

std::optional<std::string> readAttributeFile(const std::filesystem::path& file)
{
    const UniqueFd fd = openAttribute(file);
    if (!fd.valid())
        return std::nullopt;
    return readAttribute(fd.get());
}

std::optional<unsigned> numberAfter(std::string_view prefix, std::string_view name)
{
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    unsigned number = 0;
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + prefix.size(), end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

}  // namespace veltaro
